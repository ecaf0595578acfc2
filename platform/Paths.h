#pragma once

#include <string>
#include <string_view>

namespace orvant::platform {

// Converts a stored path to a path the file system of this machine understands.
// On Windows the path is returned as it is. On POSIX:
//  - "\" becomes "/";
//  - a drive prefix "X:" maps to a root folder: the environment variable ORVANT_DRIVE_X when set,
//    otherwise <user data folder>/orvant/drives/x (user data folder = $XDG_DATA_HOME or ~/.local/share);
//  - a component that does not exist with its exact case is matched case-insensitively against the
//    entries of its folder, as Windows would; components that match nothing are kept as written;
//  - "\x" (the root of the current drive) counts as "C:\x"; "C:x" as "C:\x";
//  - native POSIX paths ("/opt/orvant") pass through with only the case matching applied; a native
//    folder with a stored tail ("/opt/orvant\conf\x.xml") gets its "\" converted too;
//  - relative paths stay relative and are matched against the current folder.
// Where several entries differ only in case and none matches exactly, the first in byte order wins.
std::string toNativePath(std::string_view storedPath);

// The folder where per-user data of this system lives (POSIX: $XDG_DATA_HOME/orvant or
// ~/.local/share/orvant; Windows: %APPDATA%\ORVANT).
std::string userDataFolder();

} // namespace orvant::platform
