#pragma once

#include "config_tool/model/ConfigurationLayout.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace tarn {

// The controls of the main window, named as the window's code and its tests know them; each widget's
// object name is its field name here (option buttons as optReferralMode_0, optReferralMode_1, ...).
// Labels without behaviour are created and named but not kept.
struct TarnConfControls
{
    // Top of the window.
    QLabel* Picture1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QComboBox* cboInstance = nullptr;
    QPushButton* btAddNew = nullptr;
    QPushButton* cmdAdminPass = nullptr;
    QGroupBox* Frame2 = nullptr;
    QTabWidget* SSTab1 = nullptr;

    // "Common".
    QGroupBox* Frame1 = nullptr;
    QComboBox* cboEnvironment = nullptr;
    QLineEdit* txtPropertyDir = nullptr;
    QLineEdit* txtClasspath = nullptr;
    QWidget* Frame6 = nullptr;
    std::array<QRadioButton*, 2> optConfType {};
    QButtonGroup* optConfTypeGroup = nullptr;
    QCheckBox* cbTransactionResultMandatory = nullptr;

    QPushButton* btOk = nullptr;
    QPushButton* btApply = nullptr;
    QPushButton* btCancel = nullptr;

    // "General".
    QLineEdit* txtTimeout = nullptr;
    QLineEdit* txtCheckcardTimeout = nullptr;
    QComboBox* cmbPinPad = nullptr;
    QLabel* lblComPort = nullptr;
    QComboBox* cmbComPort = nullptr;
    QLabel* lblReader = nullptr;
    QComboBox* cmbReader = nullptr;
    QLabel* lblPinPadPort = nullptr;
    QLineEdit* txtPinPadPort = nullptr;
    QCheckBox* cbAskGratuity = nullptr;
    QCheckBox* cbEnablePinBypass = nullptr;
    QCheckBox* cbCombiReader = nullptr;
    QCheckBox* cbDebug = nullptr;
    QCheckBox* cbExtendedDebug = nullptr;
    QCheckBox* cbDisableCancel = nullptr;
    QCheckBox* cbCardNoHashValue = nullptr;
    QCheckBox* cbUsaCreditDebit = nullptr;
    QGroupBox* Frame7 = nullptr;
    std::array<QRadioButton*, Layout::kReferralModeOptions> optReferralMode {};
    QButtonGroup* optReferralModeGroup = nullptr;

    // "Interfacing".
    QLineEdit* txtPort = nullptr;
    QLineEdit* txtInputDir = nullptr;
    QLineEdit* txtOutputDir = nullptr;
    QWidget* Frame5 = nullptr;
    std::array<QRadioButton*, Layout::kInterfaceMethodOptions> optInterfaceMethod {};
    QButtonGroup* optInterfaceMethodGroup = nullptr;

    // "Receipt".
    QLineEdit* txtReceiptDir = nullptr;
    QLineEdit* txtReceiptWidth = nullptr;
    QLineEdit* txtReceiptPort = nullptr;
    QComboBox* cmbPrinters = nullptr;
    QCheckBox* cbSendReceipt = nullptr;
    QCheckBox* cbEnablePrintReceipt = nullptr;
    QCheckBox* cbVerifoneVxPri = nullptr;

    // "Look n Feel".
    QLineEdit* txtBackColor = nullptr;
    QPushButton* btSetColor = nullptr;
    QComboBox* cboFont = nullptr;
    QLineEdit* txtTop = nullptr;
    QLineEdit* txtLeft = nullptr;
    QLineEdit* txtWatermark = nullptr;
    QPushButton* btWaterMarkBrowse = nullptr;
    QLineEdit* txtLogoFile = nullptr;
    QPushButton* btBrowseLogoFile = nullptr;
    QComboBox* cboWindowsSize = nullptr;
    QCheckBox* cbFullScreen = nullptr;
    QCheckBox* cbAlwaysOnTop = nullptr;
    QCheckBox* cbExtendedEnterPinMessage = nullptr;

    // "AVS Rules".
    QCheckBox* cbUseAvsRules = nullptr;
    QCheckBox* cbAvsDetailsMandatory = nullptr;
    QWidget* Frame4 = nullptr;
    std::array<QRadioButton*, Layout::kAvsRuleOptions> optAvsRule {};
    QButtonGroup* optAvsRuleGroup = nullptr;

    // "Hospitality".
    QLineEdit* txtHBLHost = nullptr;
    QLineEdit* txtHBLPort = nullptr;
    QLineEdit* txtDeleteTransAfterMin = nullptr;
    QCheckBox* cbShowConfirmationScreen = nullptr;
    QCheckBox* cbAllowSplit = nullptr;

    // "Software Upgrade".
    QPushButton* btRunUpgrade = nullptr;
    QCheckBox* cbAutoUpgrade = nullptr;
    QCheckBox* cbCheckUpgrade = nullptr;
    QLabel* lblVersion = nullptr;
};

// Creates every control of the main window inside window, laid out in its frames and tabs.
void buildTarnConfLayout(QWidget* window, TarnConfControls& ui);

} // namespace tarn
