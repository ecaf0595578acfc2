#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tarn {

// A backup's manifest.txt: who saved when, one line per file or folder the save changed, and an end
// marker that counts them, so that a manifest cut short is never taken for a whole one. Tab-separated,
// Windows-1252 with CR LF:
//     time      2026-12-07T04:12:33Z
//     program   tarnctl
//     user      Administrator
//     os-user   root
//     file      3    0644   C:\ORVANT\properties\terminal.properties   (its old bytes are files\3)
//     file      -    -      C:\ORVANT\INSTANCE_02\logs\x.log           (the save created it)
//     folder    +    -      C:\ORVANT\INSTANCE_01                      (it was there)
//     folder    -    -      C:\ORVANT\INSTANCE_02                      (the save created it)
//     end       4    12     (four entries above; registry.reg holds twelve values)
// The third field of a file is its permission bits in octal, "-" where the system has none.

struct ManifestEntry
{
    bool folder = false;
    std::optional<unsigned> fileNumber; // a file that was there: its bytes are files\<number>
    bool folderExisted = false;
    std::optional<unsigned> mode;
    std::string storedPath;
    std::size_t line = 0; // where it stands in the manifest, for messages
};

struct Manifest
{
    std::string time; // ISO 8601 UTC
    std::string program;
    std::string user;
    std::string osUser;
    std::vector<ManifestEntry> entries;
    std::size_t registryValues = 0;
};

std::string manifestText(const Manifest& manifest);

// Reads a manifest; false with the line and what is wrong with it when it cannot be used.
bool parseManifest(const std::string& bytes, Manifest& manifest, std::string& error);

} // namespace tarn
