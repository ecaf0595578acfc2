#include "tests/gui/WindowTesting.h"

#include <QPixmap>
#include <QSet>
#include <QTabWidget>

namespace orvant::test {

namespace {

bool isControl(const QWidget* widget)
{
    return !widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_");
}

QString describe(const QWidget& widget)
{
    QString line = widget.objectName() + ' ' + widget.metaObject()->className();
    for (const char* caption : { "title", "text", "currentText" }) {
        line += widget.property(caption).isValid() ? " \"" + widget.property(caption).toString() + '"' : "";
    }
    line += widget.isWindow() ? " \"" + widget.windowTitle() + '"' : "";
    auto* list = qobject_cast<const QComboBox*>(&widget);
    auto* tabs = qobject_cast<const QTabWidget*>(&widget);
    QStringList entries;
    for (int i = 0; i < (list ? list->count() : tabs ? tabs->count() : 0); ++i) {
        entries << (list ? list->itemText(i) : tabs->tabText(i));
    }
    line += entries.isEmpty() ? "" : " [" + entries.join('|') + ']';
    for (const char* flag : { "checked", "editable", "default" }) {
        line += widget.property(flag).toBool() ? QString(' ') + flag : QString();
    }
    if (widget.property("echoMode").toInt() == QLineEdit::Password) {
        const int mask = widget.style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, &widget);
        line += QStringLiteral(" password(") + QChar(mask) + ')';
    }
    line += widget.property("pixmap").value<QPixmap>().isNull() ? "" : " picture";
    return line + (widget.isEnabled() ? "" : " disabled") + (widget.isHidden() ? " hidden" : "");
}

// The controls below parent; a tab control's pages in the order of their tabs, without its tab bar.
void dumpChildren(const QWidget& parent, int depth, QString& out, QSet<const QWidget*>& dumped)
{
    QList<const QWidget*> children;
    auto* tabs = qobject_cast<const QTabWidget*>(&parent);
    for (int i = 0; tabs && i < tabs->count(); ++i) {
        children << tabs->widget(i);
    }
    for (const QObject* object : tabs ? QObjectList() : parent.children()) {
        if (object->isWidgetType()) {
            children << static_cast<const QWidget*>(object);
        }
    }
    for (const QWidget* widget : children) {
        if (isControl(widget)) {
            out += QString(depth * 2, ' ') + describe(*widget) + '\n';
            dumped << widget;
        }
        dumpChildren(*widget, isControl(widget) ? depth + 1 : depth, out, dumped);
    }
}

} // namespace

std::string controlDump(const QWidget& window)
{
    QString out = describe(window) + '\n';
    QSet<const QWidget*> dumped;
    dumpChildren(window, 1, out, dumped);
    out += "Tab order:";
    for (QWidget* next = window.nextInFocusChain(); next && next != &window; next = next->nextInFocusChain()) {
        out += dumped.contains(next) && (next->focusPolicy() & Qt::TabFocus) ? ' ' + next->objectName() : "";
    }
    const QWidget* focus = window.focusWidget();
    return (out + "\nFocus: " + (focus ? focus->objectName() : QString()) + '\n').toStdString();
}

} // namespace orvant::test
