#include "env_tool/System.h"

#include "platform/Environment.h"
#include "platform/Registry.h"

namespace varset {

System::System()
    : System(&orvant::platform::broadcastEnvironmentChange)
{
}

System::System(std::function<void()> broadcast)
    : m_broadcast(std::move(broadcast))
{
    m_registry.setClassKey(static_cast<std::uint32_t>(orvant::platform::Hive::LocalMachine));
    m_registry.setSectionKey(kMachineEnvironmentKey);
}

std::string System::environment(const std::string& name)
{
    m_registry.setValueKey(name);
    return valueToText(m_registry.value());
}

std::string System::storedEnvironment(const std::string& name)
{
    m_registry.setValueKey(name);
    return valueToText(m_registry.storedValue());
}

void System::setEnvironment(const std::string& name, const std::string& text)
{
    m_registry.setValueKey(name);
    m_registry.setValueType(orvant::platform::kRegSz);
    m_registry.setValue(text);
    if (m_broadcast) {
        m_broadcast();
    }
}

} // namespace varset
