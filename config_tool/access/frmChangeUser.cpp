#include "config_tool/access/frmChangeUser.h"

#include "config_tool/access/AccessWindowSupport.h"
#include "config_tool/access/PasswordChange.h"
#include "config_tool/foundation/Globals.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace tarn {

namespace {

enum Field
{
    UserIdField = 0,
    OldField = 1,
    NewField = 2,
    ConfirmField = 3,
};

QPointer<frmChangeUser> g_openWindow;

} // namespace

frmChangeUser* frmChangeUser::openOrRaise()
{
    if (g_openWindow) {
        g_openWindow->raise();
        g_openWindow->activateWindow();
        return g_openWindow;
    }
    auto* window = new frmChangeUser;
    window->setAttribute(Qt::WA_DeleteOnClose);
    g_openWindow = window;
    window->showWindow();
    return window;
}

frmChangeUser* frmChangeUser::openWindow()
{
    return g_openWindow;
}

frmChangeUser::frmChangeUser(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmChangeUser"));
    setWindowTitle(QString::fromLatin1(AccessWindow::kMessageTitle));
    buildLayout();
    m_txtFields[UserIdField]->setText(QStringLiteral("Administrator"));
    Globals::state().adminVerified = true;
}

frmChangeUser::~frmChangeUser() = default;

void frmChangeUser::buildLayout()
{
    auto* title = AccessWindow::createTitleLabel(this, kTitle, "Label_1");

    auto* grid = new QGridLayout(this);
    grid->addWidget(title, 0, 0, 1, 2);

    const std::array<const char*, 4> captions { "User ID*", "Old Password*", "New Password*", "Confirm Password*" };
    for (std::size_t i = 0; i < m_txtFields.size(); ++i) {
        m_Label1[i] = new QLabel(QString::fromLatin1(captions[i]), this);
        m_Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        m_txtFields[i] = new QLineEdit(this);
        m_txtFields[i]->setObjectName(QStringLiteral("txtFields_%1").arg(i));
        m_txtFields[i]->setMinimumWidth(200);
        m_Label1[i]->setBuddy(m_txtFields[i]);
        if (i != UserIdField) {
            AccessWindow::makePasswordBox(m_txtFields[i]);
        }
        // The user ID row is hidden: the old password takes its place.
        const int row = i == UserIdField ? 1 : static_cast<int>(i);
        grid->addWidget(m_Label1[i], row, 0);
        grid->addWidget(m_txtFields[i], row, 1);
    }
    m_Label1[UserIdField]->setVisible(false);
    m_Label1[UserIdField]->setEnabled(false);
    m_txtFields[UserIdField]->setVisible(false);
    m_txtFields[UserIdField]->setEnabled(false);

    auto* buttons
        = AccessWindow::createOkCancelButtons(this, m_cmdButtons, [this](int index) { cmdButtons_Click(index); });
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    setLayout(grid);

    setTabOrder(m_txtFields[OldField], m_txtFields[NewField]);
    setTabOrder(m_txtFields[NewField], m_txtFields[ConfirmField]);
    setTabOrder(m_txtFields[ConfirmField], m_cmdButtons[0]);
    setTabOrder(m_cmdButtons[0], m_cmdButtons[1]);
    m_txtFields[OldField]->setFocus();
}

void frmChangeUser::showWindow()
{
    AccessWindow::showCentred(this);
}

bool frmChangeUser::SatisfyPwdlength()
{
    if (satisfiesPasswordLength(m_txtFields[NewField]->text().toStdString())) {
        return true;
    }
    show(passwordTooShort());
    return false;
}

void frmChangeUser::cmdButtons_Click(int index)
{
    if (index == 0) {
        okClicked();
    } else if (index == 1) {
        close();
    }
}

void frmChangeUser::show(const PasswordChangeResult& result)
{
    if (result.programTitle) {
        Globals::ui().showMessage(result.message, result.icon);
    } else {
        AccessWindow::showMessage(result.message, result.icon);
    }
    for (const PasswordField field : result.cleared) {
        m_txtFields[static_cast<std::size_t>(field)]->clear();
    }
    if (result.focus) {
        m_txtFields[static_cast<std::size_t>(result.focusField)]->setFocus();
    }
    if (result.closesWindow) {
        close();
    }
}

void frmChangeUser::okClicked()
{
    PasswordChangeRequest request;
    request.userId = m_txtFields[UserIdField]->text().toStdString();
    request.oldPassword = m_txtFields[OldField]->text().toStdString();
    request.newPassword = m_txtFields[NewField]->text().toStdString();
    request.confirmation = m_txtFields[ConfirmField]->text().toStdString();
    // A wrong administrator password turns adminVerified off: from then on the window is in plain mode.
    PasswordChangeMode mode
        = Globals::state().adminVerified ? PasswordChangeMode::Administrator : PasswordChangeMode::Plain;
    show(changePassword(request, mode));
}

void frmChangeUser::reject()
{
    close();
}

void frmChangeUser::closeEvent(QCloseEvent* event)
{
    // Gone for the main window's button at once, before Qt deletes it.
    if (g_openWindow == this) {
        g_openWindow = nullptr;
    }
    event->accept();
}

} // namespace tarn
