#include "config_tool/tarnctl/SettingValues.h"

#include <gtest/gtest.h>

namespace tarn::ctl {
namespace {

TEST(SettingValuesTest, ScriptValuesAreStoredAsTheWindowStoresThemOrRefused)
{
    using enum ValueKind;
    const struct
    {
        ValueKind kind;
        const char* value;
        const char* stored; // nullptr: refused
    } cases[] = {
        { Boolean, "true", "True" },
        { Boolean, "FALSE", "False" },
        { CheckBox, "1", "True" },
        { UpgradeCheckBox, "True", "1" },
        { UpgradeCheckBox, "0", "0" },
        { Boolean, "yes", nullptr },
        { UpgradeCheckBox, "2", nullptr },
        { Environment, "Petrol Station", "3" },
        { Environment, "6", "6" },
        { Environment, "kiosk", nullptr },
        { Environment, "7", nullptr },
        { InterfaceMethod, "file", "1" },
        { InterfaceMethod, "2", nullptr },
        { ReferralMode, "2", "2" },
        { ReferralMode, "3", nullptr },
        { AvsRule, "5", "5" },
        { AvsRule, "6", nullptr },
        { Configuration, "XML", "xml" },
        { Configuration, "file", nullptr },
        { PinPad, "Dione secura UPT No MagStripe", "Dione secura UPT No MagStripe" },
        { PinPad, "verifone vx670", nullptr },
        { Digits, "0045", "0045" },
        { Digits, "", "" },
        { Digits, " 45", nullptr },
        { Digits, "-1", nullptr },
        { ComPort, "COM255", "COM255" },
        { ComPort, "COM0", nullptr },
        { ComPort, "COM01", nullptr },
        { ComPort, "com1", nullptr },
        { ComPort, "COM1,COM2", nullptr },
        { WindowSize, "79", "100" },
        { WindowSize, "large", nullptr },
        { Colour, "16777215", "16777215" },
        { Colour, "16777216", nullptr },
        { Colour, "-2147483633", nullptr },
        { ReadOnly, "58", nullptr },
        { Text, "C:\\caf\xC3\xA9 \xE2\x82\xAC.jpg", "C:\\caf\xC3\xA9 \xE2\x82\xAC.jpg" },
        { Text, "a\tb", nullptr },
        { Text, "\xE4\xB8\x80", nullptr }, // not in Windows-1252
        { Text, "\xC3", nullptr }, // not UTF-8
    };
    for (const auto& c : cases) {
        const CheckedValue checked = checkValue(c.kind, c.value, "<current>");
        EXPECT_EQ(checked.ok ? checked.value : "refused", c.stored ? c.stored : "refused") << c.value;
        EXPECT_EQ(checked.error.empty(), checked.ok) << c.value;
    }
    // The current value is always taken, so that show's lines can be fed back.
    EXPECT_EQ(checkValue(ValueKind::Colour, "-2147483633", "-2147483633").value, "-2147483633");
    EXPECT_TRUE(checkValue(ValueKind::ReadOnly, "57", "57").ok);
}

} // namespace
} // namespace tarn::ctl
