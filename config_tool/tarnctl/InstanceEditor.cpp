#include "config_tool/tarnctl/InstanceEditor.h"

namespace tarn::ctl {

namespace {

constexpr std::int16_t kReferralModeOptions = 3;
constexpr std::int16_t kAvsRuleOptions = 6;

bool ticked(CheckState state)
{
    return state != CheckState::Unchecked;
}

} // namespace

std::string environmentName(std::int16_t code)
{
    return WindowLists::environmentText(code).value_or("");
}

std::vector<std::string> offeredPinPadModels(std::int16_t environment)
{
    return WindowLists::pinPadModels(environment == kHospitalityEnvironment);
}

InstanceEditor::InstanceEditor(ConfigSession& session, std::size_t shownIndex)
    : m_session(session)
    , m_shownIndex(shownIndex)
{
    // After the load: Auto Upgrade follows Check Upgrades and is off in a kiosk, the referral modes
    // are off in a kiosk, Ask Gratuity is enabled.
    const bool kiosk = environment() == kKioskEnvironment;
    m_autoUpgradeEnabled = ticked(m_session.window.checkUpgrade) && !kiosk;
    m_referralModeEnabled = !kiosk;
}

void InstanceEditor::chooseEnvironment(std::int16_t code)
{
    m_session.instances.at(0).environment = code;
    choosePinPad(kNoCardReader);
    if (code == kKioskEnvironment) {
        m_autoUpgradeEnabled = false;
        m_askGratuityEnabled = false;
        shown().askGratuity = false;
        m_referralModeEnabled = false;
    } else if (m_session.window.checkUpgrade == CheckState::Checked) {
        m_askGratuityEnabled = true;
        m_autoUpgradeEnabled = true;
        m_referralModeEnabled = true;
    }
}

void InstanceEditor::chooseCheckUpgrade(CheckState state)
{
    WindowContext& context = m_session.window;
    context.checkUpgrade = state;
    const bool kiosk = environment() == kKioskEnvironment;
    if (state == CheckState::Checked) {
        m_autoUpgradeEnabled = true;
        if (kiosk) {
            context.autoUpgrade = CheckState::Checked;
        }
    } else {
        context.autoUpgrade = CheckState::Unchecked;
        m_autoUpgradeEnabled = false;
    }
    if (kiosk) {
        m_autoUpgradeEnabled = false;
    }
}

void InstanceEditor::choosePinPad(const std::string& model)
{
    CInstanceData& record = shown();
    record.pinpad = model;
    record.combiReader = WindowLists::isCombinedReaderModel(model);
}

void InstanceEditor::collectThroughControls(CInstanceData& record)
{
    if (record.referralMode < 0 || record.referralMode >= kReferralModeOptions) {
        record.referralMode = 0;
    }
    if (record.interfaceMethod != 0) {
        record.interfaceMethod = 1;
    }
    if (record.useAvsRules && (record.avsRuleIndex < 0 || record.avsRuleIndex >= kAvsRuleOptions)) {
        record.avsRuleIndex = 0;
    }
}

} // namespace tarn::ctl
