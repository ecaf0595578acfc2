#include "config_tool/session/ConfigSession.h"

#include "config_tool/engine_files/DeviceProfiles.h"
#include "config_tool/engine_files/EngineFileSupport.h"
#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/Checks.h"
#include "config_tool/model/ConfigValues.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/LayoutValues.h"
#include "config_tool/model/StoredValues.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/SaveTransaction.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

#include <algorithm>

namespace tarn {

namespace {

std::string read(const std::string& section, std::string_view key, const std::string& defaultValue)
{
    return getConfigValue(kApplicationName, section, std::string(key), defaultValue);
}

void write(const std::string& section, std::string_view key, const std::string& value)
{
    setConfigValue(kApplicationName, section, std::string(key), value);
}

const std::string& baseSection()
{
    static const std::string section = instanceSection(0);
    return section;
}

// Splits as Visual Basic's Split does: an empty text has no parts at all.
std::vector<std::string> splitAtComma(const std::string& text)
{
    std::vector<std::string> parts;
    if (text.empty()) {
        return parts;
    }
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        if (comma == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

std::string propertiesFile(const std::string& folder, const char* name)
{
    return folder + "\\properties\\" + name;
}

// The Base Directory as the load shows it.
std::string storedPropertiesDir()
{
    const CommonSetting& setting = *findCommonSetting(Layout::kPropertiesDir);
    CommonSettings common;
    const std::string defaultValue(setting.defaultText);
    loadStored(setting, common, read(baseSection(), setting.name, defaultValue), defaultValue);
    return common.propertyDir;
}

void showUnreadFiles(const std::vector<std::string>& files)
{
    if (files.empty()) {
        return;
    }
    std::string text = "These property files could not be read:";
    for (const auto& file : files) {
        text += "\n" + file;
    }
    text += "\nTheir instances start with empty settings, and a save does not overwrite them.";
    Globals::ui().showMessage(text, MessageIcon::Exclamation);
}

} // namespace

void ConfigSession::loadCommonSettings()
{
    for (const CommonSetting& setting : commonSettings()) {
        if (setting.storage == Storage::Configuration) {
            const std::string defaultValue(setting.defaultText);
            loadStored(setting, common, read(baseSection(), setting.name, defaultValue), defaultValue);
        }
    }
}

MissingInstanceFolders ConfigSession::missingFoldersOfNewBaseDirectory() const
{
    if (common.propertyDir == storedPropertiesDir()) {
        return {};
    }
    return missingInstanceFolders(common.propertyDir, lastIndex());
}

std::int16_t ConfigSession::readStoredEnvironment()
{
    const std::string defaultValue(findCommonSetting(Layout::kEnvironment)->defaultText);
    return StoredValues::toInt16(read(baseSection(), Layout::kEnvironment, defaultValue), defaultValue);
}

void ConfigSession::loadAllInstances()
{
    // The first instance without a PINByPass value ends the list. The naming cannot go past 99: a
    // section "Harbell_100" would read back as the base instance's values and the walk would not end.
    std::int16_t count = 0;
    for (std::int16_t i = 1; i <= kMaxInstanceNumber; ++i) {
        if (read(instanceSection(i), Layout::kPinByPass, "").empty()) {
            break;
        }
        count = i;
    }

    m_unreadFiles.clear();
    std::vector<CInstanceData> loaded(static_cast<std::size_t>(count) + 1);
    std::vector<std::string> sections;
    for (std::int16_t i = 0; i <= count; ++i) {
        sections.push_back(instanceSection(i));
        loadInstanceData(loaded[static_cast<std::size_t>(i)], i);
    }
    instances = std::move(loaded);
    instanceSections = std::move(sections);
    instances[0].environment = readStoredEnvironment();
    showUnreadFiles(m_unreadFiles);
}

bool ConfigSession::loadInstanceData(CInstanceData& record, std::int16_t n)
{
    const std::string section = instanceSection(n);
    const std::string folder = instanceFolder(common.propertyDir, n);
    const DefaultContext defaults { n, folder, desktop.defaultPrinter };
    for (const InstanceSetting& setting : instanceSettings()) {
        if (setting.storage != Storage::Configuration
            || (setting.load == LoadHook::OnlyWithPrinters && !desktop.hasPrinters)) {
            continue;
        }
        const std::string defaultValue = defaultText(setting, defaults);
        loadStored(setting, record, read(section, setting.name, defaultValue), defaultValue, desktop);
    }

    bool allRead = true;
    const auto loadStore = [&](CProperties& store, const char* name) {
        store = CProperties();
        const std::string path = propertiesFile(folder, name);
        m_unreadFiles.erase(std::remove(m_unreadFiles.begin(), m_unreadFiles.end(), path), m_unreadFiles.end());
        if (!store.load(path).ok) {
            m_unreadFiles.push_back(path);
            allRead = false;
        }
    };
    loadStore(record.pinpadProperties, "terminal.properties");
    loadStore(record.emvProperties, "terminal.emv.properties");
    loadStore(record.languageProperties, "language.properties");

    const std::string readerPort = record.pinpadProperties.getValue("smartCardReader.port");
    if (readerPort == record.pinpadProperties.NO_VALUE) {
        record.comport = "";
    } else {
        const auto parts = splitAtComma(readerPort);
        if (parts.size() == 2) {
            record.comport = parts[0];
            record.comportReader = parts[1];
        } else if (parts.size() == 1) {
            record.comport = parts[0];
        }
    }

    record.pinpad = deriveModelName(record);
    return allRead;
}

bool ConfigSession::wasUnread(const std::string& path) const
{
    return std::find(m_unreadFiles.begin(), m_unreadFiles.end(), path) != m_unreadFiles.end();
}

void ConfigSession::saveInstanceData(CInstanceData& record, std::int16_t n)
{
    if (!checkCardTimetiout(record.timeout)) {
        saveSucceeded = false;
        return;
    }

    const std::string section = instanceSection(n);
    const std::int16_t environment = instances.empty() ? record.environment : instances[0].environment;
    for (const InstanceSetting& setting : instanceSettings()) {
        if (setting.storage == Storage::DeviceProfile) {
            continue;
        }
        if (setting.save == SaveHook::ReceiptSeed) {
            // The engine counts on from the store; only the starting value is ever written here.
            const std::string start(setting.defaultText);
            if (read(section, setting.name, start) == start) {
                write(section, setting.name, start);
            }
            seedInstanceProperty(std::string(setting.name), storedText(setting, record, environment), n, failedWrites);
            continue;
        }
        write(section, setting.name, storedText(setting, record, environment));
    }

    // A store loaded empty from an unreadable file would overwrite everything the file held.
    const std::string folder = instanceFolder(common.propertyDir, n);
    const std::string terminalFile = propertiesFile(folder, "terminal.properties");
    const std::string languageFile = propertiesFile(folder, "language.properties");
    if (wasUnread(terminalFile) || wasUnread(languageFile)) {
        for (const auto& file : { terminalFile, languageFile }) {
            if (wasUnread(file)) {
                failedWrites.record(file);
            }
        }
        return;
    }
    // The device keys go into each file as it is now, in the folder it is written to: not into the copy
    // loaded from the Base Directory as it was when the window opened, nor an older copy of this one.
    if (!loadOrRecord(record.pinpadProperties, terminalFile, failedWrites)
        || !loadOrRecord(record.languageProperties, languageFile, failedWrites)) {
        return;
    }
    writeDeviceProfile(record, n, common.propertyDir, failedWrites);
}

bool ConfigSession::passesUniquenessChecks() const
{
    return checkReceiptDirUnique(instances) && checkReceiptPortUnique(instances) && checkInterfacePortUnique(instances)
        && checkInputDirUnique(instances) && checkOutputDirUnique(instances);
}

bool ConfigSession::passesSaveChecks() const
{
    if (!passesUniquenessChecks()) {
        return false;
    }
    bool allPassed = true;
    for (const auto& record : instances) {
        allPassed = checkCardTimetiout(record.timeout) && allPassed;
    }
    return allPassed;
}

void ConfigSession::saveAllInstances()
{
    saveSucceeded = true;
    storeFailed = false;
    failedWrites = FailedWrites();

    // A save costs what it writes: each registry hive is read once and written once, the XML document
    // serialised once, and everything goes to the disk together at the end (or at the end of the OK or
    // Apply sequence around it).
    // Alone (the saves of Add New and Run Upgrade Now) this is the whole save, backed up and logged;
    // inside the OK or Apply sequence it joins theirs.
    SaveTransaction transaction;
    const auto flush = [&] { transaction.finish(failedWrites); };
    XmlConfig::beginSave();
    if (!writeConfigurationMode()) {
        storeFailed = true;
    }
    // The document is read again in both modes, so that the save changes, and its backup and audit log
    // show, what is on the disk when it begins, not a copy another program has changed since. In registry
    // mode an installation that had no file to load has none to read again.
    if ((Globals::state().configurationMode == kXmlMode || XmlConfig::isLoaded())
        && !XmlConfig::loadXmlConfig(Globals::state().xmlConfigurationPath)) {
        storeFailed = true;
    }

    if (!passesUniquenessChecks()) {
        saveSucceeded = false;
        XmlConfig::endSave();
        flush();
        return;
    }

    const std::int16_t environment = instances.empty() ? readStoredEnvironment() : instances[0].environment;
    for (const CommonSetting& setting : commonSettings()) {
        write(baseSection(), setting.name, storedText(setting, common, environment));
    }

    for (std::size_t i = 0; i < instances.size(); ++i) {
        const auto n = static_cast<std::int16_t>(i);
        const std::string section = instanceSection(n);
        const bool stored = n == 0 || !read(section, Layout::kPinByPass, "").empty();
        saveInstanceData(instances[i], n);
        // Add New makes an instance's folders, but the instance exists once a save has stored it: an
        // attempt that was never saved, and its folders reused by the next, are no creation.
        if (!stored && !read(section, Layout::kPinByPass, "").empty()) {
            SaveTransaction::logEvent("instance created", n, instanceFolder(common.propertyDir, n));
        }
    }

    // Without a document (registry mode with no XML file) nothing was meant to reach the file.
    if (!XmlConfig::endSave() && XmlConfig::isLoaded()) {
        storeFailed = true;
    }
    flush();
}

bool configurationUnloaded()
{
    const GlobalState& state = Globals::state();
    return !XmlConfig::isLoaded()
        && (state.configurationMode == kXmlMode || orvant::platform::pathExists(state.xmlConfigurationPath));
}

} // namespace tarn
