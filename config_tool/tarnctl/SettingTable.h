#pragma once

#include "config_tool/model/ConfigurationLayout.h"
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

// Where a setting is kept: once for the installation (the configuration mode, the common settings and the
// installation-wide environment), or in each instance's record. An exported document groups them so.
enum class SettingScope
{
    Instance,
    Installation,
};

// One name that show prints and set takes: the configuration mode, or a setting of the configuration
// layout (ConfigurationLayout.h), which this table only presents.
struct Setting
{
    std::string_view name;
    const SettingDeclaration* declaration; // nullptr for the configuration mode
    SettingPhase phase;
    // The value as it would be stored, for the shown instance.
    std::function<std::string(const InstanceEditor&)> text;
    // Stores a value checked by check() into the shown instance's record or the common settings.
    std::function<void(InstanceEditor&, const std::string&)> assign;

    // A script's value checked as the setting's control takes it (see checkValue).
    CheckedValue check(const std::string& value, const std::string& current) const;
    // Shown only: the engine keeps it.
    bool engineKept() const { return declaration && declaration->engineKept; }
    // Why the window would not let the operator change the value now (a disabled or hidden control);
    // empty when it would.
    std::string whyNotOffered(const InstanceEditor& editor) const;
    SettingScope scope = SettingScope::Instance;
};

// Every setting, in the order show prints them: the configuration mode, the common values, the
// instance values in the order of the configuration layout, then the device fields.
const std::vector<Setting>& allSettings();

// The setting of that exact name, or nullptr.
const Setting* findSetting(std::string_view name);

} // namespace tarn::ctl
