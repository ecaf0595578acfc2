#include "config_tool/engine_files/InstanceProperties.h"

#include "config_tool/engine_files/EngineFileSupport.h"
#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/InstallationFiles.h"
#include "config_tool/foundation/SHA1.h"
#include "config_tool/model/ConfigValues.h"
#include "config_tool/model/InstanceNaming.h"
#include "platform/FileSystem.h"

namespace tarn {

namespace {

// The engine hashes the file as it reads it line by line: CR LF or a lone CR ends a line (a lone LF
// is part of the line) and every line is counted with CR LF, a last line without an ending included.
std::string withNormalisedLineEnds(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() + 2);
    std::size_t lineStart = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] != '\r') {
            ++i;
            continue;
        }
        text.append(bytes.substr(lineStart, i - lineStart));
        text += "\r\n";
        i += (i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        lineStart = i;
    }
    if (lineStart < bytes.size()) {
        text.append(bytes.substr(lineStart));
        text += "\r\n";
    }
    return text;
}

std::string withoutSpaces(const std::string& digest)
{
    std::string compact;
    for (const char c : digest) {
        if (c != ' ') {
            compact += c;
        }
    }
    return compact;
}

} // namespace

bool computeConfigHash(std::string& hash)
{
    std::string bytes;
    if (!orvant::platform::readWholeFile(configurationFilePath(Globals::ensureInstallationFolder()), bytes).ok) {
        return false;
    }
    // Taken over the file's own bytes, whatever encoding its declaration names.
    std::string input = withNormalisedLineEnds(bytes);
    input.append(kSalt);
    hash = withoutSpaces(SHA1::digestOfBytes(input));
    return true;
}

void writeConfigHash(FailedWrites& failures)
{
    const std::string fileName = configHashFilePath();
    std::string hash;
    if (!computeConfigHash(hash)) {
        // A configuration file that exists but cannot be read leaves a stale hash behind, which the
        // engine would refuse; that is a failed save. A missing one has nothing to stamp.
        if (orvant::platform::pathExists(configurationFilePath(Globals::ensureInstallationFolder()))) {
            failures.record(fileName);
        }
        return;
    }
    CProperties store;
    if (!loadOrRecord(store, fileName, failures)) {
        return;
    }
    const bool complete = store.addKeyValue("ConfigHash", hash);
    saveOrRecord(store, fileName, failures, complete);
}

void seedInstanceProperty(const std::string& key, const std::string& value, std::int16_t n, FailedWrites& failures)
{
    if (Globals::state().configurationMode != kXmlMode) {
        return;
    }
    // The default uses "/" and the rest "\"; Windows takes both, and so does the platform layer.
    const std::string propertiesDir = getConfigValue(kApplicationName, "Harbell", "PropertiesDir", "C:/ORVANT");
    const std::string folder = instanceFolder(propertiesDir, n) + "\\properties";
    const std::string fileName = folder + "\\instance.properties";
    // The seed is written once; from then on the engine owns the value. The folder is not created.
    if (orvant::platform::pathExists(fileName) || !orvant::platform::folderExists(folder)) {
        return;
    }
    CProperties store;
    const bool complete = store.addKeyValue(key, value);
    saveOrRecord(store, fileName, failures, complete);
}

} // namespace tarn
