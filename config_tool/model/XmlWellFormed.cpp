#include "config_tool/model/XmlWellFormed.h"

#include <expat.h>
#include <limits>
#include <memory>
#include <string>

namespace tarn {

namespace {

struct ParserFree
{
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

void XMLCALL refuseEntityDeclaration(void* parser, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                     const XML_Char*, const XML_Char*, const XML_Char*)
{
    XML_StopParser(static_cast<XML_Parser>(parser), XML_FALSE);
}

// A reference to an entity that an external DTD may declare.
void XMLCALL refuseSkippedEntity(void* parser, const XML_Char*, int)
{
    XML_StopParser(static_cast<XML_Parser>(parser), XML_FALSE);
}

void appendUtf8(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Expat reads no UTF-32: such a file is checked as the UTF-8 it stands for. False when a unit is no
// character (or the length is no multiple of four).
bool utf32ToUtf8(std::string_view bytes, bool bigEndian, std::string& out)
{
    if (bytes.size() % 4 != 0) {
        return false;
    }
    out.clear();
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size(); pos += 4) {
        char32_t cp = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const auto byte = static_cast<unsigned char>(bytes[pos + (bigEndian ? k : 3 - k)]);
            cp = (cp << 8) | byte;
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        // The byte-order mark is no part of the text.
        if (pos == 0 && cp == 0xFEFF) {
            continue;
        }
        appendUtf8(cp, out);
    }
    return true;
}

} // namespace

bool isWellFormedXml(std::string_view bytes, pugi::xml_encoding form)
{
    std::string converted;
    const char* encoding = "UTF-8";
    if (form == pugi::encoding_utf32_le || form == pugi::encoding_utf32_be) {
        if (!utf32ToUtf8(bytes, form == pugi::encoding_utf32_be, converted)) {
            return false;
        }
        bytes = converted;
    } else if (form != pugi::encoding_utf8) {
        encoding = nullptr;
    }
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(encoding));
    if (!parser) {
        return false;
    }
    XML_SetUserData(parser.get(), parser.get());
    XML_SetEntityDeclHandler(parser.get(), refuseEntityDeclaration);
    XML_SetSkippedEntityHandler(parser.get(), refuseSkippedEntity);
    return XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
}

} // namespace tarn
