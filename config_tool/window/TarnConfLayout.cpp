#include "config_tool/window/TarnConfControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tarn {

namespace {

// Numeric fields are short; paths and names take the rest of the row.
constexpr int kShortFieldWidth = 110;

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(const char* name, const char* caption)
{
    auto* result = named(new QLabel(QString::fromLatin1(caption)), name);
    // Captions are plain text; a "&" or "<" in one must show as it is.
    result->setTextFormat(Qt::PlainText);
    return result;
}

QLineEdit* textBox(const char* name, bool isShort = false)
{
    auto* box = named(new QLineEdit, name);
    if (isShort) {
        box->setMaximumWidth(kShortFieldWidth);
    }
    return box;
}

QCheckBox* checkBox(const char* name, const char* caption)
{
    return named(new QCheckBox(QString::fromLatin1(caption)), name);
}

QPushButton* button(const char* name, const char* caption)
{
    auto* result = named(new QPushButton(QString::fromLatin1(caption)), name);
    result->setAutoDefault(false);
    return result;
}

// Lists that show stored free text (a printer or font that is not installed, a port that is not present)
// take typed text, so that a value is never replaced by whatever entry happens to be selected.
QComboBox* list(const char* name, bool freeText)
{
    auto* result = named(new QComboBox, name);
    result->setEditable(freeText);
    if (freeText) {
        // Typed text stays exactly as typed ("9" is not completed to "90"); the field's own rule applies.
        result->setCompleter(nullptr);
    }
    result->setInsertPolicy(QComboBox::NoInsert);
    result->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    result->setMinimumContentsLength(14);
    return result;
}

// An option-button control array: buttons named name_0, name_1, ... with their index as their id.
template <std::size_t N>
QButtonGroup* optionGroup(QWidget* owner, const char* name, std::array<QRadioButton*, N>& options,
                          const std::array<const char*, N>& captions)
{
    auto* group = new QButtonGroup(owner);
    group->setObjectName(QString::fromLatin1(name));
    for (std::size_t i = 0; i < N; ++i) {
        options[i] = new QRadioButton(QString::fromLatin1(captions[i]));
        options[i]->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i));
        group->addButton(options[i], static_cast<int>(i));
    }
    return group;
}

QWidget* tabPage(const char* name)
{
    auto* page = named(new QWidget, name);
    return page;
}

// A grid of label/field rows. Fields sit next to their labels at their natural width; wide fields (paths,
// names) take the rest of the row. The field may be followed by a companion (a button, a unit label).
class FieldGrid
{
public:
    explicit FieldGrid(QGridLayout* grid)
        : m_grid(grid)
    {
        m_grid->setColumnStretch(2, 1);
        m_grid->setHorizontalSpacing(10);
        m_grid->setVerticalSpacing(8);
    }

    void add(QLabel* caption, QWidget* field)
    {
        m_grid->addWidget(caption, m_row, 0);
        m_grid->addWidget(field, m_row, 1);
        ++m_row;
    }

    void addWide(QLabel* caption, QWidget* field, QWidget* companion = nullptr)
    {
        m_grid->addWidget(caption, m_row, 0);
        if (companion) {
            auto* row = new QHBoxLayout;
            row->setSpacing(6);
            row->addWidget(field, 1);
            row->addWidget(companion);
            m_grid->addLayout(row, m_row, 1, 1, 2);
        } else {
            m_grid->addWidget(field, m_row, 1, 1, 2);
        }
        ++m_row;
    }

private:
    QGridLayout* m_grid;
    int m_row = 0;
};

// Check boxes two to a row.
QGridLayout* checkGrid(std::initializer_list<QCheckBox*> boxes)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(6);
    int i = 0;
    for (QCheckBox* box : boxes) {
        grid->addWidget(box, i / 2, i % 2);
        ++i;
    }
    grid->setColumnStretch(2, 1);
    return grid;
}

QWidget* buildGeneralTab(QWidget* window, TarnConfControls& ui)
{
    auto* page = tabPage("tabGeneral");
    auto* layout = new QVBoxLayout(page);

    auto* fields = new QGridLayout;
    FieldGrid rows(fields);
    ui.txtTimeout = textBox("txtTimeout", true);
    rows.add(label("Label9", "Card Inactivity Timeout (In Seconds)"), ui.txtTimeout);
    ui.txtCheckcardTimeout = textBox("txtCheckcardTimeout", true);
    rows.add(label("Label10", "Checkcard Timeout (In Seconds)"), ui.txtCheckcardTimeout);
    ui.cmbPinPad = list("cmbPinPad", true);
    rows.add(label("Label26", "PinPad"), ui.cmbPinPad);
    ui.lblComPort = label("lblComPort", "COM Port");
    ui.cmbComPort = list("cmbComPort", true);
    rows.add(ui.lblComPort, ui.cmbComPort);
    ui.lblReader = label("lblReader", "COM Port (Card Reader)");
    ui.cmbReader = list("cmbReader", true);
    rows.add(ui.lblReader, ui.cmbReader);
    ui.lblPinPadPort = label("lblPinPadPort", "PinPad Port");
    ui.txtPinPadPort = textBox("txtPinPadPort", true);
    rows.add(ui.lblPinPadPort, ui.txtPinPadPort);
    layout->addLayout(fields);

    ui.cbAskGratuity = checkBox("cbAskGratuity", "Ask Gratuity");
    ui.cbEnablePinBypass = checkBox("cbEnablePinBypass", "Enable Pin Bypass");
    ui.cbCombiReader = checkBox("cbCombiReader", "Combined  Reader");
    ui.cbDebug = checkBox("cbDebug", "Debug Mode");
    ui.cbExtendedDebug = checkBox("cbExtendedDebug", "Extended Debug");
    ui.cbDisableCancel = checkBox("cbDisableCancel", "Disable Cancel");
    ui.cbCardNoHashValue = checkBox("cbCardNoHashValue", "Mask Card Number");
    ui.cbUsaCreditDebit = checkBox("cbUsaCreditDebit", "USACreditDebit");
    layout->addSpacing(4);
    layout->addLayout(checkGrid({ ui.cbAskGratuity, ui.cbEnablePinBypass, ui.cbCombiReader, ui.cbDebug,
                                  ui.cbExtendedDebug, ui.cbDisableCancel, ui.cbCardNoHashValue, ui.cbUsaCreditDebit }));

    ui.Frame7 = named(new QGroupBox, "Frame7");
    auto* referral = new QGridLayout(ui.Frame7);
    ui.optReferralModeGroup = optionGroup<Layout::kReferralModeOptions>(
        window, "optReferralMode", ui.optReferralMode,
        { "Allow blank Auth Code", "Warning on no Auth Code", "Disallow on no Auth Code" });
    referral->addWidget(label("Label27", "Referral Mode"), 0, 0, Qt::AlignTop);
    for (int i = 0; i < Layout::kReferralModeOptions; ++i) {
        referral->addWidget(ui.optReferralMode[static_cast<std::size_t>(i)], i, 1);
    }
    referral->setColumnStretch(2, 1);
    referral->setHorizontalSpacing(16);
    layout->addWidget(ui.Frame7);
    layout->addStretch(1);
    return page;
}

QWidget* buildInterfacingTab(QWidget* window, TarnConfControls& ui)
{
    auto* page = tabPage("tabInterfacing");
    auto* layout = new QVBoxLayout(page);

    ui.Frame5 = named(new QWidget, "Frame5");
    auto* methods = new QHBoxLayout(ui.Frame5);
    methods->setContentsMargins(0, 0, 0, 0);
    methods->setSpacing(24);
    ui.optInterfaceMethodGroup = optionGroup<Layout::kInterfaceMethodOptions>(
        window, "optInterfaceMethod", ui.optInterfaceMethod, { "Socket", "File" });
    methods->addWidget(ui.optInterfaceMethod[0]);
    methods->addWidget(ui.optInterfaceMethod[1]);
    methods->addStretch(1);
    layout->addWidget(ui.Frame5);
    layout->addSpacing(4);

    auto* fields = new QGridLayout;
    FieldGrid rows(fields);
    ui.txtPort = textBox("txtPort", true);
    rows.add(label("Label11", "Port"), ui.txtPort);
    ui.txtInputDir = textBox("txtInputDir");
    rows.addWide(label("Label12", "Input Dir"), ui.txtInputDir);
    ui.txtOutputDir = textBox("txtOutputDir");
    rows.addWide(label("Label13", "Output Dir"), ui.txtOutputDir);
    layout->addLayout(fields);
    layout->addStretch(1);
    return page;
}

QWidget* buildReceiptTab(TarnConfControls& ui)
{
    auto* page = tabPage("tabReceipt");
    auto* layout = new QVBoxLayout(page);

    auto* fields = new QGridLayout;
    FieldGrid rows(fields);
    ui.txtReceiptDir = textBox("txtReceiptDir");
    rows.addWide(label("Label14", "Receipt Dir"), ui.txtReceiptDir);
    ui.txtReceiptWidth = textBox("txtReceiptWidth", true);
    rows.add(label("Label15", "Receipt Width (No. of chars)"), ui.txtReceiptWidth);
    ui.txtReceiptPort = textBox("txtReceiptPort", true);
    rows.add(label("Label16", "Receipt Port"), ui.txtReceiptPort);
    ui.cmbPrinters = list("cmbPrinters", true);
    rows.addWide(label("Label23", "Printer"), ui.cmbPrinters);
    layout->addLayout(fields);

    ui.cbSendReceipt = checkBox("cbSendReceipt", "Send Receipt to Socket");
    ui.cbEnablePrintReceipt = checkBox("cbEnablePrintReceipt", "Print Receipt");
    ui.cbVerifoneVxPri = checkBox("cbVerifoneVxPri", "Vx670Printer");
    layout->addSpacing(4);
    layout->addLayout(checkGrid({ ui.cbSendReceipt, ui.cbEnablePrintReceipt, ui.cbVerifoneVxPri }));
    layout->addStretch(1);
    return page;
}

QWidget* buildLookTab(TarnConfControls& ui)
{
    auto* page = tabPage("tabLookNFeel");
    auto* layout = new QVBoxLayout(page);

    auto* fields = new QGridLayout;
    FieldGrid rows(fields);
    ui.txtBackColor = textBox("txtBackColor", true);
    // The box shows the colour itself; there is nothing to type.
    ui.txtBackColor->setReadOnly(true);
    ui.txtBackColor->setFocusPolicy(Qt::NoFocus);
    ui.btSetColor = button("btSetColor", "Change");
    auto* colour = new QWidget;
    auto* colourRow = new QHBoxLayout(colour);
    colourRow->setContentsMargins(0, 0, 0, 0);
    colourRow->addWidget(ui.txtBackColor);
    colourRow->addWidget(ui.btSetColor);
    colourRow->addStretch(1);
    rows.add(label("Label17", "Background Color"), colour);
    ui.cboFont = list("cboFont", true);
    rows.addWide(label("Label18", "Font"), ui.cboFont);
    ui.txtTop = textBox("txtTop", true);
    rows.add(label("Label19", "Top"), ui.txtTop);
    ui.txtLeft = textBox("txtLeft", true);
    rows.add(label("Label20", "Left"), ui.txtLeft);
    ui.txtWatermark = textBox("txtWatermark");
    ui.btWaterMarkBrowse = button("btWaterMarkBrowse", "Browse...");
    rows.addWide(label("Label21", "Watermark Image"), ui.txtWatermark, ui.btWaterMarkBrowse);
    ui.txtLogoFile = textBox("txtLogoFile");
    ui.btBrowseLogoFile = button("btBrowseLogoFile", "Browse...");
    rows.addWide(label("Label22", "Logo File"), ui.txtLogoFile, ui.btBrowseLogoFile);
    ui.cboWindowsSize = list("cboWindowsSize", true);
    ui.cboWindowsSize->setMinimumContentsLength(5);
    ui.cboWindowsSize->setMaximumWidth(kShortFieldWidth);
    auto* size = new QWidget;
    auto* sizeRow = new QHBoxLayout(size);
    sizeRow->setContentsMargins(0, 0, 0, 0);
    sizeRow->addWidget(ui.cboWindowsSize);
    sizeRow->addWidget(label("Label29", "%"));
    sizeRow->addStretch(1);
    rows.add(label("Label28", "Windows Size"), size);
    layout->addLayout(fields);

    ui.cbFullScreen = checkBox("cbFullScreen", "Full Screen");
    ui.cbAlwaysOnTop = checkBox("cbAlwaysOnTop", "Always on Top");
    ui.cbExtendedEnterPinMessage = checkBox("cbExtendedEnterPinMessage", "Extended Pin Message");
    layout->addSpacing(4);
    layout->addLayout(checkGrid({ ui.cbFullScreen, ui.cbAlwaysOnTop, ui.cbExtendedEnterPinMessage }));
    layout->addStretch(1);
    return page;
}

QWidget* buildAvsTab(QWidget* window, TarnConfControls& ui)
{
    auto* page = tabPage("tabAvsRules");
    auto* layout = new QVBoxLayout(page);
    ui.cbUseAvsRules = checkBox("cbUseAvsRules", "Apply AVS confirmation rules");
    ui.cbAvsDetailsMandatory = checkBox("cbAvsDetailsMandatory", "AVS Details Mandatory ");
    layout->addWidget(ui.cbUseAvsRules);
    layout->addWidget(ui.cbAvsDetailsMandatory);

    ui.Frame4 = named(new QWidget, "Frame4");
    auto* rules = new QVBoxLayout(ui.Frame4);
    rules->setContentsMargins(22, 6, 0, 0);
    rules->setSpacing(6);
    ui.optAvsRuleGroup = optionGroup<Layout::kAvsRuleOptions>(
        window, "optAvsRule", ui.optAvsRule,
        { "Accept only on all match", "Accept on cvv and zip code match", "Accept on cvv and address match",
          "Accept on cvv and any of address or zip code match", "Accept on cvv match", "Accept any response" });
    for (QRadioButton* option : ui.optAvsRule) {
        rules->addWidget(option);
    }
    layout->addWidget(ui.Frame4);
    layout->addStretch(1);
    return page;
}

QWidget* buildHospitalityTab(TarnConfControls& ui)
{
    auto* page = tabPage("tabHospitality");
    auto* layout = new QVBoxLayout(page);
    auto* fields = new QGridLayout;
    FieldGrid rows(fields);
    ui.txtHBLHost = textBox("txtHBLHost");
    rows.addWide(label("Label3", "HBL Host"), ui.txtHBLHost);
    ui.txtHBLPort = textBox("txtHBLPort", true);
    rows.add(label("Label4", "HBL Port"), ui.txtHBLPort);
    ui.txtDeleteTransAfterMin = textBox("txtDeleteTransAfterMin", true);
    auto* after = new QWidget;
    auto* afterRow = new QHBoxLayout(after);
    afterRow->setContentsMargins(0, 0, 0, 0);
    afterRow->addWidget(ui.txtDeleteTransAfterMin);
    afterRow->addWidget(label("Label6", "min."));
    afterRow->addStretch(1);
    rows.add(label("Label5", "Delete transacton from list after"), after);
    layout->addLayout(fields);

    ui.cbShowConfirmationScreen = checkBox("cbShowConfirmationScreen", "Show Confirm Transaction Screen");
    ui.cbAllowSplit = checkBox("cbAllowSplit", "Allow Split Transaction");
    layout->addSpacing(4);
    layout->addWidget(ui.cbShowConfirmationScreen);
    layout->addWidget(ui.cbAllowSplit);
    layout->addStretch(1);
    return page;
}

QWidget* buildUpgradeTab(TarnConfControls& ui)
{
    auto* page = tabPage("tabSoftwareUpgrade");
    auto* layout = new QVBoxLayout(page);
    ui.btRunUpgrade = button("btRunUpgrade", "&Run Upgrade Now");
    auto* run = new QHBoxLayout;
    run->addWidget(ui.btRunUpgrade);
    run->addStretch(1);
    layout->addLayout(run);
    layout->addSpacing(8);
    ui.cbAutoUpgrade = checkBox("cbAutoUpgrade", "Auto Upgrade");
    ui.cbCheckUpgrade = checkBox("cbCheckUpgrade", "Check Upgrades at startup");
    layout->addWidget(ui.cbAutoUpgrade);
    layout->addWidget(ui.cbCheckUpgrade);
    layout->addSpacing(8);
    ui.lblVersion = label("lblVersion", "");
    layout->addWidget(ui.lblVersion);
    layout->addStretch(1);
    return page;
}

QGroupBox* buildCommonFrame(QWidget* window, TarnConfControls& ui)
{
    // Captions above their fields: the frame stays narrow beside the tabs and paths get the full width.
    ui.Frame1 = named(new QGroupBox(QStringLiteral("Common")), "Frame1");
    auto* layout = new QVBoxLayout(ui.Frame1);
    layout->setSpacing(4);
    const auto addField = [layout](QLabel* caption, QWidget* field) {
        layout->addWidget(caption);
        layout->addWidget(field);
        layout->addSpacing(8);
    };
    ui.cboEnvironment = list("cboEnvironment", false);
    addField(label("Label8", "Environment"), ui.cboEnvironment);
    ui.txtPropertyDir = textBox("txtPropertyDir");
    addField(label("Label2", "Base Directory"), ui.txtPropertyDir);
    ui.txtClasspath = textBox("txtClasspath");
    addField(label("Label1", "Classpath"), ui.txtClasspath);

    ui.Frame6 = named(new QWidget, "Frame6");
    auto* modes = new QHBoxLayout(ui.Frame6);
    modes->setContentsMargins(0, 0, 0, 0);
    modes->setSpacing(18);
    ui.optConfTypeGroup = optionGroup<2>(window, "optConfType", ui.optConfType, { "registry", "xml" });
    modes->addWidget(ui.optConfType[0]);
    modes->addWidget(ui.optConfType[1]);
    modes->addStretch(1);
    addField(label("Label24", "Save configuration in"), ui.Frame6);

    ui.cbTransactionResultMandatory = checkBox("cbTransactionResultMandatory", "Always Send Transaction Result");
    layout->addWidget(ui.cbTransactionResultMandatory);
    layout->addStretch(1);
    return ui.Frame1;
}

} // namespace

void buildTarnConfLayout(QWidget* window, TarnConfControls& ui)
{
    auto* root = new QVBoxLayout(window);
    root->setContentsMargins(12, 12, 12, 12);
    root->setSpacing(10);

    ui.Picture1 = named(new QLabel, "Picture1");
    ui.Picture1->setPixmap(QPixmap(QStringLiteral(":/tarnconf/banner.png")));
    ui.Picture1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ui.Picture1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    root->addWidget(ui.Picture1);

    ui.Frame3 = named(new QGroupBox(QStringLiteral("Instance")), "Frame3");
    auto* instanceRow = new QHBoxLayout(ui.Frame3);
    instanceRow->setSpacing(10);
    ui.cboInstance = list("cboInstance", false);
    ui.cboInstance->setMinimumContentsLength(18);
    ui.btAddNew = button("btAddNew", "Add New");
    ui.cmdAdminPass = button("cmdAdminPass", "Change Password");
    instanceRow->addWidget(label("Label7", "Select Instance"));
    instanceRow->addWidget(ui.cboInstance);
    instanceRow->addWidget(ui.btAddNew);
    instanceRow->addStretch(1);
    instanceRow->addWidget(ui.cmdAdminPass);
    root->addWidget(ui.Frame3);

    ui.Frame2 = named(new QGroupBox(QStringLiteral("Instance Properties")), "Frame2");
    auto* tabFrame = new QVBoxLayout(ui.Frame2);
    ui.SSTab1 = named(new QTabWidget, "SSTab1");
    ui.SSTab1->setUsesScrollButtons(false);
    ui.SSTab1->addTab(buildGeneralTab(window, ui), QStringLiteral("&General"));
    ui.SSTab1->addTab(buildInterfacingTab(window, ui), QStringLiteral("&Interfacing"));
    ui.SSTab1->addTab(buildReceiptTab(ui), QStringLiteral("&Receipt"));
    ui.SSTab1->addTab(buildLookTab(ui), QStringLiteral("&Look n Feel"));
    ui.SSTab1->addTab(buildAvsTab(window, ui), QStringLiteral("A&VS Rules"));
    ui.SSTab1->addTab(buildHospitalityTab(ui), QStringLiteral("&Hospitality"));
    ui.SSTab1->addTab(buildUpgradeTab(ui), QStringLiteral("Software &Upgrade"));
    tabFrame->addWidget(ui.SSTab1);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(10);
    middle->addWidget(ui.Frame2, 3);
    middle->addWidget(buildCommonFrame(window, ui), 2);
    root->addLayout(middle, 1);

    ui.btOk = button("btOk", "&OK");
    ui.btApply = button("btApply", "&Apply");
    ui.btCancel = button("btCancel", "&Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ui.btOk);
    buttons->addWidget(ui.btApply);
    buttons->addWidget(ui.btCancel);
    root->addLayout(buttons);
}

} // namespace tarn
