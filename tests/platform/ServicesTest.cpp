#include "platform/Environment.h"
#include "platform/SerialPorts.h"
#include "platform/TextCodec.h"
#include "tests/support/Files.h"
#include "tests/support/Host.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvant::platform {
namespace {

using test::ScopedEnv;

// The file holds the character of every byte 00-FF in byte order, so the whole code page is compared.
TEST(TextCodec, EveryByteMapsToItsCharacterAndBackAndOtherCharactersBecomeQuestionMarks)
{
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes.push_back(static_cast<char>(b));
    }
    EXPECT_TRUE(test::matchesDataFile(ansiToUtf8(allBytes), "platform/windows-1252.txt"));
    EXPECT_EQ(utf8ToAnsi(ansiToUtf8(allBytes)), allBytes);
    // CJK, outside the basic plane, U+0080 (0x80 is the euro sign), malformed, truncated, overlong "/".
    EXPECT_EQ(utf8ToAnsi("\xE4\xB8\xAD|a\xF0\x9F\x98\x80z|\xC2\x80|x\xFFy|\xE2\x82|\xC0\xAF"), "?|a?z|?|x?y|??|??");
    EXPECT_EQ(upperCaseAnsi(R"(c:\program files àéîõü ÿ šœž æøþ ß ÷ µ)"), R"(C:\PROGRAM FILES ÀÉÎÕÜ Ÿ ŠŒŽ ÆØÞ ß ÷ µ)");
}

TEST(Environment, VariablesAreSetAndReadWithoutRegardToCase)
{
    const ScopedEnv alpha("ORVANT_T_ALPHA", std::string("alpha"));
    EXPECT_EQ(getEnvironmentVariable("orvant_t_Alpha"), "alpha");
    EXPECT_TRUE(setEnvironmentVariable("ORVANT_T_EMPTY", std::string()));
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_EMPTY"), "");
    EXPECT_TRUE(setEnvironmentVariable("ORVANT_T_EMPTY", std::nullopt));
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_EMPTY"), std::nullopt);
    EXPECT_EQ(getEnvironmentVariable(""), std::nullopt);
    EXPECT_FALSE(setEnvironmentVariable("ORVANT_T=X", std::string("y")));
}

// On Windows these are ExpandEnvironmentStringsA's own answers; on POSIX the platform layer's rules.
TEST(Environment, ExpandsPercentReferencesAsWindowsDoes)
{
    const ScopedEnv alpha("ORVANT_T_ALPHA", std::string("alpha"));
    const ScopedEnv undefined("ORVANT_T_UNDEF", nullptr);
    const ScopedEnv empty("ORVANT_T_EMPTY", std::string());
    const ScopedEnv indirect("ORVANT_T_INDIRECT", std::string("x%ORVANT_T_ALPHA%y"));
    // Unpaired and doubled signs stay; values are not expanded again.
    for (const auto& [text, expanded] :
         { std::pair { "x%orvant_t_alpha%y[%ORVANT_T_EMPTY%]", "xalphay[]" },
           { "%ORVANT_T_UNDEF%\\BIN;%ORVANT_T_ALPHA%%ORVANT_T_ALPHA%", "%ORVANT_T_UNDEF%\\BIN;alphaalpha" },
           { "50%", "50%" },
           { "%ORVANT_T_ALPHA", "%ORVANT_T_ALPHA" },
           { "%%", "%%" },
           { "%ORVANT_T_ALPHA%%", "alpha%" },
           { "", "" },
           { "-%ORVANT_T_INDIRECT%-", "-x%ORVANT_T_ALPHA%y-" } }) {
        EXPECT_EQ(expandEnvironmentStrings(text), expanded) << text;
    }
}

// The ports are the "comN" entries of a mapping folder that can be opened: on Windows Wine's
// dosdevices, through which \\.\COMn is opened; on POSIX the same kind of folder. COM1 is left out:
// Wine maps the machine's first serial device there. A folder is no port.
TEST(SerialPorts, MappedEntriesThatOpenAreThePorts)
{
    test::TestFolder folder;
    const std::filesystem::path ports = test::host::comPortFolder();
    if (ports.empty()) {
        GTEST_SKIP() << "no folder to stage ports in (Windows without Wine)";
    }
    for (const char* entry : { "com0", "com3", "com6", "com16", "com17" }) {
        test::writeFile(ports / entry, "");
    }
    std::filesystem::create_directory(ports / "com2");
    std::vector<int> found;
    for (int n = -1; n <= 17; ++n) {
        if (n != 1 && comPortExists(n)) {
            found.push_back(n);
        }
        std::filesystem::remove(ports / ("com" + std::to_string(n)));
    }
    EXPECT_EQ(found, (std::vector<int> { 3, 6, 16 }));
}

} // namespace
} // namespace orvant::platform
