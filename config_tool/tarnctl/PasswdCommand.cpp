#include "config_tool/access/LoginCheck.h"
#include "config_tool/access/PasswordChange.h"
#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/tarnctl/CommandSupport.h"
#include "config_tool/tarnctl/Commands.h"
#include "platform/AsciiText.h"

#include <algorithm>

namespace tarn::ctl {

namespace {

bool isUserId(const std::string& userId)
{
    // The user-ID fields take letters only.
    return !userId.empty() && std::all_of(userId.begin(), userId.end(), orvant::ascii::isLetter);
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

    // The change-password window's checks, in its order and with its messages; the administrator's
    // password was checked by the login (or there is none yet).
    if (const ExitStatus locked = lockInstallation(context, InstallationLock::Kind::Exclusive);
        locked != ExitStatus::Done) {
        return locked;
    }
    PasswordChangeMode mode = PasswordChangeMode::Verified;
    const PasswordChangeResult result = changePassword({ userId, {}, *newPassword, *confirmation }, mode);
    Globals::ui().showMessage(result.message, result.icon);
    switch (result.outcome) {
    case PasswordChangeResult::Outcome::Stored:
        return ExitStatus::Done;
    case PasswordChangeResult::Outcome::NotStored:
        return ExitStatus::WriteFailed;
    case PasswordChangeResult::Outcome::Refused:
    case PasswordChangeResult::Outcome::NoSuchLogin:
        break;
    }
    return ExitStatus::Refused;
}

} // namespace tarn::ctl
