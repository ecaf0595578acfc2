#include "config_tool/tarnctl/SettingValues.h"

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

using orvant::ascii::isDigits;
using orvant::ascii::toLower;

CheckedValue accepted(std::string value)
{
    return { true, std::move(value), {} };
}

CheckedValue refused(std::string error)
{
    return { false, {}, std::move(error) };
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

CheckedValue checkText(const std::string& value)
{
    // The window's text boxes hold one line; the stores and the engine's files take Windows-1252.
    if (std::any_of(value.begin(), value.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; })) {
        return refused("the value must be one line without control characters");
    }
    if (orvant::platform::ansiToUtf8(orvant::platform::utf8ToAnsi(value)) != value) {
        return refused("the value holds characters that Windows-1252 cannot store");
    }
    return accepted(value);
}

CheckedValue checkOption(const std::string& value, int options)
{
    if (value.size() == 1 && value[0] >= '0' && value[0] < '0' + options) {
        return accepted(value);
    }
    return refused("the value must be a number from 0 to " + std::to_string(options - 1));
}

CheckedValue checkEnvironment(const std::string& value)
{
    for (std::int16_t code = 1; code <= 6; ++code) {
        if (value == Choices::environmentText(code) || value == std::to_string(code)) {
            return accepted(std::to_string(code));
        }
    }
    return refused("the value must be one of POS, Hospitality, Petrol Station, Kiosk, Internet, Standalone "
                   "(or their codes 1 to 6)");
}

// The list takes free text and corrects it when it loses the focus; a script's value must at least be
// a number.
CheckedValue checkWindowSize(const std::string& value)
{
    if (!readLeadingNumber(value)) {
        return refused("the value must be a number, a percentage");
    }
    return accepted(std::to_string(windowSizeOf(correctWindowSize(value))));
}

CheckedValue checkColour(const std::string& value)
{
    const auto colour = StoredValues::parseInt32(value);
    if (!colour || !isDigits(value) || *colour > kLargestRgb) {
        return refused("the value must be a colour as a decimal RGB value from 0 to 16777215");
    }
    return accepted(std::to_string(*colour));
}

CheckedValue checkPinPad(const std::string& value)
{
    if (findPinPadModel(value)) {
        return accepted(value);
    }
    std::string list;
    for (const auto& model : pinPadModels()) {
        list += (list.empty() ? "" : ", ") + std::string(model.name);
    }
    return refused("the value must be one of the PIN pads " + list);
}

CheckedValue checkComPort(const std::string& value)
{
    // COM1 to COM255, as Windows names serial ports.
    const std::string number = value.size() > 3 ? value.substr(3) : std::string();
    if (value.compare(0, 3, "COM") == 0 && !number.empty() && number.size() <= 3 && isDigits(number) && number[0] != '0'
        && std::stoi(number) <= 255) {
        return accepted(value);
    }
    return refused("the value must be a COM port from COM1 to COM255");
}

} // namespace

CheckedValue checkValue(ValueKind kind, const std::string& value, const std::string& current)
{
    if (value == current) {
        return accepted(value);
    }
    if (kind == ValueKind::ReadOnly) {
        return refused("the value is kept by the engine and cannot be set");
    }
    switch (kind) {
    case ValueKind::Text:
        return checkText(value);
    case ValueKind::Digits:
        // An emptied box is as good as one that holds digits.
        if (!value.empty() && !isDigits(value)) {
            return refused("the value takes digits only");
        }
        return accepted(value);
    case ValueKind::Boolean:
    case ValueKind::CheckBox:
        if (const auto flag = parseFlag(value)) {
            return accepted(*flag ? "True" : "False");
        }
        return refused("the value must be True or False");
    case ValueKind::UpgradeCheckBox:
        if (const auto flag = parseFlag(value)) {
            return accepted(*flag ? "1" : "0");
        }
        return refused("the value must be True or False (or 1 or 0)");
    case ValueKind::Environment:
        return checkEnvironment(value);
    case ValueKind::Configuration: {
        const std::string lower = toLower(value);
        if (lower == "xml" || lower == "registry") {
            return accepted(lower);
        }
        return refused("the value must be registry or xml");
    }
    case ValueKind::InterfaceMethod: {
        const std::string lower = toLower(value);
        if (lower == "socket" || value == "0") {
            return accepted("0");
        }
        if (lower == "file" || value == "1") {
            return accepted("1");
        }
        return refused("the value must be Socket (0) or File (1)");
    }
    case ValueKind::ReferralMode:
        return checkOption(value, 3);
    case ValueKind::AvsRule:
        return checkOption(value, 6);
    case ValueKind::WindowSize:
        return checkWindowSize(value);
    case ValueKind::Colour:
        return checkColour(value);
    case ValueKind::PinPad:
        return checkPinPad(value);
    case ValueKind::ComPort:
        return checkComPort(value);
    case ValueKind::ReadOnly:
        break;
    }
    return refused("the value is kept by the engine and cannot be set");
}

} // namespace tarn::ctl
