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

using ProgramWindowsTest = WindowTest;

TEST_F(ProgramWindowsTest, LoginOpensTheMainWindowWhoseButtonsOpenTheChangePasswordWindowAndEndTheProgram)
{
    installation.writeConfiguration(Installation::numberedInstances(0));
    installation.write("jre1.6.0_20/bin/java", "#!/bin/sh\nprintf '2.2.4.1\\r\\n' > version.txt\n"); // the reporter
    std::filesystem::permissions(installation.native("jre1.6.0_20/bin/java"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    tarn::frmLogIn login;
    tarn::connectLoginWindow(login);
    login.txtFields(0)->setText("Administrator");
    login.txtFields(1)->setText(Installation::kPassword);
    login.cmdButtons(0)->click();
    QPointer<tarn::TarnConf> window;
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
        window = candidate->isVisible() ? qobject_cast<tarn::TarnConf*>(candidate) : window.data();
    }
    ASSERT_TRUE(window);
    EXPECT_EQ(child<QLabel>(*window, "lblVersion")->text(), "Current Version: 2.2.4.1");

    child<QPushButton>(*window, "cmdAdminPass")->click();
    child<QPushButton>(*window, "cmdAdminPass")->click();
    QPointer<tarn::frmChangeUser> changeUser = tarn::frmChangeUser::openWindow();
    const auto windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(), [](const QWidget* open) { return open->isVisible(); }), 2)
        << "the main window and one change-password window";

    child<QPushButton>(*window, "btCancel")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull() && changeUser.isNull()) << "every window closed";
    EXPECT_EQ(ui.takeMessages(), "");
}

} // namespace
} // namespace orvant::test
