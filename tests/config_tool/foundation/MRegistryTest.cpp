#include "config_tool/foundation/MRegistry.h"

#include "platform/Registry.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace reg = orvant::platform;
using namespace tarn::MRegistry;

// The REG_SZ bytes of a value, or nothing when the key or value is absent or has another type.
std::optional<std::string> readString(reg::Hive hive, const std::string& keyPath, const std::string& name)
{
    reg::HKey key = nullptr;
    if (reg::regOpenKeyEx(hive, keyPath, reg::kKeyQueryValue, &key) != reg::kErrorSuccess) {
        return std::nullopt;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::optional<std::string> result;
    if (reg::regQueryValueEx(key, name, &type, nullptr, &size) == reg::kErrorSuccess && type == reg::kRegSz) {
        std::string data(size, '\0');
        if (reg::regQueryValueEx(key, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size)
            == reg::kErrorSuccess) {
            data.resize(size);
            result = data;
        }
    }
    reg::regCloseKey(key);
    return result;
}

bool keyExists(reg::Hive hive, const std::string& keyPath)
{
    reg::HKey key = nullptr;
    if (reg::regOpenKeyEx(hive, keyPath, reg::kKeyQueryValue, &key) != reg::kErrorSuccess) {
        return false;
    }
    reg::regCloseKey(key);
    return true;
}

class MRegistryTest : public ::testing::Test
{
protected:
    // Writes one value into the hive alone, so that its files are the only ones the registry folder
    // holds, and takes their write bits away.
    void makeHiveReadOnly(reg::Hive hive)
    {
        reg::HKey key = nullptr;
        ASSERT_EQ(reg::regCreateKeyEx(hive, "SOFTWARE\\Other", reg::kKeyAllAccess, &key), reg::kErrorSuccess);
        ASSERT_EQ(reg::regSetValueEx(key, "x", reg::kRegSz, { '1' }), reg::kErrorSuccess);
        reg::regCloseKey(key);
        std::set<fs::path> hiveFiles;
        for (const auto& entry : fs::directory_iterator(folder.registryFolder())) {
            if (entry.is_regular_file()) {
                hiveFiles.insert(entry.path());
            }
        }
        ASSERT_FALSE(hiveFiles.empty());
        for (const auto& file : hiveFiles) {
            fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        }
    }

    orvant::test::TestFolder folder;
};

TEST_F(MRegistryTest, WritesBothHivesAsWindows1252WithoutNul)
{
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell_01", "LogoFile", "C:\\Logos\\caf\xC3\xA9 \xC2\xA3.bmp"));
    EXPECT_EQ(lastError().number, 0);
    EXPECT_EQ(lastError().description, "");
    for (const auto hive : { reg::Hive::CurrentUser, reg::Hive::LocalMachine }) {
        EXPECT_EQ(readString(hive, "SOFTWARE\\Kelbrin\\Harbell_01", "LogoFile"),
                  std::optional<std::string>("C:\\Logos\\caf\xE9 \xA3.bmp"));
    }
}

TEST_F(MRegistryTest, EmptyValueIsAnEmptyString)
{
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "InputDir", ""));
    EXPECT_EQ(readString(reg::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell", "InputDir"), std::string());
    EXPECT_EQ(readString(reg::Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell", "InputDir"), std::string());
}

TEST_F(MRegistryTest, AppAndSectionAreTrimmedTheValueNameIsNot)
{
    EXPECT_TRUE(writeRegistryString(" Kelbrin ", " Harbell ", " Port ", "1001"));
    EXPECT_EQ(readString(reg::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell", " Port "), std::string("1001"));
    EXPECT_EQ(readString(reg::Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell", " Port "), std::string("1001"));
    EXPECT_EQ(readString(reg::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell", "Port"), std::nullopt);
}

TEST_F(MRegistryTest, ASecondWriteReplacesTheValue)
{
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Timeout", "30"));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Timeout", "45"));
    EXPECT_EQ(readString(reg::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell", "Timeout"), std::string("45"));
    EXPECT_EQ(readString(reg::Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell", "Timeout"), std::string("45"));
}

TEST_F(MRegistryTest, BlankNamesWriteNothingAndRecordWhy)
{
    EXPECT_FALSE(writeRegistryString("  ", "Harbell", "Port", "1"));
    EXPECT_EQ(lastError().number, -2147220504);
    EXPECT_EQ(lastError().description, "AppName may not be empty");

    EXPECT_FALSE(writeRegistryString("Kelbrin", "   ", "Port", "1"));
    EXPECT_EQ(lastError().number, -2147220503);
    EXPECT_EQ(lastError().description, "Section may not be empty");

    EXPECT_FALSE(writeRegistryString("Kelbrin", "Harbell", " ", "1"));
    EXPECT_EQ(lastError().number, -2147220502);
    EXPECT_EQ(lastError().description, "Key may not be empty");

    for (const auto hive : { reg::Hive::CurrentUser, reg::Hive::LocalMachine }) {
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
    EXPECT_EQ(readString(reg::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell", "Port"), std::string("1001"));
    EXPECT_FALSE(keyExists(reg::Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell"));
    EXPECT_EQ(lastError().number, -2147219504 + 5);
    EXPECT_EQ(lastError().description, "Could not open/create registry section");
}

TEST_F(MRegistryTest, ReadOnlyUserHiveStopsBeforeTheMachineHive)
{
    makeHiveReadOnly(reg::Hive::CurrentUser);
    EXPECT_FALSE(writeRegistryString("Kelbrin", "Harbell", "Port", "1001"));
    EXPECT_FALSE(keyExists(reg::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell"));
    EXPECT_FALSE(keyExists(reg::Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell"));
    EXPECT_EQ(lastError().number, -2147219504 + 5);
}

} // namespace
