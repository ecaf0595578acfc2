#pragma once

#include "config_tool/foundation/UiServices.h"

#include <cstdint>
#include <string>

namespace tarn {

constexpr std::int16_t kRegistryMode = 0;
constexpr std::int16_t kXmlMode = 1;

// Process-wide values of the configuration tool, set on the window thread.
struct GlobalState
{
    std::string installationFolder; // KELBRIN_HOME as given, e.g. "C:\ORVANT"
    std::int16_t configurationMode = kRegistryMode;
    std::string xmlConfigurationPath; // installation folder + "\conf\ORVANTConfiguration.xml"
    bool adminVerified = false; // the most recent administrator check succeeded
};

namespace Globals {

GlobalState& state();

// Back to the start-up values (tests, and a front end that opens another installation).
void reset();

// The window system's services. Until a front end installs its own, messages go nowhere and
// questions get their default answer (Cancel where there is one).
UiServices& ui();
void setUi(UiServices* services);

// The installation folder, made known first when it is still empty: KELBRIN_HOME, or "C:\ORVANT"
// when that is unset or empty. The value is kept for the rest of the run.
const std::string& ensureInstallationFolder();

} // namespace Globals
} // namespace tarn
