#include "config_tool/session/ConfigSession.h"

#include "config_tool/engine_files/DeviceProfiles.h"
#include "config_tool/engine_files/EngineFileSupport.h"
#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/Checks.h"
#include "config_tool/model/ConfigValues.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/StoredValues.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/SaveTransaction.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

#include <algorithm>

namespace tarn {

namespace {

constexpr const char* kBaseSection = "Harbell";
constexpr const char* kDefaultClassPath = "C:\\ORVANT\\kelbrin-cps.jar";
constexpr const char* kDefaultPropertiesDir = "C:\\ORVANT";
constexpr const char* kEmptyPropertiesDir = "C:/ORVANT";
constexpr const char* kDefaultLogoFile = "C:\\ORVANT\\kelbrin_logo.jpg";

std::string read(const std::string& section, const std::string& key, const std::string& defaultValue)
{
    return getConfigValue(kApplicationName, section, key, defaultValue);
}

void write(const std::string& section, const std::string& key, const std::string& value)
{
    setConfigValue(kApplicationName, section, key, value);
}

bool readBoolean(const std::string& section, const std::string& key, const std::string& defaultValue)
{
    return StoredValues::toBoolean(read(section, key, defaultValue), defaultValue);
}

std::int16_t readInt16(const std::string& section, const std::string& key, const std::string& defaultValue)
{
    return StoredValues::toInt16(read(section, key, defaultValue), defaultValue);
}

CheckState checkStateOf(bool ticked)
{
    return ticked ? CheckState::Checked : CheckState::Unchecked;
}

// "True" for a ticked or grayed box.
std::string tickedText(CheckState state)
{
    return StoredValues::booleanText(isTicked(state));
}

// A stored window position may be in twips (older files) or pixels. A value that does not fit a
// position is dropped rather than kept to fail again; unknown screen metrics keep the value as stored.
std::string windowPosition(const std::string& stored, double twipsPerPixel, int screenPixels)
{
    if (stored.empty()) {
        return stored;
    }
    const auto position = StoredValues::parseInt16(stored);
    if (!position) {
        return "";
    }
    if (twipsPerPixel <= 0.0 || screenPixels <= 0) {
        return stored;
    }
    const double screenTwips = static_cast<double>(screenPixels) * twipsPerPixel;
    if (static_cast<double>(*position) * twipsPerPixel > screenTwips) {
        const double pixels = StoredValues::roundHalfEven(static_cast<double>(*position) / twipsPerPixel);
        return std::to_string(static_cast<long>(pixels));
    }
    return stored;
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
    const std::string propertiesDir = read(kBaseSection, "PropertiesDir", kDefaultPropertiesDir);
    return propertiesDir.empty() ? kEmptyPropertiesDir : propertiesDir;
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
    const std::string classPath = read(kBaseSection, "ClassPath", kDefaultClassPath);
    common.classPath = classPath.find("kelbrin-cps.jar") != std::string::npos ? classPath : kDefaultClassPath;

    common.propertyDir = storedPropertiesDir();

    common.hblHost = read(kBaseSection, "HBLHost", "127.0.0.1");
    common.hblPort = read(kBaseSection, "HBLPort", "9000");
    common.deleteTransAfterMin = read(kBaseSection, "DeleteTransAfterMin", "50");

    common.allowSplit = checkStateOf(readBoolean(kBaseSection, "AllowSplit", "True"));
    common.showConfirmTxnScreen = checkStateOf(readBoolean(kBaseSection, "ShowConfirmTxnScreen", "True"));
    common.transactionResultMandatory = checkStateOf(readBoolean(kBaseSection, "TransactionResultMandatory", "False"));
    common.checkUpgrade = checkStateOf(readBoolean(kBaseSection, "CheckUpgrade", "True"));
    common.autoUpgrade = checkStateOf(readBoolean(kBaseSection, "AutoUpgrade", "False"));
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
    return readInt16(kBaseSection, "Environment", "1");
}

void ConfigSession::loadAllInstances()
{
    // The first instance without a PINByPass value ends the list. The naming cannot go past 99: a
    // section "Harbell_100" would read back as the base instance's values and the walk would not end.
    std::int16_t count = 0;
    for (std::int16_t i = 1; i <= kMaxInstanceNumber; ++i) {
        if (read(instanceSection(i), "PINByPass", "").empty()) {
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
    const auto text
        = [&section](const char* key, const std::string& defaultValue) { return read(section, key, defaultValue); };
    const auto boolean
        = [&section](const char* key, const char* defaultValue) { return readBoolean(section, key, defaultValue); };
    const auto int16
        = [&section](const char* key, const char* defaultValue) { return readInt16(section, key, defaultValue); };

    record.timeout = text("Timeout", "30");
    record.checkCardTimeout = text("CheckCardTimeout", "10");
    record.sendReceipt = boolean("SendReceipt", "False");
    record.receiptPort = text("ReceiptPort", defaultReceiptPort(n));
    record.debugOn = boolean("Debug", "False");
    record.extendedDebugOn = boolean("ExtendedDebug", "False");
    record.fullScreen = boolean("FullScreen", "False");
    record.alwaysOnTop = boolean("AlwaysOnTop", "False");
    record.pinByPass = boolean("PINByPass", "False");
    record.logoFile = text("LogoFile", kDefaultLogoFile);
    record.combiReader = boolean("CombiReader", "False");
    record.referralMode = int16("ReferralMode", "1");
    record.askGratuity = boolean("AskGratuity", "False");
    record.usaCreditDebit = boolean("USACreditDebit", "False");
    record.interfaceMethod = int16("InterfaceMethod", "0");
    record.port = text("Port", defaultInterfacePort(n));
    record.inputDir = text("InputDir", "");
    record.outputDir = text("OutputDir", "");
    record.receiptDir = text("ReceiptDir", folder);
    record.receiptWidth = text("ReceiptWidth", "36");
    const std::string storedTop = text("Top", "");
    // Stored back as plain decimal text ("05001" becomes "5001"). Ports go up to 65535, beyond a
    // 16-bit integer, so the range checked is 32-bit.
    const std::string pinPadPortDefault = defaultPinPadPort(n);
    record.PinPadPort = std::to_string(StoredValues::toInt32(text("PinPadPort", pinPadPortDefault), pinPadPortDefault));
    record.top = windowPosition(storedTop, desktop.twipsPerPixelY, desktop.screenHeightPixels);
    record.left = windowPosition(text("Left", ""), desktop.twipsPerPixelX, desktop.screenWidthPixels);
    record.WindowsSize = int16("WindowsSize", "100");
    record.fontName = text("FontName", "");
    record.backgroundColor = StoredValues::toInt32(text("BackGroundColor", "0"), "0");
    record.useAvsRules = boolean("UseAvsRules", "False");
    record.avsDetailsMandatory = boolean("AvsDetailsMandatory", "True");
    record.avsRuleIndex = int16("AvsRuleIndex", "0");
    record.disableCancel = boolean("DisableCancel", "False");
    record.cardNoHashValue = boolean("CardNoHashValue", "True");
    record.nextReceiptNumber = text("NextReceiptNumber", "1");

    if (record.backgroundColor == 0) {
        record.backgroundColor = kButtonFaceColor;
    }

    record.watermarkImage = text("Watermark", "");
    record.printReceiptFlag = boolean("PrintReceiptFlag", "False");
    record.printVeriFoneFlag = boolean("IsVx670Printer", "False");
    if (desktop.hasPrinters) {
        record.printer = text("Printer", desktop.defaultPrinter);
    }
    record.extendedEnterPin = boolean("ExtendedPinMessage", "False");

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
    const auto text = [&section](const char* key, const std::string& value) { write(section, key, value); };
    const auto boolean
        = [&section](const char* key, bool value) { write(section, key, StoredValues::booleanText(value)); };
    const auto number = [&section](const char* key, long value) { write(section, key, std::to_string(value)); };

    const std::int16_t environment = instances.empty() ? record.environment : instances[0].environment;
    number("Environment", environment);
    // Petrol Station, Kiosk and Internet run unattended terminals.
    boolean("UPTTerminal", environment == 3 || environment == 4 || environment == 5);

    text("Timeout", record.timeout);
    text("CheckCardTimeout", record.checkCardTimeout);
    boolean("SendReceipt", record.sendReceipt);
    text("ReceiptPort", record.receiptPort);
    boolean("Debug", record.debugOn);
    boolean("ExtendedDebug", record.extendedDebugOn);
    boolean("FullScreen", record.fullScreen);
    boolean("AlwaysOnTop", record.alwaysOnTop);
    boolean("PINByPass", record.pinByPass);
    text("LogoFile", record.logoFile);
    boolean("CombiReader", record.combiReader);
    number("ReferralMode", record.referralMode);
    boolean("AskGratuity", record.askGratuity);
    boolean("USACreditDebit", record.usaCreditDebit);
    number("InterfaceMethod", record.interfaceMethod);
    text("Port", record.port);
    text("InputDir", record.inputDir);
    text("OutputDir", record.outputDir);
    text("ReceiptDir", record.receiptDir);
    text("ReceiptWidth", record.receiptWidth);
    text("Top", record.top);
    text("Left", record.left);
    number("WindowsSize", record.WindowsSize);
    text("FontName", record.fontName);
    number("BackGroundColor", record.backgroundColor);
    text("Watermark", record.watermarkImage);
    boolean("UseAvsRules", record.useAvsRules);
    boolean("AvsDetailsMandatory", record.avsDetailsMandatory);
    number("AvsRuleIndex", record.avsRuleIndex);
    boolean("DisableCancel", record.disableCancel);
    boolean("CardNoHashValue", record.cardNoHashValue);

    // The engine counts receipts on from the store; only the starting value is ever written here.
    if (read(section, "NextReceiptNumber", "1") == "1") {
        text("NextReceiptNumber", "1");
    }
    seedInstanceProperty("NextReceiptNumber", record.nextReceiptNumber, n, failedWrites);

    boolean("PrintReceiptFlag", record.printReceiptFlag);
    boolean("IsVx670Printer", record.printVeriFoneFlag);
    text("Printer", record.printer);
    boolean("ExtendedPinMessage", record.extendedEnterPin);
    text("PinPadPort", record.PinPadPort);

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

    if (!checkReceiptDirUnique(instances) || !checkReceiptPortUnique(instances) || !checkInterfacePortUnique(instances)
        || !checkInputDirUnique(instances) || !checkOutputDirUnique(instances)) {
        saveSucceeded = false;
        XmlConfig::endSave();
        flush();
        return;
    }

    const std::int16_t environment = instances.empty() ? readStoredEnvironment() : instances[0].environment;
    write(kBaseSection, "UsePropDir", "True");
    write(kBaseSection, "ClassPath", common.classPath);
    write(kBaseSection, "PropertiesDir", common.propertyDir);
    write(kBaseSection, "HBLHost", common.hblHost);
    write(kBaseSection, "HBLPort", common.hblPort);
    write(kBaseSection, "DeleteTransAfterMin", common.deleteTransAfterMin);
    write(kBaseSection, "TransactionResultMandatory", tickedText(common.transactionResultMandatory));
    write(kBaseSection, "Environment", std::to_string(environment));
    write(kBaseSection, "CheckUpgrade", std::to_string(static_cast<int>(common.checkUpgrade)));
    write(kBaseSection, "AutoUpgrade", std::to_string(static_cast<int>(common.autoUpgrade)));
    write(kBaseSection, "AllowSplit", tickedText(common.allowSplit));
    write(kBaseSection, "ShowConfirmTxnScreen", tickedText(common.showConfirmTxnScreen));

    for (std::size_t i = 0; i < instances.size(); ++i) {
        const auto n = static_cast<std::int16_t>(i);
        const std::string section = instanceSection(n);
        const bool stored = n == 0 || !read(section, "PINByPass", "").empty();
        saveInstanceData(instances[i], n);
        // Add New makes an instance's folders, but the instance exists once a save has stored it: an
        // attempt that was never saved, and its folders reused by the next, are no creation.
        if (!stored && !read(section, "PINByPass", "").empty()) {
            SaveTransaction::logEvent("instance created", n, instanceFolder(common.propertyDir, n));
        }
    }

    // Without a document (registry mode with no XML file) nothing was meant to reach the file.
    if (!XmlConfig::endSave() && XmlConfig::isLoaded()) {
        storeFailed = true;
    }
    flush();
}

} // namespace tarn
