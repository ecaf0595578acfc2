#pragma once

#include "config_tool/model/ConfigSession.h"
#include "config_tool/model/WindowLists.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarn::ctl {

constexpr std::int16_t kPosEnvironment = WindowLists::kPosCode;
constexpr std::int16_t kHospitalityEnvironment = WindowLists::kHospitality;
constexpr std::int16_t kKioskEnvironment = WindowLists::kKiosk;
using WindowLists::kNoCardReader;
using WindowLists::kSagem;
using WindowLists::kVx670;

// "POS" ... "Standalone" for the codes 1 to 6; empty for any other code.
std::string environmentName(std::int16_t code);

// The PIN-pad models the window lists for an environment: five in a hospitality installation, all
// twelve otherwise.
std::vector<std::string> offeredPinPadModels(std::int16_t environment);

// One instance shown on the window while settings change, with the window's field rules: the rules
// that change other values when the environment, the Check Upgrades box or the PIN pad changes, and
// which controls are enabled at the moment. A change the window would refuse by disabling or hiding
// its control is refused by the caller with these flags.
class InstanceEditor
{
public:
    // The state of the window right after its load, with instance shownIndex selected.
    InstanceEditor(ConfigSession& session, std::size_t shownIndex);

    ConfigSession& session() { return m_session; }
    const ConfigSession& session() const { return m_session; }
    CInstanceData& shown() { return m_session.instances.at(m_shownIndex); }
    const CInstanceData& shown() const { return m_session.instances.at(m_shownIndex); }
    std::size_t shownIndex() const { return m_shownIndex; }

    // The installation-wide environment, kept in record 0.
    std::int16_t environment() const { return m_session.instances.at(0).environment; }

    // The environment list's rules: the PIN-pad list is refilled for the new environment and "No Card
    // Reader" selected (which runs the PIN-pad rules); Kiosk clears and disables Ask Gratuity and
    // disables Auto Upgrade and the referral modes; another environment enables the three again only
    // while Check Upgrades is ticked.
    void chooseEnvironment(std::int16_t code);

    // Check Upgrades: ticked enables Auto Upgrade (and ticks it in a kiosk); cleared clears and
    // disables it. In a kiosk Auto Upgrade stays disabled.
    void chooseCheckUpgrade(CheckState state);

    // The PIN-pad rules: the combined-reader box follows the model.
    void choosePinPad(const std::string& model);

    bool autoUpgradeEnabled() const { return m_autoUpgradeEnabled; }
    bool askGratuityEnabled() const { return m_askGratuityEnabled; }
    bool referralModeEnabled() const { return m_referralModeEnabled; }

    // What collecting a record from the controls does to values the option groups cannot show: a
    // referral mode or AVS rule without a button collects as 0, any interface method but 0 as 1 (File).
    // The AVS rule is collected only while AVS rules are on.
    static void collectThroughControls(CInstanceData& record);

private:
    ConfigSession& m_session;
    std::size_t m_shownIndex;
    bool m_autoUpgradeEnabled = false;
    bool m_askGratuityEnabled = true;
    bool m_referralModeEnabled = true;
};

} // namespace tarn::ctl
