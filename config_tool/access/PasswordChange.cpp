#include "config_tool/access/PasswordChange.h"

#include "config_tool/access/UserManagement.h"
#include "config_tool/session/SaveTransaction.h"
#include "platform/AsciiText.h"
#include "platform/TextCodec.h"

namespace tarn {

namespace {

using Result = PasswordChangeResult;

Result refused(const char* message, PasswordField focus, std::vector<PasswordField> cleared = {})
{
    Result result;
    result.message = message;
    result.focus = true;
    result.focusField = focus;
    result.cleared = std::move(cleared);
    return result;
}

Result closing(Result::Outcome outcome, const char* message)
{
    Result result;
    result.outcome = outcome;
    result.message = message;
    result.closesWindow = true;
    return result;
}

std::string trimmed(const std::string& text)
{
    return std::string(orvant::ascii::trim(text));
}

} // namespace

bool satisfiesPasswordLength(const std::string& newPassword)
{
    return orvant::platform::utf8ToAnsi(trimmed(newPassword)).size() >= kMinimumPasswordLength;
}

PasswordChangeResult passwordTooShort()
{
    Result result = refused("Password should be at least 7 characters", PasswordField::New,
                            { PasswordField::New, PasswordField::Confirm });
    result.icon = MessageIcon::Exclamation;
    result.programTitle = true;
    return result;
}

PasswordChangeResult changePassword(const PasswordChangeRequest& request, PasswordChangeMode& mode)
{
    const bool plain = mode == PasswordChangeMode::Plain;
    if (plain && request.oldPassword.empty()) {
        return refused("Old Password has not been entered ", PasswordField::Old);
    }
    if (request.newPassword.empty()) {
        return refused("New Password has not entered", PasswordField::New);
    }
    if (request.confirmation.empty()) {
        return refused("Confirm Password has not entered", PasswordField::Confirm);
    }
    if (plain && request.oldPassword == request.newPassword) {
        return refused("Same Passwords are not allowed", PasswordField::New);
    }
    if (!satisfiesPasswordLength(request.newPassword)) {
        return passwordTooShort();
    }
    if (mode != PasswordChangeMode::Verified) {
        if (!UserManagement::userExists(request.userId)) {
            return closing(Result::Outcome::NoSuchLogin, "Sorry, Login Not Exist");
        }
        const std::string oldHash = UserManagement::passwordHash(trimmed(request.oldPassword));
        if (mode == PasswordChangeMode::Administrator && !UserManagement::checkAdminPassword(request.userId, oldHash)) {
            mode = PasswordChangeMode::Plain;
            return refused("Sorry, Admin Password is wrong ! ", PasswordField::Old, { PasswordField::Old });
        }
        if (plain && !UserManagement::checkUserPassword(request.userId, oldHash)) {
            return refused("Sorry, Your Password is wrong ! ", PasswordField::Old, { PasswordField::Old });
        }
    }
    if (request.newPassword != request.confirmation) {
        return refused("New Password and confirm Password are not same", PasswordField::New);
    }
    if (!UserManagement::setUserPassword(request.userId, trimmed(request.newPassword))) {
        return closing(Result::Outcome::NotStored, "Login Information has not been updated ! ");
    }
    SaveTransaction::logEvent("password changed", 0, "user " + request.userId);
    return closing(Result::Outcome::Stored, "Login Information has been updated ! ");
}

} // namespace tarn
