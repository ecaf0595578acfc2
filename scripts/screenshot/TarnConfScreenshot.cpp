// Opens the main window on a sample installation in the real window system and saves a picture of its
// General tab. Run under a real X server (xvfb-run); any Qt warning makes it fail.
#include "config_tool/foundation/Globals.h"
#include "config_tool/window/QtUiServices.h"
#include "config_tool/window/TarnConf.h"
#include "tests/support/Installation.h"
#include "tests/support/ProcessState.h"

#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <cstdio>
#include <fstream>

namespace {

int g_warnings = 0;

void countWarnings(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg) {
        ++g_warnings;
        std::fprintf(stderr, "Qt warning: %s\n", qPrintable(message));
    }
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(countWarnings);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <picture.png>\n", argv[0]);
        return 2;
    }

    orvant::test::TestFolder folder;
    orvant::test::Installation installation(folder);
    auto stored = orvant::test::Installation::numberedInstances(3);
    stored[0].values.push_back({ "Timeout", "30" });
    installation.writeConfiguration(stored);
    installation.writeMode(true);
    installation.makeInstanceFolders(3);
    installation.write("properties/terminal.properties",
                       "smartCardReader.class=sts.drivers.cardholder.DioneDriver\r\npinpad.name=Dione xtreme\r\n"
                       "smartCardReader.port=COM1\r\n");
    std::ofstream(folder.path() / "com" / "COM1");
    std::ofstream(folder.path() / "com" / "COM2");

    // A message box would wait for a click no one gives: messages are recorded and reported instead.
    orvant::test::ProcessStateGuard state;
    auto& ui = state.ui;

    tarn::TarnConf window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    window.findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(0);
    QTest::qWait(200);
    const bool saved = window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG");
    for (const auto& message : ui.messages) {
        std::fprintf(stderr, "message box: %s\n", message.c_str());
    }
    std::printf("window %dx%d, picture %s\n", window.frameGeometry().width(), window.frameGeometry().height(),
                saved ? "saved" : "NOT saved");
    return saved && g_warnings == 0 && ui.messages.empty() ? 0 : 1;
}
