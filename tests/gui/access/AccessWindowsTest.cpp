#include "config_tool/access/UserManagement.h"
#include "config_tool/access/frmChangeUser.h"
#include "config_tool/access/frmLogIn.h"
#include "config_tool/foundation/Globals.h"
#include "tests/gui/WindowTesting.h"

#include <QPointer>
#include <QPushButton>

namespace orvant::test {
namespace {

// The login window as the program shows it; the main window it opens and the program's end are counted.
class frmLogInTest : public WindowTest
{
protected:
    frmLogInTest()
    {
        login.setMainWindowOpener([this] {
            ++opened;
            loginShownAtOpening = login.isVisible();
        });
        login.setProgramEnd([this] { ++ends; });
        login.showWindow();
    }

    // Types the user ID and the password and presses Ok; returns the messages shown.
    std::string logIn(const QString& userId, const QString& password)
    {
        login.txtFields(0)->setText(userId);
        login.txtFields(1)->setText(password);
        login.cmdButtons(0)->click();
        return ui.takeMessages();
    }

    // What a field holds: 0 the user ID, 1 the password.
    std::string kept(int field) const { return login.txtFields(field)->text().toStdString(); }

    int opened = 0;
    bool loginShownAtOpening = false;
    int ends = 0;
    tarn::frmLogIn login;
};

TEST_F(frmLogInTest, EveryControlAfterLoadAndTheUserIdTakesLettersOnly)
{
    EXPECT_TRUE(matchesDataFile(controlDump(login), "gui/frmLogIn.txt"));
    QTest::keyClicks(login.txtFields(0), "Ad1m");
    QTest::keyClicks(login.txtFields(1), "p4");
    EXPECT_EQ(kept(0), "Adm");
    EXPECT_EQ(kept(1), "p4");
    EXPECT_EQ(ui.beeps, 1);
}

TEST_F(frmLogInTest, RefusalsEmptyAndFocusWhatTheCheckSaysUntilTheAdministratorGetsIn)
{
    EXPECT_EQ(logIn("administrator", Installation::kPassword),
              "[Config ORVANT] Sorry, No Such User Exist (exclamation)\n");
    EXPECT_EQ(kept(0), "");
    EXPECT_EQ(kept(1), "");
    EXPECT_EQ(login.focusWidget(), login.txtFields(0));
    EXPECT_EQ(logIn("Administrator", "secret13"), "[Config ORVANT] Incorrect Password (exclamation)\n");
    EXPECT_EQ(kept(0), "Administrator");
    EXPECT_EQ(kept(1), "");
    EXPECT_EQ(login.focusWidget(), login.txtFields(1));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(ends, 0);

    EXPECT_EQ(logIn("Administrator", Installation::kPassword), "");
    EXPECT_EQ(kept(0), "Administrator");
    EXPECT_EQ(kept(1), Installation::kPassword);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(loginShownAtOpening) << "the main window opens before the login goes";
    EXPECT_EQ(ends, 0);
    EXPECT_FALSE(login.isVisible());
    EXPECT_TRUE(tarn::Globals::state().adminVerified);
}

TEST_F(frmLogInTest, CancelEscAndClosingEndTheProgram)
{
    for (int way = 0; way < 3; ++way) {
        tarn::frmLogIn other;
        other.setProgramEnd([this] { ++ends; });
        other.showWindow();
        way == 0       ? other.cmdButtons(1)->click()
            : way == 1 ? QTest::keyClick(other.txtFields(1), Qt::Key_Escape)
                       : void(other.close());
        EXPECT_FALSE(other.isVisible());
    }
    EXPECT_EQ(ends, 3);
}

class frmChangeUserTest : public WindowTest
{
protected:
    // Types the old, new and confirmation passwords and presses Ok; returns the messages shown.
    std::string ok(const QString& old, const QString& fresh, const QString& confirmation) const
    {
        for (const auto& [field, typed] : { std::pair(1, old), std::pair(2, fresh), std::pair(3, confirmation) }) {
            window->txtFields(field)->setText(typed);
        }
        window->cmdButtons(0)->click(); // a closed window is deleted later
        return ui.takeMessages();
    }

    // What a field holds: 1 the old password, 2 the new one, 3 the confirmation.
    std::string kept(int field) const { return window->txtFields(field)->text().toStdString(); }

    QPointer<tarn::frmChangeUser> window = tarn::frmChangeUser::openOrRaise();
};

TEST_F(frmChangeUserTest, EveryControlAfterLoadThenRefusalsEmptyAndFocusWhatTheCheckSaysUnderTheirTitle)
{
    EXPECT_TRUE(matchesDataFile(controlDump(*window), "gui/frmChangeUser.txt"));
    EXPECT_EQ(ok("x", " short1 ", " short1 "), "[] Password should be at least 7 characters (exclamation)\n");
    EXPECT_EQ(kept(1), "x");
    EXPECT_EQ(kept(2), "");
    EXPECT_EQ(kept(3), "");
    EXPECT_EQ(window->focusWidget(), window->txtFields(2));
    EXPECT_EQ(ok("wrong", "new secret", "new secret"),
              "[Config ORVANT] Sorry, Admin Password is wrong !  (information)\n");
    EXPECT_EQ(kept(1), "");
    EXPECT_EQ(kept(2), "new secret");
    EXPECT_EQ(kept(3), "new secret");
    EXPECT_EQ(window->focusWidget(), window->txtFields(1));
}

TEST_F(frmChangeUserTest, AcceptedPasswordIsStoredAndTheWindowCloses)
{
    EXPECT_EQ(ok(Installation::kPassword, "new secret", "new secret"),
              "[Config ORVANT] Login Information has been updated !  (information)\n");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(installation.read("properties/configuser.properties"),
              "Administrator=" + tarn::UserManagement::passwordHash("new secret") + "\r\n");
}

TEST_F(frmChangeUserTest, OneWindowAtATimeAndCancelWritesNothing)
{
    const auto before = installation.snapshot();
    EXPECT_EQ(tarn::frmChangeUser::openOrRaise(), window.data());
    window->cmdButtons(1)->click();
    EXPECT_EQ(tarn::frmChangeUser::openWindow(), nullptr);
    EXPECT_TRUE(sameTree(before, installation.snapshot()));
}

} // namespace
} // namespace orvant::test
