#include "platform/Registry.h"

#include "tests/platform/HarbellValues.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace orvant::platform {
namespace {

using test::kHarbellKey;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorInvalidParameter = 87;

class RegistryTest : public ::testing::Test
{
protected:
    test::TestFolder m_folder;
};

TEST_F(RegistryTest, EveryValueComesBackWithItsTypeAndBytes)
{
    for (Hive hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        for (const auto& [name, type, bytes] : test::kHarbellValues) {
            ASSERT_TRUE(test::storeRegistryValue(hive, kHarbellKey, name, type, bytes)) << name;
        }
        for (const auto& [name, type, bytes] : test::kHarbellValues) {
            EXPECT_EQ(test::readRegistryValue(hive, kHarbellKey, name), (test::RegistryValue { type, bytes })) << name;
        }
    }
    // Key and value names ignore case, beyond ASCII too; the default value has the empty name.
    ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, "software\\KELBRIN\\harbell_01", "W\xC3\x84HRUNG", kRegSz, "x"));
    ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, kHarbellKey, "", kRegSz, "default"));
    EXPECT_EQ(test::readRegistryValue(Hive::CurrentUser, kHarbellKey, "w\xC3\xA4hrung")->bytes, "x");
    EXPECT_EQ(test::readRegistryValue(Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_01\\", "")->bytes, "default");
}

TEST_F(RegistryTest, QueryReportsSizesShortBuffersAndMissingValues)
{
    ASSERT_TRUE(test::storeRegistryValue(Hive::CurrentUser, kHarbellKey, "Ten", kRegBinary, "0123456789"));
    HKey key = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::CurrentUser, kHarbellKey, kKeyQueryValue, &key), kErrorSuccess);
    std::uint32_t type = 0;
    std::uint32_t size = 4;
    std::uint8_t buffer[20] = {};
    EXPECT_EQ(regQueryValueEx(key, "Ten", &type, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(type, kRegBinary);
    size = sizeof buffer;
    EXPECT_EQ(regQueryValueEx(key, "Ten", nullptr, buffer, &size), kErrorSuccess);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(regQueryValueEx(key, "Ten", nullptr, nullptr, nullptr), kErrorSuccess);
    EXPECT_EQ(regQueryValueEx(key, "Ten", nullptr, buffer, nullptr), kErrorInvalidParameter);
    type = 99;
    EXPECT_EQ(regQueryValueEx(key, "Eleven", &type, nullptr, &size), kErrorFileNotFound);
    EXPECT_EQ(type, 99u);
    // Opened for reading only: no writes through it.
    EXPECT_EQ(regSetValueEx(key, "Ten", kRegSz, { '1', 0 }), kErrorAccessDenied);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);

    EXPECT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbellKey, kKeyQueryValue, &key), kErrorFileNotFound);
    EXPECT_EQ(key, nullptr);
}

TEST_F(RegistryTest, RefusesBadHandlesAndNames)
{
    HKey key = nullptr;
    EXPECT_EQ(regCloseKey(nullptr), kErrorInvalidHandle);
    EXPECT_EQ(regSetValueEx(nullptr, "Mode", kRegSz, { '1', 0 }), kErrorInvalidHandle);
    EXPECT_EQ(regCreateKeyEx(static_cast<Hive>(0x80000000u), kHarbellKey, kKeyAllAccess, &key), kErrorInvalidHandle);
    EXPECT_EQ(regCreateKeyEx(Hive::CurrentUser, kHarbellKey, kKeyAllAccess, nullptr), kErrorInvalidParameter);
    EXPECT_EQ(regCreateKeyEx(Hive::CurrentUser, "\\SOFTWARE", kKeyAllAccess, &key), 161); // ERROR_BAD_PATHNAME
    EXPECT_EQ(key, nullptr);
}

} // namespace
} // namespace orvant::platform
