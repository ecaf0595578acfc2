#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/Choices.h"
#include "config_tool/model/FieldRules.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/InstallationLock.h"
#include "config_tool/session/SaveGuard.h"
#include "config_tool/window/ComPortIterator.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/TarnConf.h"
#include "config_tool/window/WindowServices.h"
#include "platform/Environment.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <optional>

namespace tarn {

namespace {

void fillList(QComboBox* list, const std::vector<std::string>& entries)
{
    Controls::clearList(list);
    for (const auto& entry : entries) {
        if (!entry.empty()) {
            Controls::addListEntry(list, entry);
        }
    }
}

} // namespace

void TarnConf::Form_Load()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    GlobalState& globals = Globals::state();

    // KELBRIN_HOME as it is: no default here, an unset variable leaves the installation unknown.
    globals.installationFolder = orvant::platform::getEnvironmentVariable("KELBRIN_HOME").value_or("");

    m_currentVersion = m_versionCheck ? m_versionCheck() : std::string();
    if (!m_currentVersion.empty()) {
        m_ui.lblVersion->setText(QStringLiteral("Current Version: ") + QString::fromStdString(m_currentVersion));
    }

    centreOnScreen();

    // A save by another program that is under way ends before the files are read: the window never loads
    // one half done. It holds no lock once it is loaded.
    std::optional<InstallationLock> reading;
    if (!globals.installationFolder.empty()) {
        reading = InstallationLock::acquire(InstallationLock::Kind::Shared, SaveGuard::kWait, [] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }

    globals.configurationMode = determineConfigurationMode();
    XmlConfig::loadXmlConfig(globals.xmlConfigurationPath);
    Controls::selectOption(m_ui.optConfTypeGroup, globals.configurationMode == kXmlMode ? 1 : 0);

    m_session.loadCommonSettings();
    showCommonSettings();

    fillList(m_ui.cboFont, m_services->fontNames());
    fillList(m_ui.cboEnvironment, Choices::environmentEntries());
    fillList(m_ui.cboWindowsSize, Choices::windowSizeEntries());
    fillList(m_ui.cmbPrinters, m_services->printerNames());
    fillPinPadList();
    fillComPorts();

    Controls::clearList(m_ui.cboInstance);
    Controls::addListEntry(m_ui.cboInstance, "Default");

    // Instance folders are formed from the Base Directory as shown, and the stored printer is read only
    // when there is a printer to choose from.
    m_session.common.propertyDir = Controls::text(m_ui.txtPropertyDir);
    DesktopFacts& desktop = m_session.desktop;
    desktop.hasPrinters = m_ui.cmbPrinters->count() > 0;
    desktop.defaultPrinter = desktop.hasPrinters ? m_services->defaultPrinterName() : std::string();
    const ScreenMetrics screen = m_services->screenMetrics();
    desktop.screenWidthPixels = screen.widthPixels;
    desktop.screenHeightPixels = screen.heightPixels;
    desktop.twipsPerPixelX = screen.twipsPerPixelX;
    desktop.twipsPerPixelY = screen.twipsPerPixelY;
    m_session.loadAllInstances();
    m_loadedFiles = LoadedFiles::read(m_session.common.propertyDir, m_session.lastIndex());
    for (std::size_t i = 1; i < m_session.instanceSections.size(); ++i) {
        Controls::addListEntry(m_ui.cboInstance, m_session.instanceSections[i]);
    }

    showUpgradeSettings();

    m_currentIndex = 0;
    showInstanceData(m_session.instances.at(0));
    // Selecting the Default entry runs the instance switch once, onto the record already shown.
    m_ui.cboInstance->setCurrentIndex(0);

    // Setting the PIN pad's text raised no click, so its port controls are set here.
    applyPinPadPortRule(Controls::listText(m_ui.cmbPinPad));
}

void TarnConf::showCommonSettings()
{
    const CommonSettings& context = m_session.common;
    Controls::setText(m_ui.txtClasspath, context.classPath);
    Controls::setText(m_ui.txtPropertyDir, context.propertyDir);
    Controls::setText(m_ui.txtHBLHost, context.hblHost);
    Controls::setText(m_ui.txtHBLPort, context.hblPort);
    Controls::setText(m_ui.txtDeleteTransAfterMin, context.deleteTransAfterMin);
    Controls::setChecked(m_ui.cbAllowSplit, isTicked(context.allowSplit));
    Controls::setChecked(m_ui.cbShowConfirmationScreen, isTicked(context.showConfirmTxnScreen));
    Controls::setChecked(m_ui.cbTransactionResultMandatory, isTicked(context.transactionResultMandatory));
}

void TarnConf::showUpgradeSettings()
{
    const CommonSettings& common = m_session.common;
    Controls::setChecked(m_ui.cbCheckUpgrade, isTicked(common.checkUpgrade));
    Controls::setChecked(m_ui.cbAutoUpgrade, isTicked(common.autoUpgrade));
    m_upgradeControls = FieldRules::upgradeControlsAfterLoad(environmentOfRecord0(), common.checkUpgrade);
    showUpgradeControls();
}

void TarnConf::fillPinPadList()
{
    fillList(m_ui.cmbPinPad, FieldRules::offeredPinPadModels(ConfigSession::readStoredEnvironment()));
    m_ui.cmbPinPad->setCurrentIndex(0);
}

void TarnConf::fillComPorts()
{
    // The reader list is not emptied: this runs once per window, and both lists start empty.
    Controls::clearList(m_ui.cmbComPort);
    for (const auto& port : ComPortIterator::existingComPorts()) {
        Controls::addListEntry(m_ui.cmbComPort, port);
        Controls::addListEntry(m_ui.cmbReader, port);
    }
    if (m_ui.cmbComPort->count() > 0) {
        m_ui.cmbComPort->setCurrentIndex(0);
    }
}

void TarnConf::centreOnScreen()
{
    const ScreenMetrics screen = m_services->screenMetrics();
    if (screen.widthPixels <= 0 || screen.heightPixels <= 0) {
        return;
    }
    move((screen.widthPixels - width()) / 2, (screen.heightPixels - height()) / 2);
}

std::int16_t TarnConf::environmentOfRecord0() const
{
    return m_session.instances.empty() ? std::int16_t { 0 } : m_session.instances.front().environment;
}

} // namespace tarn
