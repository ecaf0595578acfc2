#pragma once

#include <string>

namespace tarn::ctl {

// How the window takes each kind of value, and so how a script's value is checked.
enum class ValueKind
{
    Text, // a text box: any one line of Windows-1252 text
    Digits, // a digits-only text box (the key filter lets through 0-9 and Backspace only)
    Boolean, // a check box stored "True"/"False"
    CheckBox, // an installation-wide check box stored "True"/"False"
    UpgradeCheckBox, // an upgrade check box stored as its state "0"/"1"
    Environment, // the environment list, stored as its code 1-6
    Configuration, // the configuration-type options, "registry" or "xml"
    InterfaceMethod, // Socket (0) or File (1)
    ReferralMode, // an option of three, 0-2
    AvsRule, // an option of six, 0-5
    WindowSize, // a size list taking free text, corrected when it loses the focus
    Colour, // the colour dialog's choice: an RGB value
    PinPad, // the PIN-pad list
    ComPort, // a COM port list
    ReadOnly, // shown, never set
};

struct CheckedValue
{
    bool ok = false;
    std::string value; // the text as it will be stored, when ok
    std::string error; // why the value is refused, when not ok
};

// Checks a script's value for a setting of this kind and turns it into the stored text: "True"/"False"
// for check boxes (1/0 and any letter case accepted), the code for a list or option name ("Kiosk" is
// "4", "File" is "1"), the window-size rule applied. A value equal to the setting's current text is
// always accepted: it changes nothing.
CheckedValue checkValue(ValueKind kind, const std::string& value, const std::string& current);

} // namespace tarn::ctl
