#include "config_tool/foundation/Globals.h"
#include "config_tool/window/TarnConf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <set>

namespace tarn {

namespace {

// The controls of the installation-wide settings: Apply saves them straight from the window. Every other
// control with a value belongs to the instance shown.
bool isCommonControl(const QObject* control)
{
    static const std::set<QString> common {
        QStringLiteral("cboEnvironment"),
        QStringLiteral("txtPropertyDir"),
        QStringLiteral("txtClasspath"),
        QStringLiteral("optConfType_0"),
        QStringLiteral("optConfType_1"),
        QStringLiteral("cbTransactionResultMandatory"),
        QStringLiteral("txtHBLHost"),
        QStringLiteral("txtHBLPort"),
        QStringLiteral("txtDeleteTransAfterMin"),
        QStringLiteral("cbShowConfirmationScreen"),
        QStringLiteral("cbAllowSplit"),
        QStringLiteral("cbCheckUpgrade"),
        QStringLiteral("cbAutoUpgrade"),
    };
    return common.count(control->objectName()) != 0;
}

} // namespace

void TarnConf::watchEdits()
{
    // Only the operator's own acts raise these signals; values the window sets itself raise none.
    const auto edited
        = [this](const QObject* control) { return [this, common = isCommonControl(control)] { markEdited(common); }; };
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        if (!qobject_cast<QComboBox*>(box->parent())) {
            connect(box, &QLineEdit::textEdited, this, edited(box));
        }
    }
    for (QCheckBox* box : findChildren<QCheckBox*>()) {
        connect(box, &QCheckBox::clicked, this, edited(box));
    }
    for (QRadioButton* option : findChildren<QRadioButton*>()) {
        connect(option, &QRadioButton::clicked, this, edited(option));
    }
    for (QComboBox* list : findChildren<QComboBox*>()) {
        if (list == m_ui.cboInstance) {
            continue; // choosing the instance shown is no edit
        }
        connect(list, &QComboBox::activated, this, edited(list));
        if (QLineEdit* typed = list->lineEdit()) {
            connect(typed, &QLineEdit::textEdited, this, edited(list));
        }
    }
}

void TarnConf::markEdited(bool common)
{
    (common ? m_commonEdited : m_shownEdited) = true;
}

void TarnConf::shownEditsCollected()
{
    m_recordsEdited = m_recordsEdited || m_shownEdited;
    m_shownEdited = false;
}

void TarnConf::everythingCollectedSaved()
{
    m_recordsEdited = false;
    m_commonEdited = false;
}

bool TarnConf::mayDiscardEdits()
{
    // Something to lose: an edit since the last OK or Apply, including the shown instance's edits that
    // Apply does not save.
    if (!m_shownEdited && !m_recordsEdited && !m_commonEdited) {
        return true;
    }
    return Globals::ui().askYesNo(kDiscardQuestion, QuestionAnswer::No) == QuestionAnswer::Yes;
}

void TarnConf::requestProgramEnd()
{
    m_ending = true;
    emit programEndRequested();
}

} // namespace tarn
