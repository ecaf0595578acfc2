#pragma once

#include "config_tool/foundation/UiServices.h"

#include <QString>
#include <array>
#include <functional>
#include <string>

class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tarn::AccessWindow {

// What the login and change-password windows share.

// The title of their message boxes.
constexpr const char* kMessageTitle = "Config ORVANT";

// A message box titled "Config ORVANT", through the UI services so that tests can answer it.
void showMessage(const std::string& text, MessageIcon icon);

// The window's bold, centred title label: white text on the system highlight colour, filling the label.
QLabel* createTitleLabel(QWidget* window, const char* text, const char* objectName);

// Creates the "&Ok" and "&Cancel" buttons of the control array cmdButtons (Ok is the default button,
// so Enter presses it) and returns them in a right-aligned row; a click calls click(index).
QHBoxLayout* createOkCancelButtons(QWidget* window, std::array<QPushButton*, 2>& buttons,
                                   const std::function<void(int)>& click);

// A password box: what is typed shows as one "*" per character.
void makePasswordBox(QLineEdit* box);

// Shows the window centred on its screen.
void showCentred(QWidget* window);

// The character a typed key gives a key filter such as AllowAlpha, as a Windows-1252 code; 0 for keys
// that type nothing or act on the window (Enter, Esc, Tab, Delete) and for editing shortcuts (Ctrl+V
// and the like), which the field handles itself.
int typedCharacterCode(const QKeyEvent& key);

} // namespace tarn::AccessWindow
