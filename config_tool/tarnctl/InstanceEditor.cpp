#include "config_tool/tarnctl/InstanceEditor.h"

#include "config_tool/model/PinPadModels.h"

namespace tarn::ctl {

InstanceEditor::InstanceEditor(ConfigSession& session, std::size_t shownIndex)
    : m_session(session)
    , m_shownIndex(shownIndex)
    , m_upgradeControls(FieldRules::upgradeControlsAfterLoad(environment(), session.common.checkUpgrade))
{
}

void InstanceEditor::showInstance(std::size_t index)
{
    FieldRules::collectAsTheControlsShowIt(shown());
    m_shownIndex = index;
    FieldRules::instanceShown(m_upgradeControls, environment());
}

void InstanceEditor::chooseEnvironment(std::int16_t code)
{
    m_session.instances.at(0).environment = code;
    choosePinPad(std::string(PinPads::kNoCardReader));
    FieldRules::environmentChosen(m_upgradeControls, code, m_session.common.checkUpgrade, shown().askGratuity);
}

void InstanceEditor::chooseCheckUpgrade(CheckState state)
{
    m_session.common.checkUpgrade = state;
    FieldRules::checkUpgradeChosen(m_upgradeControls, environment(), state, m_session.common.autoUpgrade);
}

void InstanceEditor::choosePinPad(const std::string& model)
{
    shown().pinpad = model;
    shown().combiReader = FieldRules::isCombinedReader(model);
}

} // namespace tarn::ctl
