#include "config_tool/foundation/Globals.h"
#include "config_tool/provisioning/NewInstance.h"
#include "config_tool/provisioning/UpgradeLauncher.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/TarnConf.h"

#include <QComboBox>
#include <QLineEdit>

namespace tarn {

void TarnConf::btAddNew_Click()
{
    // The new instance's folders are made under the Base Directory as it is shown now, and its record is
    // read from those same folders.
    m_session.common.propertyDir = Controls::text(m_ui.txtPropertyDir);
    const auto created = createNewInstance(
        m_session.instances, m_ui.cboInstance->count(), m_session.common.propertyDir,
        [this](CInstanceData& record, std::int16_t n) { return m_session.loadInstanceData(record, n); });
    if (!created.created) {
        Globals::ui().showMessage(created.message, MessageIcon::Exclamation);
        return;
    }
    m_session.instanceSections.push_back(created.section);
    m_loadedFiles.addInstance(m_session.common.propertyDir, static_cast<std::int16_t>(created.number));
    m_recordsEdited = true;
    Controls::addListEntry(m_ui.cboInstance, created.section);
    // Selecting the new entry switches instance as the operator's pick would: the shown edits are kept.
    m_ui.cboInstance->setCurrentIndex(created.number);
    showInstanceData(m_session.instances.at(static_cast<std::size_t>(created.number)));
}

void TarnConf::btRunUpgrade_Click()
{
    // A "Yes" saves what Apply saves: the common settings as shown and the records as last collected.
    const auto outcome = UpgradeLauncher::runUpgrade(Globals::state().installationFolder, [this] {
        copyCommonSettingsToSession();
        return guardedSave([this] {
            m_session.saveAllInstances();
            return true;
        });
    });
    if (UpgradeLauncher::programMustEnd(outcome)) {
        requestProgramEnd();
    }
}

} // namespace tarn
