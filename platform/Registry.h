#pragma once

#include "platform/SaveScope.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvant::platform {

// The registry as the Win32 advapi32 calls see it. Key paths and value names are UTF-8 in memory
// and Windows-1252 in the store; value data are raw bytes exactly as RegSetValueExA takes them
// (a REG_SZ holds ANSI bytes, with or without a terminating NUL, as the caller passed them).
//
// On POSIX each hive is one REGEDIT4 text file (Windows-1252, CR LF) that an administrator can read
// and import on Windows. Folder: ORVANT_REGISTRY_DIR when set, otherwise <user data folder>/registry
// for HKEY_CURRENT_USER and /var/lib/orvant/registry for HKEY_LOCAL_MACHINE.

enum class Hive : std::uint32_t
{
    CurrentUser = 0x80000001u, // HKEY_CURRENT_USER
    LocalMachine = 0x80000002u, // HKEY_LOCAL_MACHINE
};

// Result codes (Win32 values).
constexpr long kErrorSuccess = 0; // ERROR_SUCCESS
constexpr long kErrorFileNotFound = 2; // ERROR_FILE_NOT_FOUND
constexpr long kErrorAccessDenied = 5; // ERROR_ACCESS_DENIED
constexpr long kErrorInvalidData = 13; // ERROR_INVALID_DATA: the store could not be parsed
constexpr long kErrorMoreData = 234; // ERROR_MORE_DATA
constexpr long kErrorNoMoreItems = 259; // ERROR_NO_MORE_ITEMS

// Value types.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegDwordBigEndian = 5;
constexpr std::uint32_t kRegMultiSz = 7;

// Access rights.
constexpr std::uint32_t kKeyQueryValue = 0x0001; // KEY_QUERY_VALUE
constexpr std::uint32_t kKeyAllAccess = 0xF003F; // KEY_ALL_ACCESS

// An open key. Obtained from regCreateKeyEx or regOpenKeyEx, given back with regCloseKey.
struct RegistryKey;
using HKey = RegistryKey*;

// RegCreateKeyExA(hive, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr).
// Creates missing keys. ERROR_ACCESS_DENIED when the hive cannot be written.
long regCreateKeyEx(Hive hive, const std::string& subKey, std::uint32_t access, HKey* key);

// RegOpenKeyExA(hive, subKey, 0, access, &key). ERROR_FILE_NOT_FOUND when the key does not exist.
long regOpenKeyEx(Hive hive, const std::string& subKey, std::uint32_t access, HKey* key);

// RegSetValueExA(key, name, 0, type, data, size).
long regSetValueEx(HKey key, const std::string& valueName, std::uint32_t type, const std::vector<std::uint8_t>& data);

// RegDeleteValueA(key, name). ERROR_FILE_NOT_FOUND when the value does not exist; ERROR_ACCESS_DENIED
// when the key was not opened with the right to set values or the hive may not be written. The default
// value has the empty name.
long regDeleteValue(HKey key, const std::string& valueName);

// RegDeleteKeyA(hive, subKey): deletes a key that has no subkeys (its values go with it).
// ERROR_FILE_NOT_FOUND when it does not exist; ERROR_ACCESS_DENIED when it still has subkeys (as Windows
// answers), when it is the hive's root, or when the hive may not be written.
long regDeleteKey(Hive hive, const std::string& subKey);

// RegQueryValueExA(key, name, nullptr, &type, data, &size). With data == nullptr only type and size
// are returned (ERROR_SUCCESS). With a buffer too small for the value, *size becomes the needed size
// and the result is ERROR_MORE_DATA. ERROR_FILE_NOT_FOUND when the value does not exist.
long regQueryValueEx(HKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size);

// RegEnumValueA(key, index, ...) with buffers as large as the value needs: the name, type and data of
// the key's value at index (0, 1, ... in the key's own order). ERROR_NO_MORE_ITEMS past the last one.
long regEnumValue(HKey key, std::uint32_t index, std::string& valueName, std::uint32_t* type,
                  std::vector<std::uint8_t>& data);

// RegCloseKey(key).
long regCloseKey(HKey key);

// RegQueryInfoKeyA(key, ..., &subKeys, ..., &values, ...): how many subkeys and values the key holds.
long regQueryInfoKey(HKey key, std::uint32_t* subKeys, std::uint32_t* values);

// The hive's name as regedit shows it: "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE".
const char* hiveName(Hive hive);

// The registry writes of one save. While a batch lives on this thread, each hive the calls write is read
// once, at the first write, under its writer's lock, which the batch keeps until it ends, so that no
// other process changes the hive underneath; writes change that copy (and reads see them), and each
// changed hive is replaced once, atomically, when the outermost batch ends. A hive the batch only reads
// (a dry run writes nothing) is read once too, without the lock, and the batch's reads keep seeing that
// copy. Every call still answers as it would alone: a hive that may not be written refuses each write
// with ERROR_ACCESS_DENIED. Batches nest. The Windows registry keeps its hives in memory itself: there a
// batch changes nothing.
class RegistryBatch
{
public:
    RegistryBatch();
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    // A changed hive that could not be stored: it keeps what it held before the batch.
    struct Failure
    {
        Hive hive;
        std::string error; // names the hive's file and the system's reason
    };

    // Ends the batch; for the outermost one, writes the changed hives: ERROR_SUCCESS, or the first
    // failure to replace a hive file (the old file then stays as it was). failures (when given) gets
    // every hive that could not be stored.
    long finish(std::vector<Failure>* failures = nullptr);

    // Ends the batch; the outermost one writes nothing of what it holds. On Windows, where every call
    // went to the registry at once, there is nothing left to drop: the caller puts values back itself.
    void discard();

private:
    SaveScope m_scope { SaveScope::Part::Registry, this };
};

} // namespace orvant::platform
