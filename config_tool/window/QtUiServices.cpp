#include "config_tool/window/QtUiServices.h"

#include <QApplication>
#include <QMessageBox>

namespace tarn {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A box wraps a long word where the text lets it. Paths have no blanks: they may break after each
// backslash, but a drive stays with its first folder ("C:\ORVANT2\", never "C:" or "C:\" alone at the end
// of a line).
QString withBreakablePaths(const std::string& text)
{
    const QString given = QString::fromStdString(text);
    QString shown;
    for (qsizetype i = 0; i < given.size(); ++i) {
        const bool drive = given[i] == QLatin1Char(':') && i + 1 < given.size() && given[i + 1] == QLatin1Char('\\');
        const bool afterDrive = i > 0 && given[i - 1] == QLatin1Char(':');
        shown += given[i];
        if (drive) {
            shown += QChar(0x2060); // word joiner: no break here
        } else if (given[i] == QLatin1Char('\\') && !afterDrive) {
            shown += QChar(0x200B); // zero width space: a break may come here
        }
    }
    return shown;
}

// A box that opens while the program shows its busy cursor (a save) still gets the ordinary pointer.
int exec(QMessageBox& box)
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    return answer;
}

void showBox(const QString& title, const std::string& text, MessageIcon icon)
{
    QMessageBox box(qtIcon(icon), title, withBreakablePaths(text), QMessageBox::Ok, QApplication::activeWindow());
    // Messages carry paths and user text; nothing in them is markup.
    box.setTextFormat(Qt::PlainText);
    exec(box);
}

} // namespace

void QtUiServices::showMessage(const std::string& text, MessageIcon icon)
{
    showBox(QString::fromLatin1(kProgramName), text, icon);
}

void QtUiServices::showTitledMessage(const std::string& title, const std::string& text, MessageIcon icon)
{
    showBox(QString::fromStdString(title), text, icon);
}

QuestionAnswer QtUiServices::askYesNoCancel(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kProgramName), withBreakablePaths(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (exec(box)) {
    case QMessageBox::Yes:
        return QuestionAnswer::Yes;
    case QMessageBox::No:
        return QuestionAnswer::No;
    default:
        break;
    }
    return QuestionAnswer::Cancel;
}

QuestionAnswer QtUiServices::askYesNo(const std::string& text, QuestionAnswer defaultAnswer)
{
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kProgramName), withBreakablePaths(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    const auto fallback = defaultAnswer == QuestionAnswer::Yes ? QMessageBox::Yes : QMessageBox::No;
    box.setDefaultButton(fallback);
    box.setEscapeButton(QMessageBox::No);
    const int answer = exec(box);
    if (answer == QMessageBox::Yes || answer == QMessageBox::No) {
        return answer == QMessageBox::Yes ? QuestionAnswer::Yes : QuestionAnswer::No;
    }
    return defaultAnswer;
}

void QtUiServices::beep()
{
    QApplication::beep();
}

} // namespace tarn
