#pragma once

#include <string>
#include <string_view>

namespace tarn {

// Files of an installation that the tools know by name.

// The XML configuration: <installation folder>\conf\ORVANTConfiguration.xml.
std::string configurationFilePath(const std::string& installationFolder);

// The configuration hash: <installation folder>\properties\instance.properties of the installation folder
// now known (Globals).
std::string configHashFilePath();

// The user store: the configuration users and their password hashes, in the installation folder's
// properties folder. A new instance gets a copy of every base property file, this one included.
constexpr std::string_view kUserStoreName = "configuser.properties";
std::string userStorePath();

// Whether a stored path names a user store, wherever it lies: such a file holds secrets, and is never
// shown or logged by value.
bool isUserStore(std::string_view storedPath);

} // namespace tarn
