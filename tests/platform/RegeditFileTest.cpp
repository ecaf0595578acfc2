#include "platform/posix/RegeditFile.h"

#include "tests/platform/RegistryBytes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using orvant::platform::RegeditFile;
using orvant::platform::RegeditKey;
using orvant::platform::RegeditProblem;
using orvant::platform::RegeditValue;

using namespace orvant::test;

RegeditFile parseClean(std::string_view text)
{
    std::vector<RegeditProblem> problems;
    RegeditFile file = RegeditFile::parse(text, &problems);
    for (const RegeditProblem& problem : problems) {
        ADD_FAILURE() << "line " << problem.line << ": " << problem.description;
    }
    return file;
}

const RegeditValue* valueOf(const RegeditFile& file, std::string_view key, std::string_view name)
{
    const RegeditKey* found = file.findKey(key);
    return found ? found->findValue(name) : nullptr;
}

constexpr char kHarbell[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelbrin\\Harbell";

TEST(RegeditFile, WritesASmallHiveAsRegeditDoes)
{
    RegeditFile file;
    RegeditKey* key = file.createKey(kHarbell);
    ASSERT_NE(key, nullptr);
    key->setValue("", 1, sz("default"));
    key->setValue("InstallDir", 1, sz("C:\\ORVANT\\"));
    key->setValue("Quote", 1, sz("say \"hi\""));
    key->setValue("Count", 4, { 0x2a, 0, 0, 0 });
    key->setValue("Path", 2, sz("%KELBRIN_HOME%"));
    key->setValue("Raw", 3, { 0x00, 0xff, 0x10 });
    key->setValue("Big", 5, { 0, 0, 1, 0 });
    key->setValue("Multi", 7, { 'a', 0, 'b', 0, 0 });
    key->setValue("NoNul", 1, bytes("AB"));
    key->setValue("Pound", 1,
                  sz("\xA3"
                     "5"));
    key->setValue("Empty", 3, {});
    key->setValue("Qword", 0xb, { 1, 0, 0, 0, 0, 0, 0, 0 });
    file.createKey("HKEY_CURRENT_USER\\Console");

    EXPECT_EQ(file.serialise(),
              crlf(R"(REGEDIT4

[HKEY_CURRENT_USER\Console]

[HKEY_LOCAL_MACHINE\SOFTWARE]

[HKEY_LOCAL_MACHINE\SOFTWARE\Kelbrin]

[HKEY_LOCAL_MACHINE\SOFTWARE\Kelbrin\Harbell]
@="default"
"InstallDir"="C:\\ORVANT\\"
"Quote"="say \"hi\""
"Count"=dword:0000002a
"Path"=hex(2):25,4b,45,4c,42,52,49,4e,5f,48,4f,4d,45,25,00
"Raw"=hex:00,ff,10
"Big"=hex(5):00,00,01,00
"Multi"=hex(7):61,00,62,00,00
"NoNul"=hex(1):41,42
"Pound"=")"
                   "\xA3"
                   R"(5"
"Empty"=hex:
"Qword"=hex(b):01,00,00,00,00,00,00,00

)"));
}

TEST(RegeditFile, WrapsLongHexListsAtRegeditsWidth)
{
    RegeditFile file;
    Bytes blob;
    for (int i = 0; i < 50; ++i) {
        blob.push_back(static_cast<std::uint8_t>(i));
    }
    file.createKey("HKEY_CURRENT_USER\\Blobs")->setValue("Sample", 3, blob);

    const std::string expected = crlf(R"(REGEDIT4

[HKEY_CURRENT_USER\Blobs]
"Sample"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\
  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\
  2f,30,31

)");
    EXPECT_EQ(file.serialise(), expected);
    EXPECT_EQ(parseClean(expected), file);
}

TEST(RegeditFile, EveryTypeSurvivesARoundTrip)
{
    std::string allBytes;
    for (int b = 1; b < 256; ++b) {
        allBytes.push_back(static_cast<char>(b));
    }
    RegeditFile file;
    RegeditKey* key = file.createKey("HKEY_CURRENT_USER\\Types");
    key->setValue("sz", 1, sz("C:\\ORVANT\\bin \"quoted\" \xE9\xA3\x80"));
    key->setValue("sz without NUL", 1, bytes("C:\\ORVANT"));
    key->setValue("sz with inner NUL", 1, { 'a', 0, 'b', 0 });
    key->setValue("sz with line break", 1, sz("two\r\nlines"));
    key->setValue("sz of every byte", 1, sz(allBytes));
    key->setValue("empty sz", 1, {});
    key->setValue("only NUL", 1, { 0 });
    key->setValue("expand", 2, sz("%PATH%;C:\\x"));
    key->setValue("binary", 3, bytes(allBytes));
    key->setValue("dword", 4, { 0x78, 0x56, 0x34, 0x12 });
    key->setValue("short dword", 4, { 1, 2 });
    key->setValue("big endian", 5, { 0x12, 0x34, 0x56, 0x78 });
    key->setValue("multi", 7, { 'a', 0, 'b', 'c', 0, 0 });
    key->setValue("none", 0, {});
    key->setValue("huge type", 0xFFFFFFFF, { 9 });
    key->setValue("", 1, sz("default"));
    key->setValue("name \\ with \" marks", 1, sz("v"));

    const std::string text = file.serialise();
    const RegeditFile back = parseClean(text);
    EXPECT_EQ(back, file);
    EXPECT_EQ(back.serialise(), text);
    // The quoted form is used only where it gives back the same bytes.
    EXPECT_NE(text.find(crlf("\"sz without NUL\"=hex(1):43,3a,5c,4f,52,56,41,4e,54\n")), std::string::npos);
    EXPECT_NE(text.find(crlf("\"empty sz\"=hex(1):\n")), std::string::npos);
    EXPECT_NE(text.find(crlf("\"only NUL\"=\"\"\n")), std::string::npos);
    EXPECT_NE(text.find(crlf("\"short dword\"=hex(4):01,02\n")), std::string::npos);
    EXPECT_NE(text.find(crlf("\"huge type\"=hex(ffffffff):09\n")), std::string::npos);
}

TEST(RegeditFile, ReadsAHiveEditedByHand)
{
    // LF-only line ends, comments, blanks, hex in both cases with blanks after the commas, a
    // continuation line, a root in lower case, "" for the default value, a section that implies
    // its parents, a section repeated in another case, a value repeated.
    const std::string text = "; exported by hand\n"
                             "REGEDIT4\n"
                             "\n"
                             "   ; Harbell settings\n"
                             "[hkey_local_machine\\SOFTWARE\\Kelbrin\\Harbell]   \n"
                             "  \"Port\" = dword:00001F90\n"
                             "\"Path\"=hex(2):25,4B, 45,4c,\t42,\\\n"
                             "   52,49,4e,\\\n"
                             "   25,00\n"
                             "\"\"=\"default\"\n"
                             "\"Mode\"=\"old\"\n"
                             "\n"
                             "[HKEY_LOCAL_MACHINE\\software\\KELBRIN\\harbell]\r\n"
                             "\"mode\"=\"new\"\r\n"
                             "\"Flags\"=HEX:1,2,3,\n";
    const RegeditFile file = parseClean(text);

    const std::string harbell = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelbrin\\Harbell";
    const RegeditKey* key = file.findKey(harbell);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->path, harbell);
    EXPECT_NE(file.findKey("HKEY_LOCAL_MACHINE\\SOFTWARE"), nullptr);
    EXPECT_NE(file.findKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelbrin"), nullptr);

    ASSERT_EQ(key->values.size(), 5u);
    EXPECT_EQ(key->values[0], (RegeditValue { "Port", 4, { 0x90, 0x1f, 0, 0 } }));
    EXPECT_EQ(key->values[1], (RegeditValue { "Path", 2, sz("%KELBRIN%") }));
    EXPECT_EQ(key->values[2], (RegeditValue { "", 1, sz("default") }));
    EXPECT_EQ(key->values[3], (RegeditValue { "Mode", 1, sz("new") }));
    EXPECT_EQ(key->values[4], (RegeditValue { "Flags", 3, { 1, 2, 3 } }));
}

TEST(RegeditFile, ReadsEscapesAndLeavesOutWhatItCannotRead)
{
    const std::string text = crlf(R"(REGEDIT4

[HKEY_CURRENT_USER\Good]
"before"="1"
"a\\b\"c"="x\\\"y"
"unknown"="C:\ORVANT"
"no equals" "x"
"bad hex"=hex:01,zz
"long dword"=dword:123456789
"unterminated"="abc
"deletion"=-
nonsense
"after"="2"

[HKEY_CURRENT_USER\Broken
"lost"="3"

[HKEY_NOWHERE\Key]
"lost too"="4"

[-HKEY_CURRENT_USER\Deleted]
"lost as well"="5"

[HKEY_CURRENT_USER\Cut]
"cut"=hex:01,02,\
[HKEY_CURRENT_USER\Next]
"next"="6"
"truncated"=hex(7):61,00,\
)");
    std::vector<RegeditProblem> problems;
    const RegeditFile file = RegeditFile::parse(text, &problems);

    EXPECT_NE(valueOf(file, "HKEY_CURRENT_USER\\Good", "before"), nullptr);
    EXPECT_NE(valueOf(file, "HKEY_CURRENT_USER\\Good", "after"), nullptr);
    // Known escapes are read; an unknown one loses its line.
    const RegeditValue* escaped = valueOf(file, "HKEY_CURRENT_USER\\Good", "a\\b\"c");
    ASSERT_NE(escaped, nullptr);
    EXPECT_EQ(escaped->data, sz("x\\\"y"));
    EXPECT_EQ(file.findKey("HKEY_CURRENT_USER\\Good")->values.size(), 3u);
    EXPECT_EQ(file.findKey("HKEY_CURRENT_USER\\Broken"), nullptr);
    EXPECT_EQ(file.findKey("HKEY_CURRENT_USER\\Deleted"), nullptr);
    EXPECT_TRUE(file.findKey("HKEY_CURRENT_USER\\Cut")->values.empty());
    // A list cut off by the next section does not swallow it.
    EXPECT_NE(valueOf(file, "HKEY_CURRENT_USER\\Next", "next"), nullptr);
    EXPECT_EQ(file.findKey("HKEY_CURRENT_USER\\Next")->values.size(), 1u);
    EXPECT_EQ(file.keys().size(), 3u);

    std::vector<std::size_t> lines;
    for (const RegeditProblem& problem : problems) {
        lines.push_back(problem.line);
    }
    EXPECT_EQ(lines, (std::vector<std::size_t> { 6, 7, 8, 9, 10, 11, 12, 15, 16, 18, 19, 21, 22, 25, 28 }));
}

TEST(RegeditFile, ReadsWhateverBytesWithoutAHeader)
{
    std::vector<RegeditProblem> problems;
    using namespace std::string_literals;
    const std::string garbage = "\xEF\xBB\xBF\0[\0\"\\\xFF\r\r\n\\\n[HKEY_USERS]\n@=dword:\n[HKEY_USERS\\x]\n@=hex:,"s;
    const RegeditFile file = RegeditFile::parse(garbage, &problems);
    EXPECT_FALSE(problems.empty());
    EXPECT_NE(file.findKey("HKEY_USERS\\X"), nullptr);

    problems.clear();
    EXPECT_EQ(RegeditFile::parse("", &problems), RegeditFile());
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(RegeditFile().serialise(), "REGEDIT4\r\n\r\n");
}

TEST(RegeditFile, KeyAndValueNamesIgnoreCase)
{
    RegeditFile file;
    file.createKey("HKEY_CURRENT_USER\\Software\\Kelbrin");
    // Existing parts keep the case they were created with; the new part keeps its own.
    const RegeditKey* created = file.createKey("hkey_current_user\\SOFTWARE\\KELBRIN\\Harbell_01");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->path, "HKEY_CURRENT_USER\\Software\\Kelbrin\\Harbell_01");
    EXPECT_EQ(file.keys().size(), 3u);

    // Windows-1252 letters beyond ASCII fold too: e acute, s caron, y diaeresis.
    RegeditKey* key = file.createKey("HKEY_CURRENT_USER\\Caf\xE9\\\x9A\xFF");
    EXPECT_EQ(file.findKey("HKEY_CURRENT_USER\\CAF\xC9\\\x8A\x9F"), key);
    EXPECT_EQ(file.findKey("HKEY_CURRENT_USER\\CAF\xF7"), nullptr);

    key->setValue("InstallDir", 1, sz("a"));
    key->setValue("INSTALLDIR", 4, { 1, 0, 0, 0 });
    ASSERT_EQ(key->values.size(), 1u);
    EXPECT_EQ(key->values[0], (RegeditValue { "InstallDir", 4, { 1, 0, 0, 0 } }));
    EXPECT_EQ(key->findValue("installdir"), &key->values[0]);
}

TEST(RegeditFile, ListsKeysInTreeOrder)
{
    RegeditFile file;
    file.createKey("HKEY_LOCAL_MACHINE\\b");
    file.createKey("HKEY_CURRENT_USER\\A B");
    file.createKey("HKEY_CURRENT_USER\\a\\C");
    file.createKey("HKEY_CURRENT_USER");
    file.createKey("HKEY_CURRENT_USER\\A\\b");

    std::vector<std::string> paths;
    for (const RegeditKey* key : file.keys()) {
        paths.push_back(key->path);
    }
    EXPECT_EQ(
        paths,
        (std::vector<std::string> { "HKEY_CURRENT_USER", "HKEY_CURRENT_USER\\a", "HKEY_CURRENT_USER\\a\\b",
                                    "HKEY_CURRENT_USER\\a\\C", "HKEY_CURRENT_USER\\A B", "HKEY_LOCAL_MACHINE\\b" }));
}

TEST(RegeditFile, RefusesPathsTheTextCannotHold)
{
    RegeditFile file;
    for (const char* path : { "", "SOFTWARE\\Kelbrin", "HKEY_CURRENT_USER\\a\\\\b", "HKEY_CURRENT_USER\\a\\",
                              "HKEY_CURRENT_USER\\line\nbreak" }) {
        EXPECT_EQ(file.createKey(path), nullptr) << path;
    }
    EXPECT_TRUE(file.keys().empty());
}

} // namespace
