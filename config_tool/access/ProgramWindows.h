#pragma once

namespace tarn {

class TarnConf;

// The road through the program's windows after the login.

// Opens the main window without waiting for it: its version label is filled by the engine's version
// reporter, and its "Change Password" button opens the change-password window. The window deletes
// itself when closed.
TarnConf* openMainWindow();

// Ends the program at once: every window closes and the event loop ends.
void endProgram();

} // namespace tarn
