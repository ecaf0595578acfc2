#include "config_tool/window/ListClickNotifier.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>

namespace tarn {

ListClickNotifier::ListClickNotifier(QComboBox* list)
    : QObject(list)
{
    list->installEventFilter(this);
    list->view()->installEventFilter(this);
    list->view()->viewport()->installEventFilter(this);
    connect(list, &QComboBox::currentIndexChanged, this, &ListClickNotifier::indexChanged);
    connect(list, &QComboBox::activated, this, &ListClickNotifier::activated);
}

bool ListClickNotifier::eventFilter(QObject* /*watched*/, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
        m_indexChanged = false;
    }
    return false;
}

void ListClickNotifier::indexChanged(int index)
{
    // An emptied list selects nothing; that is no click.
    if (index < 0) {
        return;
    }
    m_indexChanged = true;
    emit clicked();
}

void ListClickNotifier::activated()
{
    if (!m_indexChanged) {
        emit clicked();
    }
    m_indexChanged = false;
}

} // namespace tarn
