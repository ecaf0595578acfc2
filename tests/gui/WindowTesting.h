#pragma once

#include "config_tool/window/TarnConf.h"
#include "tests/gui/FakeWindowServices.h"
#include "tests/support/Installation.h"
#include "tests/support/ProcessState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace orvant::test {

template <typename Widget = QWidget> Widget* child(const QWidget& window, const std::string& name)
{
    auto* widget = window.findChild<Widget*>(QString::fromStdString(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Every named control of a window, a line each, indented below its named parent: name, class, caption or
// text (a list's entries, a tab control's tabs), states that differ from the usual (checked, editable,
// default, password, picture, disabled, hidden); then the Tab order and the control with the focus.
std::string controlDump(const QWidget& window);

// A folder with an installation at C:\ORVANT (Administrator's password Installation::kPassword), the
// process state fresh with messages and questions going to `ui`; windows left open are closed afterwards.
class WindowTest : public ::testing::Test
{
protected:
    TestFolder folder;
    ProcessStateGuard state;
    FakeUi& ui = state.ui;
    Installation installation { folder };

    WindowTest() { installation.writeUsers(); }
    ~WindowTest() override
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// The main window, loaded and shown, over the base instance and instances 1 and 2 in xml mode, with
// COM1 and COM2 and the files Add New copies. Its requests to end the program are counted in `ends`.
class MainWindowTest : public WindowTest
{
protected:
    FakeWindowServices services;
    std::unique_ptr<tarn::TarnConf> window;
    int ends = 0;

    MainWindowTest()
    {
        installation.writeConfiguration(Installation::numberedInstances(2));
        installation.writeMode(true);
        installation.makeInstanceFolders(2);
        installation.write("conf/ORVANTTransactionLogEmpty.xml", "<TransactionLog/>\r\n");
        installation.write("bin/ReceiptPrinter.exe", "printer");
        folder.write("com/COM1", "");
        folder.write("com/COM2", "");
        open();
    }

    // Loads the installation as it is now into a new window, active as the operator's would be.
    void open()
    {
        window = std::make_unique<tarn::TarnConf>(&services);
        QObject::connect(window.get(), &tarn::TarnConf::programEndRequested, [this] { ++ends; });
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename Widget = QWidget> Widget* find(const std::string& name) const
    {
        return child<Widget>(*window, name);
    }
    std::string text(const std::string& name) const
    {
        auto* list = qobject_cast<QComboBox*>(find(name));
        return (list ? list->currentText() : find<QLineEdit>(name)->text()).toStdString();
    }
    // Types as the operator does: what the box or editable list held is selected and typed over.
    void type(const std::string& name, const std::string& typed) const
    {
        auto* list = qobject_cast<QComboBox*>(find(name));
        QWidget* box = list ? list->lineEdit() : find(name);
        box->setFocus();
        qobject_cast<QLineEdit*>(box)->selectAll();
        QTest::keyClicks(box, QString::fromStdString(typed));
    }
    void pick(const std::string& list, const std::string& entry) const
    {
        auto* box = find<QComboBox>(list);
        box->setCurrentIndex(box->findText(QString::fromStdString(entry)));
    }
    void click(const std::string& button) const { find<QAbstractButton>(button)->click(); }
};

} // namespace orvant::test
