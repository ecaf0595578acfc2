#include "config_tool/model/InstanceNaming.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(InstanceNamingTest, NamesFoldersAndDefaultPorts)
{
    struct Case
    {
        std::int16_t n;
        const char *text, *section, *folder, *interfacePort, *receiptPort, *pinPadPort;
    };
    const Case cases[] = {
        { 0, "00", "Harbell", "C:\\ORVANT", "10000", "20000", "5000" },
        { 1, "01", "Harbell_01", "C:\\ORVANT\\INSTANCE_01", "10001", "20001", "5001" },
        { 9, "09", "Harbell_09", "C:\\ORVANT\\INSTANCE_09", "10009", "20009", "5009" },
        { 10, "10", "Harbell_10", "C:\\ORVANT\\INSTANCE_10", "10010", "20010", "5010" },
        { 99, "99", "Harbell_99", "C:\\ORVANT\\INSTANCE_99", "10099", "20099", "5099" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(getInstanceString(c.n), c.text);
        EXPECT_EQ(instanceSection(c.n), c.section);
        EXPECT_EQ(instanceFolder("C:\\ORVANT", c.n), c.folder);
        EXPECT_EQ(defaultInterfacePort(c.n), c.interfacePort);
        EXPECT_EQ(defaultReceiptPort(c.n), c.receiptPort);
        EXPECT_EQ(defaultPinPadPort(c.n), c.pinPadPort);
    }
    EXPECT_EQ(instanceFolder("C:/ORVANT", 10), "C:/ORVANT\\INSTANCE_10");
}

TEST(InstanceNamingTest, SectionsReadBackAsTheirNumber)
{
    for (std::int16_t n = 0; n <= kMaxInstanceNumber; ++n) {
        EXPECT_EQ(instanceNumberOfSection(instanceSection(n)), n);
    }
    for (const char* bad : { "Harbell_1", "Harbell_ab", "" }) {
        EXPECT_EQ(instanceNumberOfSection(bad), -1) << bad;
    }
    // Only the last two characters count: this is why the naming stops at 99.
    EXPECT_EQ(instanceNumberOfSection("Harbell_100"), 0);
}

} // namespace
} // namespace tarn
