#include "config_tool/session/LoadedFiles.h"

#include "config_tool/engine_files/EngineFileSupport.h"
#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/MRegistry.h"
#include "config_tool/foundation/SHA1.h"
#include "config_tool/model/ConfigValues.h"
#include "config_tool/model/InstanceNaming.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

#include <algorithm>
#include <vector>

namespace tarn {

namespace {

namespace reg = orvant::platform;

std::string digestOfFile(const std::string& path)
{
    std::string bytes;
    if (path.empty() || !orvant::platform::fileExists(path) || !orvant::platform::readWholeFile(path, bytes).ok) {
        return {};
    }
    return SHA1::digestOfBytes(bytes);
}

// Each value as its name, type and data, every part preceded by its length, so that no two keys give
// the same text; sorted, as Windows keeps no order of values.
std::string valuesOfKey(reg::Hive hive, const std::string& keyPath)
{
    reg::HKey key = nullptr;
    if (reg::regOpenKeyEx(hive, keyPath, reg::kKeyQueryValue, &key) != reg::kErrorSuccess) {
        return "-";
    }
    std::vector<std::string> values;
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    for (std::uint32_t index = 0; reg::regEnumValue(key, index, name, &type, data) == reg::kErrorSuccess; ++index) {
        values.push_back(std::to_string(name.size()) + ":" + name + std::to_string(type) + ":"
                         + std::to_string(data.size()) + ":" + std::string(data.begin(), data.end()));
    }
    reg::regCloseKey(key);
    std::sort(values.begin(), values.end());
    std::string text = "+";
    for (const auto& value : values) {
        text += value;
    }
    return text;
}

std::string digestOfSection(const std::string& section)
{
    const std::string keyPath = MRegistry::keyPathOf(kApplicationName, section);
    return SHA1::digestOfBytes(valuesOfKey(reg::Hive::CurrentUser, keyPath) + "\n"
                               + valuesOfKey(reg::Hive::LocalMachine, keyPath));
}

} // namespace

LoadedFiles LoadedFiles::read(const std::string& propertiesDir, std::int16_t lastInstance)
{
    Globals::ensureInstallationFolder();
    LoadedFiles loaded;
    for (const auto& path : { Globals::state().xmlConfigurationPath, configurationModeFilePath() }) {
        loaded.m_files[path] = digestOfFile(path);
    }
    // Each hive is read once for all the keys.
    reg::RegistryBatch hives;
    for (std::int16_t n = 0; n <= lastInstance; ++n) {
        loaded.addInstance(propertiesDir, n);
    }
    hives.discard();
    return loaded;
}

void LoadedFiles::addInstance(const std::string& propertiesDir, std::int16_t n)
{
    for (const auto& path : { terminalPropertiesFile(propertiesDir, n), languagePropertiesFile(propertiesDir, n) }) {
        m_files[path] = digestOfFile(path);
    }
    const std::string section = instanceSection(n);
    m_registryKeys[section] = digestOfSection(section);
}

bool LoadedFiles::changedOnDisk(bool registryMode) const
{
    const bool fileChanged = std::any_of(m_files.begin(), m_files.end(),
                                         [](const auto& file) { return digestOfFile(file.first) != file.second; });
    if (fileChanged || !registryMode) {
        return fileChanged;
    }
    reg::RegistryBatch hives;
    const bool keyChanged = std::any_of(m_registryKeys.begin(), m_registryKeys.end(),
                                        [](const auto& key) { return digestOfSection(key.first) != key.second; });
    hives.discard();
    return keyChanged;
}

} // namespace tarn
