#include "config_tool/access/frmLogIn.h"

#include "config_tool/access/AccessWindowSupport.h"
#include "config_tool/access/LoginCheck.h"
#include "config_tool/access/UserManagement.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

// The picture lives in tarn_gui's resources; a static library's resources must be registered by hand.
static void registerAccessResources()
{
    Q_INIT_RESOURCE(access);
}

namespace tarn {

frmLogIn::frmLogIn(QWidget* parent)
    : QDialog(parent)
{
    registerAccessResources();
    setObjectName(QStringLiteral("frmLogIn"));
    setWindowTitle(QString::fromLatin1(AccessWindow::kMessageTitle));
    buildLayout();
    // Only letters reach the user ID; the password takes any key.
    m_txtFields[0]->installEventFilter(this);
}

frmLogIn::~frmLogIn() = default;

void frmLogIn::buildLayout()
{
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/access/login.png")));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = AccessWindow::createTitleLabel(this, kTitle, "Label3");

    auto* userLabel = new QLabel(QStringLiteral("User ID"), this);
    userLabel->setObjectName(QStringLiteral("Label1"));
    auto* passwordLabel = new QLabel(QStringLiteral("Password"), this);
    passwordLabel->setObjectName(QStringLiteral("Label2"));

    for (std::size_t i = 0; i < m_txtFields.size(); ++i) {
        m_txtFields[i] = new QLineEdit(this);
        m_txtFields[i]->setObjectName(QStringLiteral("txtFields_%1").arg(i));
        m_txtFields[i]->setMinimumWidth(180);
    }
    AccessWindow::makePasswordBox(m_txtFields[1]);
    userLabel->setBuddy(m_txtFields[0]);
    passwordLabel->setBuddy(m_txtFields[1]);

    // Enter presses Ok wherever the focus is, unless it is on Cancel; Esc is Cancel (reject).
    auto* buttons
        = AccessWindow::createOkCancelButtons(this, m_cmdButtons, [this](int index) { cmdButtons_Click(index); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(title, 0, 0, 1, 3);
    grid->addWidget(picture, 1, 0, 3, 1);
    grid->addWidget(userLabel, 1, 1);
    grid->addWidget(m_txtFields[0], 1, 2);
    grid->addWidget(passwordLabel, 2, 1);
    grid->addWidget(m_txtFields[1], 2, 2);
    grid->addLayout(buttons, 3, 1, 1, 2, Qt::AlignBottom);
    grid->setColumnStretch(2, 1);
    setLayout(grid);

    setTabOrder(m_txtFields[0], m_txtFields[1]);
    setTabOrder(m_txtFields[1], m_cmdButtons[0]);
    setTabOrder(m_cmdButtons[0], m_cmdButtons[1]);
    m_txtFields[0]->setFocus();
}

void frmLogIn::setMainWindowOpener(std::function<void()> openMainWindow)
{
    m_openMainWindow = std::move(openMainWindow);
}

void frmLogIn::setProgramEnd(std::function<void()> endProgram)
{
    m_endProgram = std::move(endProgram);
}

void frmLogIn::showWindow()
{
    AccessWindow::showCentred(this);
}

void frmLogIn::cmdButtons_Click(int index)
{
    if (index == 0) {
        okClicked();
    } else if (index == 1) {
        close();
    }
}

void frmLogIn::okClicked()
{
    const LoginResult result = checkLogin(m_txtFields[0]->text().toStdString(), m_txtFields[1]->text().toStdString());
    if (!result.passed()) {
        AccessWindow::showMessage(result.message, MessageIcon::Exclamation);
        const bool noSuchUser = result.outcome == LoginResult::Outcome::NoSuchUser;
        if (noSuchUser) {
            m_txtFields[0]->clear();
        }
        m_txtFields[1]->clear();
        m_txtFields[noSuchUser ? 0 : 1]->setFocus();
        return;
    }
    m_loggedIn = true;
    if (m_openMainWindow) {
        m_openMainWindow();
    }
    close();
}

void frmLogIn::reject()
{
    close();
}

void frmLogIn::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Nothing but this window is open before the login: leaving it in any way but Ok ends the program.
    if (!m_loggedIn && !m_ending) {
        m_ending = true;
        if (m_endProgram) {
            m_endProgram();
        }
    }
}

bool frmLogIn::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_txtFields[0] && event->type() == QEvent::KeyPress) {
        int keyCode = AccessWindow::typedCharacterCode(*static_cast<QKeyEvent*>(event));
        if (keyCode != 0) {
            UserManagement::AllowAlpha(keyCode);
            if (keyCode == 0) {
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarn
