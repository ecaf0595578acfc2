#pragma once

#include "env_tool/VarsetRegistry.h"

#include <functional>
#include <string>

namespace varset {

// Where Windows keeps the environment variables of the whole machine (under HKEY_LOCAL_MACHINE).
inline constexpr const char* kMachineEnvironmentKey
    = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// The machine-wide environment variables. Changes reach programs started afterwards, never this
// process's own environment.
class System
{
public:
    // `broadcast` tells the running programs that the environment changed; by default the platform's
    // WM_SETTINGCHANGE "Environment" broadcast.
    System();
    explicit System(std::function<void()> broadcast);

    // The variable's value, REG_EXPAND_SZ references expanded with this process's environment; empty
    // when the variable does not exist.
    std::string environment(const std::string& name);

    // The variable's value as stored, references unexpanded.
    std::string storedEnvironment(const std::string& name);

    // Stores the variable and broadcasts the change. A RegistryError goes to the caller, and then
    // nothing is broadcast.
    void setEnvironment(const std::string& name, const std::string& text);

private:
    Registry m_registry;
    std::function<void()> m_broadcast;
};

} // namespace varset
