#include "config_tool/foundation/MRegistry.h"

#include "platform/Registry.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>

namespace {

namespace fs = std::filesystem;
namespace reg = orvant::platform;
using namespace tarn::MRegistry;

constexpr char kHarbell[] = "SOFTWARE\\Kelbrin\\Harbell";
constexpr auto kWriteBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
constexpr reg::Hive kHives[] = { reg::Hive::CurrentUser, reg::Hive::LocalMachine };

// The REG_SZ bytes of a value; nothing when the key or value is absent or has another type.
std::optional<std::string> readString(reg::Hive hive, const std::string& keyPath, const std::string& name)
{
    reg::HKey key = nullptr;
    if (reg::regOpenKeyEx(hive, keyPath, reg::kKeyQueryValue, &key) != reg::kErrorSuccess) {
        return std::nullopt;
    }
    std::uint8_t data[256] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    const long result = reg::regQueryValueEx(key, name, &type, data, &size);
    reg::regCloseKey(key);
    if (result != reg::kErrorSuccess || type != reg::kRegSz) {
        return std::nullopt;
    }
    return std::string(data, data + size);
}

bool keyExists(reg::Hive hive, const std::string& keyPath)
{
    reg::HKey key = nullptr;
    const bool found = reg::regOpenKeyEx(hive, keyPath, reg::kKeyQueryValue, &key) == reg::kErrorSuccess;
    reg::regCloseKey(key);
    return found;
}

class MRegistryTest : public ::testing::Test
{
protected:
    void expectInBothHives(const std::string& name, const std::optional<std::string>& expected)
    {
        for (const auto hive : kHives) {
            EXPECT_EQ(readString(hive, kHarbell, name), expected) << name;
        }
    }

    // Writes one value into the hive alone, so that its file is the only one the registry folder
    // holds, and takes its write bits away.
    void makeHiveReadOnly(reg::Hive hive)
    {
        reg::HKey key = nullptr;
        ASSERT_EQ(reg::regCreateKeyEx(hive, "SOFTWARE\\Other", reg::kKeyAllAccess, &key), reg::kErrorSuccess);
        ASSERT_EQ(reg::regSetValueEx(key, "x", reg::kRegSz, { '1' }), reg::kErrorSuccess);
        reg::regCloseKey(key);
        for (const auto& entry : fs::directory_iterator(folder.registryFolder())) {
            fs::permissions(entry.path(),
                            fs::perms::all & ~fs::perms::owner_write & ~fs::perms::group_write
                                & ~fs::perms::others_write);
        }
    }

    orvant::test::TestFolder folder;
};

TEST_F(MRegistryTest, WritesBothHivesAsWindows1252WithoutNul)
{
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "LogoFile", "C:\\Logos\\caf\xC3\xA9 \xC2\xA3.bmp"));
    EXPECT_EQ(lastError().number, 0);
    EXPECT_EQ(lastError().description, "");
    expectInBothHives("LogoFile", "C:\\Logos\\caf\xE9 \xA3.bmp");

    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "InputDir", ""));
    expectInBothHives("InputDir", "");

    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Timeout", "30"));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Timeout", "45"));
    expectInBothHives("Timeout", "45");

    // App and section are trimmed, the value name is not.
    EXPECT_TRUE(writeRegistryString(" Kelbrin ", " Harbell ", " Port ", "1001"));
    expectInBothHives(" Port ", "1001");
    expectInBothHives("Port", std::nullopt);
}

TEST_F(MRegistryTest, BlankNamesWriteNothingAndRecordWhy)
{
    const std::tuple<const char*, const char*, const char*, long, const char*> cases[] = {
        { "  ", "Harbell", "Port", -2147220504, "AppName may not be empty" },
        { "Kelbrin", "   ", "Port", -2147220503, "Section may not be empty" },
        { "Kelbrin", "Harbell", " ", -2147220502, "Key may not be empty" },
    };
    for (const auto& [app, section, name, number, description] : cases) {
        EXPECT_FALSE(writeRegistryString(app, section, name, "1"));
        EXPECT_EQ(lastError().number, number);
        EXPECT_EQ(lastError().description, description);
    }
    for (const auto hive : kHives) {
        EXPECT_FALSE(keyExists(hive, "SOFTWARE\\Kelbrin"));
    }
    // The next successful write clears the record.
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Port", "1"));
    EXPECT_EQ(lastError().number, 0);
}

TEST_F(MRegistryTest, ReadOnlyMachineHiveLeavesTheUserHiveWritten)
{
    makeHiveReadOnly(reg::Hive::LocalMachine);
    EXPECT_FALSE(writeRegistryString("Kelbrin", "Harbell", "Port", "1001"));
    EXPECT_EQ(readString(reg::Hive::CurrentUser, kHarbell, "Port"), "1001");
    EXPECT_FALSE(keyExists(reg::Hive::LocalMachine, kHarbell));
    EXPECT_EQ(lastError().number, -2147219504 + 5);
    EXPECT_EQ(lastError().description, "Could not open/create registry section");
}

TEST_F(MRegistryTest, ReadOnlyUserHiveStopsBeforeTheMachineHive)
{
    makeHiveReadOnly(reg::Hive::CurrentUser);
    EXPECT_FALSE(writeRegistryString("Kelbrin", "Harbell", "Port", "1001"));
    for (const auto hive : kHives) {
        EXPECT_FALSE(keyExists(hive, kHarbell));
    }
    EXPECT_EQ(lastError().number, -2147219504 + 5);
}

} // namespace
