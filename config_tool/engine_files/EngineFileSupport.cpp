#include "config_tool/engine_files/EngineFileSupport.h"

#include "config_tool/model/InstanceNaming.h"

#include <algorithm>

namespace tarn {

std::string terminalPropertiesFile(const std::string& propertiesFolder, std::int16_t n)
{
    return instanceFolder(propertiesFolder, n) + "\\properties\\terminal.properties";
}

std::string languagePropertiesFile(const std::string& propertiesFolder, std::int16_t n)
{
    return instanceFolder(propertiesFolder, n) + "\\properties\\language.properties";
}

std::string enginePropertiesDirectory(const std::string& propertiesFolder, std::int16_t n)
{
    std::string directory = propertiesFolder;
    std::replace(directory.begin(), directory.end(), '\\', '/');
    if (n != 0) {
        directory += "/INSTANCE_" + getInstanceString(n);
    }
    return directory + "/properties";
}

bool isMissingValue(const CProperties& store, const std::string& key)
{
    const std::string current = store.getValue(key);
    return current == store.NO_VALUE || current.empty();
}

bool saveOrRecord(const CProperties& store, const std::string& fileName, FailedWrites& failures, bool complete)
{
    if (complete && store.save(fileName).ok) {
        return true;
    }
    failures.record(fileName);
    return false;
}

bool loadOrRecord(CProperties& store, const std::string& fileName, FailedWrites& failures)
{
    if (store.load(fileName).ok) {
        return true;
    }
    failures.record(fileName);
    return false;
}

} // namespace tarn
