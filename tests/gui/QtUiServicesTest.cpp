#include "config_tool/window/QtUiServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvant::test {
namespace {

// What a message box showed.
struct ShownBox
{
    std::string title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::vector<std::string> buttons; // sorted: their order is the style's
    bool plainText = false;
    std::string text;
};

// A box under this title with this icon and these buttons, its text shown as it is.
::testing::Matcher<const ShownBox&> plainBox(const std::string& title, QMessageBox::Icon icon,
                                             const std::vector<std::string>& buttons, const std::string& text)
{
    using ::testing::Field;
    return ::testing::AllOf(Field("title", &ShownBox::title, title), Field("icon", &ShownBox::icon, icon),
                            Field("buttons", &ShownBox::buttons, buttons),
                            Field("plainText", &ShownBox::plainText, true), Field("text", &ShownBox::text, text));
}

// Once the next box is open (exec() runs its own event loop, where the timer fires), records what it
// shows and answers it with `answer`, so no test waits for a click.
void answerNextBox(ShownBox& seen, QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, [&seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = { box->windowTitle().toStdString(),
                 box->icon(),
                 {},
                 box->textFormat() == Qt::PlainText,
                 box->text().toStdString() };
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons.push_back(button->text().toStdString());
        }
        std::sort(seen.buttons.begin(), seen.buttons.end());
        box->button(answer)->click();
    });
}

TEST(QtUiServicesTest, BoxesShowTheirTextAsItIsUnderTheProgramsNameOrTheirOwnTitle)
{
    tarn::QtUiServices services;
    ShownBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    services.showMessage("Receipt Directory for <b>instance 1</b>", tarn::MessageIcon::Exclamation);
    EXPECT_THAT(seen,
                plainBox("TarnConfig", QMessageBox::Warning, { "OK" }, "Receipt Directory for <b>instance 1</b>"));
    answerNextBox(seen, QMessageBox::Ok);
    services.showTitledMessage("Config ORVANT", "Incorrect Password", tarn::MessageIcon::Critical);
    EXPECT_THAT(seen, plainBox("Config ORVANT", QMessageBox::Critical, { "OK" }, "Incorrect Password"));

    using Answer = tarn::QuestionAnswer;
    for (const auto& [button, answer] :
         { std::pair(QMessageBox::Yes, Answer::Yes), std::pair(QMessageBox::No, Answer::No),
           std::pair(QMessageBox::Cancel, Answer::Cancel) }) {
        answerNextBox(seen, button);
        EXPECT_EQ(services.askYesNoCancel("Save first?"), answer);
        EXPECT_THAT(seen, plainBox("TarnConfig", QMessageBox::Question, { "&No", "&Yes", "Cancel" }, "Save first?"));
    }
}

// A path too long for a line breaks after one of its backslashes, never after the drive's colon.
TEST(QtUiServicesTest, LongPathsWrapAtABackslash)
{
    tarn::QtUiServices services;
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    services.showMessage("Written in C:\\ORVANT2\\INSTANCE_01\\properties\\terminal.properties");

    QTextLayout layout(shown, QApplication::font());
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(wrapping);
    // Room for "Written in C:" and for each part of the path, not for "Written in C:\ORVANT2\".
    const QFontMetricsF metrics(QApplication::font());
    const qreal width = std::max(metrics.horizontalAdvance(QStringLiteral("terminal.properties")),
                                 metrics.horizontalAdvance(QStringLiteral("Written in C:")))
        * 1.05;
    ASSERT_GT(metrics.horizontalAdvance(QStringLiteral("Written in C:\\ORVANT2\\")), width);
    std::vector<std::string> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const QString text = shown.mid(line.textStart(), line.textLength());
        lines.push_back(text.simplified().remove(QChar(0x200B)).remove(QChar(0x2060)).toStdString());
    }
    layout.endLayout();
    EXPECT_THAT(
        lines,
        ::testing::ElementsAre("Written in", "C:\\ORVANT2\\", "INSTANCE_01\\", "properties\\", "terminal.properties"));
}

} // namespace
} // namespace orvant::test
