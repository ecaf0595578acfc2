#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "config_tool/tarnctl/Login.h"
#include "platform/TextCodec.h"

#include <algorithm>

namespace tarn::ctl {

namespace {

constexpr std::size_t kMinimumPasswordLength = 7;

void show(const char* message)
{
    Globals::ui().showMessage(message, MessageIcon::Information);
}

// Characters as the tool counts them: one per Windows-1252 byte.
std::size_t characterCount(const std::string& text)
{
    return orvant::platform::utf8ToAnsi(text).size();
}

bool isUserId(const std::string& userId)
{
    // The user-ID fields take letters only.
    return !userId.empty() && std::all_of(userId.begin(), userId.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

} // namespace

ExitStatus runPasswd(CommandContext& context)
{
    const std::string userId = context.line.arguments.empty() ? kAdministrator : context.line.arguments.front();
    if (!isUserId(userId)) {
        context.err << "tarnctl: a user ID takes letters only\n";
        return ExitStatus::Refused;
    }

    // A fresh installation has no user file: nobody could log in to set the first password.
    const bool firstProvisioning = !UserManagement::userExists(kAdministrator);
    if (firstProvisioning) {
        if (userId != kAdministrator) {
            context.err << "tarnctl: the installation has no Administrator yet; set the Administrator's password "
                           "first\n";
            return ExitStatus::Refused;
        }
    } else if (const ExitStatus login = logIn(context); login != ExitStatus::Done) {
        return login;
    }

    const auto newPassword = context.passwords.next("New password for " + userId + ": ");
    if (!newPassword) {
        context.err << "tarnctl: " << context.passwords.error() << '\n';
        return ExitStatus::Usage;
    }
    std::optional<std::string> confirmation = newPassword;
    if (context.passwords.typedOnTerminal()) {
        confirmation = context.passwords.next("Confirm the new password: ");
        if (!confirmation) {
            context.err << "tarnctl: " << context.passwords.error() << '\n';
            return ExitStatus::Usage;
        }
    }

    // The change-password window's checks, in its order and with its messages.
    if (newPassword->empty()) {
        show("New Password has not entered");
        return ExitStatus::Refused;
    }
    if (confirmation->empty()) {
        show("Confirm Password has not entered");
        return ExitStatus::Refused;
    }
    const std::string trimmed = trimSpaces(*newPassword);
    if (characterCount(trimmed) < kMinimumPasswordLength) {
        Globals::ui().showMessage("Password should be at least 7 characters", MessageIcon::Exclamation);
        return ExitStatus::Refused;
    }
    if (*newPassword != *confirmation) {
        show("New Password and confirm Password are not same");
        return ExitStatus::Refused;
    }
    if (!UserManagement::setUserPassword(userId, trimmed)) {
        show("Login Information has not been updated ! ");
        return ExitStatus::WriteFailed;
    }
    show("Login Information has been updated ! ");
    return ExitStatus::Done;
}

} // namespace tarn::ctl
