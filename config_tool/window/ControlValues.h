#pragma once

#include <cstdint>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tarn::Controls {

// Values move between records and controls through these, so every control kind converts one way only.

// Sets a list's text without raising its click: the matching entry becomes current when there is one, and
// a list that takes free text shows any other text as typed.
void setListText(QComboBox* list, const std::string& text);
std::string listText(const QComboBox* list);

// Lists are filled and emptied without selecting anything and without a click; code selects an entry
// afterwards, which clicks.
void clearList(QComboBox* list);
void addListEntry(QComboBox* list, const std::string& text);

void setText(QLineEdit* box, const std::string& text);
std::string text(const QLineEdit* box);

// A check box shows True as checked and False as unchecked; checked and grayed both read as True.
void setChecked(QCheckBox* box, bool value);
bool isChecked(const QCheckBox* box);
// The stored form of a check box: 0 unchecked, 1 checked, 2 grayed.
int checkValue(const QCheckBox* box);

// Selects the option whose index is given; an index without an option selects none of them.
void selectOption(QButtonGroup* group, int index);
void setOptionsEnabled(QButtonGroup* group, bool enabled);

// Disabled text boxes are drawn light grey (192, 192, 192); enabled ones get the window background back.
void setTextBoxEnabled(QLineEdit* box, bool enabled);

} // namespace tarn::Controls

namespace tarn {

// The index of the first selected option of an option-button group, in the group's order; 0 when there is
// no group or no option is selected.
std::int16_t getSelectedOptionIndex(const QButtonGroup* group);

} // namespace tarn
