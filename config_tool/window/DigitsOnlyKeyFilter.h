#pragma once

#include <QObject>

class QWidget;

namespace tarn {

// The key rule of the numeric text boxes: Enter moves on to the next control; Backspace and the digits
// "0" to "9" are typed; any other typed character is refused, and the refusal is reported so that the
// window can beep. Keys that type nothing (arrows, Delete, Tab) and editing shortcuts (copy, paste) pass:
// pasted text is not filtered.
class DigitsOnlyKeyFilter : public QObject
{
    Q_OBJECT

public:
    explicit DigitsOnlyKeyFilter(QObject* parent = nullptr);

    void watch(QWidget* box);

signals:
    void enterPressed(QWidget* box);
    void keyRefused(QWidget* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tarn
