#pragma once

#include "config_tool/session/ConfigSession.h"

#include <optional>
#include <string>

namespace tarn::ctl {

// The screen a console front end assumes for the twips rule of stored window positions: 1024 x 768
// pixels at 15 twips per pixel, the screen the tool was laid out for. A stored Top of 2000 is then
// read as twips and becomes 133; a Top of 200 stays 200.
constexpr int kAssumedScreenWidth = 1024;
constexpr int kAssumedScreenHeight = 768;
constexpr double kAssumedTwipsPerPixel = 15.0;

// Makes the installation folder known: home when given, else KELBRIN_HOME, else "C:\ORVANT". Then,
// as the window's start-up does, sets the XML configuration path and reads the configuration mode.
// False, with the reason in error, when the folder does not exist.
bool openInstallationFolder(const std::optional<std::string>& home, std::string& error);

// Loads what the window's load loads: the XML document, the common settings and every instance.
// Where the window asks the window system, a console has no answer, so: the stored Printer counts as
// installed (a save keeps it instead of blanking it) with no default printer, and the screen is the
// assumed one above. Load messages go to the UI services.
void loadSession(ConfigSession& session);

} // namespace tarn::ctl
