#include "config_tool/access/frmChangeUser.h"

#include "tests/gui/access/AccessTesting.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <filesystem>

namespace tarn::test {
namespace {

Shown info(const std::string& text)
{
    return { text, MessageIcon::Information, "Config ORVANT" };
}

// The length check keeps the program's own title.
const Shown kTooShort { "Password should be at least 7 characters", MessageIcon::Exclamation, "" };

enum Field
{
    Old = 1,
    New = 2,
    Confirm = 3,
};

class frmChangeUserTest : public AccessWindowTest
{
protected:
    frmChangeUserTest()
    {
        m_otherLines = "clerk=" + hashOf("clerk pass") + "\r\n";
        writeUsers("Administrator=" + hashOf("old secret") + "\r\n" + m_otherLines);
        // The login left its verdict behind; the window starts in administrator mode whatever it was.
        Globals::state().adminVerified = false;
        m_window = frmChangeUser::openOrRaise();
    }

    QLineEdit* field(int index) const { return m_window->txtFields(index); }

    // Types the three passwords (as they are) and presses Ok.
    void ok(const QString& oldPassword, const QString& newPassword, const QString& confirmation)
    {
        field(Old)->setText(oldPassword);
        field(New)->setText(newPassword);
        field(Confirm)->setText(confirmation);
        m_window->cmdButtons(0)->click();
    }

    // The text of the three fields and which one holds the focus, after a refused Ok.
    void expectFields(const QString& oldPassword, const QString& newPassword, const QString& confirmation, int focused)
    {
        ASSERT_TRUE(m_window);
        EXPECT_TRUE(m_window->isVisible());
        EXPECT_EQ(field(Old)->text(), oldPassword);
        EXPECT_EQ(field(New)->text(), newPassword);
        EXPECT_EQ(field(Confirm)->text(), confirmation);
        EXPECT_EQ(m_window->focusWidget(), field(focused));
    }

    bool closed() const { return !m_window || !m_window->isVisible(); }

    std::string m_otherLines;
    QPointer<frmChangeUser> m_window;
};

TEST_F(frmChangeUserTest, ControlsCaptionsAndOrder)
{
    EXPECT_TRUE(Globals::state().adminVerified);
    EXPECT_EQ(m_window->windowTitle(), "Config ORVANT");
    const auto* title = m_window->findChild<QLabel*>("Label_1");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Config ORVANT Change Password-2.2.4.1");
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(title->palette().color(QPalette::Window), m_window->palette().color(QPalette::Highlight));

    const char* captions[] = { "User ID*", "Old Password*", "New Password*", "Confirm Password*" };
    for (int i = 0; i < 4; ++i) {
        const auto* label = m_window->findChild<QLabel*>(QStringLiteral("Label1_%1").arg(i));
        ASSERT_EQ(label, m_window->Label1(i));
        EXPECT_EQ(label->text(), captions[i]);
        EXPECT_EQ(m_window->findChild<QLineEdit*>(QStringLiteral("txtFields_%1").arg(i)), field(i));
        EXPECT_EQ(field(i)->echoMode(), i == 0 ? QLineEdit::Normal : QLineEdit::Password);
    }
    EXPECT_EQ(field(0)->text(), "Administrator");
    EXPECT_FALSE(field(0)->isVisible());
    EXPECT_FALSE(field(0)->isEnabled());
    EXPECT_FALSE(m_window->Label1(0)->isVisible());
    EXPECT_FALSE(m_window->Label1(0)->isEnabled());

    auto* ok = m_window->findChild<QPushButton*>("cmdButtons_0");
    auto* cancel = m_window->findChild<QPushButton*>("cmdButtons_1");
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->text(), "&Ok");
    EXPECT_EQ(cancel->text(), "&Cancel");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(m_window->focusWidget(), field(Old));
    EXPECT_EQ(nextTabStop(field(Old)), field(New));
    EXPECT_EQ(nextTabStop(field(New)), field(Confirm));
    EXPECT_EQ(nextTabStop(field(Confirm)), ok);
    EXPECT_EQ(nextTabStop(ok), cancel);
}

TEST_F(frmChangeUserTest, OneWindowAtATimeLoadedAfreshEachOpening)
{
    EXPECT_EQ(frmChangeUser::openOrRaise(), m_window.data());
    EXPECT_EQ(frmChangeUser::openWindow(), m_window.data());

    ok("", "new secret", "new secret"); // wrong old password: plain mode
    EXPECT_FALSE(Globals::state().adminVerified);
    // Pressing the button again only brings the window forward: still plain mode.
    EXPECT_EQ(frmChangeUser::openOrRaise(), m_window.data());
    EXPECT_FALSE(Globals::state().adminVerified);

    m_window->cmdButtons(1)->click();
    EXPECT_TRUE(closed());
    EXPECT_EQ(frmChangeUser::openWindow(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_window.isNull());

    m_window = frmChangeUser::openOrRaise();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(Globals::state().adminVerified);
    EXPECT_EQ(field(Old)->text(), "");
}

TEST_F(frmChangeUserTest, EveryRefusalInAdministratorMode)
{
    ok("", "", "");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("New Password has not entered") });
    expectFields("", "", "", New);

    ok("", "abc", "");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Confirm Password has not entered") });
    expectFields("", "abc", "", Confirm);

    // Six characters with blanks around them are still six.
    ok("x", "  short1 ", "  short1 ");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { kTooShort });
    expectFields("x", "", "", New);

    // The old password is checked before the confirmation; an empty one is simply wrong here.
    ok("", "new secret", "other");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Sorry, Admin Password is wrong ! ") });
    expectFields("", "new secret", "other", Old);
    EXPECT_FALSE(Globals::state().adminVerified);
    EXPECT_EQ(users(), "Administrator=" + hashOf("old secret") + "\r\n" + m_otherLines);
}

TEST_F(frmChangeUserTest, PlainModeAfterAWrongOldPassword)
{
    ok("guess", "new secret", "new secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Sorry, Admin Password is wrong ! ") });

    ok("", "new secret", "new secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Old Password has not been entered ") });
    expectFields("", "new secret", "new secret", Old);

    ok("new secret", "new secret", "new secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Same Passwords are not allowed") });
    expectFields("new secret", "new secret", "new secret", New);

    ok("guess again", "new secret", "new secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Sorry, Your Password is wrong ! ") });
    expectFields("", "new secret", "new secret", Old);

    ok("old secret", "new secret", "new secrets");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("New Password and confirm Password are not same") });
    expectFields("old secret", "new secret", "new secrets", New);
    EXPECT_FALSE(Globals::state().adminVerified);

    ok("old secret", "new secret", "new secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Login Information has been updated ! ") });
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), "Administrator=" + hashOf("new secret") + "\r\n" + m_otherLines);
}

TEST_F(frmChangeUserTest, AdministratorModeAllowsTheSamePasswordAgain)
{
    ok("old secret", "old secret", "old secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Login Information has been updated ! ") });
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), "Administrator=" + hashOf("old secret") + "\r\n" + m_otherLines);
}

TEST_F(frmChangeUserTest, StoredPasswordIsTrimmedButTheConfirmationMustMatchAsTyped)
{
    ok("  old secret ", "  seven77  ", "seven77");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("New Password and confirm Password are not same") });
    expectFields("  old secret ", "  seven77  ", "seven77", New);

    ok("  old secret ", "  seven77  ", "  seven77  ");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Login Information has been updated ! ") });
    EXPECT_EQ(users(), "Administrator=" + hashOf("seven77") + "\r\n" + m_otherLines);
}

TEST_F(frmChangeUserTest, AnyAdministratorEntryAnswersInAdministratorModeOnly)
{
    // In plain mode only the "Administrator" entry counts; the new hash always goes there.
    writeUsers("ADMINISTRATOR=" + hashOf("upper pass") + "\r\nAdministrator=" + hashOf("old secret") + "\r\n");
    ok("wrong", "new secret", "new secret");
    ok("upper pass", "new secret", "new secret");
    EXPECT_EQ(
        takeMessages(),
        (std::vector<Shown> { info("Sorry, Admin Password is wrong ! "), info("Sorry, Your Password is wrong ! ") }));

    m_window->close();
    m_window = frmChangeUser::openOrRaise();
    ok("upper pass", "new secret", "new secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Login Information has been updated ! ") });
    EXPECT_EQ(users(), "ADMINISTRATOR=" + hashOf("upper pass") + "\r\nAdministrator=" + hashOf("new secret") + "\r\n");
}

TEST_F(frmChangeUserTest, LostAdministratorEntryClosesTheWindow)
{
    writeUsers(m_otherLines);
    ok("old secret", "new secret", "new secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Sorry, Login Not Exist") });
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), m_otherLines);
}

TEST_F(frmChangeUserTest, UnwritableUserFileIsReportedAndKept)
{
    const std::string before = users();
    const auto file = m_folder.path() / kUserFile;
    namespace fs = std::filesystem;
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    ok("old secret", "new secret", "new secret");
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Login Information has not been updated ! ") });
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), before);
    // The old password is still the one that works.
    EXPECT_TRUE(UserManagement::checkUserPassword("Administrator", hashOf("old secret")));
}

TEST_F(frmChangeUserTest, CancelAndEscWriteNothing)
{
    const std::string before = users();
    field(Old)->setText("old secret");
    field(New)->setText("new secret");
    field(Confirm)->setText("new secret");
    m_window->cmdButtons(1)->click();
    EXPECT_TRUE(closed());

    m_window = frmChangeUser::openOrRaise();
    field(New)->setText("new secret");
    QTest::keyClick(field(New), Qt::Key_Escape);
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), before);
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(frmChangeUserTest, EnterPressesOk)
{
    field(New)->setText("new secret");
    QTest::keyClick(field(New), Qt::Key_Return);
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Confirm Password has not entered") });
}

} // namespace
} // namespace tarn::test
