#include "config_tool/foundation/MRegistry.h"

#include "tests/support/Files.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace orvant::test;
using orvant::platform::Hive;
using namespace MRegistry;

TEST(MRegistry, WritesBothHivesInWindows1252WithoutNulOrRecordsWhyNot)
{
    const TestFolder folder;
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "LogoFile", "C:\\caf\xC3\xA9 \xC2\xA3.bmp"));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "InputDir", ""));
    EXPECT_TRUE(writeRegistryString(" Kelbrin ", " Harbell ", " Port ", "1001")) << "app and section are trimmed";
    for (const auto hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        EXPECT_EQ(kelbrinValue(hive, "Harbell", "LogoFile"), "C:\\caf\xE9 \xA3.bmp");
        EXPECT_EQ(kelbrinValue(hive, "Harbell", "InputDir"), "");
        EXPECT_EQ(kelbrinValue(hive, "Harbell", " Port "), "1001");
    }
    const std::tuple<const char*, const char*, const char*, long, const char*> blanks[]
        = { { "  ", "Harbell", "Port", -2147220504, "AppName may not be empty" },
            { "Kelbrin", "   ", "Port", -2147220503, "Section may not be empty" },
            { "Kelbrin", "Harbell", " ", -2147220502, "Key may not be empty" } };
    for (const auto& [app, section, name, number, description] : blanks) {
        EXPECT_FALSE(writeRegistryString(app, section, name, "1"));
        EXPECT_EQ(std::to_string(lastError().number) + " " + lastError().description,
                  std::to_string(number) + " " + description);
    }
    EXPECT_FALSE(kelbrinValue(Hive::CurrentUser, "Harbell", "Port"));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Port", "1"));
    EXPECT_EQ(lastError().number, 0);
}

TEST(MRegistry, AReadOnlyHiveStopsTheWriteThere)
{
    // The user hive comes first: the engine's copy there survives a machine hive that refuses.
    for (const auto readOnly : { Hive::CurrentUser, Hive::LocalMachine }) {
        const TestFolder folder;
        ASSERT_TRUE(storeRegistryValue(readOnly, "SOFTWARE\\Other", "x", orvant::platform::kRegSz, "1"));
        for (const auto& file : std::filesystem::directory_iterator(folder.registryFolder())) {
            makeReadOnly(file.path());
        }
        EXPECT_FALSE(writeRegistryString("Kelbrin", "Harbell", "Port", "1001"));
        EXPECT_EQ(kelbrinValue(Hive::CurrentUser, "Harbell", "Port").has_value(), readOnly == Hive::LocalMachine);
        EXPECT_FALSE(kelbrinValue(Hive::LocalMachine, "Harbell", "Port"));
        EXPECT_EQ(std::to_string(lastError().number) + " " + lastError().description,
                  "-2147219499 Could not open/create registry section");
    }
}

} // namespace
} // namespace tarn
