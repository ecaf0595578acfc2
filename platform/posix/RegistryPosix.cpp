#include "platform/AsciiText.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"
#include "platform/posix/HiveLock.h"
#include "platform/posix/RegeditFile.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_set>

namespace orvant::platform {

// An open key remembers where it lives, not what it holds: outside a batch every call reads the hive
// afresh, so a value set by another process is seen at once.
struct RegistryKey
{
    Hive hive;
    std::string path; // full path from the root name, Windows-1252
    std::uint32_t rights;
};

namespace {

constexpr long kErrorInvalidHandle = 6; // ERROR_INVALID_HANDLE
constexpr long kErrorInvalidParameter = 87; // ERROR_INVALID_PARAMETER
constexpr long kErrorBadPathname = 161; // ERROR_BAD_PATHNAME

constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
constexpr std::uint32_t kKeyCreateLink = 0x0020;
constexpr std::uint32_t kDelete = 0x00010000;
constexpr std::uint32_t kWriteDac = 0x00040000;
constexpr std::uint32_t kWriteOwner = 0x00080000;
constexpr std::uint32_t kKeyRead = 0x00020019;
constexpr std::uint32_t kKeyWrite = 0x00020006;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kGenericRead = 0x80000000;
constexpr std::uint32_t kWriteRights
    = kKeySetValue | kKeyCreateSubKey | kKeyCreateLink | kDelete | kWriteDac | kWriteOwner;

// Handles given out and not yet closed, so that a stale or foreign handle is refused instead of used.
std::mutex g_handlesMutex;
std::unordered_set<const RegistryKey*> g_handles;

const char* rootName(Hive hive)
{
    switch (hive) {
    case Hive::CurrentUser:
        return "HKEY_CURRENT_USER";
    case Hive::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    }
    return nullptr;
}

std::string hiveFile(Hive hive)
{
    std::string folder;
    if (const char* configured = std::getenv("ORVANT_REGISTRY_DIR"); configured && *configured) {
        folder = configured;
    } else if (hive == Hive::CurrentUser) {
        folder = userDataFolder() + "/registry";
    } else {
        folder = "/var/lib/orvant/registry";
    }
    return folder + "/" + rootName(hive) + ".reg";
}

// Generic rights stand for their key-specific sets, as the object manager maps them.
std::uint32_t specificRights(std::uint32_t access, const std::string& file)
{
    if (access & kGenericRead) {
        access |= kKeyRead;
    }
    if (access & kGenericWrite) {
        access |= kKeyWrite;
    }
    if (access & kGenericAll) {
        access |= kKeyAllAccess;
    }
    if (access & kMaximumAllowed) {
        access |= HiveLock::isWritable(file) ? kKeyAllAccess : kKeyRead;
    }
    return access;
}

// Names reach the Win32 calls as C strings: whatever follows a NUL is not part of them.
std::string toAnsiName(const std::string& utf8)
{
    return utf8ToAnsi(std::string_view(utf8.c_str()));
}

long fullKeyPath(Hive hive, const std::string& subKey, std::string& path)
{
    const char* root = rootName(hive);
    if (!root) {
        return kErrorInvalidHandle;
    }
    std::string ansi = toAnsiName(subKey);
    if (!ansi.empty() && ansi.front() == '\\') {
        return kErrorBadPathname;
    }
    while (!ansi.empty() && ansi.back() == '\\') {
        ansi.pop_back();
    }
    path = ansi.empty() ? std::string(root) : std::string(root) + "\\" + ansi;
    // Empty names and line breaks have no place in a key path of the REGEDIT4 text.
    return RegeditFile::isValidKeyPath(path) ? kErrorSuccess : kErrorBadPathname;
}

bool keyExists(const RegeditFile& hive, const std::string& path)
{
    // The root always exists, whether or not it has a section of its own.
    return path.find('\\') == std::string::npos || hive.findKey(path) != nullptr;
}

void openHandle(Hive hive, std::string path, std::uint32_t rights, HKey* key)
{
    *key = new RegistryKey { hive, std::move(path), rights };
    std::lock_guard lock(g_handlesMutex);
    g_handles.insert(*key);
}

bool isOpen(HKey key)
{
    std::lock_guard lock(g_handlesMutex);
    return key && g_handles.count(key) != 0;
}

// A hive as a batch holds it: read once under the writer's lock, which the batch keeps until it ends,
// and changed in memory.
struct BatchHive
{
    std::unique_ptr<HiveLock> lock;
    RegeditFile content;
    long loaded = kErrorSuccess; // the result of reading it: a writer may not store a partly read hive
    bool changed = false;
};

// A hive a batch has only read so far (a dry run never writes): read once, without the writer's lock,
// which would create its folder and lock file.
struct ReadHive
{
    RegeditFile content;
    long result = kErrorSuccess;
};

// The tools have one window thread; a batch belongs to the thread that opened it.
struct BatchState
{
    std::map<Hive, BatchHive> hives;
    std::map<Hive, ReadHive> readOnly;
};

thread_local BatchState t_batch;

bool batchIsOpen()
{
    return SaveScope::holder(SaveScope::Part::Registry) != nullptr;
}

// The hive of the current batch, read at its first use; nullptr outside a batch.
BatchHive* batchHive(Hive hive)
{
    if (!batchIsOpen()) {
        return nullptr;
    }
    auto [it, added] = t_batch.hives.try_emplace(hive);
    BatchHive& state = it->second;
    if (added) {
        state.lock = std::make_unique<HiveLock>(hiveFile(hive));
        if (state.lock->result() == kErrorSuccess) {
            state.loaded = state.lock->load(state.content);
        }
    }
    return &state;
}

// A hive the batch has already read, for readers; nullptr when there is none.
const RegeditFile* batchContent(Hive hive)
{
    const auto it = t_batch.hives.find(hive);
    if (!batchIsOpen() || it == t_batch.hives.end() || it->second.lock->result() != kErrorSuccess
        || it->second.loaded == kErrorAccessDenied) {
        return nullptr;
    }
    return &it->second.content;
}

// The hive as a reader sees it: the batch's copy when the batch holds one; within a batch that has not
// written it, the copy it read at its first use; else the file, read into `fresh`. Nothing when it
// cannot be read (the result says why).
const RegeditFile* readHive(Hive hive, RegeditFile& fresh, long& result)
{
    result = kErrorSuccess;
    if (const RegeditFile* held = batchContent(hive)) {
        return held;
    }
    if (batchIsOpen()) {
        auto [it, added] = t_batch.readOnly.try_emplace(hive);
        if (added) {
            it->second.result = HiveLock::read(hiveFile(hive), it->second.content);
        }
        result = it->second.result;
        return result == kErrorSuccess ? &it->second.content : nullptr;
    }
    result = HiveLock::read(hiveFile(hive), fresh);
    return result == kErrorSuccess ? &fresh : nullptr;
}

// What a write made of a hive: the call's answer, and whether the hive changed and must be stored.
struct HiveChange
{
    long result = kErrorSuccess;
    bool changed = false;
};

// Applies a write as every writer does: inside a batch to the batch's copy, which is stored when the batch
// ends; alone under the writer's lock, storing the hive only when it changed. A hive that may not be
// written refuses, and one that was only partly read is not changed, as storing it would drop what could
// not be read.
template <typename Apply> long changeHive(Hive hive, Apply apply)
{
    if (BatchHive* batch = batchHive(hive)) {
        if (batch->lock->result() != kErrorSuccess) {
            return batch->lock->result();
        }
        if (batch->loaded != kErrorSuccess) {
            return batch->loaded;
        }
        const HiveChange change = apply(batch->content);
        batch->changed = change.changed || batch->changed;
        return change.result;
    }
    HiveLock lock(hiveFile(hive));
    if (lock.result() != kErrorSuccess) {
        return lock.result();
    }
    RegeditFile current;
    if (const long loaded = lock.load(current); loaded != kErrorSuccess) {
        return loaded;
    }
    const HiveChange change = apply(current);
    if (change.changed) {
        if (const long stored = lock.store(current); stored != kErrorSuccess) {
            return stored;
        }
    }
    return change.result;
}

} // namespace

RegistryBatch::RegistryBatch() = default;

RegistryBatch::~RegistryBatch()
{
    finish();
}

long RegistryBatch::finish(std::vector<Failure>* failures)
{
    if (!m_scope.holdsPart()) {
        return kErrorSuccess;
    }
    long result = kErrorSuccess;
    for (auto& [hive, state] : t_batch.hives) {
        if (state.changed) {
            std::string error;
            const long stored = state.lock->store(state.content, &error);
            if (result == kErrorSuccess) {
                result = stored;
            }
            if (stored != kErrorSuccess && failures) {
                failures->push_back({ hive, error });
            }
        }
    }
    // Dropping the locks lets the next writer in.
    t_batch.hives.clear();
    t_batch.readOnly.clear();
    m_scope.release();
    return result;
}

void RegistryBatch::discard()
{
    if (m_scope.holdsPart()) {
        for (auto& [hive, state] : t_batch.hives) {
            state.changed = false;
        }
    }
    finish();
}

long regCreateKeyEx(Hive hive, const std::string& subKey, std::uint32_t access, HKey* key)
{
    if (!key) {
        return kErrorInvalidParameter;
    }
    *key = nullptr;
    std::string path;
    if (const long result = fullKeyPath(hive, subKey, path); result != kErrorSuccess) {
        return result;
    }
    const std::string file = hiveFile(hive);
    const std::uint32_t rights = specificRights(access, file);

    if (!(rights & kWriteRights)) {
        // Opening an existing key for reading needs no writer.
        RegeditFile fresh;
        long result = kErrorSuccess;
        const RegeditFile* existing = readHive(hive, fresh, result);
        if (!existing) {
            return result;
        }
        if (keyExists(*existing, path)) {
            openHandle(hive, std::move(path), rights, key);
            return kErrorSuccess;
        }
    }

    if (BatchHive* batch = batchHive(hive)) {
        if (batch->lock->result() != kErrorSuccess) {
            return batch->lock->result();
        }
        if (batch->loaded == kErrorAccessDenied) {
            return batch->loaded;
        }
        if (!keyExists(batch->content, path)) {
            if (batch->loaded != kErrorSuccess) {
                return batch->loaded;
            }
            batch->content.createKey(path);
            batch->changed = true;
        }
        openHandle(hive, std::move(path), rights, key);
        return kErrorSuccess;
    }

    HiveLock lock(file);
    if (lock.result() != kErrorSuccess) {
        return lock.result();
    }
    RegeditFile current;
    const long loaded = lock.load(current);
    if (loaded == kErrorAccessDenied) {
        return loaded;
    }
    if (!keyExists(current, path)) {
        // Storing a hive that was only partly read would drop what could not be read.
        if (loaded != kErrorSuccess) {
            return loaded;
        }
        current.createKey(path);
        if (const long stored = lock.store(current); stored != kErrorSuccess) {
            return stored;
        }
    }
    openHandle(hive, std::move(path), rights, key);
    return kErrorSuccess;
}

long regOpenKeyEx(Hive hive, const std::string& subKey, std::uint32_t access, HKey* key)
{
    if (!key) {
        return kErrorInvalidParameter;
    }
    *key = nullptr;
    std::string path;
    if (const long result = fullKeyPath(hive, subKey, path); result != kErrorSuccess) {
        return result;
    }
    const std::string file = hiveFile(hive);
    RegeditFile fresh;
    long result = kErrorSuccess;
    const RegeditFile* current = readHive(hive, fresh, result);
    if (!current) {
        return result;
    }
    if (!keyExists(*current, path)) {
        return kErrorFileNotFound;
    }
    const std::uint32_t rights = specificRights(access, file);
    if ((rights & kWriteRights) && !HiveLock::isWritable(file)) {
        return kErrorAccessDenied;
    }
    openHandle(hive, std::move(path), rights, key);
    return kErrorSuccess;
}

long regSetValueEx(HKey key, const std::string& valueName, std::uint32_t type, const std::vector<std::uint8_t>& data)
{
    if (!isOpen(key)) {
        return kErrorInvalidHandle;
    }
    if (!(key->rights & kKeySetValue)) {
        return kErrorAccessDenied;
    }
    const std::string name = toAnsiName(valueName);
    if (name.find_first_of("\r\n") != std::string::npos || data.size() > std::numeric_limits<std::uint32_t>::max()) {
        return kErrorInvalidParameter;
    }
    // A key removed from the file by hand since it was opened comes back, as the value needs it. A save
    // rewrites every value, most of them unchanged: those spare the file.
    return changeHive(key->hive, [&](RegeditFile& current) {
        RegeditKey* target = current.findKey(key->path);
        if (!target) {
            target = current.createKey(key->path);
        } else if (const RegeditValue* old = target->findValue(name); old && old->type == type && old->data == data) {
            return HiveChange {};
        }
        target->setValue(name, type, data);
        return HiveChange { kErrorSuccess, true };
    });
}

long regDeleteValue(HKey key, const std::string& valueName)
{
    if (!isOpen(key)) {
        return kErrorInvalidHandle;
    }
    if (!(key->rights & kKeySetValue)) {
        return kErrorAccessDenied;
    }
    const std::string name = toAnsiName(valueName);
    return changeHive(key->hive, [&](RegeditFile& current) {
        RegeditKey* target = current.findKey(key->path);
        if (!target || !target->removeValue(name)) {
            return HiveChange { kErrorFileNotFound, false };
        }
        return HiveChange { kErrorSuccess, true };
    });
}

long regDeleteKey(Hive hive, const std::string& subKey)
{
    std::string path;
    if (const long result = fullKeyPath(hive, subKey, path); result != kErrorSuccess) {
        return result;
    }
    // The root itself cannot be deleted (on Windows it always has subkeys anyway).
    if (path.find('\\') == std::string::npos) {
        return kErrorAccessDenied;
    }
    return changeHive(hive, [&](RegeditFile& current) {
        if (!current.findKey(path)) {
            return HiveChange { kErrorFileNotFound, false };
        }
        // Only a key without subkeys goes; Windows refuses the others as it does a key it may not delete.
        if (current.hasSubKeys(path)) {
            return HiveChange { kErrorAccessDenied, false };
        }
        current.removeKey(path);
        return HiveChange { kErrorSuccess, true };
    });
}

namespace {

// The hive of an open key that may be queried, as readHive gives it; nothing, with the reason in result,
// when the key is not open, was opened without the right to query, or its hive cannot be read.
const RegeditFile* hiveToQuery(HKey key, RegeditFile& fresh, long& result)
{
    if (!isOpen(key)) {
        result = kErrorInvalidHandle;
        return nullptr;
    }
    if (!(key->rights & kKeyQueryValue)) {
        result = kErrorAccessDenied;
        return nullptr;
    }
    return readHive(key->hive, fresh, result);
}

} // namespace

long regQueryValueEx(HKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size)
{
    if (!isOpen(key)) {
        return kErrorInvalidHandle;
    }
    if (!(key->rights & kKeyQueryValue)) {
        return kErrorAccessDenied;
    }
    if (data && !size) {
        return kErrorInvalidParameter;
    }
    RegeditFile fresh;
    long result = kErrorSuccess;
    const RegeditFile* current = readHive(key->hive, fresh, result);
    if (!current) {
        return result;
    }
    const RegeditKey* found = current->findKey(key->path);
    const RegeditValue* value = found ? found->findValue(toAnsiName(valueName)) : nullptr;
    if (!value) {
        return kErrorFileNotFound;
    }
    if (type) {
        *type = value->type;
    }
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    if (!data) {
        if (size) {
            *size = needed;
        }
        return kErrorSuccess;
    }
    if (*size < needed) {
        *size = needed;
        return kErrorMoreData;
    }
    if (needed != 0) {
        std::memcpy(data, value->data.data(), needed);
    }
    *size = needed;
    return kErrorSuccess;
}

long regQueryInfoKey(HKey key, std::uint32_t* subKeys, std::uint32_t* values)
{
    RegeditFile fresh;
    long result = kErrorSuccess;
    const RegeditFile* current = hiveToQuery(key, fresh, result);
    if (!current) {
        return result;
    }
    const RegeditKey* found = current->findKey(key->path);
    if (values) {
        *values = found ? static_cast<std::uint32_t>(found->values.size()) : 0;
    }
    if (subKeys) {
        // Direct subkeys only, as Windows counts them; a key path is its parent's, a backslash and a name.
        *subKeys = 0;
        const std::string prefix = key->path + "\\";
        for (const RegeditKey* other : current->keys()) {
            if (other->path.size() > prefix.size()
                && ascii::equalsIgnoringCase(std::string_view(other->path).substr(0, prefix.size()), prefix)
                && other->path.find('\\', prefix.size()) == std::string::npos) {
                ++*subKeys;
            }
        }
    }
    return kErrorSuccess;
}

const char* hiveName(Hive hive)
{
    return rootName(hive);
}

long regEnumValue(HKey key, std::uint32_t index, std::string& valueName, std::uint32_t* type,
                  std::vector<std::uint8_t>& data)
{
    RegeditFile fresh;
    long result = kErrorSuccess;
    const RegeditFile* current = hiveToQuery(key, fresh, result);
    if (!current) {
        return result;
    }
    const RegeditKey* found = current->findKey(key->path);
    if (!found || index >= found->values.size()) {
        return kErrorNoMoreItems;
    }
    const RegeditValue& value = found->values[index];
    valueName = ansiToUtf8(value.name);
    if (type) {
        *type = value.type;
    }
    data = value.data;
    return kErrorSuccess;
}

long regCloseKey(HKey key)
{
    {
        std::lock_guard lock(g_handlesMutex);
        if (!key || g_handles.erase(key) == 0) {
            return kErrorInvalidHandle;
        }
    }
    delete key;
    return kErrorSuccess;
}

} // namespace orvant::platform
