#include "env_tool/Registry.h"

#include "env_tool/ProgramName.h"
#include "env_tool/RegistryError.h"
#include "tests/env_tool/HiveValues.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace varset {
namespace {

using namespace std::string_literals;
using test::readStored;
using test::store;
using test::withNul;

constexpr const char* kKey = "SOFTWARE\\Kelbrin\\Varset Test";
constexpr auto kMachine = orvant::platform::Hive::LocalMachine;

class VarsetRegistryTest : public ::testing::Test
{
protected:
    VarsetRegistryTest()
    {
        m_registry.setClassKey(static_cast<std::uint32_t>(kMachine));
        m_registry.setSectionKey(kKey);
    }

    RegistryValue readRaw(const std::string& name, std::uint32_t type, const std::string& bytes)
    {
        store(kMachine, kKey, name, type, bytes);
        m_registry.setValueKey(name);
        return m_registry.value();
    }

    orvant::test::TestFolder m_folder;
    Registry m_registry;
};

TEST_F(VarsetRegistryTest, WriteStoresExpandableTypeOnlyForAPercentPairWithSomethingBetween)
{
    struct Case
    {
        std::string text;
        std::uint32_t type;
    };
    const Case cases[] = {
        { R"(C:\ORVANT\)", orvant::platform::kRegSz },
        { R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;)", orvant::platform::kRegExpandSz },
        { "%A%", orvant::platform::kRegExpandSz },
        { "%%%", orvant::platform::kRegExpandSz },
        { "100%", orvant::platform::kRegSz },
        { "%%", orvant::platform::kRegSz },
        { "a%%b", orvant::platform::kRegSz },
        { "", orvant::platform::kRegSz },
    };
    for (const auto& c : cases) {
        // The type asked for does not matter: the text decides.
        m_registry.setValueType(orvant::platform::kRegExpandSz);
        m_registry.setValueKey("Sample");
        m_registry.setValue(c.text);
        const auto stored = readStored(kMachine, kKey, "Sample");
        ASSERT_EQ(stored.result, orvant::platform::kErrorSuccess) << c.text;
        EXPECT_EQ(stored.type, c.type) << c.text;
        EXPECT_EQ(stored.bytes, withNul(c.text)) << c.text;
    }
}

TEST_F(VarsetRegistryTest, WriteConvertsTextAndNumbersToAnsi)
{
    m_registry.setValueKey("Text");
    m_registry.setValue("Café £5"s);
    EXPECT_EQ(readStored(kMachine, kKey, "Text").bytes,
              "Caf\xE9 \xA3"
              "5\0"s);

    m_registry.setValueKey("Number");
    m_registry.setValue(std::uint32_t(4096));
    const auto number = readStored(kMachine, kKey, "Number");
    EXPECT_EQ(number.type, orvant::platform::kRegSz);
    EXPECT_EQ(number.bytes, "4096\0"s);
}

TEST_F(VarsetRegistryTest, ReadReturnsEachTypeAsItsKindAndTakesOverTheType)
{
    EXPECT_EQ(readRaw("Sz", orvant::platform::kRegSz, "C:\\ORVANT\\\0"s), RegistryValue(R"(C:\ORVANT\)"s));
    EXPECT_EQ(m_registry.valueType(), orvant::platform::kRegSz);

    EXPECT_EQ(readRaw("Ansi", orvant::platform::kRegSz, "\xE9\xA3\x80\0"s), RegistryValue("é£€"s));

    // Only the final terminator goes; the separators stay.
    EXPECT_EQ(readRaw("Multi", orvant::platform::kRegMultiSz, "one\0two\0\0"s), RegistryValue("one\0two\0"s));
    EXPECT_EQ(m_registry.valueType(), orvant::platform::kRegMultiSz);

    EXPECT_EQ(readRaw("Dword", orvant::platform::kRegDword, "\x78\x56\x34\x12"s), RegistryValue(0x12345678u));
    EXPECT_EQ(m_registry.valueType(), orvant::platform::kRegDword);

    EXPECT_EQ(readRaw("BigEndian", orvant::platform::kRegDwordBigEndian, "\x12\x34\x56\x78"s),
              RegistryValue(0x12345678u));
    EXPECT_EQ(m_registry.valueType(), orvant::platform::kRegDwordBigEndian);

    EXPECT_EQ(readRaw("Binary", orvant::platform::kRegBinary, "\x00\xFF\x10"s),
              RegistryValue(std::vector<std::uint8_t> { 0x00, 0xFF, 0x10 }));
    EXPECT_EQ(m_registry.valueType(), orvant::platform::kRegBinary);

    constexpr std::uint32_t kRegQword = 11;
    EXPECT_EQ(readRaw("Qword", kRegQword, "\x01\x00\x00\x00\x00\x00\x00\x80"s),
              RegistryValue(std::vector<std::uint8_t> { 1, 0, 0, 0, 0, 0, 0, 0x80 }));
    EXPECT_EQ(m_registry.valueType(), kRegQword);
}

TEST_F(VarsetRegistryTest, ExpandableTextIsExpandedWithTheProcessEnvironmentUnlessReadAsStored)
{
    orvant::test::ScopedEnv tools("ORVANT_VARSET_TOOLS", R"(D:\Tools)");
    orvant::test::ScopedEnv undefined("ORVANT_VARSET_UNDEFINED", nullptr);
    const std::string stored = R"(%orvant_varset_tools%\bin;%ORVANT_VARSET_UNDEFINED%\lib)";

    EXPECT_EQ(readRaw("Expand", orvant::platform::kRegExpandSz, withNul(stored)),
              RegistryValue(R"(D:\Tools\bin;%ORVANT_VARSET_UNDEFINED%\lib)"s));
    EXPECT_EQ(m_registry.valueType(), orvant::platform::kRegExpandSz);

    m_registry.setValueType(0);
    EXPECT_EQ(m_registry.storedValue(), RegistryValue(stored));
    EXPECT_EQ(m_registry.valueType(), orvant::platform::kRegExpandSz);
}

TEST_F(VarsetRegistryTest, UnreadableValueGivesTheDefaultAndKeepsTheType)
{
    m_registry.setValueKey("Absent");
    // No key at all yet, and the default is empty until set.
    EXPECT_EQ(m_registry.value(), RegistryValue());

    store(kMachine, kKey, "Other", orvant::platform::kRegSz, "x\0"s);
    m_registry.setValueType(orvant::platform::kRegMultiSz);
    m_registry.setDefaultValue("fallback"s);
    EXPECT_EQ(m_registry.value(), RegistryValue("fallback"s));
    EXPECT_EQ(m_registry.storedValue(), RegistryValue("fallback"s));
    EXPECT_EQ(m_registry.valueType(), orvant::platform::kRegMultiSz);

    m_registry.setSectionKey("SOFTWARE\\Kelbrin\\Nowhere");
    m_registry.setValueKey("Other");
    EXPECT_EQ(m_registry.value(), RegistryValue("fallback"s));
}

TEST_F(VarsetRegistryTest, DataLeftByOtherWritersIsReadWithoutLosingOrInventingBytes)
{
    // A text stored without its terminator keeps its last character.
    EXPECT_EQ(readRaw("Unterminated", orvant::platform::kRegSz, "abc"s), RegistryValue("abc"s));
    EXPECT_EQ(readRaw("EmptyData", orvant::platform::kRegSz, ""s), RegistryValue(""s));
    EXPECT_EQ(readRaw("EmptyExpand", orvant::platform::kRegExpandSz, ""s), RegistryValue(""s));

    // Two bytes hold no 32-bit number.
    m_registry.setDefaultValue("none"s);
    EXPECT_EQ(readRaw("ShortDword", orvant::platform::kRegDword, "\x01\x02"s), RegistryValue("none"s));
    EXPECT_EQ(readRaw("ShortBigEndian", orvant::platform::kRegDwordBigEndian, ""s), RegistryValue("none"s));
}

TEST_F(VarsetRegistryTest, WriteWithoutTheRightToChangeTheHiveRaisesKeyNotOpenedAndChangesNothing)
{
    store(kMachine, kKey, "Existing", orvant::platform::kRegSz, "old\0"s);
    test::makeReadOnly(m_folder.registryFolder());

    m_registry.setValueKey("INSTALL_DIR");
    try {
        m_registry.setValue(R"(C:\ORVANT\)"s);
        FAIL() << "the write succeeded";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.number(), 26001);
        EXPECT_EQ(error.source(), "Varset.cRegistry");
        EXPECT_EQ(error.description(),
                  R"(Failed to set registry value Key: '-2147483646',Section: )"
                  R"('SOFTWARE\Kelbrin\Varset Test',Key: 'INSTALL_DIR' to value: 'C:\ORVANT\')");
        EXPECT_STREQ(error.what(), error.description().c_str());
    }
    EXPECT_EQ(readStored(kMachine, kKey, "INSTALL_DIR").result, orvant::platform::kErrorFileNotFound);
    EXPECT_EQ(readStored(kMachine, kKey, "Existing").bytes, "old\0"s);
}

TEST_F(VarsetRegistryTest, ErrorSourceNamesTheRunningProgramAndKeyTheHiveAsSignedNumber)
{
    test::makeReadOnly(m_folder.registryFolder());
    struct RenamedProgram
    {
        RenamedProgram() { setProgramName("Setup"); }
        ~RenamedProgram() { setProgramName("Varset"); }
    } renamed;
    m_registry.setClassKey(static_cast<std::uint32_t>(orvant::platform::Hive::CurrentUser));
    m_registry.setSectionKey("Environment");
    m_registry.setValueKey("Path");
    try {
        m_registry.setValue("50%"s);
        FAIL() << "the write succeeded";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.source(), "Setup.cRegistry");
        EXPECT_EQ(error.description(),
                  "Failed to set registry value Key: '-2147483647',Section: 'Environment',Key: 'Path' to value: '50%'");
    }
}

TEST_F(VarsetRegistryTest, ValueTheStoreRefusesRaisesValueNotStoredAfterTheKeyWasOpened)
{
    // A line break has no place in a value name of the store.
    m_registry.setValueKey("Bad\nName");
    try {
        m_registry.setValue("x"s);
        FAIL() << "the write succeeded";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.number(), -2147194455);
        EXPECT_EQ(error.number(), static_cast<std::int32_t>(0x800469A9u));
        EXPECT_EQ(error.source(), "Varset.cRegistry");
        EXPECT_EQ(error.description(),
                  "Failed to set registry value Key: '-2147483646',Section: "
                  "'SOFTWARE\\Kelbrin\\Varset Test',Key: 'Bad\nName' to value: 'x'");
    }
}

TEST_F(VarsetRegistryTest, UnknownHiveReadsAsDefaultAndRefusesWrites)
{
    m_registry.setClassKey(0x80000005u);
    m_registry.setValueKey("Path");
    m_registry.setDefaultValue(std::uint32_t(0));
    EXPECT_EQ(m_registry.value(), RegistryValue(std::uint32_t(0)));
    try {
        m_registry.setValue("x"s);
        FAIL() << "the write succeeded";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.number(), kErrorKeyNotOpened);
        EXPECT_EQ(error.description(),
                  "Failed to set registry value Key: '-2147483643',Section: "
                  "'SOFTWARE\\Kelbrin\\Varset Test',Key: 'Path' to value: 'x'");
    }
}

} // namespace
} // namespace varset
