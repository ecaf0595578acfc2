#pragma once

namespace tarn {

class frmLogIn;
class TarnConf;

// The road through the program's windows.

// The login window as the program starts it: a successful login opens the main window, Cancel ends
// the program.
void connectLoginWindow(frmLogIn& login);

// Opens the main window without waiting for it: its version label is filled by the engine's version
// reporter, its "Change Password" button opens the change-password window, and its OK, Cancel, title-bar
// close and upgrade end the program. The window deletes itself when closed.
TarnConf* openMainWindow();

// Ends the program at once: every window closes and the event loop ends.
void endProgram();

} // namespace tarn
