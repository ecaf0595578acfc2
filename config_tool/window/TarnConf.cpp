#include "config_tool/window/TarnConf.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/ConfigurationLayout.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/DigitsOnlyKeyFilter.h"
#include "config_tool/window/ListClickNotifier.h"
#include "config_tool/window/QtWindowServices.h"
#include "config_tool/window/WindowColor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>

// The banner lives in tarn_gui's resources; a static library's resources must be registered by hand.
static void registerWindowResources()
{
    Q_INIT_RESOURCE(tarnconf);
}

namespace tarn {

TarnConf::TarnConf(WindowServices* services, QWidget* parent)
    : QWidget(parent)
    , m_services(services)
{
    registerWindowResources();
    setObjectName(QStringLiteral("TarnConf"));
    setWindowTitle(QString::fromLatin1(kTitle));
    if (!m_services) {
        m_services = new QtWindowServices(this);
    }
    buildTarnConfLayout(this, m_ui);
    setBackColor(m_backColor);
    connectHandlers();
    watchNumericKeys();
    watchEdits();
    // Fits a 1024 x 768 screen with its frame; the banner spans the width inside the margins.
    resize(QSize(1000, 700).expandedTo(minimumSizeHint()));
}

TarnConf::~TarnConf() = default;

void TarnConf::setVersionCheck(std::function<std::string()> versionCheck)
{
    m_versionCheck = std::move(versionCheck);
}

void TarnConf::connectHandlers()
{
    // Check boxes and option buttons raise their handler whenever their value changes, from the operator or
    // from code; lists only when an entry is picked or code selects one (ListClickNotifier).
    const auto onClick = [this](QComboBox* list, void (TarnConf::*handler)()) {
        connect(new ListClickNotifier(list), &ListClickNotifier::clicked, this, handler);
    };
    onClick(m_ui.cboInstance, &TarnConf::cboInstance_Click);
    onClick(m_ui.cboEnvironment, &TarnConf::cboEnvironment_Click);
    onClick(m_ui.cmbPinPad, &TarnConf::cmbPinPad_Click);

    const auto onChange = [this](QCheckBox* box, void (TarnConf::*handler)()) {
        connect(box, &QCheckBox::stateChanged, this, handler);
    };
    onChange(m_ui.cbEnablePrintReceipt, &TarnConf::cbEnablePrintReceipt_Click);
    onChange(m_ui.cbVerifoneVxPri, &TarnConf::cbVerifoneVxPri_Click);
    onChange(m_ui.cbSendReceipt, &TarnConf::cbSendReceipt_Click);
    onChange(m_ui.cbUseAvsRules, &TarnConf::cbUseAvsRules_Click);
    onChange(m_ui.cbCheckUpgrade, &TarnConf::cbCheckUpgrade_Click);

    const auto onSelect = [this](QButtonGroup* group, void (TarnConf::*handler)(int)) {
        connect(group, &QButtonGroup::idToggled, this, [this, handler](int index, bool checked) {
            if (checked) {
                (this->*handler)(index);
            }
        });
    };
    onSelect(m_ui.optInterfaceMethodGroup, &TarnConf::optInterfaceMethod_Click);
    onSelect(m_ui.optConfTypeGroup, &TarnConf::optConfType_Click);

    for (const auto& rule : FieldRules::leaveRules()) {
        findChild<QWidget*>(QString::fromStdString(std::string(rule.control)))->installEventFilter(this);
    }

    connect(m_ui.btSetColor, &QPushButton::clicked, this, &TarnConf::btSetColor_Click);
    connect(m_ui.btBrowseLogoFile, &QPushButton::clicked, this, &TarnConf::btBrowseLogoFile_Click);
    connect(m_ui.btWaterMarkBrowse, &QPushButton::clicked, this, &TarnConf::btWaterMarkBrowse_Click);
    connect(m_ui.btOk, &QPushButton::clicked, this, &TarnConf::btOk_Click);
    connect(m_ui.btApply, &QPushButton::clicked, this, &TarnConf::btApply_Click);
    connect(m_ui.btCancel, &QPushButton::clicked, this, &TarnConf::btCancel_Click);
    connect(m_ui.cmdAdminPass, &QPushButton::clicked, this, &TarnConf::changePasswordRequested);
    connect(m_ui.btAddNew, &QPushButton::clicked, this, &TarnConf::btAddNew_Click);
    connect(m_ui.btRunUpgrade, &QPushButton::clicked, this, &TarnConf::btRunUpgrade_Click);
}

void TarnConf::watchNumericKeys()
{
    m_numericKeys = new DigitsOnlyKeyFilter(this);
    for (const auto& setting : instanceSettings()) {
        if (setting.kind == SettingKind::Digits) {
            m_numericKeys->watch(findChild<QLineEdit*>(QString::fromLatin1(setting.control)));
        }
    }
    connect(m_numericKeys, &DigitsOnlyKeyFilter::keyRefused, this, [] { Globals::ui().beep(); });
    connect(m_numericKeys, &DigitsOnlyKeyFilter::enterPressed, this, [this] { focusNextChild(); });
}

void TarnConf::showEvent(QShowEvent* event)
{
    if (!m_loaded) {
        Form_Load();
    }
    QWidget::showEvent(event);
}

void TarnConf::closeEvent(QCloseEvent* event)
{
    // The title-bar close ends the program as Cancel does: nothing is collected or saved, edits that would
    // be lost are asked about first, and the windows beside this one (Change Password) close with it.
    if (m_ending) {
        event->accept();
    } else if (mayDiscardEdits()) {
        event->accept();
        requestProgramEnd();
    } else {
        event->ignore();
    }
}

void TarnConf::changeEvent(QEvent* event)
{
    // A system colour follows the desktop's palette.
    if (event->type() == QEvent::PaletteChange && WindowColor::isSystemColor(m_backColor)) {
        setBackColor(m_backColor);
    }
    QWidget::changeEvent(event);
}

bool TarnConf::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && watched->isWidgetType()) {
        // Opening the list or switching to another program does not leave the field.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            leaveField(static_cast<QWidget*>(watched));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TarnConf::setBackColor(std::int32_t value)
{
    m_backColor = value;
    QPalette shown = m_ui.txtBackColor->palette();
    const QColor colour = WindowColor::toQColor(value, palette());
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        shown.setColor(group, QPalette::Base, colour);
    }
    m_ui.txtBackColor->setPalette(shown);
}

} // namespace tarn
