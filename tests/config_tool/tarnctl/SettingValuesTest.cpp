#include "config_tool/tarnctl/SettingTable.h"

#include <gtest/gtest.h>

namespace tarn::ctl {
namespace {

// A script's value for a setting, as the setting's control would take it.
struct ScriptValue
{
    const char* setting;
    const char* value;
    const char* stored; // nullptr: refused
};

TEST(SettingValuesTest, ScriptValuesAreStoredAsTheWindowStoresThemOrRefused)
{
    const ScriptValue cases[] = {
        { "Debug", "true", "True" },
        { "Debug", "FALSE", "False" },
        { "Debug", "yes", nullptr },
        { "AllowSplit", "1", "True" },
        { "AutoUpgrade", "True", "1" },
        { "AutoUpgrade", "0", "0" },
        { "AutoUpgrade", "2", nullptr },
        { "Environment", "Petrol Station", "3" },
        { "Environment", "6", "6" },
        { "Environment", "kiosk", nullptr },
        { "Environment", "7", nullptr },
        { "InterfaceMethod", "file", "1" },
        { "InterfaceMethod", "2", nullptr },
        { "ReferralMode", "2", "2" },
        { "ReferralMode", "3", nullptr },
        { "AvsRuleIndex", "5", "5" },
        { "AvsRuleIndex", "6", nullptr },
        { "Configuration", "XML", "xml" },
        { "Configuration", "file", nullptr },
        { "PinPad", "Dione secura UPT No MagStripe", "Dione secura UPT No MagStripe" },
        { "PinPad", "verifone vx670", nullptr },
        { "Timeout", "0045", "0045" },
        { "Timeout", "", "" },
        { "Timeout", " 45", nullptr },
        { "Top", "12a", nullptr },
        { "Port", "-1", nullptr },
        { "ComPort", "COM255", "COM255" },
        { "ComPort", "COM0", nullptr },
        { "ComPort", "COM01", nullptr },
        { "ReaderComPort", "com1", nullptr },
        { "ComPort", "COM1,COM2", nullptr },
        { "WindowsSize", "79", "100" },
        { "WindowsSize", "79.5", "80" },
        { "WindowsSize", "large", nullptr },
        { "BackGroundColor", "16777215", "16777215" },
        { "BackGroundColor", "16777216", nullptr },
        { "BackGroundColor", "-2147483633", nullptr },
        { "NextReceiptNumber", "58", nullptr },
        { "LogoFile", "C:\\caf\xC3\xA9 \xE2\x82\xAC.jpg", "C:\\caf\xC3\xA9 \xE2\x82\xAC.jpg" },
        { "LogoFile", "a\tb", nullptr },
        { "FontName", "\xE4\xB8\x80", nullptr }, // not in Windows-1252
        { "HBLHost", "\xC3", nullptr }, // not UTF-8
    };
    for (const auto& c : cases) {
        const Setting* setting = findSetting(c.setting);
        ASSERT_NE(setting, nullptr) << c.setting;
        const CheckedValue checked = setting->check(c.value, "<current>");
        EXPECT_EQ(checked.ok ? checked.value : "refused", c.stored ? c.stored : "refused")
            << c.setting << "=" << c.value;
        EXPECT_EQ(checked.error.empty(), checked.ok) << c.setting << "=" << c.value;
    }
    // The current value is always taken, so that show's lines can be fed back.
    EXPECT_EQ(findSetting("BackGroundColor")->check("-2147483633", "-2147483633").value, "-2147483633");
    EXPECT_TRUE(findSetting("NextReceiptNumber")->check("57", "57").ok);
}

} // namespace
} // namespace tarn::ctl
