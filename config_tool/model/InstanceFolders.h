#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// A Base Directory (PropertiesDir) as the disk has it, against the instances of the configuration: the
// engine, and every later save, look for instance n's files in its folder INSTANCE_nn there. A save that
// points PropertiesDir at a folder without them leaves every instance without its files.
struct MissingInstanceFolders
{
    std::string baseDirectory;
    bool baseMissing = false; // the folder itself is not there (or no folder is named)
    std::vector<std::string> instanceFolders; // the INSTANCE_nn folders it lacks, in order

    bool any() const { return baseMissing || !instanceFolders.empty(); }
};

// What baseDirectory lacks of itself and of the folders of instances 1..lastInstance.
MissingInstanceFolders missingInstanceFolders(const std::string& baseDirectory, std::int16_t lastInstance);

// For a question, the first missing folder: "The folder C:\ORVANT2 holds no INSTANCE_01 (and 2 more)." or
// "The folder C:\ORVANT2 does not exist."
std::string missingFoldersSummary(const MissingInstanceFolders& missing);

// For a refusal, every missing folder: "The folder C:\ORVANT2 holds no INSTANCE_01, INSTANCE_02 or
// INSTANCE_03. Create the instance folders there first, or keep the Base Directory."
std::string missingFoldersRefusal(const MissingInstanceFolders& missing);

} // namespace tarn
