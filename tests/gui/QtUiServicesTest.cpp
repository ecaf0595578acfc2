#include "config_tool/window/QtUiServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace orvant::test {
namespace {

// What the box showed, captured while it is open; the box is then answered with the given button, so no
// test ever waits for a click.
struct SeenBox
{
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

void answerNextBox(SeenBox& seen, QMessageBox::StandardButton answer)
{
    // Polls until the box is open: exec() runs its own event loop, in which this timer fires.
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons.push_back(box->standardButton(button));
        }
        box->button(answer)->click();
    });
    timer->start();
}

TEST(QtUiServicesTest, MessagesAreTitledWithTheProgramsNameAndShowTheirTextAsItIs)
{
    tarn::QtUiServices services;
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    services.showMessage("Receipt Directory for <b>instance 1</b>", tarn::MessageIcon::Exclamation);
    EXPECT_EQ(seen.title.toStdString(), "TarnConfig");
    EXPECT_EQ(seen.text.toStdString(), "Receipt Directory for <b>instance 1</b>");
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton> { QMessageBox::Ok });

    answerNextBox(seen, QMessageBox::Ok);
    services.showTitledMessage("Config ORVANT", "Invalid password", tarn::MessageIcon::Critical);
    EXPECT_EQ(seen.title.toStdString(), "Config ORVANT");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST(QtUiServicesTest, QuestionsOfferYesNoAndCancelAndReturnTheAnswer)
{
    tarn::QtUiServices services;
    const std::pair<QMessageBox::StandardButton, tarn::QuestionAnswer> cases[] = {
        { QMessageBox::Yes, tarn::QuestionAnswer::Yes },
        { QMessageBox::No, tarn::QuestionAnswer::No },
        { QMessageBox::Cancel, tarn::QuestionAnswer::Cancel },
    };
    for (const auto& [button, expected] : cases) {
        SeenBox seen;
        answerNextBox(seen, button);
        EXPECT_EQ(services.askYesNoCancel("Save the configuration first?"), expected);
        EXPECT_EQ(seen.title.toStdString(), "TarnConfig");
        EXPECT_EQ(seen.buttons.size(), 3);
        EXPECT_TRUE(seen.buttons.contains(QMessageBox::Yes) && seen.buttons.contains(QMessageBox::No)
                    && seen.buttons.contains(QMessageBox::Cancel));
    }
}

} // namespace
} // namespace orvant::test
