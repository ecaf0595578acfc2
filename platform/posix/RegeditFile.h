#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvant::platform {

// One value of a key. Names and data are the store's own bytes (Windows-1252); the data are kept
// exactly as they were set, so a REG_SZ without its terminating NUL stays without it.
struct RegeditValue
{
    std::string name; // empty for the default value ("@")
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;

    bool operator==(const RegeditValue&) const = default;
};

// One key: its full path from the root ("HKEY_CURRENT_USER\SOFTWARE\Kelbrin") with the case it was
// first created with, and its values in the order they were first set.
struct RegeditKey
{
    std::string path;
    std::vector<RegeditValue> values;

    // Value names are case-insensitive, as on Windows.
    const RegeditValue* findValue(std::string_view name) const;
    // Replaces the data and type of an existing value (keeping the stored name) or appends a new one.
    void setValue(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data);
    // Removes the value, keeping the others in their order. False when there is no such value.
    bool removeValue(std::string_view name);

    bool operator==(const RegeditKey&) const = default;
};

// Something in a hive's text that could not be read; the rest of the text still is.
struct RegeditProblem
{
    std::size_t line = 0; // 1-based
    std::string description;
};

// A registry hive in memory and its REGEDIT4 text: "REGEDIT4", a blank line, then one
// "[full key path]" section per key followed by its values and a blank line; CR LF line ends,
// Windows-1252 bytes. No input or output here: the caller reads and writes the file.
//
// Values are written as regedit writes them: "name"="text" (with \\ and \" escapes) for a REG_SZ
// whose data is text followed by one NUL; dword:xxxxxxxx for a four-byte REG_DWORD; hex: for
// REG_BINARY and hex(N): (N in hexadecimal) for every other type, and for a REG_SZ that the quoted
// form would not give back byte for byte (no terminating NUL, an inner NUL, a line break), so that
// such data survive a round trip and still import on Windows. Hex lists are wrapped after about 77
// columns with a "\" continuation and two spaces of indent.
//
// The reader also takes what an administrator may have edited by hand: comments (";"), blank lines,
// leading and trailing blanks, upper- or lower-case hex with blanks after the commas, continuation
// lines, LF-only line ends, root names in any case, "" for the default value. It also reads what
// regedit exports: "Windows Registry Editor Version 5.00" in UTF-16LE, whose hex(1), hex(2) and
// hex(7) texts are UTF-16 too; every text is taken in as the ANSI bytes Windows-1252 gives it
// (a character without a byte becomes "?"). Sections for a key
// whose parents are not listed imply those parents, as an import on Windows would. Later values of
// the same name replace earlier ones, again as an import would.
class RegeditFile
{
public:
    // Reads the text. Whatever cannot be read is listed in problems (when given) and left out: a
    // malformed section leaves out its values too, a malformed value only itself.
    static RegeditFile parse(std::string_view text, std::vector<RegeditProblem>* problems = nullptr);

    std::string serialise() const;

    // Keys in tree order (parents before children, siblings case-insensitively sorted).
    std::vector<const RegeditKey*> keys() const;

    // Key paths are case-insensitive. Paths are full paths from the root name.
    const RegeditKey* findKey(std::string_view path) const;
    RegeditKey* findKey(std::string_view path);

    // Creates the key and every missing key between it and the root (the root itself only when it
    // is the key asked for). Existing parts of the path keep their stored case. Returns nullptr when
    // the path is not a valid key path (see isValidKeyPath).
    RegeditKey* createKey(std::string_view path);

    // Whether keys below the key are listed.
    bool hasSubKeys(std::string_view path) const;

    // Removes the key with its values and every key below it. False when there is no such key.
    bool removeKey(std::string_view path);

    // A known root name followed by zero or more non-empty "\"-separated names, no line breaks.
    static bool isValidKeyPath(std::string_view path);

    // Case folding of Windows-1252 text as the registry compares names.
    static std::string foldCase(std::string_view text);

    bool operator==(const RegeditFile&) const = default;

private:
    struct TreeOrder
    {
        bool operator()(const std::string& left, const std::string& right) const;
    };

    RegeditKey& insertKey(std::string path);

    // Folded path -> key.
    std::map<std::string, RegeditKey, TreeOrder> m_keys;
};

} // namespace orvant::platform
