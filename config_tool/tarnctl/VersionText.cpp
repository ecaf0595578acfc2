#include "config_tool/tarnctl/CommandLine.h"

namespace tarn::ctl {

// ORVANT_PRODUCT_VERSION comes from the project's version in CMake, the one the package carries.
std::string versionText()
{
    return "tarnctl (ORVANT set-up) " ORVANT_PRODUCT_VERSION "\n";
}

} // namespace tarn::ctl
