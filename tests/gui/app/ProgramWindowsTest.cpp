#include "config_tool/app/ProgramWindows.h"

#include "config_tool/access/frmChangeUser.h"
#include "config_tool/access/frmLogIn.h"
#include "tests/gui/WindowTesting.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace orvant::test {
namespace {

class ProgramWindowsTest : public WindowTest
{
protected:
    QPointer<tarn::TarnConf> window;
    tarn::frmLogIn login;

    // Logs in as the program starts: the main window opens, its version read by the engine's reporter.
    ProgramWindowsTest()
    {
        installation.writeConfiguration(Installation::numberedInstances(0));
        installation.write("jre1.6.0_20/bin/java", "#!/bin/sh\nprintf '2.2.4.1\\r\\n' > version.txt\n"); // the reporter
        std::filesystem::permissions(installation.native("jre1.6.0_20/bin/java"), std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        tarn::connectLoginWindow(login);
        login.txtFields(0)->setText("Administrator");
        login.txtFields(1)->setText(Installation::kPassword);
        login.cmdButtons(0)->click();
        for (QWidget* candidate : QApplication::topLevelWidgets()) {
            window = candidate->isVisible() ? qobject_cast<tarn::TarnConf*>(candidate) : window.data();
        }
    }

    static int visibleWindows()
    {
        const auto windows = QApplication::topLevelWidgets();
        return static_cast<int>(
            std::count_if(windows.begin(), windows.end(), [](const QWidget* open) { return open->isVisible(); }));
    }
};

TEST_F(ProgramWindowsTest, LoginOpensTheMainWindowWhoseButtonsOpenTheChangePasswordWindowAndEndTheProgram)
{
    ASSERT_TRUE(window);
    EXPECT_EQ(child<QLabel>(*window, "lblVersion")->text(), "Current Version: 2.2.4.1");

    child<QPushButton>(*window, "cmdAdminPass")->click();
    child<QPushButton>(*window, "cmdAdminPass")->click();
    QPointer<tarn::frmChangeUser> changeUser = tarn::frmChangeUser::openWindow();
    EXPECT_EQ(visibleWindows(), 2) << "the main window and one change-password window";

    child<QPushButton>(*window, "btCancel")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the main window closed";
    EXPECT_TRUE(changeUser.isNull()) << "the change-password window closed with it";
    EXPECT_EQ(ui.takeMessages(), "");
}

TEST_F(ProgramWindowsTest, TheMainWindowsTitleBarCloseEndsTheProgramAsCancelDoesAfterTheDiscardQuestion)
{
    ASSERT_TRUE(window);
    child<QPushButton>(*window, "cmdAdminPass")->click();
    QPointer<tarn::frmChangeUser> changeUser = tarn::frmChangeUser::openWindow();
    QTest::keyClicks(child(*window, "txtHBLHost"), "9");

    window->close(); // No, the default: both windows stay
    EXPECT_EQ(visibleWindows(), 2);
    ui.answers = { tarn::QuestionAnswer::Yes };
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the main window closed";
    EXPECT_TRUE(changeUser.isNull()) << "the change-password window closed with it";
    EXPECT_EQ(ui.questions, std::vector<std::string>(2, tarn::TarnConf::kDiscardQuestion));
}

} // namespace
} // namespace orvant::test
