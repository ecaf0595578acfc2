#include "config_tool/access/frmChangeUser.h"
#include "config_tool/access/frmLogIn.h"
#include "config_tool/app/ProgramWindows.h"
#include "config_tool/window/TarnConf.h"
#include "tests/gui/access/AccessTesting.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <filesystem>

namespace tarn::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The main window as the login opens it, on an installation whose Java launcher is a stand-in: a
// reporter that answers at once, one that takes longer than the two seconds, and none at all.
class MainWindowStartTest : public AccessWindowTest
{
protected:
    MainWindowStartTest()
    {
        m_folder.write("home/conf/ORVANTConfiguration.xml",
                       "<?xml version=\"1.0\"?>\r\n<ORVANTConfiguration>\r\n</ORVANTConfiguration>\r\n");
        m_folder.write("home/properties/hbl.properties", "Configuration=xml\r\n");
        writeUsers("Administrator=" + hashOf("demo pass") + "\r\n");
    }

    void installReporter(const std::string& delay)
    {
        m_folder.write("home/jre1.6.0_20/bin/java",
                       "#!/bin/sh\n"
                       "case \"$2\" in *version.jar)\n"
                       "  sleep "
                           + delay + "\n  printf '2.2.4.1\\r\\n' > version.txt ;;\nesac\n");
        fs::permissions(m_folder.path() / "home/jre1.6.0_20/bin/java", fs::perms::owner_all, fs::perm_options::add);
    }

    // Logs in and returns the main window with how long it took to appear.
    TarnConf* logIn(Clock::duration& took)
    {
        auto* login = new frmLogIn;
        login->setAttribute(Qt::WA_DeleteOnClose);
        connectLoginWindow(*login);
        login->setProgramEnd([] { ADD_FAILURE() << "the program ended"; });
        login->showWindow();
        login->txtFields(0)->setText("Administrator");
        login->txtFields(1)->setText("demo pass");
        const auto start = Clock::now();
        login->cmdButtons(0)->click();
        took = Clock::now() - start;
        EXPECT_FALSE(login->isVisible());
        TarnConf* window = nullptr;
        for (QWidget* candidate : QApplication::topLevelWidgets()) {
            if (auto* main = qobject_cast<TarnConf*>(candidate); main && main->isVisible()) {
                window = main;
            }
        }
        return window;
    }

    bool anyMessageAboutTheVersion() const
    {
        return std::any_of(m_ui.messages.begin(), m_ui.messages.end(),
                           [](const std::string& text) { return text.find("ersion") != std::string::npos; });
    }
};

TEST_F(MainWindowStartTest, VersionIsShownWhenTheReporterAnswersWithinTwoSeconds)
{
    const struct
    {
        const char* delay; // none: no reporter installed
        std::string version;
        Clock::duration atLeast;
        Clock::duration below;
    } cases[] = {
        { nullptr, "", 0s, 1500ms },
        { "0", "2.2.4.1", 0s, 1500ms },
        { "3", "", 2s, 3s },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delay ? c.delay : "no reporter");
        fs::remove(m_folder.path() / "home/jre1.6.0_20/bin/java");
        m_folder.write("home/version.txt", "1.0.0.0\r\n"); // left by an earlier start: never shown
        if (c.delay) {
            installReporter(c.delay);
        }
        Clock::duration took {};
        TarnConf* window = logIn(took);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->currentVersion(), c.version);
        EXPECT_EQ(window->controls().lblVersion->text().toStdString(),
                  c.version.empty() ? "" : "Current Version: " + c.version);
        EXPECT_GE(took, c.atLeast);
        EXPECT_LT(took, c.below);
        EXPECT_FALSE(anyMessageAboutTheVersion());
        window->close();
    }
}

TEST_F(MainWindowStartTest, ChangePasswordButtonOpensOneWindowBesideTheMainWindow)
{
    Clock::duration took {};
    TarnConf* window = logIn(took);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Globals::state().adminVerified);
    Globals::state().adminVerified = false;

    window->controls().cmdAdminPass->click();
    frmChangeUser* changeUser = frmChangeUser::openWindow();
    ASSERT_NE(changeUser, nullptr);
    EXPECT_TRUE(changeUser->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Globals::state().adminVerified);

    window->controls().cmdAdminPass->click();
    EXPECT_EQ(frmChangeUser::openWindow(), changeUser);
    int open = 0;
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
        open += qobject_cast<frmChangeUser*>(candidate) && candidate->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(open, 1);
}

} // namespace
} // namespace tarn::test
