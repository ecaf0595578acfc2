#include "config_tool/tarnctl/SettingValues.h"

#include <gtest/gtest.h>

namespace tarn::ctl {
namespace {

std::string storedAs(ValueKind kind, const std::string& value, const std::string& current = "<current>")
{
    const CheckedValue checked = checkValue(kind, value, current);
    return checked.ok ? checked.value : "refused: " + checked.error;
}

bool refused(ValueKind kind, const std::string& value)
{
    return !checkValue(kind, value, "<current>").ok;
}

TEST(SettingValuesTest, CheckBoxesTakeTrueFalseInAnyCaseAndOneZero)
{
    EXPECT_EQ(storedAs(ValueKind::Boolean, "true"), "True");
    EXPECT_EQ(storedAs(ValueKind::Boolean, "FALSE"), "False");
    EXPECT_EQ(storedAs(ValueKind::CheckBox, "1"), "True");
    EXPECT_EQ(storedAs(ValueKind::UpgradeCheckBox, "True"), "1");
    EXPECT_EQ(storedAs(ValueKind::UpgradeCheckBox, "0"), "0");
    EXPECT_TRUE(refused(ValueKind::Boolean, "yes"));
    EXPECT_TRUE(refused(ValueKind::Boolean, ""));
    EXPECT_TRUE(refused(ValueKind::UpgradeCheckBox, "2"));
}

TEST(SettingValuesTest, ListsAndOptionsTakeTheirTextsOrCodes)
{
    EXPECT_EQ(storedAs(ValueKind::Environment, "Petrol Station"), "3");
    EXPECT_EQ(storedAs(ValueKind::Environment, "6"), "6");
    EXPECT_TRUE(refused(ValueKind::Environment, "kiosk"));
    EXPECT_TRUE(refused(ValueKind::Environment, "7"));
    EXPECT_EQ(storedAs(ValueKind::InterfaceMethod, "file"), "1");
    EXPECT_EQ(storedAs(ValueKind::InterfaceMethod, "Socket"), "0");
    EXPECT_TRUE(refused(ValueKind::InterfaceMethod, "2"));
    EXPECT_EQ(storedAs(ValueKind::ReferralMode, "2"), "2");
    EXPECT_TRUE(refused(ValueKind::ReferralMode, "3"));
    EXPECT_EQ(storedAs(ValueKind::AvsRule, "5"), "5");
    EXPECT_TRUE(refused(ValueKind::AvsRule, "6"));
    EXPECT_EQ(storedAs(ValueKind::Configuration, "XML"), "xml");
    EXPECT_TRUE(refused(ValueKind::Configuration, "file"));
    EXPECT_EQ(storedAs(ValueKind::PinPad, "Dione secura UPT No MagStripe"), "Dione secura UPT No MagStripe");
    EXPECT_TRUE(refused(ValueKind::PinPad, "verifone vx670"));
}

TEST(SettingValuesTest, DigitsOnlyFieldsAndPorts)
{
    EXPECT_EQ(storedAs(ValueKind::Digits, "0045"), "0045");
    EXPECT_EQ(storedAs(ValueKind::Digits, ""), "");
    EXPECT_TRUE(refused(ValueKind::Digits, "4.5"));
    EXPECT_TRUE(refused(ValueKind::Digits, " 45"));
    EXPECT_TRUE(refused(ValueKind::Digits, "-1"));
    EXPECT_EQ(storedAs(ValueKind::ComPort, "COM16"), "COM16");
    EXPECT_EQ(storedAs(ValueKind::ComPort, "COM255"), "COM255");
    for (const char* port : { "COM0", "COM256", "COM01", "com1", "COM", "LPT1", "COM1,COM2" }) {
        EXPECT_TRUE(refused(ValueKind::ComPort, port)) << port;
    }
}

TEST(SettingValuesTest, WindowSizeAsTheListCorrectsAndCollectsIt)
{
    EXPECT_EQ(storedAs(ValueKind::WindowSize, "79"), "100");
    EXPECT_EQ(storedAs(ValueKind::WindowSize, "79.5"), "80");
    EXPECT_EQ(storedAs(ValueKind::WindowSize, "80.5"), "80");
    EXPECT_EQ(storedAs(ValueKind::WindowSize, "85%"), "85");
    EXPECT_EQ(storedAs(ValueKind::WindowSize, "101"), "100");
    EXPECT_EQ(storedAs(ValueKind::WindowSize, "0"), "100");
    EXPECT_TRUE(refused(ValueKind::WindowSize, "large"));
}

TEST(SettingValuesTest, ColoursTextsAndUnchangedValues)
{
    EXPECT_EQ(storedAs(ValueKind::Colour, "16777215"), "16777215");
    EXPECT_TRUE(refused(ValueKind::Colour, "16777216"));
    EXPECT_TRUE(refused(ValueKind::Colour, "-2147483633"));
    // The current value is always accepted: show's output can be fed back.
    EXPECT_EQ(storedAs(ValueKind::Colour, "-2147483633", "-2147483633"), "-2147483633");
    EXPECT_EQ(storedAs(ValueKind::ReadOnly, "57", "57"), "57");
    EXPECT_TRUE(refused(ValueKind::ReadOnly, "58"));

    EXPECT_EQ(storedAs(ValueKind::Text, "C:\\ORVANT\\caf\xC3\xA9 \xE2\x82\xAC.jpg"),
              "C:\\ORVANT\\caf\xC3\xA9 \xE2\x82\xAC.jpg");
    EXPECT_TRUE(refused(ValueKind::Text, "a\tb"));
    EXPECT_TRUE(refused(ValueKind::Text, "a\rb"));
    EXPECT_TRUE(refused(ValueKind::Text, "\xE4\xB8\x80"));
    EXPECT_TRUE(refused(ValueKind::Text, "\xC3"));
}

} // namespace
} // namespace tarn::ctl
