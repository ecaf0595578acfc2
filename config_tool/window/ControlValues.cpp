#include "config_tool/window/ControlValues.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace tarn::Controls {

void setListText(QComboBox* list, const std::string& text)
{
    const QString wanted = QString::fromStdString(text);
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(list->findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (list->isEditable()) {
        list->setEditText(wanted);
    }
}

std::string listText(const QComboBox* list)
{
    return list->currentText().toStdString();
}

void clearList(QComboBox* list)
{
    const QSignalBlocker quiet(list);
    list->clear();
    if (list->isEditable()) {
        list->clearEditText();
    }
}

void addListEntry(QComboBox* list, const std::string& text)
{
    const QSignalBlocker quiet(list);
    const int index = list->currentIndex();
    const QString shown = list->currentText();
    // Adding the first entry would select it; the selection stays as it was.
    list->addItem(QString::fromStdString(text));
    list->setCurrentIndex(index);
    if (list->isEditable()) {
        list->setEditText(shown);
    }
}

void setText(QLineEdit* box, const std::string& text)
{
    box->setText(QString::fromStdString(text));
}

std::string text(const QLineEdit* box)
{
    return box->text().toStdString();
}

void setChecked(QCheckBox* box, bool value)
{
    box->setCheckState(value ? Qt::Checked : Qt::Unchecked);
}

bool isChecked(const QCheckBox* box)
{
    return box->checkState() != Qt::Unchecked;
}

int checkValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Checked:
        break;
    }
    return 1;
}

void selectOption(QButtonGroup* group, int index)
{
    if (QAbstractButton* option = group->button(index)) {
        option->setChecked(true);
        return;
    }
    // An exclusive group refuses to clear its last selected option.
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (QAbstractButton* option : group->buttons()) {
        option->setChecked(false);
    }
    group->setExclusive(exclusive);
}

void setOptionsEnabled(QButtonGroup* group, bool enabled)
{
    for (QAbstractButton* option : group->buttons()) {
        option->setEnabled(enabled);
    }
}

void setTextBoxEnabled(QLineEdit* box, bool enabled)
{
    box->setEnabled(enabled);
    if (enabled) {
        // Back to the inherited palette, whose base is the system's window background.
        box->setPalette(QPalette());
        return;
    }
    QPalette grey = box->palette();
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        grey.setColor(group, QPalette::Base, QColor(192, 192, 192));
    }
    box->setPalette(grey);
}

} // namespace tarn::Controls

namespace tarn {

std::int16_t getSelectedOptionIndex(const QButtonGroup* group)
{
    if (!group) {
        return 0;
    }
    const QList<QAbstractButton*> options = group->buttons();
    for (QAbstractButton* option : options) {
        if (option->isChecked()) {
            return static_cast<std::int16_t>(group->id(option));
        }
    }
    return 0;
}

} // namespace tarn
