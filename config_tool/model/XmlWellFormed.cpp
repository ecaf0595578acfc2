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

// UTF-16 or UTF-32 (unit: 2 or 4 bytes) to UTF-8, strictly: expat reads no UTF-32, and in UTF-16 it
// takes a lead surrogate without its trail, which pugixml reads as another text. False when a unit is
// no character (or the length is no multiple of the unit).
bool unicodeToUtf8(std::string_view bytes, std::size_t unit, bool bigEndian, std::string& out)
{
    if (bytes.size() % unit != 0) {
        return false;
    }
    out.clear();
    out.reserve(bytes.size());
    char32_t lead = 0; // a UTF-16 lead surrogate waiting for its trail
    for (std::size_t pos = 0; pos < bytes.size(); pos += unit) {
        char32_t cp = 0;
        for (std::size_t k = 0; k < unit; ++k) {
            cp = (cp << 8) | static_cast<unsigned char>(bytes[pos + (bigEndian ? k : unit - 1 - k)]);
        }
        if (unit == 2 && cp >= 0xD800 && cp <= 0xDBFF && lead == 0) {
            lead = cp;
            continue;
        }
        if (unit == 2 && cp >= 0xDC00 && cp <= 0xDFFF && lead != 0) {
            cp = 0x10000 + ((lead - 0xD800) << 10) + (cp - 0xDC00);
            lead = 0;
        }
        if (lead != 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        // The byte-order mark is no part of the text.
        if (pos == 0 && cp == 0xFEFF) {
            continue;
        }
        appendUtf8(cp, out);
    }
    return lead == 0;
}

} // namespace

bool isWellFormedXml(std::string_view bytes, pugi::xml_encoding form)
{
    std::string converted;
    const bool utf16 = form == pugi::encoding_utf16_le || form == pugi::encoding_utf16_be;
    const bool utf32 = form == pugi::encoding_utf32_le || form == pugi::encoding_utf32_be;
    if (utf16 || utf32) {
        const bool bigEndian = form == pugi::encoding_utf16_be || form == pugi::encoding_utf32_be;
        if (!unicodeToUtf8(bytes, utf32 ? 4 : 2, bigEndian, converted)) {
            return false;
        }
        bytes = converted;
    }
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    const std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate("UTF-8"));
    if (!parser) {
        return false;
    }
    XML_SetUserData(parser.get(), parser.get());
    XML_SetEntityDeclHandler(parser.get(), refuseEntityDeclaration);
    XML_SetSkippedEntityHandler(parser.get(), refuseSkippedEntity);
    return XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
}

} // namespace tarn
