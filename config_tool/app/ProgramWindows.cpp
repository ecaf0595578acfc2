#include "config_tool/app/ProgramWindows.h"

#include "config_tool/access/frmChangeUser.h"
#include "config_tool/access/frmLogIn.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/provisioning/UpgradeLauncher.h"
#include "config_tool/window/TarnConf.h"

#include <QApplication>
#include <QWidget>

namespace tarn {

void connectLoginWindow(frmLogIn& login)
{
    login.setMainWindowOpener([] { openMainWindow(); });
    login.setProgramEnd([] { endProgram(); });
}

TarnConf* openMainWindow()
{
    auto* window = new TarnConf;
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The main window's load has just read KELBRIN_HOME into the installation folder when it asks.
    window->setVersionCheck([] { return UpgradeLauncher::checkVersion(Globals::state().installationFolder); });
    QObject::connect(window, &TarnConf::changePasswordRequested, window, [] { frmChangeUser::openOrRaise(); });
    QObject::connect(window, &TarnConf::programEndRequested, window, [] { endProgram(); });
    window->show();
    return window;
}

void endProgram()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->close();
    }
    QCoreApplication::exit(0);
}

} // namespace tarn
