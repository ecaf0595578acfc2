#include "config_tool/foundation/MRegistry.h"

#include "tests/support/Files.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <tuple>

namespace tarn {
namespace {

using namespace orvant::test;
using orvant::platform::Hive;
using namespace MRegistry;

constexpr Hive kHives[] = { Hive::CurrentUser, Hive::LocalMachine };

class MRegistryTest : public ::testing::Test
{
protected:
    void expectInBothHives(const std::string& name, const std::optional<std::string>& expected)
    {
        for (const auto hive : kHives) {
            EXPECT_EQ(kelbrinValue(hive, "Harbell", name), expected) << name;
        }
    }

    TestFolder folder;
};

TEST_F(MRegistryTest, WritesBothHivesInWindows1252WithoutNul)
{
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "LogoFile", "C:\\caf\xC3\xA9 \xC2\xA3.bmp"));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "InputDir", ""));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Timeout", "30"));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Timeout", "45"));
    // App and section are trimmed, the value name is not.
    EXPECT_TRUE(writeRegistryString(" Kelbrin ", " Harbell ", " Port ", "1001"));
    EXPECT_EQ(lastError().number, 0);
    EXPECT_EQ(lastError().description, "");
    expectInBothHives("LogoFile", "C:\\caf\xE9 \xA3.bmp");
    expectInBothHives("InputDir", "");
    expectInBothHives("Timeout", "45");
    expectInBothHives(" Port ", "1001");
    expectInBothHives("Port", std::nullopt);
}

TEST_F(MRegistryTest, BlankNamesWriteNothingAndRecordWhy)
{
    const std::tuple<const char*, const char*, const char*, long, const char*> cases[] = {
        { "  ", "Harbell", "Port", kErrorEmptyAppName, "AppName may not be empty" },
        { "Kelbrin", "   ", "Port", kErrorEmptySection, "Section may not be empty" },
        { "Kelbrin", "Harbell", " ", kErrorEmptyKey, "Key may not be empty" },
    };
    for (const auto& [app, section, name, number, description] : cases) {
        EXPECT_FALSE(writeRegistryString(app, section, name, "1"));
        EXPECT_EQ(lastError().number, number);
        EXPECT_EQ(lastError().description, description);
    }
    EXPECT_EQ(kErrorEmptyAppName, -2147220504);
    EXPECT_TRUE(std::filesystem::is_empty(folder.registryFolder()));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Port", "1"));
    EXPECT_EQ(lastError().number, 0);
}

TEST_F(MRegistryTest, AReadOnlyHiveStopsTheWriteThereAndIsRecorded)
{
    // The user hive comes first: the engine's copy there survives a machine hive that refuses.
    for (const auto readOnly : kHives) {
        const TestFolder fresh;
        ASSERT_TRUE(storeRegistryValue(readOnly, "SOFTWARE\\Other", "x", orvant::platform::kRegSz, "1"));
        for (const auto& file : std::filesystem::directory_iterator(fresh.registryFolder())) {
            makeReadOnly(file.path());
        }
        EXPECT_FALSE(writeRegistryString("Kelbrin", "Harbell", "Port", "1001"));
        EXPECT_EQ(kelbrinValue(Hive::CurrentUser, "Harbell", "Port"),
                  readOnly == Hive::LocalMachine ? std::optional<std::string>("1001") : std::nullopt);
        EXPECT_EQ(kelbrinValue(Hive::LocalMachine, "Harbell", "Port"), std::nullopt);
        EXPECT_EQ(lastError().number, -2147219504 + 5);
        EXPECT_EQ(lastError().description, "Could not open/create registry section");
    }
}

} // namespace
} // namespace tarn
