#include "config_tool/window/QtUiServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace orvant::test {
namespace {

// Once the next box is open (exec() runs its own event loop, where the timer fires), describes what it
// shows and answers it with `answer`, so no test waits for a click.
void answerNextBox(std::string& seen, QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, [&seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QStringList buttons;
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
        }
        buttons.sort(); // their order is the style's
        const QString format = box->textFormat() == Qt::PlainText ? "plain: " : "rich: ";
        seen = (box->windowTitle() + " | icon " + QString::number(box->icon()) + " | " + buttons.join(' ') + " | "
                + format + box->text())
                   .toStdString();
        box->button(answer)->click();
    });
}

TEST(QtUiServicesTest, BoxesShowTheirTextAsItIsUnderTheProgramsNameOrTheirOwnTitle)
{
    tarn::QtUiServices services;
    std::string seen;
    answerNextBox(seen, QMessageBox::Ok);
    services.showMessage("Receipt Directory for <b>instance 1</b>", tarn::MessageIcon::Exclamation);
    EXPECT_EQ(seen, "TarnConfig | icon 2 | OK | plain: Receipt Directory for <b>instance 1</b>");
    answerNextBox(seen, QMessageBox::Ok);
    services.showTitledMessage("Config ORVANT", "Incorrect Password", tarn::MessageIcon::Critical);
    EXPECT_EQ(seen, "Config ORVANT | icon 3 | OK | plain: Incorrect Password");

    using Answer = tarn::QuestionAnswer;
    for (const auto& [button, answer] :
         { std::pair(QMessageBox::Yes, Answer::Yes), std::pair(QMessageBox::No, Answer::No),
           std::pair(QMessageBox::Cancel, Answer::Cancel) }) {
        answerNextBox(seen, button);
        EXPECT_EQ(services.askYesNoCancel("Save first?"), answer);
        EXPECT_EQ(seen, "TarnConfig | icon 4 | &No &Yes Cancel | plain: Save first?");
    }
}

} // namespace
} // namespace orvant::test
