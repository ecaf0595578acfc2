#pragma once

#include "config_tool/model/FieldRules.h"
#include "config_tool/session/ConfigSession.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarn::ctl {

// One instance being edited as the window would show it, under the core's field rules: choosing the
// environment, Check Upgrades or the PIN pad changes other values as the window's rules do, and the
// rules say which controls the window would offer now. A change to a control the window would not
// offer is refused by the caller.
class InstanceEditor
{
public:
    // The state right after the window's load, with instance shownIndex selected.
    InstanceEditor(ConfigSession& session, std::size_t shownIndex);

    ConfigSession& session() { return m_session; }
    const ConfigSession& session() const { return m_session; }
    CInstanceData& shown() { return m_session.instances.at(m_shownIndex); }
    const CInstanceData& shown() const { return m_session.instances.at(m_shownIndex); }

    // The installation-wide environment, kept in record 0.
    std::int16_t environment() const { return m_session.instances.at(0).environment; }

    // Selects another instance as the window's instance list does: the shown record is collected through
    // the controls first; the upgrade controls keep their state, but for the referral modes.
    void showInstance(std::size_t index);

    void chooseEnvironment(std::int16_t code);
    void chooseCheckUpgrade(CheckState state);
    void choosePinPad(const std::string& model);

    const FieldRules::UpgradeControls& upgradeControls() const { return m_upgradeControls; }
    FieldRules::RecordControls recordControls() const { return FieldRules::recordControls(shown(), environment()); }

private:
    ConfigSession& m_session;
    std::size_t m_shownIndex;
    FieldRules::UpgradeControls m_upgradeControls;
};

} // namespace tarn::ctl
