#include "config_tool/access/frmChangeUser.h"

#include "tests/gui/access/AccessTesting.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <array>
#include <filesystem>

namespace tarn::test {
namespace {

Shown info(const std::string& text)
{
    return { text, MessageIcon::Information, "Config ORVANT" };
}

const Shown kUpdated = info("Login Information has been updated ! ");

enum Field
{
    Old = 1,
    New = 2,
    Confirm = 3,
};

using Passwords = std::array<QString, 3>; // old, new, confirmation

class frmChangeUserTest : public AccessWindowTest
{
protected:
    frmChangeUserTest()
    {
        m_otherLines = "clerk=" + hashOf("clerk pass") + "\r\n";
        writeUsers(adminLine("old secret"));
        // The login left its verdict behind; the window starts in administrator mode whatever it was.
        Globals::state().adminVerified = false;
        m_window = frmChangeUser::openOrRaise();
    }

    std::string adminLine(const std::string& password) const
    {
        return "Administrator=" + hashOf(password) + "\r\n" + m_otherLines;
    }

    QLineEdit* field(int index) const { return m_window->txtFields(index); }

    // Types the three passwords (as they are) and presses Ok; returns what was shown.
    std::vector<Shown> ok(const Passwords& typed)
    {
        for (int i = 0; i < 3; ++i) {
            field(Old + i)->setText(typed[static_cast<std::size_t>(i)]);
        }
        m_window->cmdButtons(0)->click();
        return takeMessages();
    }

    // A refused Ok: its one message, the text the three fields keep and which one holds the focus.
    void refused(const Passwords& typed, const Shown& message, const Passwords& kept, int focused)
    {
        SCOPED_TRACE(typed[1].toStdString() + "/" + typed[2].toStdString());
        EXPECT_EQ(ok(typed), std::vector<Shown> { message });
        ASSERT_TRUE(m_window);
        EXPECT_TRUE(m_window->isVisible());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(field(Old + i)->text(), kept[static_cast<std::size_t>(i)]);
        }
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
    EXPECT_FALSE(field(0)->isVisible() || field(0)->isEnabled());
    EXPECT_FALSE(m_window->Label1(0)->isVisible() || m_window->Label1(0)->isEnabled());

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

    ok({ "", "new secret", "new secret" }); // wrong old password: plain mode
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
    // Enter presses Ok.
    field(New)->setText("new secret");
    QTest::keyClick(field(New), Qt::Key_Return);
    EXPECT_EQ(takeMessages(), std::vector<Shown> { info("Confirm Password has not entered") });

    refused({ "", "", "" }, info("New Password has not entered"), { "", "", "" }, New);
    refused({ "", "abc", "" }, info("Confirm Password has not entered"), { "", "abc", "" }, Confirm);
    // Six characters with blanks around them are still six; the length check keeps the program's own title.
    refused({ "x", "  short1 ", "  short1 " },
            { "Password should be at least 7 characters", MessageIcon::Exclamation, "" }, { "x", "", "" }, New);
    // The old password is checked before the confirmation; an empty one is simply wrong here.
    refused({ "", "new secret", "other" }, info("Sorry, Admin Password is wrong ! "), { "", "new secret", "other" },
            Old);
    EXPECT_FALSE(Globals::state().adminVerified);
    EXPECT_EQ(users(), adminLine("old secret"));
}

TEST_F(frmChangeUserTest, PlainModeAfterAWrongOldPassword)
{
    const QString fresh = "new secret";
    EXPECT_EQ(ok({ "guess", fresh, fresh }), std::vector<Shown> { info("Sorry, Admin Password is wrong ! ") });
    refused({ "", fresh, fresh }, info("Old Password has not been entered "), { "", fresh, fresh }, Old);
    refused({ fresh, fresh, fresh }, info("Same Passwords are not allowed"), { fresh, fresh, fresh }, New);
    refused({ "guess again", fresh, fresh }, info("Sorry, Your Password is wrong ! "), { "", fresh, fresh }, Old);
    refused({ "old secret", fresh, "new secrets" }, info("New Password and confirm Password are not same"),
            { "old secret", fresh, "new secrets" }, New);
    EXPECT_FALSE(Globals::state().adminVerified);

    EXPECT_EQ(ok({ "old secret", fresh, fresh }), std::vector<Shown> { kUpdated });
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), adminLine("new secret"));
}

TEST_F(frmChangeUserTest, AdministratorModeTrimsTheStoredPasswordAndAllowsTheSameOneAgain)
{
    // The confirmation must match as typed.
    refused({ "  old secret ", "  seven77  ", "seven77" }, info("New Password and confirm Password are not same"),
            { "  old secret ", "  seven77  ", "seven77" }, New);
    EXPECT_EQ(ok({ "  old secret ", "  seven77  ", "  seven77  " }), std::vector<Shown> { kUpdated });
    EXPECT_EQ(users(), adminLine("seven77"));

    m_window = frmChangeUser::openOrRaise();
    EXPECT_EQ(ok({ "seven77", "seven77", "seven77" }), std::vector<Shown> { kUpdated });
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), adminLine("seven77"));
}

TEST_F(frmChangeUserTest, AnyAdministratorEntryAnswersInAdministratorModeOnly)
{
    // In plain mode only the "Administrator" entry counts; the new hash always goes there.
    writeUsers("ADMINISTRATOR=" + hashOf("upper pass") + "\r\nAdministrator=" + hashOf("old secret") + "\r\n");
    EXPECT_EQ(ok({ "wrong", "new secret", "new secret" }),
              std::vector<Shown> { info("Sorry, Admin Password is wrong ! ") });
    EXPECT_EQ(ok({ "upper pass", "new secret", "new secret" }),
              std::vector<Shown> { info("Sorry, Your Password is wrong ! ") });

    m_window->close();
    m_window = frmChangeUser::openOrRaise();
    EXPECT_EQ(ok({ "upper pass", "new secret", "new secret" }), std::vector<Shown> { kUpdated });
    EXPECT_EQ(users(), "ADMINISTRATOR=" + hashOf("upper pass") + "\r\nAdministrator=" + hashOf("new secret") + "\r\n");
}

TEST_F(frmChangeUserTest, LostOrUnwritableUserFileIsReportedAndKept)
{
    writeUsers(m_otherLines);
    EXPECT_EQ(ok({ "old secret", "new secret", "new secret" }), std::vector<Shown> { info("Sorry, Login Not Exist") });
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), m_otherLines);

    writeUsers(adminLine("old secret"));
    namespace fs = std::filesystem;
    fs::permissions(m_folder.path() / kUserFile,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    m_window = frmChangeUser::openOrRaise();
    EXPECT_EQ(ok({ "old secret", "new secret", "new secret" }),
              std::vector<Shown> { info("Login Information has not been updated ! ") });
    EXPECT_TRUE(closed());
    EXPECT_EQ(users(), adminLine("old secret"));
    // The old password is still the one that works.
    EXPECT_TRUE(UserManagement::checkUserPassword("Administrator", hashOf("old secret")));
}

TEST_F(frmChangeUserTest, CancelAndEscWriteNothing)
{
    for (const bool esc : { false, true }) {
        m_window = frmChangeUser::openOrRaise();
        for (int i = Old; i <= Confirm; ++i) {
            field(i)->setText(i == Old ? "old secret" : "new secret");
        }
        if (esc) {
            QTest::keyClick(field(New), Qt::Key_Escape);
        } else {
            m_window->cmdButtons(1)->click();
        }
        EXPECT_TRUE(closed()) << esc;
    }
    EXPECT_EQ(users(), adminLine("old secret"));
    EXPECT_TRUE(m_ui.messages.empty());
}

} // namespace
} // namespace tarn::test
