#include "config_tool/window/DigitsOnlyKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

namespace tarn {

DigitsOnlyKeyFilter::DigitsOnlyKeyFilter(QObject* parent)
    : QObject(parent)
{
}

void DigitsOnlyKeyFilter::watch(QWidget* box)
{
    box->installEventFilter(this);
}

bool DigitsOnlyKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* box = qobject_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enterPressed(box);
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        return false;
    }
    const QString typed = key->text();
    if (typed.isEmpty()) {
        return false;
    }
    if (typed.size() == 1 && typed.front() >= QLatin1Char('0') && typed.front() <= QLatin1Char('9')) {
        return false;
    }
    emit keyRefused(box);
    return true;
}

} // namespace tarn
