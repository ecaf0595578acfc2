#include "config_tool/foundation/MRegistry.h"

#include "config_tool/foundation/JournaledRegistry.h"
#include "platform/AsciiText.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

#include <vector>

namespace tarn::MRegistry {

namespace {

namespace reg = orvant::platform;

RecordedError g_lastError;

std::string trimSpaces(const std::string& text)
{
    return std::string(orvant::ascii::trim(text));
}

bool fail(std::int32_t number, const char* description)
{
    g_lastError = { number, description };
    return false;
}

bool writeToHive(reg::Hive hive, const std::string& keyPath, const std::string& key,
                 const std::vector<std::uint8_t>& data)
{
    bool keyOpened = false;
    const long result = setRegistryValue(hive, keyPath, key, { reg::kRegSz, data }, &keyOpened);
    if (!keyOpened) {
        return fail(kErrorRegistryCall + static_cast<std::int32_t>(result), "Could not open/create registry section");
    }
    if (result != reg::kErrorSuccess) {
        return fail(kErrorRegistryCall + static_cast<std::int32_t>(result), "Could not set key value");
    }
    return true;
}

} // namespace

bool writeRegistryString(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value)
{
    g_lastError = {};
    const std::string trimmedApp = trimSpaces(app);
    const std::string trimmedSection = trimSpaces(section);
    if (trimmedApp.empty()) {
        return fail(kErrorEmptyAppName, "AppName may not be empty");
    }
    if (trimmedSection.empty()) {
        return fail(kErrorEmptySection, "Section may not be empty");
    }
    if (trimSpaces(key).empty()) {
        return fail(kErrorEmptyKey, "Key may not be empty");
    }

    const std::string keyPath = keyPathOf(trimmedApp, trimmedSection);
    const std::string ansi = orvant::platform::utf8ToAnsi(value);
    const std::vector<std::uint8_t> data(ansi.begin(), ansi.end());

    return writeToHive(reg::Hive::CurrentUser, keyPath, key, data)
        && writeToHive(reg::Hive::LocalMachine, keyPath, key, data);
}

const RecordedError& lastError()
{
    return g_lastError;
}

std::string keyPathOf(const std::string& app, const std::string& section)
{
    return "SOFTWARE\\" + trimSpaces(app) + "\\" + trimSpaces(section);
}

} // namespace tarn::MRegistry
