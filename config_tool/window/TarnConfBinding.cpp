#include "config_tool/model/Choices.h"
#include "config_tool/model/FieldRules.h"
#include "config_tool/model/WindowSize.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/TarnConf.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace tarn {

using Controls::isChecked;
using Controls::listText;
using Controls::setChecked;
using Controls::setListText;
using Controls::setText;
using Controls::text;

void TarnConf::showInstanceData(const CInstanceData& record)
{
    // Setting a check box or an option raises its handler, which keeps the dependent controls in step;
    // setting a list's text raises nothing.
    showPlainSettings(record);

    if (const auto environment = Choices::environmentText(environmentOfRecord0())) {
        setListText(m_ui.cboEnvironment, *environment);
    }

    setChecked(m_ui.cbCombiReader, record.combiReader);
    Controls::selectOption(m_ui.optReferralModeGroup, record.referralMode);
    FieldRules::instanceShown(m_upgradeControls, environmentOfRecord0());
    showUpgradeControls();

    setChecked(m_ui.cbAskGratuity, record.askGratuity);

    const FieldRules::RecordControls controls = FieldRules::recordControls(record, environmentOfRecord0());
    setChecked(m_ui.cbUseAvsRules, record.useAvsRules);
    if (controls.avsRules) {
        enableAvsRules();
    } else {
        disableAvsRules();
    }
    setChecked(m_ui.cbAvsDetailsMandatory, record.avsDetailsMandatory);

    applyVx670PrinterRule();

    Controls::selectOption(m_ui.optInterfaceMethodGroup, record.interfaceMethod);
    setText(m_ui.txtPort, record.port);
    setText(m_ui.txtInputDir, record.inputDir);
    setText(m_ui.txtOutputDir, record.outputDir);
    showInterfaceControls(controls);

    setText(m_ui.txtReceiptPort, record.receiptPort);

    setChecked(m_ui.cbSendReceipt, record.sendReceipt);
    if (controls.receiptPort) {
        enableReceiptPort();
    } else {
        disableReceiptPort();
    }

    setListText(m_ui.cboWindowsSize, std::to_string(record.WindowsSize));
    setBackColor(record.backgroundColor);
    setListText(m_ui.cboFont, record.fontName);
    setText(m_ui.txtLogoFile, record.logoFile);
    setText(m_ui.txtWatermark, record.watermarkImage);

    Controls::selectOption(m_ui.optAvsRuleGroup, record.avsRuleIndex);

    setChecked(m_ui.cbEnablePrintReceipt, record.printReceiptFlag);
    m_ui.cmbPrinters->setEnabled(controls.printers);
    setChecked(m_ui.cbVerifoneVxPri, record.printVeriFoneFlag);
    if (m_ui.cmbPrinters->count() > 0) {
        setListText(m_ui.cmbPrinters, record.printer);
    }

    setListText(m_ui.cmbComPort, record.comport);
    setListText(m_ui.cmbPinPad, record.pinpad);

    applyPinPadPortRule(record.pinpad);
    if (controls.ports.readerPort) {
        setListText(m_ui.cmbReader, record.comportReader);
    }
    setText(m_ui.txtPinPadPort, record.PinPadPort);

    // The printer rule ran above while the PIN pad and the print box still showed the previous instance;
    // once more on this record's own values, so that the Vx670 printer box never shows for another pad.
    applyVx670PrinterRule();
}

void TarnConf::setEnvironmentFromList()
{
    if (m_session.instances.empty()) {
        return;
    }
    if (const auto code = Choices::environmentCode(listText(m_ui.cboEnvironment))) {
        m_session.instances.front().environment = *code;
    }
}

void TarnConf::collectInstanceData(CInstanceData& record)
{
    // A save or switch pressed by a shortcut leaves the focus in its field: its leave-rule runs here.
    applyLeaveRules();
    setEnvironmentFromList();
    collectPlainSettings(record);

    record.sendReceipt = isChecked(m_ui.cbSendReceipt);
    record.receiptPort = text(m_ui.txtReceiptPort);
    record.logoFile = text(m_ui.txtLogoFile);
    record.combiReader = isChecked(m_ui.cbCombiReader);

    record.referralMode = getSelectedOptionIndex(m_ui.optReferralModeGroup);

    record.askGratuity = isChecked(m_ui.cbAskGratuity);
    record.interfaceMethod = m_ui.optInterfaceMethod[0]->isChecked() ? 0 : 1;

    record.port = text(m_ui.txtPort);
    record.inputDir = text(m_ui.txtInputDir);
    record.outputDir = text(m_ui.txtOutputDir);
    record.WindowsSize = windowSizeOf(listText(m_ui.cboWindowsSize));
    record.fontName = listText(m_ui.cboFont);
    record.backgroundColor = m_backColor;
    record.watermarkImage = text(m_ui.txtWatermark);
    record.useAvsRules = isChecked(m_ui.cbUseAvsRules);
    record.avsDetailsMandatory = isChecked(m_ui.cbAvsDetailsMandatory);

    // With the rules off their options are greyed out, and the record keeps the rule it had.
    if (record.useAvsRules) {
        record.avsRuleIndex = getSelectedOptionIndex(m_ui.optAvsRuleGroup);
    }

    record.printReceiptFlag = isChecked(m_ui.cbEnablePrintReceipt);
    record.printVeriFoneFlag = isChecked(m_ui.cbVerifoneVxPri);
    record.printer = listText(m_ui.cmbPrinters);
    record.comport = listText(m_ui.cmbComPort);
    record.pinpad = listText(m_ui.cmbPinPad);
    record.comportReader = listText(m_ui.cmbReader);
    record.PinPadPort = text(m_ui.txtPinPadPort);
    FieldRules::collectAsTheControlsShowIt(record);
}

} // namespace tarn
