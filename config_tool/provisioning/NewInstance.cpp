#include "config_tool/provisioning/NewInstance.h"

#include "config_tool/engine_files/EngineFileSupport.h"
#include "config_tool/model/ConfigValues.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/provisioning/CreatedPaths.h"
#include "platform/TextCodec.h"

namespace tarn {

namespace {

namespace platform = orvant::platform;

// One attempt at building an instance's skeleton. Every step records what it created, so that a
// failed step can take the attempt back; failure says what went wrong, for the operator.
struct Attempt
{
    std::string base; // B, the properties folder
    std::string folder; // B\INSTANCE_nn
    CreatedPaths created;
    std::string failure;

    bool createFolder(const std::string& path)
    {
        const bool existed = platform::folderExists(path);
        const auto made = platform::createFolder(path);
        if (!made.ok) {
            failure = "the folder " + path + " could not be created (" + made.error + ")";
            return false;
        }
        if (!existed) {
            created.addFolder(path);
        }
        return true;
    }

    bool copyFile(const std::string& from, const std::string& to)
    {
        const bool existed = platform::pathExists(to);
        const auto copied = platform::copyFile(from, to);
        if (!copied.ok) {
            failure = from + " could not be copied to " + to + " (" + copied.error + ")";
            return false;
        }
        if (!existed) {
            created.addFile(to);
        }
        return true;
    }

    bool copyFolder(const std::string& from, const std::string& to)
    {
        std::vector<std::string> newFiles;
        const auto copied = tarn::copyFolder(from, to, &newFiles);
        for (const auto& file : newFiles) {
            created.addFile(file);
        }
        if (!copied.ok) {
            failure = copied.error;
        }
        return copied.ok;
    }

    // The engine finds the instance's own property files through this line. Two line ends first, so
    // the line stands apart even when the copied file does not end with one; a properties.directory
    // copied from the base file stays above it.
    bool appendPropertiesDirectory(std::int16_t n)
    {
        const std::string file = folder + "\\properties\\terminal.properties";
        const bool existed = platform::pathExists(file);
        std::string bytes;
        if (existed) {
            const auto read = platform::readWholeFile(file, bytes);
            if (!read.ok) {
                failure = file + " could not be read (" + read.error + ")";
                return false;
            }
        }
        bytes += "\r\n\r\nproperties.directory=" + platform::utf8ToAnsi(enginePropertiesDirectory(base, n)) + "\r\n";
        const auto written = platform::writeFileAtomically(file, bytes);
        if (!written.ok) {
            failure = file + " could not be written (" + written.error + ")";
            return false;
        }
        if (!existed) {
            created.addFile(file);
        }
        return true;
    }
};

bool sameFileContent(const std::string& a, const std::string& b)
{
    std::string first;
    std::string second;
    return platform::readWholeFile(a, first).ok && platform::readWholeFile(b, second).ok && first == second;
}

// A folder left by an attempt that was never saved holds only the copied skeleton: the engine has not
// run the instance, so its transaction log is still the empty template and its logs folder is empty.
bool holdsEngineData(const std::string& folder, const std::string& emptyLog)
{
    const std::string logs = folder + "\\logs";
    if (platform::folderExists(logs) && !platform::listFolder(logs).empty()) {
        return true;
    }
    const std::string log = folder + "\\conf\\ORVANTTransactionLog.xml";
    return platform::pathExists(log) && !sameFileContent(log, emptyLog);
}

NewInstanceResult refused(int n, std::string message)
{
    NewInstanceResult result;
    result.number = n;
    result.message = std::move(message);
    return result;
}

} // namespace

void copyBaseInstanceSettings(const CInstanceData& base, CInstanceData& target)
{
    target.timeout = base.timeout;
    target.checkCardTimeout = base.checkCardTimeout;
    target.sendReceipt = base.sendReceipt;
    target.debugOn = base.debugOn;
    target.extendedDebugOn = base.extendedDebugOn;
    target.fullScreen = base.fullScreen;
    target.alwaysOnTop = base.alwaysOnTop;
    target.pinByPass = base.pinByPass;
    target.logoFile = base.logoFile;
    target.combiReader = base.combiReader;
    target.referralMode = base.referralMode;
    target.askGratuity = base.askGratuity;
    target.usaCreditDebit = base.usaCreditDebit;
    target.interfaceMethod = base.interfaceMethod;
    target.receiptWidth = base.receiptWidth;
    target.top = base.top;
    target.left = base.left;
    target.WindowsSize = base.WindowsSize;
    target.fontName = base.fontName;
    target.backgroundColor = base.backgroundColor;
    target.useAvsRules = base.useAvsRules;
    target.avsDetailsMandatory = base.avsDetailsMandatory;
    target.avsRuleIndex = base.avsRuleIndex;
    target.disableCancel = base.disableCancel;
    target.cardNoHashValue = base.cardNoHashValue;
}

NewInstanceResult createNewInstance(std::vector<CInstanceData>& instances, int instanceCount,
                                    const std::string& baseFolder, const InstanceLoader& loadInstance)
{
    // Past 99 the section would be "Harbell_100", which the naming reads back as instance 0.
    if (instanceCount > kMaxInstanceNumber) {
        return refused(instanceCount,
                       "Instance " + std::to_string(instanceCount) + " cannot be added: an installation holds at most "
                           + std::to_string(kMaxInstanceNumber) + " instances besides the base instance.");
    }
    const auto n = static_cast<std::int16_t>(instanceCount);
    // The new record goes to index n; a list shorter than the records would drop some of them.
    if (n < 1 || instances.size() > static_cast<std::size_t>(n)) {
        return refused(n, "The new instance cannot be added: the instance list does not match the loaded instances.");
    }
    if (baseFolder.empty()) {
        return refused(n, "The new instance cannot be added: the Base Directory is empty.");
    }

    const std::string nn = getInstanceString(n);
    const std::string section = instanceSection(n);
    Attempt attempt;
    attempt.base = baseFolder;
    attempt.folder = instanceFolder(baseFolder, n);
    const std::string emptyLog = baseFolder + "\\conf\\ORVANTTransactionLogEmpty.xml";
    const std::string receiptPrinter = baseFolder + "\\bin\\ReceiptPrinter.exe";
    const std::string cannotCreate = "The new instance " + section + " cannot be created: ";

    if (!getConfigValue(kApplicationName, section, "PINByPass", "").empty()) {
        return refused(n, cannotCreate + section + " is already in the configuration.");
    }
    for (const auto& source : { emptyLog, receiptPrinter }) {
        if (!platform::fileExists(source)) {
            return refused(n, cannotCreate + source + " was not found.");
        }
    }
    if (platform::pathExists(attempt.folder)) {
        if (!platform::folderExists(attempt.folder)) {
            return refused(n, cannotCreate + attempt.folder + " exists and is not a folder.");
        }
        if (holdsEngineData(attempt.folder, emptyLog)) {
            return refused(n,
                           cannotCreate + "the folder " + attempt.folder
                               + " already exists and holds transaction or log files. Move it away and try again.");
        }
    }

    const bool built = attempt.createFolder(attempt.folder) && attempt.createFolder(attempt.folder + "\\properties")
        && attempt.createFolder(attempt.folder + "\\conf") && attempt.createFolder(attempt.folder + "\\logs")
        && attempt.copyFolder(baseFolder + "\\properties", attempt.folder + "\\properties")
        && attempt.copyFile(emptyLog, attempt.folder + "\\conf\\ORVANTTransactionLogEmpty.xml")
        && attempt.copyFile(emptyLog, attempt.folder + "\\conf\\ORVANTTransactionLog.xml")
        && attempt.copyFile(receiptPrinter, baseFolder + "\\bin\\ReceiptPrinter_" + nn + ".exe")
        && attempt.appendPropertiesDirectory(n);
    if (!built) {
        attempt.created.undo();
        return refused(n, cannotCreate + attempt.failure + ".");
    }

    const std::size_t previousSize = instances.size();
    instances.resize(static_cast<std::size_t>(n) + 1);
    instances[n] = CInstanceData {};
    if (loadInstance && !loadInstance(instances[n], n)) {
        instances.resize(previousSize);
        attempt.created.undo();
        return refused(n, cannotCreate + "its property files in " + attempt.folder + "\\properties could not be read.");
    }
    copyBaseInstanceSettings(instances[0], instances[n]);

    NewInstanceResult result;
    result.created = true;
    result.number = n;
    result.section = section;
    return result;
}

} // namespace tarn
