#pragma once

#include <string>

namespace tarn {

// What a window loaded: the SHA-1 of the bytes of the configuration file and of the mode file (empty for
// a file that is missing or cannot be read), so that a save can tell whether another program changed
// them since.
struct LoadedFiles
{
    std::string configuration;
    std::string mode;

    // The two files of the installation folder now known (Globals), as they are on disk now.
    static LoadedFiles now();

    bool operator==(const LoadedFiles&) const = default;
};

} // namespace tarn
