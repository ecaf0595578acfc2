#pragma once

#include "config_tool/foundation/UiServices.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tarn {

// Replacing a password: the checks of the change-password window in their order, with the message,
// the field that takes the focus and the fields that are emptied after each refusal.
//
// The minimum length is 7 characters of the new password without its surrounding spaces, counted as
// the password is stored and hashed: one per Windows-1252 character (a character that Windows-1252
// cannot hold counts one, as the "?" it becomes).
constexpr std::size_t kMinimumPasswordLength = 7;

enum class PasswordField
{
    UserId = 0,
    Old = 1,
    New = 2,
    Confirm = 3,
};

enum class PasswordChangeMode
{
    // The window as it opens: the old password is checked against any of the administrator's entries;
    // it may be empty or equal the new one. A wrong one turns the window to Plain.
    Administrator,
    // After a wrong administrator password: the old password must be given, must differ from the new
    // one, and is checked against the user's own entry.
    Plain,
    // The administrator's password was checked before (tarnctl's login, or the first password of an
    // installation without users): no old password; the user need not exist yet.
    Verified,
};

struct PasswordChangeRequest
{
    std::string userId;
    std::string oldPassword; // the fields as typed
    std::string newPassword;
    std::string confirmation;
};

struct PasswordChangeResult
{
    enum class Outcome
    {
        Refused, // the window stays open
        Stored, // "Login Information has been updated ! "
        NotStored, // the user file could not be read or written
        NoSuchLogin, // "Sorry, Login Not Exist"
    };

    Outcome outcome = Outcome::Refused;
    std::string message;
    MessageIcon icon = MessageIcon::Information;
    // The length message is shown under the program's own title; every other one is titled "Config ORVANT".
    bool programTitle = false;
    std::vector<PasswordField> cleared;
    bool focus = false; // whether focusField takes the focus
    PasswordField focusField = PasswordField::New;
    bool closesWindow = false;
};

// Runs the checks and, when all pass, stores the new password (trimmed) under the user ID. mode is
// turned to Plain when an administrator's old password is wrong.
PasswordChangeResult changePassword(const PasswordChangeRequest& request, PasswordChangeMode& mode);

// True when the new password, trimmed, is long enough (see kMinimumPasswordLength).
bool satisfiesPasswordLength(const std::string& newPassword);

// The refusal of a new password that is too short: "Password should be at least 7 characters", the
// new and confirm fields emptied, the focus in the new one.
PasswordChangeResult passwordTooShort();

} // namespace tarn
