#include "config_tool/foundation/Globals.h"
#include "config_tool/session/SaveGuard.h"
#include "config_tool/session/SaveSequences.h"
#include "config_tool/window/BusyCursor.h"
#include "config_tool/window/ControlValues.h"
#include "config_tool/window/TarnConf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace tarn {

namespace {

CheckState checkStateOf(const QCheckBox* box)
{
    return static_cast<CheckState>(Controls::checkValue(box));
}

} // namespace

void TarnConf::cboInstance_Click()
{
    const int selected = m_ui.cboInstance->currentIndex();
    if (selected < 0 || static_cast<std::size_t>(selected) >= m_session.instances.size()) {
        return;
    }
    // Switching never validates or writes: the edits stay in the record left behind until OK or Apply.
    collectInstanceData(m_session.instances.at(static_cast<std::size_t>(m_currentIndex)));
    shownEditsCollected();
    m_currentIndex = static_cast<std::int16_t>(selected);
    showInstanceData(m_session.instances.at(static_cast<std::size_t>(m_currentIndex)));
}

void TarnConf::copyCommonSettingsToSession()
{
    // The common settings are saved straight from their controls, by OK and by Apply alike, each field
    // as leaving it would have left it.
    applyLeaveRules();
    CommonSettings& context = m_session.common;
    context.propertyDir = Controls::text(m_ui.txtPropertyDir);
    context.classPath = Controls::text(m_ui.txtClasspath);
    context.hblHost = Controls::text(m_ui.txtHBLHost);
    context.hblPort = Controls::text(m_ui.txtHBLPort);
    context.deleteTransAfterMin = Controls::text(m_ui.txtDeleteTransAfterMin);
    context.transactionResultMandatory = checkStateOf(m_ui.cbTransactionResultMandatory);
    context.checkUpgrade = checkStateOf(m_ui.cbCheckUpgrade);
    context.autoUpgrade = checkStateOf(m_ui.cbAutoUpgrade);
    context.allowSplit = checkStateOf(m_ui.cbAllowSplit);
    context.showConfirmTxnScreen = checkStateOf(m_ui.cbShowConfirmationScreen);
}

bool TarnConf::guardedSave(const std::function<bool()>& save)
{
    const MissingInstanceFolders missing = m_session.missingFoldersOfNewBaseDirectory();
    if (missing.any()
        && Globals::ui().askYesNo(missingFoldersSummary(missing) + " " + kSaveAnywayQuestion, QuestionAnswer::No)
            != QuestionAnswer::Yes) {
        return false;
    }
    const BusyCursor busy;
    // While another program saves, the window keeps drawing itself but takes no input.
    const SaveGuard guard(m_loadedFiles, m_recordsEdited || m_commonEdited,
                          [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    switch (guard.decision()) {
    case SaveGuard::Decision::DontSave:
        return false;
    case SaveGuard::Decision::NothingToSave:
        // Nothing of this window's own to write: another program's changes stay as they are.
        return true;
    case SaveGuard::Decision::Save:
        break;
    }
    const bool saved = save();
    // What is on disk now is this window's own doing.
    m_loadedFiles = LoadedFiles::read(m_session.common.propertyDir, m_session.lastIndex());
    return saved;
}

void TarnConf::btOk_Click()
{
    const int selected = m_ui.cboInstance->currentIndex();
    if (selected >= 0 && static_cast<std::size_t>(selected) < m_session.instances.size()) {
        collectInstanceData(m_session.instances.at(static_cast<std::size_t>(selected)));
        shownEditsCollected();
    }
    copyCommonSettingsToSession();
    if (guardedSave([this] { return runOkSequence(m_session); })) {
        everythingCollectedSaved();
        requestProgramEnd();
    }
}

void TarnConf::btApply_Click()
{
    // Apply saves the records as they were last collected; the shown instance's edits wait for OK or a switch.
    copyCommonSettingsToSession();
    if (guardedSave([this] { return runApplySequence(m_session); })) {
        everythingCollectedSaved();
    }
}

void TarnConf::btCancel_Click()
{
    if (mayDiscardEdits()) {
        requestProgramEnd();
    }
}

} // namespace tarn
