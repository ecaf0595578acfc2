#pragma once

#include <QApplication>

namespace tarn {

// The busy cursor over the program while an operation runs that may take a while (a save that waits
// for another program, a slow share).
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace tarn
