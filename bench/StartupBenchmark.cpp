// How fast the windows come up, for bench/process-bench.sh, which starts this program many times and
// compares the medians:
//   bench_startup empty    an empty Qt window, shown; the program ends as soon as it is on screen
//   bench_startup login    the login window, started as TarnConfig starts it
//   bench_startup main     logs in as Administrator with the password given on standard input and
//                          prints the milliseconds from pressing Ok until the main window is on screen
//                          with every instance loaded (the installation comes from the environment)
#include "config_tool/access/frmLogIn.h"
#include "config_tool/app/ProgramWindows.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/window/QtUiServices.h"
#include "config_tool/window/TarnConf.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

int showEmptyWindow()
{
    QWidget window;
    window.show();
    return QTest::qWaitForWindowExposed(&window) ? 0 : 1;
}

int showLoginWindow()
{
    tarn::frmLogIn login;
    tarn::connectLoginWindow(login);
    login.showWindow();
    return QTest::qWaitForWindowExposed(&login) ? 0 : 1;
}

tarn::TarnConf* shownMainWindow()
{
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<tarn::TarnConf*>(candidate); window && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

int logInToTheMainWindow()
{
    std::string password;
    std::getline(std::cin, password);
    tarn::frmLogIn login;
    tarn::connectLoginWindow(login);
    login.showWindow();
    if (!QTest::qWaitForWindowExposed(&login)) {
        return 1;
    }
    login.txtFields(0)->setText(QStringLiteral("Administrator"));
    login.txtFields(1)->setText(QString::fromStdString(password));

    const auto start = std::chrono::steady_clock::now();
    login.cmdButtons(0)->click();
    tarn::TarnConf* window = shownMainWindow();
    if (!window || !QTest::qWaitForWindowExposed(window)) {
        std::fprintf(stderr, "the main window did not open\n");
        return 1;
    }
    const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
    std::printf("%.1f ms, %d instances listed\n", took.count(), window->controls().cboInstance->count());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    tarn::QtUiServices ui;
    tarn::Globals::setUi(&ui);
    const std::string mode = argc > 1 ? argv[1] : "";
    int result = 2;
    if (mode == "empty") {
        result = showEmptyWindow();
    } else if (mode == "login") {
        result = showLoginWindow();
    } else if (mode == "main") {
        result = logInToTheMainWindow();
    } else {
        std::fprintf(stderr, "usage: %s empty|login|main\n", argv[0]);
    }
    tarn::Globals::setUi(nullptr);
    return result;
}
