#include "config_tool/foundation/Globals.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/LeadingNumber.h"
#include "config_tool/window/TarnConf.h"
#include "config_tool/model/WindowLists.h"
#include "config_tool/window/WindowServices.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace tarn {

namespace {

// The open-file dialog starts with this as its filter and as its file name; getting it back means cancelled.
constexpr const char* kImagePattern = "*.bmp;*.jpg;*.jpeg;*.gif";

// Window sizes are percentages of the screen; anything outside above 79 up to 100 is taken as full size.
constexpr double kSmallestWindowSize = 79.0;
constexpr double kLargestWindowSize = 100.0;

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

    const bool hospitality = Controls::listText(m_ui.cboEnvironment) == WindowLists::kHospitalityText;
    Controls::clearList(m_ui.cmbPinPad);
    for (const auto& model : WindowLists::pinPadModels(hospitality)) {
        Controls::addListEntry(m_ui.cmbPinPad, model);
    }
    // Selecting "No Card Reader" runs the PIN-pad rules.
    m_ui.cmbPinPad->setCurrentIndex(0);

    if (environmentOfRecord0() == WindowLists::kKiosk) {
        m_ui.cbAutoUpgrade->setEnabled(false);
        m_ui.cbAskGratuity->setEnabled(false);
        Controls::setChecked(m_ui.cbAskGratuity, false);
        disableReferralMode();
    } else if (m_ui.cbCheckUpgrade->checkState() == Qt::Checked) {
        m_ui.cbAskGratuity->setEnabled(true);
        m_ui.cbAutoUpgrade->setEnabled(true);
        enableReferralMode();
    }

    applyVx670PrinterRule();
}

void TarnConf::cmbPinPad_Click()
{
    const std::string model = Controls::listText(m_ui.cmbPinPad);
    Controls::setChecked(m_ui.cbCombiReader, WindowLists::isCombinedReaderModel(model));
    applyPinPadPortRule(model);
    applyVx670PrinterRule();
}

void TarnConf::applyPinPadPortRule(const std::string& model)
{
    const bool vx670 = model == WindowLists::kVx670;
    const bool sagem = model == WindowLists::kSagem;
    m_ui.lblPinPadPort->setVisible(vx670);
    m_ui.txtPinPadPort->setVisible(vx670);
    m_ui.lblComPort->setVisible(!vx670);
    m_ui.cmbComPort->setVisible(!vx670);
    m_ui.lblReader->setVisible(sagem);
    m_ui.cmbReader->setVisible(sagem);
}

void TarnConf::applyVx670PrinterRule()
{
    // The Vx670 prints receipts itself, at a POS, when printing is on; its value is kept either way.
    const bool offered = Controls::listText(m_ui.cmbPinPad) == WindowLists::kVx670
        && Controls::listText(m_ui.cboEnvironment) == WindowLists::kPos
        && m_ui.cbEnablePrintReceipt->checkState() == Qt::Checked;
    m_ui.cbVerifoneVxPri->setEnabled(offered);
    m_ui.cbVerifoneVxPri->setVisible(offered);
}

void TarnConf::cbEnablePrintReceipt_Click()
{
    m_ui.cmbPrinters->setEnabled(m_ui.cbEnablePrintReceipt->checkState() == Qt::Checked);
    applyVx670PrinterRule();
}

void TarnConf::cbVerifoneVxPri_Click()
{
    applyVx670PrinterRule();
}

void TarnConf::cbSendReceipt_Click()
{
    if (m_ui.cbSendReceipt->checkState() == Qt::Checked) {
        enableReceiptPort();
    } else {
        disableReceiptPort();
    }
}

void TarnConf::cbUseAvsRules_Click()
{
    if (m_ui.cbUseAvsRules->checkState() == Qt::Checked) {
        enableAvsRules();
    } else {
        disableAvsRules();
    }
}

void TarnConf::optInterfaceMethod_Click(int index)
{
    if (index == 0) {
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
    const bool kiosk = environmentOfRecord0() == WindowLists::kKiosk;
    if (m_ui.cbCheckUpgrade->checkState() == Qt::Checked) {
        m_ui.cbAutoUpgrade->setEnabled(true);
        if (kiosk) {
            Controls::setChecked(m_ui.cbAutoUpgrade, true);
        }
    } else {
        Controls::setChecked(m_ui.cbAutoUpgrade, false);
        m_ui.cbAutoUpgrade->setEnabled(false);
    }
    // A kiosk follows Check Upgrades alone.
    if (kiosk) {
        m_ui.cbAutoUpgrade->setEnabled(false);
    }
}

void TarnConf::cboWindowsSize_LostFocus()
{
    const double size = leadingNumber(Controls::listText(m_ui.cboWindowsSize));
    if (size <= kSmallestWindowSize || size > kLargestWindowSize) {
        Controls::setListText(m_ui.cboWindowsSize, "100");
    }
}

void TarnConf::btSetColor_Click()
{
    if (const auto chosen = m_services->chooseColor(m_backColor)) {
        setBackColor(*chosen);
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
    }
}

} // namespace tarn
