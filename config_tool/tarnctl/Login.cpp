#include "config_tool/tarnctl/Login.h"

#include "config_tool/access/LoginCheck.h"
#include "config_tool/foundation/Globals.h"

namespace tarn::ctl {

bool logInAsAdministrator(const std::string& typedPassword)
{
    const LoginResult result = checkLogin(kAdministrator, typedPassword);
    if (!result.passed()) {
        Globals::ui().showMessage(result.message, MessageIcon::Exclamation);
    }
    return result.passed();
}

} // namespace tarn::ctl
