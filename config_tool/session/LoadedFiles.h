#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tarn {

// What a window loaded and would write back, as SHA-1 digests of what was on the disk, so that a save can
// tell whether another program changed any of it since: the configuration file, the mode file, the
// terminal.properties and language.properties of every instance loaded (the base instance's included),
// and the values of each of those instances' registry keys in both hives. A file or key that is missing
// or cannot be read has an empty digest.
class LoadedFiles
{
public:
    // What the disk holds now for instances 0..lastInstance, their folders under propertiesDir.
    static LoadedFiles read(const std::string& propertiesDir, std::int16_t lastInstance);

    // Takes in instance n as the disk holds it now (a new instance).
    void addInstance(const std::string& propertiesDir, std::int16_t n);

    // Whether another program changed a file since, or, for a save that writes the registry, a value of
    // one of the keys.
    bool changedOnDisk(bool registryMode) const;

private:
    std::map<std::string, std::string> m_files; // stored path -> digest
    std::map<std::string, std::string> m_registryKeys; // section -> digest of its values in both hives
};

} // namespace tarn
