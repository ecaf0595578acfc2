#include "platform/Registry.h"

#include "tests/platform/HarbellValues.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvant::platform {
namespace {

using test::kHarbellKey;

TEST(Registry, EveryValueComesBackWithItsTypeAndBytes)
{
    test::TestFolder folder;
    for (Hive hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        for (const auto& [name, type, bytes] : test::kHarbellValues) {
            ASSERT_TRUE(test::storeRegistryValue(hive, kHarbellKey, name, type, bytes)) << name;
        }
        for (const auto& [name, type, bytes] : test::kHarbellValues) {
            EXPECT_EQ(test::readRegistryValue(hive, kHarbellKey, name), (test::RegistryValue { type, bytes })) << name;
        }
    }
    // Enumerated, each value once (Windows keeps no order), then no more.
    HKey key = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbellKey, kKeyQueryValue, &key), kErrorSuccess);
    std::vector<test::NamedValue> listed;
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    for (std::uint32_t index = 0; regEnumValue(key, index, name, &type, data) == kErrorSuccess; ++index) {
        listed.emplace_back(name, type, std::string(data.begin(), data.end()));
    }
    EXPECT_THAT(listed, ::testing::UnorderedElementsAreArray(test::kHarbellValues));
    EXPECT_EQ(regEnumValue(key, static_cast<std::uint32_t>(listed.size()), name, &type, data), kErrorNoMoreItems);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);

    // Key and value names ignore case, beyond ASCII too; the default value has the empty name.
    ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, "software\\KELBRIN\\harbell_01", "W\xC3\x84HRUNG", 1, "x"));
    ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, kHarbellKey, "", kRegSz, "default"));
    EXPECT_EQ(test::readRegistryValue(Hive::CurrentUser, kHarbellKey, "w\xC3\xA4hrung")->bytes, "x");
    EXPECT_EQ(test::readRegistryValue(Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_01\\", "")->bytes, "default");
}

TEST(Registry, QueriesReportSizesAndShortBuffersAndBadCallsAreRefused)
{
    test::TestFolder folder;
    ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, kHarbellKey, "Ten", kRegBinary, "0123456789"));
    HKey key = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::CurrentUser, kHarbellKey, kKeyQueryValue, &key), kErrorSuccess);
    std::uint32_t type = 0, size = 4;
    std::uint8_t buffer[20] = {};
    EXPECT_EQ(regQueryValueEx(key, "Ten", &type, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(type, kRegBinary);
    EXPECT_EQ(regQueryValueEx(key, "Ten", nullptr, buffer, nullptr), 87); // ERROR_INVALID_PARAMETER
    EXPECT_EQ(regQueryValueEx(key, "Eleven", &type, nullptr, &size), kErrorFileNotFound);
    EXPECT_EQ(regSetValueEx(key, "Ten", kRegSz, { '1', 0 }), kErrorAccessDenied); // opened for reading only
    EXPECT_EQ(regDeleteValue(key, "Ten"), kErrorAccessDenied);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);

    EXPECT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbellKey, kKeyQueryValue, &key), kErrorFileNotFound);
    EXPECT_EQ(regCloseKey(nullptr), 6); // ERROR_INVALID_HANDLE
    EXPECT_EQ(regCreateKeyEx(static_cast<Hive>(0x80000000u), kHarbellKey, kKeyAllAccess, &key), 6);
    EXPECT_EQ(regCreateKeyEx(Hive::CurrentUser, kHarbellKey, kKeyAllAccess, nullptr), 87);
    EXPECT_EQ(regCreateKeyEx(Hive::CurrentUser, "\\SOFTWARE", kKeyAllAccess, &key), 161); // ERROR_BAD_PATHNAME
    EXPECT_EQ(key, nullptr);
}

// A deleted value or key is gone at once; its neighbours stay. Names ignore case, and the default value has
// the empty name.
TEST(Registry, DeletedValuesAndKeysAreGoneAndTheirNeighboursStay)
{
    test::TestFolder folder;
    const std::string sub = std::string(kHarbellKey) + "\\Sub";
    for (const char* name : { "A", "B", "C", "" }) {
        ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, kHarbellKey, name, kRegSz, std::string(name) + "!"));
    }
    ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, sub, "Inner", kRegSz, "x"));
    ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, sub + "\\Deeper", "Inner", kRegSz, "x"));
    HKey key = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::CurrentUser, kHarbellKey, kKeyAllAccess, &key), kErrorSuccess);
    EXPECT_EQ(regDeleteValue(key, "b"), kErrorSuccess);
    EXPECT_EQ(regDeleteValue(key, ""), kErrorSuccess);
    EXPECT_EQ(regDeleteValue(key, "B"), kErrorFileNotFound);
    EXPECT_EQ(regDeleteValue(key, "Missing"), kErrorFileNotFound);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);
    EXPECT_FALSE(test::readRegistryValue(Hive::CurrentUser, kHarbellKey, "B"));
    EXPECT_FALSE(test::readRegistryValue(Hive::CurrentUser, kHarbellKey, ""));
    EXPECT_EQ(test::readRegistryValue(Hive::CurrentUser, kHarbellKey, "A"), (test::RegistryValue { kRegSz, "A!" }));
    EXPECT_EQ(test::readRegistryValue(Hive::CurrentUser, kHarbellKey, "C"), (test::RegistryValue { kRegSz, "C!" }));
    ASSERT_EQ(regOpenKeyEx(Hive::CurrentUser, kHarbellKey, kKeyQueryValue, &key), kErrorSuccess);
    std::uint32_t subKeys = 0;
    std::uint32_t values = 0;
    EXPECT_EQ(regQueryInfoKey(key, &subKeys, &values), kErrorSuccess);
    EXPECT_EQ(subKeys, 1u) << "Sub, not what lies below it";
    EXPECT_EQ(values, 2u) << "A and C";
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);

    // A key goes only without subkeys, with its values; a missing one, in the other hive too, is not found.
    EXPECT_EQ(regDeleteKey(Hive::CurrentUser, kHarbellKey), kErrorAccessDenied);
    EXPECT_EQ(regDeleteKey(Hive::CurrentUser, ""), kErrorAccessDenied);
    EXPECT_EQ(regDeleteKey(Hive::LocalMachine, sub), kErrorFileNotFound);
    EXPECT_EQ(regDeleteKey(Hive::CurrentUser, sub + "\\deeper"), kErrorSuccess);
    EXPECT_EQ(regDeleteKey(Hive::CurrentUser, "software\\KELBRIN\\harbell_01\\SUB"), kErrorSuccess);
    EXPECT_EQ(regOpenKeyEx(Hive::CurrentUser, sub, kKeyQueryValue, &key), kErrorFileNotFound);
    EXPECT_EQ(regDeleteKey(Hive::CurrentUser, sub), kErrorFileNotFound);
    EXPECT_EQ(test::readRegistryValue(Hive::CurrentUser, kHarbellKey, "A"), (test::RegistryValue { kRegSz, "A!" }));
    EXPECT_EQ(regDeleteKey(Hive::CurrentUser, kHarbellKey), kErrorSuccess);
    EXPECT_EQ(regOpenKeyEx(Hive::CurrentUser, kHarbellKey, kKeyQueryValue, &key), kErrorFileNotFound);
    EXPECT_EQ(regOpenKeyEx(Hive::CurrentUser, "SOFTWARE\\Kelbrin", kKeyQueryValue, &key), kErrorSuccess);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);
}

} // namespace
} // namespace orvant::platform
