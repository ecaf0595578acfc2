#include "config_tool/access/LoginCheck.h"

#include "config_tool/access/UserManagement.h"
#include "config_tool/session/AuditLog.h"
#include "platform/AsciiText.h"

namespace tarn {

LoginResult checkLogin(const std::string& typedUserId, const std::string& typedPassword)
{
    if (orvant::ascii::trim(typedUserId) != kAdministrator || !UserManagement::userExists(kAdministrator)) {
        return { LoginResult::Outcome::NoSuchUser, "Sorry, No Such User Exist" };
    }
    const std::string hash = UserManagement::passwordHash(std::string(orvant::ascii::trim(typedPassword)));
    if (!UserManagement::checkAdminPassword(kAdministrator, hash)
        && !UserManagement::checkUserPassword(kAdministrator, hash)) {
        return { LoginResult::Outcome::IncorrectPassword, "Incorrect Password" };
    }
    // What this user saves from now on is logged under the ID.
    setAuditUser(typedUserId);
    return {};
}

} // namespace tarn
