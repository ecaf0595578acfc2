#pragma once

#include <string>

namespace tarn::ctl {

// The login window's check for the user ID "Administrator" and the password as typed. A refusal
// shows the login window's message ("Sorry, No Such User Exist" or "Incorrect Password") through the
// UI services and gives false.
bool logInAsAdministrator(const std::string& typedPassword);

} // namespace tarn::ctl
