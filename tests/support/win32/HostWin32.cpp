#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/posix/RegeditFile.h"
#include "tests/support/Host.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>
// Security descriptor conversion relies on the declarations of windows.h.
#include <sddl.h>

namespace orvant::test::host {

namespace {

constexpr const char* kEnvironmentKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kKelbrinKey = "SOFTWARE\\Kelbrin";

struct SavedValue
{
    std::string name;
    DWORD type = 0;
    std::vector<BYTE> data;
};

std::vector<SavedValue> g_environment;
std::vector<BYTE> g_environmentSecurity;
int g_depth = 0; // tests may nest folders; the outermost one saves and restores

std::vector<SavedValue> valuesOf(HKEY key)
{
    std::vector<SavedValue> values;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name;
        SavedValue value;
        DWORD size = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
            return values;
        }
        value.name.assign(name, nameLength);
        value.data.resize(size);
        RegQueryValueExA(key, value.name.c_str(), nullptr, nullptr, value.data.data(), &size);
        values.push_back(std::move(value));
    }
}

void replaceValues(HKEY key, const std::vector<SavedValue>& values)
{
    for (const auto& old : valuesOf(key)) {
        RegDeleteValueA(key, old.name.c_str());
    }
    for (const auto& value : values) {
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    }
}

template <typename Action> void withEnvironmentKey(Action&& action)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEnvironmentKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        action(key);
        RegCloseKey(key);
    }
}

// Gives the key and every key below it these access rules (setting them does not reach existing keys).
void secureTree(HKEY parent, const char* subKey, const char* rules)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(rules, SDDL_REVISION_1, &descriptor, nullptr)) {
        return;
    }
    // Only the rights that the rules themselves never deny, so that denying rules can be undone.
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, subKey, 0, WRITE_DAC | KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) {
        LocalFree(descriptor);
        return;
    }
    char child[256];
    for (DWORD index = 0, length = sizeof child;
         RegEnumKeyExA(key, index, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++index, length = sizeof child) {
        secureTree(key, child, rules);
    }
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    RegCloseKey(key);
    LocalFree(descriptor);
}

void deleteKelbrinKeys()
{
    secureTree(HKEY_LOCAL_MACHINE, kKelbrinKey, "D:(A;OICI;KA;;;WD)");
    RegDeleteTreeA(HKEY_CURRENT_USER, kKelbrinKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kKelbrinKey);
}

} // namespace

void beginRegistryTest()
{
    if (g_depth++ > 0) {
        return;
    }
    deleteKelbrinKeys();
    withEnvironmentKey([](HKEY key) {
        g_environment = valuesOf(key);
        DWORD size = 0;
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
        g_environmentSecurity.assign(size, 0);
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, g_environmentSecurity.data(), &size);
        replaceValues(key, {});
    });
}

void endRegistryTest()
{
    if (--g_depth > 0) {
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEnvironmentKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, g_environmentSecurity.data());
        RegCloseKey(key);
    }
    withEnvironmentKey([](HKEY environment) { replaceValues(environment, g_environment); });
    deleteKelbrinKeys();
}

void denyMachineRegistryWrites(const std::filesystem::path& /*registryFolder*/)
{
    HKEY created = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKelbrinKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr);
    RegCloseKey(created);
    // Everyone may still read, and change the rules back afterwards, but neither set values nor create keys.
    constexpr const char* kNoWrites = "D:(D;OICI;0x6;;;WD)(A;OICI;KA;;;WD)";
    secureTree(HKEY_LOCAL_MACHINE, kKelbrinKey, kNoWrites);
    secureTree(HKEY_LOCAL_MACHINE, kEnvironmentKey, kNoWrites);
}

void writeRecordingScript(const std::string& storedBatchPath, const std::string& storedRecordPath)
{
    platform::writeFileAtomically(storedBatchPath, "@echo started> " + storedRecordPath + "\r\n");
}

const bool kEnvironmentBroadcastsArrive = true;

namespace {

int g_environmentBroadcasts = 0;

LRESULT CALLBACK countEnvironmentBroadcasts(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTINGCHANGE && lParam
        && std::strcmp(reinterpret_cast<const char*>(lParam), "Environment") == 0) {
        ++g_environmentBroadcasts;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

// The broadcast is sent to every top-level window and waits for each to take it, so the window's
// messages are handled here while the action runs on a thread of its own.
int environmentBroadcastsDuring(const std::function<void()>& action)
{
    WNDCLASSA windowClass {};
    windowClass.lpfnWndProc = countEnvironmentBroadcasts;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OrvantTestBroadcastCounter";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowA(windowClass.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
    g_environmentBroadcasts = 0;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        action();
        done = true;
    });
    while (!done) {
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
    worker.join();
    DestroyWindow(window);
    return window ? g_environmentBroadcasts : -1;
}

std::filesystem::path comPortFolder()
{
    auto prefix = platform::getEnvironmentVariable("WINEPREFIX");
    if (!prefix) {
        return {};
    }
    // Wine shows the Unix root as drive Z:. "comN" is a device name in a plain path; the "\\?\" form
    // names the folder's entries themselves.
    std::replace(prefix->begin(), prefix->end(), '/', '\\');
    return "\\\\?\\Z:" + *prefix + "\\dosdevices";
}

const Condition kReadOnlyFolders { false, "on Windows a folder's read-only attribute does not stop writes in it" };
const Condition kUnreadableFiles { false, "Windows has no read bit to take from a file's owner" };
const Condition kRegistryHiveFiles { false, "the registry is the system's own, not a pair of hive files" };
const Condition kRegistrySavedWhole { false, "Windows sets a save's registry values one by one, not a hive at once" };

std::filesystem::path driveC(const std::filesystem::path& /*testFolder*/)
{
    return "C:\\";
}

namespace {

std::set<std::filesystem::path> g_driveEntries;
int g_driveDepth = 0;

} // namespace

void beginDriveTest(const std::filesystem::path& drive)
{
    if (g_driveDepth++ > 0) {
        return;
    }
    g_driveEntries.clear();
    for (const auto& entry : std::filesystem::directory_iterator(drive)) {
        g_driveEntries.insert(entry.path());
    }
}

void endDriveTest(const std::filesystem::path& drive)
{
    if (--g_driveDepth > 0) {
        return;
    }
    std::error_code ignored;
    std::vector<std::filesystem::path> added;
    for (const auto& entry : std::filesystem::directory_iterator(drive, ignored)) {
        if (!g_driveEntries.count(entry.path())) {
            added.push_back(entry.path());
        }
    }
    for (const auto& path : added) {
        // Read-only files (the attribute) would stay behind.
        for (auto it = std::filesystem::recursive_directory_iterator(path, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(path, ignored);
    }
}

namespace {

void addKeyTree(platform::RegeditFile& hive, HKEY key, const std::string& path)
{
    platform::RegeditKey* stored = hive.createKey(path);
    for (const auto& value : valuesOf(key)) {
        stored->setValue(value.name, value.type, std::vector<std::uint8_t>(value.data.begin(), value.data.end()));
    }
    char child[256];
    for (DWORD index = 0, length = sizeof child;
         RegEnumKeyExA(key, index, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++index, length = sizeof child) {
        HKEY subKey = nullptr;
        if (RegOpenKeyExA(key, child, 0, KEY_READ, &subKey) == ERROR_SUCCESS) {
            addKeyTree(hive, subKey, path + "\\" + std::string(child, length));
            RegCloseKey(subKey);
        }
    }
}

} // namespace

std::string hiveText(const std::filesystem::path& /*registryFolder*/, platform::Hive hive)
{
    const bool currentUser = hive == platform::Hive::CurrentUser;
    HKEY kelbrin = nullptr;
    if (RegOpenKeyExA(currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, kKelbrinKey, 0, KEY_READ, &kelbrin)
        != ERROR_SUCCESS) {
        return {};
    }
    platform::RegeditFile text;
    addKeyTree(text, kelbrin, std::string(currentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + kKelbrinKey);
    RegCloseKey(kelbrin);
    return text.serialise();
}

void restoreHive(const std::filesystem::path& /*registryFolder*/, platform::Hive hive, const std::string& text)
{
    const HKEY root = hive == platform::Hive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    RegDeleteTreeA(root, kKelbrinKey);
    const auto hiveFile = platform::RegeditFile::parse(text);
    for (const platform::RegeditKey* key : hiveFile.keys()) {
        // Below the root name, as the calls take it.
        const std::string subKey = key->path.substr(key->path.find('\\') + 1);
        HKEY handle = nullptr;
        if (subKey.find('\\') == std::string::npos
            || RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr)
                != ERROR_SUCCESS) {
            continue;
        }
        for (const auto& value : key->values) {
            // A byte after the data, as the platform layer gives one: RegSetValueExA takes a NUL that
            // follows a text for its terminator and stores it too.
            std::vector<BYTE> data(value.data.begin(), value.data.end());
            data.push_back(0xFF);
            RegSetValueExA(handle, value.name.c_str(), 0, value.type, data.data(),
                           static_cast<DWORD>(value.data.size()));
        }
        RegCloseKey(handle);
    }
}

} // namespace orvant::test::host
