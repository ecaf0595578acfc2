#pragma once

#include <QObject>

class QComboBox;

namespace tarn {

// A list's click as the window's handlers expect it: raised when the operator picks an entry (also the one
// already selected) and when code changes the selected index, but not when code sets the list's text
// (Controls::setListText changes the index with the list's signals blocked).
class ListClickNotifier : public QObject
{
    Q_OBJECT

public:
    explicit ListClickNotifier(QComboBox* list);

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void indexChanged(int index);
    void activated();

    // Set when the selected index changed since the operator last pressed a key or a mouse button on the
    // list, so that a pick which changed the index raises one click, not two.
    bool m_indexChanged = false;
};

} // namespace tarn
