#include "env_tool/VarsetRegistry.h"

#include "env_tool/ProgramName.h"
#include "env_tool/RegistryError.h"
#include "tests/support/Host.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace varset {
namespace {

namespace platform = orvant::platform;
namespace test = orvant::test;
using namespace std::string_literals;

constexpr const char* kKey = "SOFTWARE\\Kelbrin\\Varset Test";
constexpr auto kMachine = platform::Hive::LocalMachine;

class VarsetRegistryTest : public ::testing::Test
{
protected:
    VarsetRegistryTest()
    {
        m_registry.setClassKey(static_cast<std::uint32_t>(kMachine));
        m_registry.setSectionKey(kKey);
        m_registry.setValueKey("Value");
    }

    test::TestFolder m_folder;
    Registry m_registry;
};

// The text decides the type: REG_EXPAND_SZ for a "%" with another at least two further on.
TEST_F(VarsetRegistryTest, WritesTextAsAnsiWithItsNulAndTheTypeItsPercentSignsCallFor)
{
    const std::tuple<RegistryValue, std::uint32_t, std::string> cases[] = {
        { R"(%INSTALL_DIR%;%JAVA_HOME%\BIN;)"s, platform::kRegExpandSz, R"(%INSTALL_DIR%;%JAVA_HOME%\BIN;)" },
        { "%%%"s, platform::kRegExpandSz, "%%%" },
        { "a%%b"s, platform::kRegSz, "a%%b" },
        { "100%"s, platform::kRegSz, "100%" },
        { "Café £5"s, platform::kRegSz, "Caf\xE9 \xA3"s + "5" },
        { std::uint32_t(4096), platform::kRegSz, "4096" },
    };
    for (const auto& [value, type, ansi] : cases) {
        m_registry.setValueType(platform::kRegExpandSz);
        m_registry.setValue(value);
        EXPECT_EQ(test::readRegistryValue(kMachine, kKey, "Value"), (test::RegistryValue { type, ansi + '\0' }))
            << ansi;
    }
}

TEST_F(VarsetRegistryTest, ReadsEachTypeAsItsKindTakesOverTheTypeAndFallsBackToTheDefault)
{
    const test::ScopedEnv tools("ORVANT_VARSET_TOOLS", R"(D:\Tools)"), undefined("ORVANT_VARSET_UNDEFINED", nullptr);
    const std::tuple<std::uint32_t, std::string, RegistryValue> cases[] = {
        { platform::kRegSz, "\xE9\xA3\x80\0"s, "é£€"s },
        { platform::kRegSz, "no NUL"s, "no NUL"s },
        { platform::kRegMultiSz, "one\0two\0\0"s, "one\0two\0"s }, // only the final terminator goes
        { platform::kRegExpandSz, "%orvant_varset_tools%;%ORVANT_VARSET_UNDEFINED%\0"s,
          R"(D:\Tools;%ORVANT_VARSET_UNDEFINED%)"s },
        { platform::kRegDword, "\x78\x56\x34\x12"s, 0x12345678u },
        { platform::kRegDwordBigEndian, "\x12\x34\x56\x78"s, 0x12345678u },
        { platform::kRegBinary, "\x00\xFF"s, std::vector<std::uint8_t> { 0x00, 0xFF } },
        { platform::kRegDword, "\x01\x02"s, "default"s }, // too short for a number
    };
    m_registry.setDefaultValue("default"s);
    for (const auto& [type, stored, expected] : cases) {
        ASSERT_TRUE(test::storeRegistryValue(kMachine, kKey, "Value", type, stored));
        m_registry.setValueType(0);
        EXPECT_EQ(m_registry.value(), expected) << stored;
        EXPECT_EQ(m_registry.valueType(), type);
    }
    ASSERT_TRUE(test::storeRegistryValue(kMachine, kKey, "Value", platform::kRegExpandSz, "%orvant_varset_tools%\0"s));
    EXPECT_EQ(m_registry.storedValue(), RegistryValue("%orvant_varset_tools%"s));
    m_registry.setValueKey("Absent");
    EXPECT_EQ(m_registry.value(), RegistryValue("default"s));
    EXPECT_EQ(m_registry.valueType(), platform::kRegExpandSz);
}

TEST_F(VarsetRegistryTest, WriteThatCannotOpenTheKeyRaisesKeyNotOpenedNamedAfterTheProgram)
{
    setProgramName(programNameFromPath(R"(C:\ORVANT\Envset.exe)"));
    ASSERT_TRUE(test::storeRegistryValue(kMachine, kKey, "Value", platform::kRegSz, "old\0"s));
    test::host::denyMachineRegistryWrites(m_folder.registryFolder());
    try {
        m_registry.setValue(R"(C:\ORVANT\)"s);
        ADD_FAILURE() << "the write succeeded";
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.number(), kErrorKeyNotOpened);
        EXPECT_EQ(error.source(), "Envset.cRegistry");
        EXPECT_EQ(error.description(),
                  R"(Failed to set registry value Key: '-2147483646',Section: )"
                  R"('SOFTWARE\Kelbrin\Varset Test',Key: 'Value' to value: 'C:\ORVANT\')");
    }
    setProgramName(programNameFromPath(""));
    EXPECT_EQ(programName(), "Varset");
    EXPECT_EQ(test::readRegistryValue(kMachine, kKey, "Value")->bytes, "old\0"s);
}

} // namespace
} // namespace varset
