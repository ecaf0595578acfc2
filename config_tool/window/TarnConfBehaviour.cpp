#include "config_tool/foundation/Globals.h"
#include "config_tool/model/Choices.h"
#include "config_tool/model/FieldRules.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/TarnConf.h"
#include "config_tool/window/WindowServices.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace tarn {

namespace {

// The open-file dialog starts with this as its filter and as its file name; getting it back means cancelled.
constexpr const char* kImagePattern = "*.bmp;*.jpg;*.jpeg;*.gif";

CheckState checkStateOf(const QCheckBox* box)
{
    return static_cast<CheckState>(Controls::checkValue(box));
}

} // namespace

void TarnConf::enableSocketPort()
{
    Controls::setTextBoxEnabled(m_ui.txtPort, true);
}

void TarnConf::disableSocketPort()
{
    Controls::setTextBoxEnabled(m_ui.txtPort, false);
}

void TarnConf::enableFileDirs()
{
    Controls::setTextBoxEnabled(m_ui.txtInputDir, true);
    Controls::setTextBoxEnabled(m_ui.txtOutputDir, true);
}

void TarnConf::disableFileDirs()
{
    Controls::setTextBoxEnabled(m_ui.txtInputDir, false);
    Controls::setTextBoxEnabled(m_ui.txtOutputDir, false);
}

void TarnConf::enableReceiptPort()
{
    Controls::setTextBoxEnabled(m_ui.txtReceiptPort, true);
}

void TarnConf::disableReceiptPort()
{
    Controls::setTextBoxEnabled(m_ui.txtReceiptPort, false);
}

void TarnConf::enableAvsRules()
{
    Controls::setOptionsEnabled(m_ui.optAvsRuleGroup, true);
}

void TarnConf::disableAvsRules()
{
    Controls::setOptionsEnabled(m_ui.optAvsRuleGroup, false);
}

void TarnConf::enableReferralMode()
{
    Controls::setOptionsEnabled(m_ui.optReferralModeGroup, true);
}

void TarnConf::disableReferralMode()
{
    Controls::setOptionsEnabled(m_ui.optReferralModeGroup, false);
}

void TarnConf::cboEnvironment_Click()
{
    setEnvironmentFromList();
    const std::int16_t environment = environmentOfRecord0();

    Controls::clearList(m_ui.cmbPinPad);
    for (const auto& model : FieldRules::offeredPinPadModels(environment)) {
        Controls::addListEntry(m_ui.cmbPinPad, model);
    }
    // Selecting "No Card Reader" runs the PIN-pad rules.
    m_ui.cmbPinPad->setCurrentIndex(0);

    bool askGratuity = Controls::isChecked(m_ui.cbAskGratuity);
    FieldRules::environmentChosen(m_upgradeControls, environment, checkStateOf(m_ui.cbCheckUpgrade), askGratuity);
    if (!askGratuity) {
        Controls::setChecked(m_ui.cbAskGratuity, false);
    }
    showUpgradeControls();
    applyVx670PrinterRule();
}

void TarnConf::cmbPinPad_Click()
{
    const std::string model = Controls::listText(m_ui.cmbPinPad);
    Controls::setChecked(m_ui.cbCombiReader, FieldRules::isCombinedReader(model));
    applyPinPadPortRule(model);
    applyVx670PrinterRule();
}

void TarnConf::applyPinPadPortRule(const std::string& model)
{
    const FieldRules::PortControls ports = FieldRules::portControls(model);
    m_ui.lblPinPadPort->setVisible(ports.pinPadPort);
    m_ui.txtPinPadPort->setVisible(ports.pinPadPort);
    m_ui.lblComPort->setVisible(ports.comPort);
    m_ui.cmbComPort->setVisible(ports.comPort);
    m_ui.lblReader->setVisible(ports.readerPort);
    m_ui.cmbReader->setVisible(ports.readerPort);
}

CInstanceData TarnConf::shownRecordControls() const
{
    // The values the controls of the shown instance depend on, as the controls hold them now.
    CInstanceData shown;
    shown.interfaceMethod = m_ui.optInterfaceMethod[0]->isChecked() ? 0 : 1;
    shown.sendReceipt = m_ui.cbSendReceipt->checkState() == Qt::Checked;
    shown.useAvsRules = m_ui.cbUseAvsRules->checkState() == Qt::Checked;
    shown.printReceiptFlag = m_ui.cbEnablePrintReceipt->checkState() == Qt::Checked;
    shown.pinpad = Controls::listText(m_ui.cmbPinPad);
    return shown;
}

std::int16_t TarnConf::environmentShown() const
{
    return Choices::environmentCode(Controls::listText(m_ui.cboEnvironment)).value_or(0);
}

FieldRules::RecordControls TarnConf::recordControlsShown() const
{
    return FieldRules::recordControls(shownRecordControls(), environmentShown());
}

void TarnConf::applyVx670PrinterRule()
{
    // Its value is kept either way.
    const bool offered = recordControlsShown().vx670Printer;
    m_ui.cbVerifoneVxPri->setEnabled(offered);
    m_ui.cbVerifoneVxPri->setVisible(offered);
}

void TarnConf::showUpgradeControls()
{
    m_ui.cbAutoUpgrade->setEnabled(m_upgradeControls.autoUpgradeEnabled);
    m_ui.cbAskGratuity->setEnabled(m_upgradeControls.askGratuityEnabled);
    if (m_upgradeControls.referralModeEnabled) {
        enableReferralMode();
    } else {
        disableReferralMode();
    }
}

void TarnConf::cbEnablePrintReceipt_Click()
{
    m_ui.cmbPrinters->setEnabled(recordControlsShown().printers);
    applyVx670PrinterRule();
}

void TarnConf::cbVerifoneVxPri_Click()
{
    applyVx670PrinterRule();
}

void TarnConf::cbSendReceipt_Click()
{
    if (recordControlsShown().receiptPort) {
        enableReceiptPort();
    } else {
        disableReceiptPort();
    }
}

void TarnConf::cbUseAvsRules_Click()
{
    if (recordControlsShown().avsRules) {
        enableAvsRules();
    } else {
        disableAvsRules();
    }
}

void TarnConf::optInterfaceMethod_Click(int)
{
    showInterfaceControls(recordControlsShown());
}

void TarnConf::showInterfaceControls(const FieldRules::RecordControls& controls)
{
    if (controls.socketPort) {
        enableSocketPort();
        disableFileDirs();
    } else {
        enableFileDirs();
        disableSocketPort();
    }
}

void TarnConf::optConfType_Click(int index)
{
    // Takes effect at once: the next save writes the mode file and the stores of this mode.
    Globals::state().configurationMode = index == 0 ? kRegistryMode : kXmlMode;
}

void TarnConf::cbCheckUpgrade_Click()
{
    CheckState autoUpgrade = checkStateOf(m_ui.cbAutoUpgrade);
    const CheckState before = autoUpgrade;
    FieldRules::checkUpgradeChosen(m_upgradeControls, environmentOfRecord0(), checkStateOf(m_ui.cbCheckUpgrade),
                                   autoUpgrade);
    if (autoUpgrade != before) {
        Controls::setChecked(m_ui.cbAutoUpgrade, isTicked(autoUpgrade));
    }
    showUpgradeControls();
}

void TarnConf::leaveField(QWidget* control)
{
    auto* list = qobject_cast<QComboBox*>(control);
    auto* box = qobject_cast<QLineEdit*>(control);
    if (!list && !box) {
        return;
    }
    for (const auto& rule : FieldRules::leaveRules()) {
        if (control->objectName().toStdString() != rule.control) {
            continue;
        }
        const std::string typed = list ? Controls::listText(list) : Controls::text(box);
        const std::string corrected = rule.correct(typed);
        if (corrected == typed) {
            continue;
        }
        if (list) {
            Controls::setListText(list, corrected);
        } else {
            Controls::setText(box, corrected);
        }
    }
}

void TarnConf::applyLeaveRules()
{
    for (const auto& rule : FieldRules::leaveRules()) {
        leaveField(findChild<QWidget*>(QString::fromStdString(std::string(rule.control))));
    }
}

void TarnConf::btSetColor_Click()
{
    if (const auto chosen = m_services->chooseColor(m_backColor)) {
        setBackColor(*chosen);
        markEdited(false);
    }
}

void TarnConf::btBrowseLogoFile_Click()
{
    chooseImageInto(m_ui.txtLogoFile);
}

void TarnConf::btWaterMarkBrowse_Click()
{
    chooseImageInto(m_ui.txtWatermark);
}

void TarnConf::chooseImageInto(QLineEdit* target)
{
    const std::string chosen = m_services->chooseOpenFile(kImagePattern);
    if (!chosen.empty() && chosen != kImagePattern) {
        Controls::setText(target, chosen);
        markEdited(false);
    }
}

} // namespace tarn
