#include "env_tool/Registry.h"

#include "env_tool/ProgramName.h"
#include "tests/env_tool/HiveValues.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace varset {
namespace {

using namespace std::string_literals;
using test::raisedBy;
using test::readStored;
using test::store;
using test::withNul;
namespace platform = orvant::platform;

constexpr const char* kKey = "SOFTWARE\\Kelbrin\\Varset Test";
constexpr auto kMachine = platform::Hive::LocalMachine;

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

    RegistryError failedWrite(const std::string& name, const RegistryValue& value)
    {
        m_registry.setValueKey(name);
        return raisedBy([&] { m_registry.setValue(value); });
    }

    orvant::test::TestFolder m_folder;
    Registry m_registry;
};

TEST_F(VarsetRegistryTest, WriteStoresExpandableTypeOnlyForAPercentPairWithSomethingBetween)
{
    const std::pair<std::string, std::uint32_t> cases[] = {
        { R"(C:\ORVANT\)", platform::kRegSz },
        { R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;)", platform::kRegExpandSz },
        { "%A%", platform::kRegExpandSz },
        { "%%%", platform::kRegExpandSz },
        { "100%", platform::kRegSz },
        { "%%", platform::kRegSz },
        { "a%%b", platform::kRegSz },
        { "", platform::kRegSz },
    };
    for (const auto& [text, type] : cases) {
        SCOPED_TRACE(text);
        // The type asked for does not matter: the text decides.
        m_registry.setValueType(platform::kRegExpandSz);
        m_registry.setValueKey("Sample");
        m_registry.setValue(text);
        const auto stored = readStored(kMachine, kKey, "Sample");
        ASSERT_EQ(stored.result, platform::kErrorSuccess);
        EXPECT_EQ(stored.type, type);
        EXPECT_EQ(stored.bytes, withNul(text));
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
    EXPECT_EQ(number.type, platform::kRegSz);
    EXPECT_EQ(number.bytes, "4096\0"s);
}

TEST_F(VarsetRegistryTest, ReadReturnsEachTypeAsItsKindAndTakesOverTheType)
{
    constexpr std::uint32_t kRegQword = 11;
    using Bytes = std::vector<std::uint8_t>;
    struct Case
    {
        std::uint32_t type;
        std::string stored;
        RegistryValue expected;
    };
    const Case cases[] = {
        { platform::kRegSz, "C:\\ORVANT\\\0"s, R"(C:\ORVANT\)"s },
        { platform::kRegSz, "\xE9\xA3\x80\0"s, "é£€"s },
        // Only the final terminator goes; the separators stay.
        { platform::kRegMultiSz, "one\0two\0\0"s, "one\0two\0"s },
        { platform::kRegDword, "\x78\x56\x34\x12"s, 0x12345678u },
        { platform::kRegDwordBigEndian, "\x12\x34\x56\x78"s, 0x12345678u },
        { platform::kRegBinary, "\x00\xFF\x10"s, Bytes { 0x00, 0xFF, 0x10 } },
        { kRegQword, "\x01\x00\x00\x00\x00\x00\x00\x80"s, Bytes { 1, 0, 0, 0, 0, 0, 0, 0x80 } },
        // Data left by other writers: nothing is lost or invented.
        { platform::kRegSz, "abc"s, "abc"s },
        { platform::kRegSz, ""s, ""s },
        { platform::kRegExpandSz, ""s, ""s },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        m_registry.setValueType(0);
        EXPECT_EQ(readRaw("Value", c.type, c.stored), c.expected);
        EXPECT_EQ(m_registry.valueType(), c.type);
    }

    // Too few bytes for a 32-bit number give the default.
    m_registry.setDefaultValue("none"s);
    EXPECT_EQ(readRaw("ShortDword", platform::kRegDword, "\x01\x02"s), RegistryValue("none"s));
    EXPECT_EQ(readRaw("ShortBigEndian", platform::kRegDwordBigEndian, ""s), RegistryValue("none"s));
}

TEST_F(VarsetRegistryTest, ExpandableTextIsExpandedWithTheProcessEnvironmentUnlessReadAsStored)
{
    orvant::test::ScopedEnv tools("ORVANT_VARSET_TOOLS", R"(D:\Tools)");
    orvant::test::ScopedEnv undefined("ORVANT_VARSET_UNDEFINED", nullptr);
    const std::string stored = R"(%orvant_varset_tools%\bin;%ORVANT_VARSET_UNDEFINED%\lib)";

    EXPECT_EQ(readRaw("Expand", platform::kRegExpandSz, withNul(stored)),
              RegistryValue(R"(D:\Tools\bin;%ORVANT_VARSET_UNDEFINED%\lib)"s));
    EXPECT_EQ(m_registry.valueType(), platform::kRegExpandSz);

    m_registry.setValueType(0);
    EXPECT_EQ(m_registry.storedValue(), RegistryValue(stored));
    EXPECT_EQ(m_registry.valueType(), platform::kRegExpandSz);
}

TEST_F(VarsetRegistryTest, UnreadableValueGivesTheDefaultAndKeepsTheType)
{
    m_registry.setValueKey("Absent");
    // No key at all yet, and the default is empty until set.
    EXPECT_EQ(m_registry.value(), RegistryValue());

    store(kMachine, kKey, "Other", platform::kRegSz, "x\0"s);
    m_registry.setValueType(platform::kRegMultiSz);
    m_registry.setDefaultValue("fallback"s);
    EXPECT_EQ(m_registry.value(), RegistryValue("fallback"s));
    EXPECT_EQ(m_registry.storedValue(), RegistryValue("fallback"s));
    EXPECT_EQ(m_registry.valueType(), platform::kRegMultiSz);

    m_registry.setSectionKey("SOFTWARE\\Kelbrin\\Nowhere");
    m_registry.setValueKey("Other");
    EXPECT_EQ(m_registry.value(), RegistryValue("fallback"s));
}

TEST_F(VarsetRegistryTest, WriteWithoutTheRightToChangeTheHiveRaisesKeyNotOpenedAndChangesNothing)
{
    store(kMachine, kKey, "Existing", platform::kRegSz, "old\0"s);
    test::makeReadOnly(m_folder.registryFolder());

    const RegistryError error = failedWrite("INSTALL_DIR", R"(C:\ORVANT\)"s);
    EXPECT_EQ(error.number(), 26001);
    EXPECT_EQ(error.source(), "Varset.cRegistry");
    EXPECT_EQ(error.description(),
              R"(Failed to set registry value Key: '-2147483646',Section: )"
              R"('SOFTWARE\Kelbrin\Varset Test',Key: 'INSTALL_DIR' to value: 'C:\ORVANT\')");
    EXPECT_EQ(readStored(kMachine, kKey, "INSTALL_DIR").result, platform::kErrorFileNotFound);
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
    m_registry.setClassKey(static_cast<std::uint32_t>(platform::Hive::CurrentUser));
    m_registry.setSectionKey("Environment");

    const RegistryError error = failedWrite("Path", "50%"s);
    EXPECT_EQ(error.source(), "Setup.cRegistry");
    EXPECT_EQ(error.description(),
              "Failed to set registry value Key: '-2147483647',Section: 'Environment',Key: 'Path' to value: '50%'");
}

TEST_F(VarsetRegistryTest, ValueTheStoreRefusesRaisesValueNotStoredAfterTheKeyWasOpened)
{
    // A line break has no place in a value name of the store.
    const RegistryError error = failedWrite("Bad\nName", "x"s);
    EXPECT_EQ(error.number(), static_cast<std::int32_t>(0x800469A9u));
    EXPECT_EQ(error.source(), "Varset.cRegistry");
    EXPECT_EQ(error.description(),
              "Failed to set registry value Key: '-2147483646',Section: "
              "'SOFTWARE\\Kelbrin\\Varset Test',Key: 'Bad\nName' to value: 'x'");
}

TEST_F(VarsetRegistryTest, UnknownHiveReadsAsDefaultAndRefusesWrites)
{
    m_registry.setClassKey(0x80000005u);
    m_registry.setValueKey("Path");
    m_registry.setDefaultValue(std::uint32_t(0));
    EXPECT_EQ(m_registry.value(), RegistryValue(std::uint32_t(0)));

    const RegistryError error = failedWrite("Path", "x"s);
    EXPECT_EQ(error.number(), kErrorKeyNotOpened);
    EXPECT_EQ(error.description(),
              "Failed to set registry value Key: '-2147483643',Section: "
              "'SOFTWARE\\Kelbrin\\Varset Test',Key: 'Path' to value: 'x'");
}

} // namespace
} // namespace varset
