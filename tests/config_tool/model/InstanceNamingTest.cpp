#include "config_tool/model/InstanceNaming.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(InstanceNamingTest, TwoDigitTextOnlyBelowTen)
{
    EXPECT_EQ(getInstanceString(0), "00");
    EXPECT_EQ(getInstanceString(1), "01");
    EXPECT_EQ(getInstanceString(9), "09");
    EXPECT_EQ(getInstanceString(10), "10");
    EXPECT_EQ(getInstanceString(99), "99");
}

TEST(InstanceNamingTest, SectionsAndFolders)
{
    EXPECT_EQ(instanceSection(0), "Harbell");
    EXPECT_EQ(instanceSection(1), "Harbell_01");
    EXPECT_EQ(instanceSection(12), "Harbell_12");
    EXPECT_EQ(instanceFolder("C:\\ORVANT", 0), "C:\\ORVANT");
    EXPECT_EQ(instanceFolder("C:\\ORVANT", 1), "C:\\ORVANT\\INSTANCE_01");
    EXPECT_EQ(instanceFolder("C:/ORVANT", 10), "C:/ORVANT\\INSTANCE_10");
}

TEST(InstanceNamingTest, SectionsReadBackAsTheirNumber)
{
    for (std::int16_t n = 0; n <= kMaxInstanceNumber; ++n) {
        EXPECT_EQ(instanceNumberOfSection(instanceSection(n)), n);
    }
    EXPECT_EQ(instanceNumberOfSection("Harbell_1"), -1);
    EXPECT_EQ(instanceNumberOfSection("Harbell_ab"), -1);
    EXPECT_EQ(instanceNumberOfSection(""), -1);
    // Only the last two characters count: this is why the naming stops at 99.
    EXPECT_EQ(instanceNumberOfSection("Harbell_100"), 0);
}

TEST(InstanceNamingTest, DefaultPortsAreBuiltAsText)
{
    EXPECT_EQ(defaultInterfacePort(0), "10000");
    EXPECT_EQ(defaultReceiptPort(0), "20000");
    EXPECT_EQ(defaultPinPadPort(0), "5000");
    EXPECT_EQ(defaultInterfacePort(1), "10001");
    EXPECT_EQ(defaultReceiptPort(1), "20001");
    EXPECT_EQ(defaultPinPadPort(1), "5001");
    EXPECT_EQ(defaultInterfacePort(10), "10010");
    EXPECT_EQ(defaultReceiptPort(10), "20010");
    EXPECT_EQ(defaultPinPadPort(10), "5010");
}

} // namespace
} // namespace tarn
