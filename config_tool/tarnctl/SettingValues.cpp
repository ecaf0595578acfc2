#include "config_tool/tarnctl/SettingValues.h"

#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/model/Choices.h"
#include "config_tool/model/PinPadModels.h"
#include "config_tool/model/StoredValues.h"
#include "config_tool/model/WindowSize.h"
#include "platform/AsciiText.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cstdint>

namespace tarn::ctl {

namespace {

constexpr std::int32_t kLargestRgb = 0xFFFFFF;
constexpr int kLastComPort = 255; // as Windows names serial ports

using orvant::ascii::isDigits;
using orvant::ascii::toLower;

CheckedValue accepted(std::string value)
{
    return { true, std::move(value), {} };
}

CheckedValue refused(const std::string& values)
{
    return { false, {}, "the value must be " + values };
}

std::optional<bool> parseFlag(const std::string& value)
{
    const std::string lower = toLower(value);
    if (lower == "true" || lower == "1") {
        return true;
    }
    if (lower == "false" || lower == "0") {
        return false;
    }
    return std::nullopt;
}

std::string listed(const std::vector<std::string>& names, const char* lastJoint)
{
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == names.size() ? lastJoint : ", ") + names[i];
    }
    return list;
}

std::vector<std::string> environmentNames()
{
    std::vector<std::string> names;
    for (std::int16_t code = 1; Choices::environmentText(code); ++code) {
        names.push_back(*Choices::environmentText(code));
    }
    return names;
}

std::vector<std::string> optionNames(const SettingDeclaration& setting)
{
    std::vector<std::string> names;
    for (std::int16_t i = 0; i < setting.options && !setting.optionNames[static_cast<std::size_t>(i)].empty(); ++i) {
        names.emplace_back(setting.optionNames[static_cast<std::size_t>(i)]);
    }
    return names;
}

CheckedValue checkText(const std::string& value)
{
    // The window's text boxes hold one line; the stores and the engine's files take Windows-1252.
    if (std::any_of(value.begin(), value.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; })) {
        return refused("one line without control characters");
    }
    if (orvant::platform::ansiToUtf8(orvant::platform::utf8ToAnsi(value)) != value) {
        return refused("text that Windows-1252 can store");
    }
    return accepted(value);
}

CheckedValue checkOption(const SettingDeclaration& setting, const std::string& value)
{
    const auto names = optionNames(setting);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (toLower(value) == toLower(names[i])) {
            return accepted(std::to_string(i));
        }
    }
    if (value.size() == 1 && value[0] >= '0' && value[0] < '0' + setting.options) {
        return accepted(value);
    }
    return refused(valuesInWords(setting));
}

CheckedValue checkEnvironment(const SettingDeclaration& setting, const std::string& value)
{
    for (std::int16_t code = 1; Choices::environmentText(code); ++code) {
        if (value == *Choices::environmentText(code) || value == std::to_string(code)) {
            return accepted(std::to_string(code));
        }
    }
    return refused(valuesInWords(setting));
}

CheckedValue checkColour(const SettingDeclaration& setting, const std::string& value)
{
    const auto colour = StoredValues::parseInt32(value);
    if (!colour || !isDigits(value) || *colour > kLargestRgb) {
        return refused(valuesInWords(setting));
    }
    return accepted(std::to_string(*colour));
}

CheckedValue checkComPort(const SettingDeclaration& setting, const std::string& value)
{
    const std::string number = value.size() > 3 ? value.substr(3) : std::string();
    if (value.compare(0, 3, "COM") == 0 && !number.empty() && number.size() <= 3 && isDigits(number) && number[0] != '0'
        && std::stoi(number) <= kLastComPort) {
        return accepted(value);
    }
    return refused(valuesInWords(setting));
}

// A list that takes free text for a number (the window size): its leave-rule corrects it, and the number
// it starts with is stored.
CheckedValue checkNumberList(const SettingDeclaration& setting, const std::string& value)
{
    if (!readLeadingNumber(value)) {
        return refused("a number: " + valuesInWords(setting));
    }
    const std::string corrected = setting.leaveRule ? setting.leaveRule(value) : value;
    return accepted(std::to_string(windowSizeOf(corrected)));
}

} // namespace

CheckedValue checkValue(const SettingDeclaration& setting, const std::string& value, const std::string& current)
{
    if (value == current) {
        return accepted(value);
    }
    if (setting.engineKept) {
        return { false, {}, "the value is kept by the engine and cannot be set" };
    }
    switch (setting.kind) {
    case SettingKind::Text:
        return checkText(value);
    case SettingKind::List:
        return setting.leaveRule ? checkNumberList(setting, value) : checkText(value);
    case SettingKind::Digits:
        // An emptied box is as good as one that holds digits.
        return value.empty() || isDigits(value) ? accepted(value) : refused(valuesInWords(setting));
    case SettingKind::Boolean:
        if (const auto flag = parseFlag(value)) {
            return accepted(StoredValues::booleanText(*flag));
        }
        return refused(valuesInWords(setting));
    case SettingKind::UpgradeBox:
        if (const auto flag = parseFlag(value)) {
            return accepted(*flag ? "1" : "0");
        }
        return refused(valuesInWords(setting));
    case SettingKind::Options:
        return checkOption(setting, value);
    case SettingKind::Environment:
        return checkEnvironment(setting, value);
    case SettingKind::Colour:
        return checkColour(setting, value);
    case SettingKind::PinPad:
        return findPinPadModel(value) ? accepted(value) : refused(valuesInWords(setting));
    case SettingKind::ComPort:
        return checkComPort(setting, value);
    }
    return refused(valuesInWords(setting));
}

CheckedValue checkConfigurationMode(const std::string& value, const std::string& current)
{
    const std::string lower = toLower(value);
    if (value == current || lower == kXmlModeText || lower == kRegistryModeText) {
        return accepted(value == current ? value : lower);
    }
    return refused(std::string(kRegistryModeText) + " or " + std::string(kXmlModeText));
}

std::string valuesInWords(const SettingDeclaration& setting)
{
    if (setting.engineKept) {
        return "shown only: the engine keeps it";
    }
    switch (setting.kind) {
    case SettingKind::Text:
        return "one line of Windows-1252 text";
    case SettingKind::List:
        return setting.leaveRule ? windowSizeRuleText() + ", as in the window" : "one line of Windows-1252 text";
    case SettingKind::Digits:
        return "digits only (the window's digits-only fields)";
    case SettingKind::Boolean:
        return "True or False";
    case SettingKind::UpgradeBox:
        return "True or False (stored 1 or 0)";
    case SettingKind::Options: {
        const auto names = optionNames(setting);
        const std::string numbers = "0 to " + std::to_string(setting.options - 1);
        return names.empty() ? "a number from " + numbers : listed(names, " or ") + " (" + numbers + ")";
    }
    case SettingKind::Environment: {
        const auto names = environmentNames();
        return listed(names, " or ") + " (or 1 to " + std::to_string(names.size()) + "); installation-wide";
    }
    case SettingKind::Colour:
        return "a decimal RGB value from 0 to " + std::to_string(kLargestRgb);
    case SettingKind::PinPad: {
        std::vector<std::string> names;
        for (const auto& model : pinPadModels()) {
            names.emplace_back(model.name);
        }
        return "one of the PIN pads " + listed(names, " or ");
    }
    case SettingKind::ComPort:
        return "a COM port from COM1 to COM" + std::to_string(kLastComPort);
    }
    return {};
}

} // namespace tarn::ctl
