#include "config_tool/model/StoredValues.h"

#include "config_tool/model/InstanceNaming.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace StoredValues;

TEST(StoredValues, BooleansAndNumbersReadAsTheEnginesToolingReadThem)
{
    for (const char* yes : { "True", "TRUE", "  True ", "1", "-1", "0.5" }) {
        EXPECT_EQ(parseBoolean(yes), true) << yes;
    }
    for (const char* no : { "false", "0", "0.0" }) {
        EXPECT_EQ(parseBoolean(no), false) << no;
    }
    const std::pair<const char*, double> numbers[]
        = { { " -3 ", -3.0 }, { "+4", 4.0 }, { ".5", 0.5 }, { "5.", 5.0 }, { "1e2", 100.0 }, { "1E-1", 0.1 } };
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(parseNumber(text), value) << text;
    }
    for (const char* bad :
         { "", " ", "yes", "True1", "12abc", "1 2", "--1", ".", "e5", "1e", "inf", "nan", "0x10", "1,5" }) {
        EXPECT_FALSE(parseNumber(bad).has_value()) << bad;
        EXPECT_FALSE(parseBoolean(bad).has_value()) << bad;
    }
}

TEST(StoredValues, IntegersRoundHalvesToEvenWithinTheirRangeOrFallBack)
{
    const std::pair<const char*, std::int16_t> int16s[]
        = { { "2.5", 2 }, { "3.5", 4 }, { "-2.5", -2 }, { "32766.5", 32766 }, { "-32768", -32768 }, { "05001", 5001 } };
    for (const auto& [text, value] : int16s) {
        EXPECT_EQ(parseInt16(text), value) << text;
    }
    for (const char* bad : { "32768", "-32769", "32767.5", "word" }) {
        EXPECT_FALSE(parseInt16(bad).has_value()) << bad;
    }
    EXPECT_EQ(parseInt32("-2147483633"), -2147483633);
    EXPECT_FALSE(parseInt32("2147483648").has_value());
    EXPECT_TRUE(toBoolean("maybe", "True"));
    EXPECT_FALSE(toBoolean("False", "True"));
    EXPECT_EQ(toInt16("40000", "100"), 100);
    EXPECT_EQ(toInt32("3000000000", "0"), 0);
    EXPECT_EQ(booleanText(false), "False");
}

TEST(InstanceNaming, NamesFoldersAndDefaultPorts)
{
    struct Case
    {
        std::int16_t n;
        const char *text, *section, *folder, *interfacePort, *receiptPort, *pinPadPort;
    };
    const Case cases[] = {
        { 0, "00", "Harbell", "C:\\ORVANT", "10000", "20000", "5000" },
        { 9, "09", "Harbell_09", "C:\\ORVANT\\INSTANCE_09", "10009", "20009", "5009" },
        { 99, "99", "Harbell_99", "C:\\ORVANT\\INSTANCE_99", "10099", "20099", "5099" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(getInstanceString(c.n), c.text);
        EXPECT_EQ(instanceSection(c.n), c.section);
        EXPECT_EQ(instanceNumberOfSection(c.section), c.n);
        EXPECT_EQ(instanceFolder("C:\\ORVANT", c.n), c.folder);
        EXPECT_EQ(defaultInterfacePort(c.n) + defaultReceiptPort(c.n) + defaultPinPadPort(c.n),
                  std::string(c.interfacePort) + c.receiptPort + c.pinPadPort);
    }
    for (const char* noInstance : { "Harbell_1", "Harbell_ab", "" }) {
        EXPECT_EQ(instanceNumberOfSection(noInstance), -1) << noInstance;
    }
    // Only the last two characters count, which is why the naming stops at 99.
    EXPECT_EQ(instanceNumberOfSection("Harbell_100"), 0);
}

} // namespace
} // namespace tarn
