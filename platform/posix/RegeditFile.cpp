#include "platform/posix/RegeditFile.h"

#include "platform/AsciiText.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <utility>

namespace orvant::platform {

namespace {

// Regedit wraps a hex list once a line has reached this many columns.
constexpr std::size_t kHexWrapColumn = 77;

constexpr std::array<std::string_view, 6> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE",
    "HKEY_USERS",        "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

// Upper case of each Windows-1252 byte, as the registry compares names.
constexpr std::array<unsigned char, 256> kFoldedBytes = [] {
    std::array<unsigned char, 256> table {};
    for (int c = 0; c < 256; ++c) {
        table[c] = static_cast<unsigned char>(c);
    }
    for (int c = 'a'; c <= 'z'; ++c) {
        table[c] = static_cast<unsigned char>(c - 0x20);
    }
    // Latin-1 lower-case letters; 0xF7 is the division sign, 0xFF has its capital at 0x9F.
    for (int c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) {
            table[c] = static_cast<unsigned char>(c - 0x20);
        }
    }
    table[0x9A] = 0x8A; // s caron
    table[0x9C] = 0x8C; // oe
    table[0x9E] = 0x8E; // z caron
    table[0xFF] = 0x9F; // y diaeresis
    return table;
}();

unsigned char foldByte(char c)
{
    return kFoldedBytes[static_cast<unsigned char>(c)];
}

// Blanks around the parts of a line, as regedit reads them.
std::string_view trim(std::string_view s)
{
    return ascii::trim(s, " \t\r");
}

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && RegeditFile::foldCase(s.substr(0, prefix.size())) == prefix;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// 1 to maxDigits hexadecimal digits, nothing else.
std::optional<std::uint32_t> parseHexNumber(std::string_view s, std::size_t maxDigits)
{
    if (s.empty() || s.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char c : s) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

// The root name with its canonical spelling, or nothing when the first name of the path is no root.
std::optional<std::string_view> rootOf(std::string_view path)
{
    const std::string folded = RegeditFile::foldCase(path.substr(0, path.find('\\')));
    for (std::string_view root : kRootNames) {
        if (folded == root) {
            return root;
        }
    }
    return std::nullopt;
}

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return out;
}

// The quoted form gives back text + one NUL; it cannot carry an inner NUL or a line break.
bool isQuotable(const std::vector<std::uint8_t>& data)
{
    if (data.empty() || data.back() != 0) {
        return false;
    }
    return std::none_of(data.begin(), data.end() - 1, [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

void appendHexByte(std::string& out, std::uint8_t b)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
}

std::string valueLine(const RegeditValue& value)
{
    std::string line = value.name.empty() ? std::string("@=") : quote(value.name) + "=";
    if (value.type == kRegSz && isQuotable(value.data)) {
        line += quote(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
    } else if (value.type == kRegDword && value.data.size() == 4) {
        line += "dword:";
        for (std::size_t i = 4; i-- > 0;) {
            appendHexByte(line, value.data[i]);
        }
    } else {
        if (value.type == kRegBinary) {
            line += "hex:";
        } else {
            static constexpr char kDigits[] = "0123456789abcdef";
            std::string type;
            for (std::uint32_t t = value.type; t != 0 || type.empty(); t >>= 4) {
                type.insert(type.begin(), kDigits[t & 0x0F]);
            }
            line += "hex(" + type + "):";
        }
        std::size_t column = line.size();
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            appendHexByte(line, value.data[i]);
            if (i + 1 == value.data.size()) {
                break;
            }
            line += ',';
            column += 3;
            if (column >= kHexWrapColumn) {
                line += "\\\r\n  ";
                column = 2;
            }
        }
    }
    line += "\r\n";
    return line;
}

struct Line
{
    std::string_view text; // without the line end
    std::size_t number = 0;
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t number = 1;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back({ line, number++ });
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Reads "..." with \\ and \" escapes starting at s[pos] == '"'; pos ends after the closing quote.
bool parseQuoted(std::string_view s, std::size_t& pos, std::string& out, std::string& error)
{
    for (++pos; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\') {
            if (pos + 1 >= s.size() || (s[pos + 1] != '\\' && s[pos + 1] != '"')) {
                error = "backslash not followed by \\ or \" in quoted text";
                return false;
            }
            ++pos;
        }
        out += s[pos];
    }
    error = "quoted text without its closing quote";
    return false;
}

std::optional<std::vector<std::uint8_t>> parseHexList(std::string_view list)
{
    std::vector<std::uint8_t> bytes;
    list = trim(list);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view token = trim(list.substr(0, comma));
        const auto byte = parseHexNumber(token, 2);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos) {
            break;
        }
        // A trailing comma (as before a continuation that ended early) is taken.
        list = trim(list.substr(comma + 1));
    }
    return bytes;
}

// UTF-16LE text (unpaired surrogates and a stray last byte are dropped) as Windows-1252 bytes, as the
// ANSI registry calls give it back: a character without a byte becomes "?".
std::string utf16ToAnsi(std::string_view bytes)
{
    std::string utf8;
    const auto unit = [&bytes](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]))
            | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | c >> 6);
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | c >> 12);
            utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | c >> 18);
            utf8 += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8ToAnsi(utf8);
}

class Parser
{
public:
    Parser(std::string_view text, std::vector<RegeditProblem>* problems)
        : m_lines(splitLines(text))
        , m_problems(problems)
    {
    }

    RegeditFile run()
    {
        bool headerSeen = false;
        for (m_index = 0; m_index < m_lines.size(); ++m_index) {
            const std::string_view text = trim(m_lines[m_index].text);
            if (text.empty() || text.front() == ';') {
                continue;
            }
            if (!headerSeen) {
                headerSeen = true;
                if (RegeditFile::foldCase(text) == "REGEDIT4") {
                    continue;
                }
                // What regedit exports since Windows 2000: the texts of hex(1), hex(2) and hex(7) are UTF-16.
                if (text == "Windows Registry Editor Version 5.00") {
                    m_unicode = true;
                    continue;
                }
                report("the file does not start with REGEDIT4");
            }
            if (text.front() == '[') {
                readSection(text);
            } else {
                readValue(text);
            }
        }
        return std::move(m_file);
    }

private:
    void report(std::string description, std::size_t index)
    {
        if (m_problems) {
            m_problems->push_back({ m_lines[index].number, std::move(description) });
        }
    }
    void report(std::string description) { report(std::move(description), m_index); }

    void readSection(std::string_view text)
    {
        m_key = nullptr;
        if (text.size() < 2 || text.back() != ']') {
            report("section line without its closing ]; its values are left out");
            return;
        }
        const std::string_view path = text.substr(1, text.size() - 2);
        if (!path.empty() && path.front() == '-') {
            report("key deletion in a hive; its values are left out");
            return;
        }
        m_key = m_file.createKey(path);
        if (!m_key) {
            report("invalid key path; its values are left out");
        }
    }

    void readValue(std::string_view text)
    {
        const std::size_t valueLineIndex = m_index;
        std::string error;
        RegeditValue value;
        const bool ok = parseValue(text, value, error);
        if (!ok) {
            report(error, valueLineIndex);
        } else if (!m_key) {
            report("value outside a readable section", valueLineIndex);
        } else {
            m_key->setValue(value.name, value.type, std::move(value.data));
        }
    }

    bool parseValue(std::string_view text, RegeditValue& value, std::string& error)
    {
        std::size_t pos = 0;
        if (text.front() == '@') {
            pos = 1;
        } else if (text.front() == '"') {
            if (!parseQuoted(text, pos, value.name, error)) {
                return false;
            }
        } else {
            error = "line is neither a section, a value nor a comment";
            return false;
        }
        std::string_view rest = trim(text.substr(pos));
        if (rest.empty() || rest.front() != '=') {
            error = "value name not followed by =";
            return false;
        }
        rest = trim(rest.substr(1));

        if (!rest.empty() && rest.front() == '"') {
            std::string data;
            pos = 0;
            if (!parseQuoted(rest, pos, data, error)) {
                return false;
            }
            if (!trim(rest.substr(pos)).empty()) {
                error = "text after the closing quote";
                return false;
            }
            value.type = kRegSz;
            value.data.assign(data.begin(), data.end());
            value.data.push_back(0);
            return true;
        }
        if (startsWithNoCase(rest, "DWORD:")) {
            const auto number = parseHexNumber(trim(rest.substr(6)), 8);
            if (!number) {
                error = "dword: not followed by 1 to 8 hexadecimal digits";
                return false;
            }
            value.type = kRegDword;
            for (int shift = 0; shift < 32; shift += 8) {
                value.data.push_back(static_cast<std::uint8_t>(*number >> shift));
            }
            return true;
        }
        if (startsWithNoCase(rest, "HEX")) {
            return parseHexValue(rest.substr(3), value, error);
        }
        if (rest == "-") {
            error = "value deletion in a hive";
            return false;
        }
        error = "value data neither quoted text, dword: nor hex:";
        return false;
    }

    // After "hex": ":" or "(type):", then the byte list, possibly continued on the next lines.
    bool parseHexValue(std::string_view rest, RegeditValue& value, std::string& error)
    {
        value.type = kRegBinary;
        if (!rest.empty() && rest.front() == '(') {
            const std::size_t close = rest.find(')');
            const auto type
                = close == std::string_view::npos ? std::nullopt : parseHexNumber(rest.substr(1, close - 1), 8);
            if (!type) {
                error = "hex( not followed by a hexadecimal type and )";
                return false;
            }
            value.type = *type;
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':') {
            error = "hex type not followed by :";
            return false;
        }
        std::string list(rest.substr(1));
        // Every continuation line is consumed even when the value turns out unreadable, so that the
        // rest of the list is not taken for lines of its own.
        while (!trim(list).empty() && trim(list).back() == '\\') {
            list = trim(list);
            list.pop_back();
            if (m_index + 1 >= m_lines.size() || !isContinuation(trim(m_lines[m_index + 1].text))) {
                error = "hex list ends with \\ but no continuation line follows";
                return false;
            }
            list += trim(m_lines[++m_index].text);
        }
        auto bytes = parseHexList(list);
        if (!bytes) {
            error = "hex list with something other than comma-separated hexadecimal bytes";
            return false;
        }
        value.data = std::move(*bytes);
        if (m_unicode && (value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz)) {
            const std::string ansi
                = utf16ToAnsi(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
            value.data.assign(ansi.begin(), ansi.end());
        }
        return true;
    }

    // A section, a value or a comment after a trailing "\" means the list was cut off.
    static bool isContinuation(std::string_view next)
    {
        return next.empty()
            || (next.front() != '[' && next.front() != '"' && next.front() != '@' && next.front() != ';');
    }

    std::vector<Line> m_lines;
    std::vector<RegeditProblem>* m_problems;
    std::size_t m_index = 0;
    RegeditFile m_file;
    RegeditKey* m_key = nullptr;
    bool m_unicode = false;
};

} // namespace

const RegeditValue* RegeditKey::findValue(std::string_view name) const
{
    const auto sameName = [name](const RegeditValue& value) {
        return std::equal(value.name.begin(), value.name.end(), name.begin(), name.end(),
                          [](char a, char b) { return foldByte(a) == foldByte(b); });
    };
    const auto it = std::find_if(values.begin(), values.end(), sameName);
    return it == values.end() ? nullptr : &*it;
}

void RegeditKey::setValue(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data)
{
    if (auto* existing = const_cast<RegeditValue*>(findValue(name))) {
        existing->type = type;
        existing->data = std::move(data);
        return;
    }
    values.push_back({ std::string(name), type, std::move(data) });
}

bool RegeditKey::removeValue(std::string_view name)
{
    const RegeditValue* found = findValue(name);
    if (!found) {
        return false;
    }
    values.erase(values.begin() + (found - values.data()));
    return true;
}

RegeditFile RegeditFile::parse(std::string_view text, std::vector<RegeditProblem>* problems)
{
    // A file that regedit exported is UTF-16 (little-endian, with its byte order mark).
    if (text.size() >= 2 && text[0] == '\xFF' && text[1] == '\xFE') {
        return Parser(utf16ToAnsi(text.substr(2)), problems).run();
    }
    return Parser(text, problems).run();
}

std::string RegeditFile::serialise() const
{
    std::string out = "REGEDIT4\r\n\r\n";
    for (const auto& [folded, key] : m_keys) {
        out += '[';
        out += key.path;
        out += "]\r\n";
        for (const RegeditValue& value : key.values) {
            out += valueLine(value);
        }
        out += "\r\n";
    }
    return out;
}

std::vector<const RegeditKey*> RegeditFile::keys() const
{
    std::vector<const RegeditKey*> result;
    result.reserve(m_keys.size());
    for (const auto& [folded, key] : m_keys) {
        result.push_back(&key);
    }
    return result;
}

const RegeditKey* RegeditFile::findKey(std::string_view path) const
{
    const auto it = m_keys.find(foldCase(path));
    return it == m_keys.end() ? nullptr : &it->second;
}

RegeditKey* RegeditFile::findKey(std::string_view path)
{
    return const_cast<RegeditKey*>(std::as_const(*this).findKey(path));
}

RegeditKey* RegeditFile::createKey(std::string_view path)
{
    if (!isValidKeyPath(path)) {
        return nullptr;
    }
    // Walk down from the first name below the root, keeping the stored case of existing keys.
    std::string stored(*rootOf(path));
    std::size_t end = path.find('\\');
    if (end == std::string_view::npos) {
        return &insertKey(std::move(stored));
    }
    RegeditKey* key = nullptr;
    while (end != std::string_view::npos) {
        const std::size_t next = path.find('\\', end + 1);
        std::string candidate = stored + std::string(path.substr(end, next - end));
        key = &insertKey(std::move(candidate));
        stored = key->path;
        end = next;
    }
    return key;
}

bool RegeditFile::hasSubKeys(std::string_view path) const
{
    // A key's children directly follow it in tree order.
    const std::string prefix = foldCase(path) + '\\';
    const auto next = m_keys.upper_bound(foldCase(path));
    return next != m_keys.end() && next->first.compare(0, prefix.size(), prefix) == 0;
}

bool RegeditFile::removeKey(std::string_view path)
{
    const auto first = m_keys.find(foldCase(path));
    if (first == m_keys.end()) {
        return false;
    }
    const std::string prefix = first->first + '\\';
    auto last = std::next(first);
    while (last != m_keys.end() && last->first.compare(0, prefix.size(), prefix) == 0) {
        ++last;
    }
    m_keys.erase(first, last);
    return true;
}

bool RegeditFile::isValidKeyPath(std::string_view path)
{
    if (!rootOf(path) || path.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    return path.find("\\\\") == std::string_view::npos && path.back() != '\\';
}

std::string RegeditFile::foldCase(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded) {
        c = static_cast<char>(foldByte(c));
    }
    return folded;
}

bool RegeditFile::TreeOrder::operator()(const std::string& left, const std::string& right) const
{
    // The separator sorts before every other byte so that a key's children directly follow it.
    const auto rank = [](char c) { return c == '\\' ? 0 : static_cast<unsigned char>(c) + 1; };
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                        [&](char a, char b) { return rank(a) < rank(b); });
}

RegeditKey& RegeditFile::insertKey(std::string path)
{
    std::string folded = foldCase(path);
    auto it = m_keys.find(folded);
    if (it == m_keys.end()) {
        it = m_keys.emplace(std::move(folded), RegeditKey { std::move(path), {} }).first;
    }
    return it->second;
}

} // namespace orvant::platform
