#include "config_tool/access/frmLogIn.h"
#include "config_tool/app/ProgramWindows.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/window/QtUiServices.h"

#include <QApplication>

// The program takes no arguments of its own; QApplication keeps only the window system's options.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tarn::QtUiServices ui;
    tarn::Globals::setUi(&ui);

    tarn::frmLogIn login;
    tarn::connectLoginWindow(login);
    login.showWindow();
    const int result = QApplication::exec();

    tarn::Globals::setUi(nullptr);
    return result;
}
