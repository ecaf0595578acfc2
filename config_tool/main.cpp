#include "config_tool/access/frmLogIn.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/window/QtUiServices.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// The program's message boxes: under the program's name, or under the title a window asks for.
class ProgramUiServices : public tarn::QtUiServices
{
public:
    void showTitledMessage(const std::string& title, const std::string& text, tarn::MessageIcon icon) override
    {
        QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

private:
    static QMessageBox::Icon qtIcon(tarn::MessageIcon icon)
    {
        switch (icon) {
        case tarn::MessageIcon::Information:
            return QMessageBox::Information;
        case tarn::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case tarn::MessageIcon::Critical:
            return QMessageBox::Critical;
        case tarn::MessageIcon::None:
            break;
        }
        return QMessageBox::NoIcon;
    }
};

} // namespace

// The program takes no arguments of its own; QApplication keeps only the window system's options.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ProgramUiServices ui;
    tarn::Globals::setUi(&ui);

    tarn::frmLogIn login;
    login.showWindow();
    const int result = QApplication::exec();

    tarn::Globals::setUi(nullptr);
    return result;
}
