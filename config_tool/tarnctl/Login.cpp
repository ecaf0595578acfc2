#include "config_tool/tarnctl/Login.h"

#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/Globals.h"

namespace tarn::ctl {

std::string trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool logInAsAdministrator(const std::string& typedPassword)
{
    if (!UserManagement::userExists(kAdministrator)) {
        Globals::ui().showMessage("Sorry, No Such User Exist", MessageIcon::Exclamation);
        return false;
    }
    const std::string hash = UserManagement::passwordHash(trimSpaces(typedPassword));
    if (!UserManagement::checkAdminPassword(kAdministrator, hash)
        && !UserManagement::checkUserPassword(kAdministrator, hash)) {
        Globals::ui().showMessage("Incorrect Password", MessageIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace tarn::ctl
