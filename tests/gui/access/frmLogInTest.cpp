#include "config_tool/access/frmLogIn.h"

#include "tests/gui/access/AccessTesting.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tarn::test {
namespace {

const Shown kNoSuchUser { "Sorry, No Such User Exist", MessageIcon::Exclamation, "Config ORVANT" };
const Shown kIncorrectPassword { "Incorrect Password", MessageIcon::Exclamation, "Config ORVANT" };

class frmLogInTest : public AccessWindowTest
{
protected:
    frmLogInTest()
    {
        writeUsers("#Configuration users\r\nAdministrator=" + hashOf("demo pass") + "\r\nclerk=" + hashOf("clerk pass")
                   + "\r\n");
        m_window = new frmLogIn;
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->setMainWindowOpener([this] {
            ++m_mainWindowsOpened;
            m_loginVisibleWhenOpened = m_window->isVisible();
        });
        m_window->setProgramEnd([this] { ++m_programEnds; });
        m_window->showWindow();
    }

    ~frmLogInTest() override
    {
        // The hooks point into this fixture: the window goes before the fixture does.
        delete m_window.data();
    }

    QLineEdit* userId() const { return m_window->txtFields(0); }
    QLineEdit* password() const { return m_window->txtFields(1); }

    std::vector<Shown> logIn(const QString& user, const QString& typedPassword)
    {
        userId()->setText(user);
        password()->setText(typedPassword);
        m_window->cmdButtons(0)->click();
        return takeMessages();
    }

    // The login went through: the main window opened while the login was still up, then the login went.
    void expectLoggedIn()
    {
        EXPECT_EQ(m_mainWindowsOpened, 1);
        EXPECT_TRUE(m_loginVisibleWhenOpened);
        EXPECT_FALSE(m_window && m_window->isVisible());
        EXPECT_EQ(m_programEnds, 0);
        EXPECT_TRUE(Globals::state().adminVerified);
    }

    QPointer<frmLogIn> m_window;
    int m_mainWindowsOpened = 0;
    bool m_loginVisibleWhenOpened = false;
    int m_programEnds = 0;
};

TEST_F(frmLogInTest, ControlsCaptionsAndOrder)
{
    EXPECT_EQ(m_window->windowTitle(), "Config ORVANT");
    const auto* title = m_window->findChild<QLabel*>("Label3");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Configure ORVANT Login -2.2.4.1");
    EXPECT_TRUE(title->autoFillBackground());
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(title->palette().color(QPalette::Window), m_window->palette().color(QPalette::Highlight));
    EXPECT_EQ(m_window->findChild<QLabel*>("Label1")->text(), "User ID");
    EXPECT_EQ(m_window->findChild<QLabel*>("Label2")->text(), "Password");
    const auto* picture = m_window->findChild<QLabel*>("Picture1");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());

    EXPECT_EQ(m_window->findChild<QLineEdit*>("txtFields_0"), userId());
    EXPECT_EQ(m_window->findChild<QLineEdit*>("txtFields_1"), password());
    EXPECT_EQ(userId()->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(password()->echoMode(), QLineEdit::Password);
    auto* ok = m_window->findChild<QPushButton*>("cmdButtons_0");
    auto* cancel = m_window->findChild<QPushButton*>("cmdButtons_1");
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->text(), "&Ok");
    EXPECT_EQ(cancel->text(), "&Cancel");
    EXPECT_TRUE(ok->isDefault() && !cancel->isDefault());

    EXPECT_EQ(m_window->focusWidget(), userId());
    EXPECT_EQ(nextTabStop(userId()), password());
    EXPECT_EQ(nextTabStop(password()), ok);
    EXPECT_EQ(nextTabStop(ok), cancel);
}

TEST_F(frmLogInTest, UserIdTakesLettersAndBackspaceOnly)
{
    QTest::keyClicks(userId(), "Ad1m in!");
    EXPECT_EQ(userId()->text(), "Admin");
    EXPECT_EQ(m_ui.beeps, 3);
    QTest::keyClick(userId(), Qt::Key_Backspace);
    EXPECT_EQ(userId()->text(), "Admi");
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u00E9"));
    QApplication::sendEvent(userId(), &accented);
    QTest::keyClicks(userId(), "Z");
    EXPECT_EQ(userId()->text(), "AdmiZ");
    EXPECT_EQ(m_ui.beeps, 4);

    QTest::keyClicks(password(), "p4ss word!");
    EXPECT_EQ(password()->text(), "p4ss word!");
    EXPECT_EQ(m_ui.beeps, 4);
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(frmLogInTest, PastedUserIdWithBlanksGetsIn)
{
    QGuiApplication::clipboard()->setText("  Administrator ");
    QTest::keyClick(userId(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(userId()->text(), "  Administrator ");
    EXPECT_EQ(m_ui.beeps, 0);
    password()->setText(" demo pass  ");
    m_window->cmdButtons(0)->click();
    EXPECT_TRUE(takeMessages().empty());
    expectLoggedIn();
}

TEST_F(frmLogInTest, OnlyTheExactAdministratorIdOfTheFileIsLetIn)
{
    // The file knows the other spellings too; the login window still refuses them.
    writeUsers("Administrator=" + hashOf("demo pass") + "\r\nadministrator=" + hashOf("lower pass")
               + "\r\nADMINISTRATOR=" + hashOf("upper pass") + "\r\nclerk=" + hashOf("clerk pass") + "\r\n");
    for (const auto& [user, pass] : std::vector<std::pair<QString, QString>> { { "administrator", "lower pass" },
                                                                               { "ADMINISTRATOR", "upper pass" },
                                                                               { "clerk", "clerk pass" },
                                                                               { "", "demo pass" } }) {
        EXPECT_EQ(logIn(user, pass), std::vector<Shown> { kNoSuchUser }) << user.toStdString();
        EXPECT_EQ(userId()->text() + password()->text(), "");
        EXPECT_EQ(m_window->focusWidget(), userId());
    }

    // Without an "Administrator" entry, or without a file, nobody gets in.
    writeUsers("ADMINISTRATOR=" + hashOf("upper pass") + "\r\n");
    EXPECT_EQ(logIn("Administrator", "upper pass"), std::vector<Shown> { kNoSuchUser });
    std::filesystem::remove(m_folder.path() / kUserFile);
    EXPECT_EQ(logIn("Administrator", "demo pass"), std::vector<Shown> { kNoSuchUser });
    EXPECT_EQ(m_mainWindowsOpened, 0);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(frmLogInTest, WrongPasswordKeepsTheUserIdWithoutLimitOnAttempts)
{
    EXPECT_EQ(logIn("Administrator", "demo pas"), std::vector<Shown> { kIncorrectPassword });
    EXPECT_EQ(userId()->text(), "Administrator");
    EXPECT_EQ(password()->text(), "");
    EXPECT_EQ(m_window->focusWidget(), password());
    EXPECT_FALSE(Globals::state().adminVerified);

    // An empty password is hashed like any other; Enter presses Ok.
    QTest::keyClick(password(), Qt::Key_Return);
    EXPECT_EQ(takeMessages(), std::vector<Shown> { kIncorrectPassword });
    EXPECT_EQ(m_window->focusWidget(), password());

    EXPECT_TRUE(logIn("Administrator", "demo pass").empty());
    expectLoggedIn();
}

TEST_F(frmLogInTest, EitherAdministratorEntryOpensTheDoor)
{
    writeUsers("Administrator=" + hashOf("first pass") + "\r\nADMINISTRATOR=" + hashOf("second pass") + "\r\n");
    EXPECT_TRUE(logIn("Administrator", "second pass").empty());
    expectLoggedIn();
}

TEST_F(frmLogInTest, CancelEscAndClosingEndTheProgramWithoutWriting)
{
    const std::string before = users();
    delete m_window.data();
    for (int way = 0; way < 3; ++way) {
        frmLogIn window;
        int ends = 0;
        window.setProgramEnd([&ends] { ++ends; });
        window.setMainWindowOpener([] { FAIL() << "no login happened"; });
        window.showWindow();
        if (way == 0) {
            window.cmdButtons(1)->click();
        } else if (way == 1) {
            QTest::keyClick(window.txtFields(0), Qt::Key_Escape);
        } else {
            window.close();
        }
        EXPECT_EQ(ends, 1) << way;
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_EQ(users(), before);
    EXPECT_TRUE(m_ui.messages.empty());
}

} // namespace
} // namespace tarn::test
