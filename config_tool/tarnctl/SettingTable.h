#pragma once

#include "config_tool/tarnctl/InstanceEditor.h"
#include "config_tool/tarnctl/SettingValues.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::ctl {

// When a setting is applied within one set command. The window derives other values from the
// environment, the Check Upgrades box and the PIN pad, so those are applied as if chosen first, and
// the rest in the order given.
enum class SettingPhase
{
    Installation = 1, // Configuration, Environment
    Drivers = 2, // CheckUpgrade, PinPad
    Fields = 3, // everything else
};

// One name that show prints and set takes: a configuration value of the layout, a common setting,
// the configuration mode, or a device field.
struct Setting
{
    std::string_view name;
    ValueKind kind;
    SettingPhase phase;
    // The value as it would be stored, for the shown instance.
    std::function<std::string(const InstanceEditor&)> text;
    // Stores a value checked by checkValue into the shown instance's record or the common settings.
    std::function<void(InstanceEditor&, const std::string&)> assign;
    // Why the window would not let the operator change the value now (a disabled or hidden control);
    // empty when it would. Not set for settings that are always offered.
    std::function<std::string(const InstanceEditor&)> whyNotOffered;
};

// Every setting, in the order show prints them: the configuration mode, the common values, the
// instance values in the order of the configuration layout, then PinPad, ComPort, ReaderComPort.
const std::vector<Setting>& allSettings();

// The setting of that exact name, or nullptr.
const Setting* findSetting(std::string_view name);

} // namespace tarn::ctl
