#include "config_tool/model/XmlFileLayout.h"

#include "config_tool/model/XmlIndentation.h"
#include "config_tool/model/XmlWellFormed.h"
#include "platform/AsciiText.h"
#include "platform/TextCodec.h"

#include <array>
#include <string_view>

namespace tarn {

namespace {

using namespace std::string_view_literals;

// Without parse_eol, so that CR LF between elements stays as it was; the whitespace between elements
// is kept as text (parse_ws_pcdata) and written back unchanged.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute
    | pugi::parse_comments | pugi::parse_pi | pugi::parse_declaration | pugi::parse_doctype | pugi::parse_ws_pcdata;

// The kept whitespace is the indentation; an element loaded as <a></a> stays so.
constexpr unsigned kFormat = pugi::format_raw | pugi::format_no_empty_element_tags;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

class StringWriter : public pugi::xml_writer
{
public:
    explicit StringWriter(std::string& out)
        : m_out(out)
    {
    }
    void write(const void* data, size_t size) override { m_out.append(static_cast<const char*>(data), size); }

private:
    std::string& m_out;
};

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The encoding named by a declaration at the very start of the text, or "".
std::string_view declaredEncoding(std::string_view text)
{
    if (!text.starts_with("<?xml") || text.size() < 6 || !isXmlSpace(text[5])) {
        return {};
    }
    const auto declaration = text.substr(0, text.find("?>"));
    auto pos = declaration.find("encoding");
    if (pos == std::string_view::npos) {
        return {};
    }
    pos += 8;
    const auto skipSpace = [&] {
        while (pos < declaration.size() && isXmlSpace(declaration[pos])) {
            ++pos;
        }
    };
    skipSpace();
    if (pos >= declaration.size() || declaration[pos] != '=') {
        return {};
    }
    ++pos;
    skipSpace();
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\'')) {
        return {};
    }
    const char quote = declaration[pos++];
    const auto close = declaration.find(quote, pos);
    return close == std::string_view::npos ? std::string_view() : declaration.substr(pos, close - pos);
}

XmlFileEncoding encodingNamed(std::string_view name)
{
    // pugixml's own latin1 mode would read 0x80-0x9F as C1 controls; Windows writes such a file in
    // its ANSI code page, so both names go through the Windows-1252 table.
    static constexpr std::array windows1252
        = { "ISO-8859-1"sv, "ISO8859-1"sv, "ISO_8859-1"sv, "latin1"sv, "latin-1"sv, "windows-1252"sv, "cp1252"sv };
    for (const auto alias : windows1252) {
        if (orvant::ascii::equalsIgnoringCase(name, alias)) {
            return XmlFileEncoding::Windows1252;
        }
    }
    if (orvant::ascii::equalsIgnoringCase(name, "US-ASCII") || orvant::ascii::equalsIgnoringCase(name, "ASCII")) {
        return XmlFileEncoding::Ascii;
    }
    return XmlFileEncoding::Utf8;
}

// UTF-16 and UTF-32 files start with a byte-order mark, or show a zero byte around their first "<".
bool looksUnicode(std::string_view bytes, bool& byteOrderMark)
{
    byteOrderMark
        = bytes.starts_with("\xFE\xFF"sv) || bytes.starts_with("\xFF\xFE"sv) || bytes.starts_with("\x00\x00\xFE\xFF"sv);
    return byteOrderMark || (bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0'));
}

// Where a top-level node starts in the parsed text, or npos when that cannot be told.
std::size_t startOf(const pugi::xml_node& node, std::string_view text)
{
    std::string_view opener;
    switch (node.type()) {
    case pugi::node_element:
        opener = "<";
        break;
    case pugi::node_pi:
    case pugi::node_declaration:
        opener = "<?";
        break;
    case pugi::node_comment:
        opener = "<!--";
        break;
    default:
        return std::string_view::npos;
    }
    const std::ptrdiff_t offset = node.offset_debug();
    if (offset < static_cast<std::ptrdiff_t>(opener.size()) || static_cast<std::size_t>(offset) > text.size()) {
        return std::string_view::npos;
    }
    const auto at = static_cast<std::size_t>(offset);
    const std::string_view name = node.type() == pugi::node_comment ? std::string_view() : node.name();
    if (text.substr(at - opener.size(), opener.size()) != opener || text.substr(at, name.size()) != name) {
        return std::string_view::npos;
    }
    return at - opener.size();
}

std::string detectLineEnd(std::string_view text)
{
    const auto pos = text.find_first_of("\r\n");
    if (pos == std::string_view::npos) {
        return "\r\n"; // nothing to follow: the Windows convention of the system's other files
    }
    if (text[pos] == '\n') {
        return "\n";
    }
    return pos + 1 < text.size() && text[pos + 1] == '\n' ? "\r\n" : "\r";
}

// Keeps the bytes around the document element as they are; they are never changed by the program.
void captureLayout(const pugi::xml_document& document, std::string_view text, XmlFileLayout& layout)
{
    layout.lineEnd = detectLineEnd(text);
    layout.indentUnit = detectIndentUnit(document).value_or("\t");

    const auto root = document.document_element();
    const std::size_t rootStart = startOf(root, text);
    if (rootStart != std::string_view::npos) {
        layout.prolog = text.substr(0, rootStart);
    } else {
        // Not expected from pugixml; fall back to its rendering of the nodes.
        layout.prolog = text.starts_with(kUtf8Bom) ? std::string(kUtf8Bom) : std::string();
        StringWriter writer(layout.prolog);
        for (auto node = document.first_child(); node != root; node = node.next_sibling()) {
            node.print(writer, "", kFormat, pugi::encoding_utf8);
            layout.prolog += layout.lineEnd;
        }
    }

    const auto next = root.next_sibling();
    std::size_t rootEnd = next ? startOf(next, text) : text.size();
    if (rootEnd != std::string_view::npos && rootStart != std::string_view::npos) {
        while (rootEnd > rootStart && isXmlSpace(text[rootEnd - 1])) {
            --rootEnd;
        }
        if (rootEnd > rootStart && text[rootEnd - 1] == '>') {
            layout.epilog = text.substr(rootEnd);
            return;
        }
    }
    layout.epilog.clear();
    StringWriter writer(layout.epilog);
    for (auto node = next; node; node = node.next_sibling()) {
        layout.epilog += layout.lineEnd;
        node.print(writer, "", kFormat, pugi::encoding_utf8);
    }
    if (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        layout.epilog += layout.lineEnd;
    }
}

// A valid UTF-8 sequence at pos: its code point and length; length 0 when malformed.
char32_t decodeUtf8(std::string_view text, std::size_t pos, std::size_t& length)
{
    length = 0;
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t size = 0;
    char32_t cp = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        cp = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        cp = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        cp = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (pos + size > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < size; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0u) != 0x80u) {
            return 0;
        }
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    length = size;
    return cp;
}

// UTF-8 to the file's single-byte encoding. A character the code page has no byte for is written as
// a character reference, as a Windows DOM does, so that no value is lost to a "?".
void toSingleByte(std::string_view utf8, bool asciiOnly, std::string& out)
{
    out.clear();
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t run = pos;
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80) {
            ++run;
        }
        out.append(utf8.substr(pos, run - pos));
        pos = run;
        if (pos == utf8.size()) {
            break;
        }
        std::size_t length = 0;
        const char32_t cp = decodeUtf8(utf8, pos, length);
        if (length == 0) {
            out += '?';
            ++pos;
            continue;
        }
        if (!asciiOnly) {
            const std::string byte = orvant::platform::utf8ToAnsi(utf8.substr(pos, length));
            if (byte != "?") {
                out += byte;
                pos += length;
                continue;
            }
        }
        out += "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
        pos += length;
    }
}

// An element given the empty text holds an empty text node, which the file does not show.
pugi::xml_node shownNode(pugi::xml_node node)
{
    while (node && node.type() == pugi::node_pcdata && *node.value() == '\0') {
        node = node.next_sibling();
    }
    return node;
}

bool sameNode(const pugi::xml_node& a, const pugi::xml_node& b)
{
    if (a.type() != b.type() || std::string_view(a.name()) != b.name() || std::string_view(a.value()) != b.value()) {
        return false;
    }
    auto x = a.first_attribute();
    auto y = b.first_attribute();
    for (; x && y; x = x.next_attribute(), y = y.next_attribute()) {
        if (std::string_view(x.name()) != y.name() || std::string_view(x.value()) != y.value()) {
            return false;
        }
    }
    return !x && !y;
}

} // namespace

bool parseXmlFile(const std::string& bytes, pugi::xml_document& document, XmlFileLayout& layout)
{
    layout = XmlFileLayout {};
    document.reset();

    bool byteOrderMark = false;
    if (looksUnicode(bytes, byteOrderMark)) {
        const auto result = document.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_auto);
        if (!result || !isWellFormedXml(bytes, result.encoding)) {
            document.reset();
            return false;
        }
        layout.encoding = XmlFileEncoding::Unicode;
        layout.unicodeEncoding = result.encoding;
        layout.byteOrderMark = byteOrderMark;
        layout.indentUnit = detectIndentUnit(document).value_or("\t");
        return true;
    }

    // A byte-order mark overrides the declaration (and stays in the prolog).
    if (!std::string_view(bytes).starts_with(kUtf8Bom)) {
        layout.encoding = encodingNamed(declaredEncoding(bytes));
    }
    const std::string decoded
        = layout.encoding == XmlFileEncoding::Utf8 ? std::string() : orvant::platform::ansiToUtf8(bytes);
    const std::string& text = layout.encoding == XmlFileEncoding::Utf8 ? bytes : decoded;

    // Always parsed as UTF-8: pugixml would otherwise take a latin1 declaration as its own latin1 mode.
    const auto result = document.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
    if (!result || !isWellFormedXml(text, pugi::encoding_utf8)) {
        document.reset();
        return false;
    }
    captureLayout(document, text, layout);
    return true;
}

const std::string& serialiseXmlFile(const pugi::xml_document& document, const XmlFileLayout& layout,
                                    XmlFileBuffers& buffers)
{
    std::string& out = buffers.text;
    out.clear();
    StringWriter writer(out);
    if (layout.encoding == XmlFileEncoding::Unicode) {
        const unsigned flags
            = kFormat | pugi::format_no_declaration | (layout.byteOrderMark ? pugi::format_write_bom : 0u);
        document.save(writer, "", flags, layout.unicodeEncoding);
        return out;
    }
    out += layout.prolog;
    document.document_element().print(writer, "", kFormat, pugi::encoding_utf8);
    out += layout.epilog;
    if (layout.encoding == XmlFileEncoding::Utf8) {
        return out;
    }
    toSingleByte(out, layout.encoding == XmlFileEncoding::Ascii, buffers.bytes);
    return buffers.bytes;
}

bool readsBackAs(const std::string& bytes, const pugi::xml_document& document)
{
    pugi::xml_document reread;
    XmlFileLayout layout;
    if (!parseXmlFile(bytes, reread, layout)) {
        return false;
    }
    // Both trees in document order, side by side, without recursion: a file may nest deeply.
    const pugi::xml_node top = document;
    pugi::xml_node a = document;
    pugi::xml_node b = reread;
    while (true) {
        if (!sameNode(a, b)) {
            return false;
        }
        const auto childA = shownNode(a.first_child());
        const auto childB = shownNode(b.first_child());
        if (childA || childB) {
            if (!childA || !childB) {
                return false;
            }
            a = childA;
            b = childB;
            continue;
        }
        while (a != top && !shownNode(a.next_sibling())) {
            if (shownNode(b.next_sibling())) {
                return false;
            }
            a = a.parent();
            b = b.parent();
        }
        if (a == top) {
            return true;
        }
        if (!shownNode(b.next_sibling())) {
            return false;
        }
        a = shownNode(a.next_sibling());
        b = shownNode(b.next_sibling());
    }
}

} // namespace tarn
