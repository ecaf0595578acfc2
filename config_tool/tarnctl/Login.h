#pragma once

#include <string>
#include <string_view>

namespace tarn::ctl {

constexpr const char* kAdministrator = "Administrator";

// Leading and trailing spaces removed, as the access windows take what was typed.
std::string trimSpaces(std::string_view text);

// The login window's check, for the user ID "Administrator" and the password as typed: the user file
// must hold an "Administrator" entry, then the trimmed password's hash must pass the administrator
// check or the user check. A refusal shows the login window's message ("Sorry, No Such User Exist" or
// "Incorrect Password") through the UI services and gives false.
bool logInAsAdministrator(const std::string& typedPassword);

} // namespace tarn::ctl
