#include "platform/posix/RegeditFile.h"

#include "tests/support/Files.h"

#include <gtest/gtest.h>

// POSIX only: the text form of the registry stand-in's hives.
namespace orvant::platform {
namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes bytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// What the parser makes of a file by hand, written back as the writer writes it.
TEST(RegeditFile, ReadsHandEditedAndDamagedFilesAsFarAsTheyGo)
{
    const std::pair<const char*, std::vector<std::size_t>> cases[] = {
        { "hand_edited", {} },
        { "corrupt", { 5, 6, 7, 8, 9, 10 } },
    };
    for (const auto& [name, problemLines] : cases) {
        std::vector<RegeditProblem> problems;
        const RegeditFile file = RegeditFile::parse(test::dataFile("fuzz/fuzz_regedit/"s + name + ".reg"), &problems);
        std::vector<std::size_t> lines;
        for (const auto& problem : problems) {
            lines.push_back(problem.line);
        }
        EXPECT_EQ(lines, problemLines) << name;
        EXPECT_TRUE(test::matchesDataFile(file.serialise(), "fuzz/fuzz_regedit/"s + name + "_rewritten.reg"));
    }
}

TEST(RegeditFile, EveryTypeAndByteSurvivesARoundTrip)
{
    std::string allBytes;
    for (int b = 1; b < 256; ++b) {
        allBytes.push_back(static_cast<char>(b));
    }
    RegeditFile file;
    RegeditKey* key = file.createKey("HKEY_CURRENT_USER\\Types");
    const std::pair<std::uint32_t, Bytes> values[] = {
        { 1, bytes(allBytes + '\0') }, { 1, bytes("a\0b\0"s) }, { 1, bytes("two\r\nlines"s + '\0') }, { 1, {} },
        { 1, { 0 } },   { 3, bytes(allBytes) },      { 4, { 1, 2 } },      { 0, {} },
        { 0xFFFFFFFF, { 9 } },
    };
    for (std::size_t i = 0; i < std::size(values); ++i) {
        key->setValue("value " + std::to_string(i), values[i].first, values[i].second);
    }
    key->setValue("", 1, bytes("default"s + '\0'));
    key->setValue("name \\ with \" marks", 1, { 0 });
    const std::string text = file.serialise();
    EXPECT_EQ(RegeditFile::parse(text), file);
    EXPECT_EQ(RegeditFile::parse(text).serialise(), text);
}

TEST(RegeditFile, KeysIgnoreCaseKeepTheirFirstSpellingAndListInTreeOrder)
{
    RegeditFile file;
    file.createKey("HKEY_LOCAL_MACHINE\\b");
    file.createKey("HKEY_CURRENT_USER\\A B");
    file.createKey("HKEY_CURRENT_USER\\a\\Caf\xE9");
    EXPECT_EQ(file.createKey("hkey_current_user\\A\\CAF\xC9\\x")->path, "HKEY_CURRENT_USER\\a\\Caf\xE9\\x");
    EXPECT_EQ(file.findKey("HKEY_CURRENT_USER\\a\\CAF\xF7"), nullptr);
    std::vector<std::string> paths;
    for (const RegeditKey* key : file.keys()) {
        paths.push_back(key->path);
    }
    EXPECT_EQ(paths, (std::vector<std::string> { "HKEY_CURRENT_USER\\a", "HKEY_CURRENT_USER\\a\\Caf\xE9",
                                                 "HKEY_CURRENT_USER\\a\\Caf\xE9\\x", "HKEY_CURRENT_USER\\A B",
                                                 "HKEY_LOCAL_MACHINE\\b" }));
    for (const char* path : { "", "SOFTWARE\\Kelbrin", "HKEY_CURRENT_USER\\a\\\\b", "HKEY_CURRENT_USER\\line\nbreak" }) {
        EXPECT_EQ(file.createKey(path), nullptr) << path;
    }
}

} // namespace
} // namespace orvant::platform
