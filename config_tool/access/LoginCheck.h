#pragma once

#include <string>

namespace tarn {

// The login's check of a user ID and a password as typed. Only "Administrator" gets in (exactly that
// spelling; "administrator" is refused at the door), and only while the user file has an
// "Administrator" entry. The password, trimmed of spaces, must then pass the administrator check (any
// of the three administrator entries, which also sets adminVerified) or the user check.
struct LoginResult
{
    enum class Outcome
    {
        LoggedIn,
        NoSuchUser, // "Sorry, No Such User Exist": both fields are emptied, the user ID takes the focus
        IncorrectPassword, // "Incorrect Password": the password is emptied and takes the focus
    };

    Outcome outcome = Outcome::LoggedIn;
    std::string message; // empty when logged in

    bool passed() const { return outcome == Outcome::LoggedIn; }
};

inline constexpr const char* kAdministrator = "Administrator";

LoginResult checkLogin(const std::string& typedUserId, const std::string& typedPassword);

} // namespace tarn
