#include "platform/Registry.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <windows.h>

namespace orvant::platform {

struct RegistryKey
{
    HKEY handle;
};

namespace {

HKEY rootHandle(Hive hive)
{
    switch (hive) {
    case Hive::CurrentUser:
        return HKEY_CURRENT_USER;
    case Hive::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    }
    return nullptr;
}

// The ANSI calls take C strings: whatever follows a NUL is not part of the name.
std::string toAnsiName(const std::string& utf8)
{
    return utf8ToAnsi(std::string_view(utf8.c_str()));
}

} // namespace

long regCreateKeyEx(Hive hive, const std::string& subKey, std::uint32_t access, HKey* key)
{
    if (!key) {
        return ERROR_INVALID_PARAMETER;
    }
    *key = nullptr;
    const HKEY root = rootHandle(hive);
    if (!root) {
        return ERROR_INVALID_HANDLE;
    }
    HKEY handle = nullptr;
    const LONG result = RegCreateKeyExA(root, toAnsiName(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        static_cast<REGSAM>(access), nullptr, &handle, nullptr);
    if (result == ERROR_SUCCESS) {
        *key = new RegistryKey { handle };
    }
    return result;
}

long regOpenKeyEx(Hive hive, const std::string& subKey, std::uint32_t access, HKey* key)
{
    if (!key) {
        return ERROR_INVALID_PARAMETER;
    }
    *key = nullptr;
    const HKEY root = rootHandle(hive);
    if (!root) {
        return ERROR_INVALID_HANDLE;
    }
    HKEY handle = nullptr;
    const LONG result = RegOpenKeyExA(root, toAnsiName(subKey).c_str(), 0, static_cast<REGSAM>(access), &handle);
    if (result == ERROR_SUCCESS) {
        *key = new RegistryKey { handle };
    }
    return result;
}

long regSetValueEx(HKey key, const std::string& valueName, std::uint32_t type, const std::vector<std::uint8_t>& data)
{
    if (!key) {
        return ERROR_INVALID_HANDLE;
    }
    if (data.size() > MAXDWORD) {
        return ERROR_INVALID_PARAMETER;
    }
    // RegSetValueExA takes a NUL right after a text's bytes for the terminator the caller forgot and
    // stores it too (Windows NT does, and Wine). The data are passed with another byte after them, so
    // that a text is stored exactly as given, with or without its terminator.
    std::vector<std::uint8_t> buffer(data);
    buffer.push_back(0xFF);
    return RegSetValueExA(key->handle, toAnsiName(valueName).c_str(), 0, type, buffer.data(),
                          static_cast<DWORD>(data.size()));
}

long regDeleteValue(HKey key, const std::string& valueName)
{
    if (!key) {
        return ERROR_INVALID_HANDLE;
    }
    return RegDeleteValueA(key->handle, toAnsiName(valueName).c_str());
}

long regDeleteKey(Hive hive, const std::string& subKey)
{
    const HKEY root = rootHandle(hive);
    if (!root) {
        return ERROR_INVALID_HANDLE;
    }
    return RegDeleteKeyA(root, toAnsiName(subKey).c_str());
}

long regQueryValueEx(HKey key, const std::string& valueName, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size)
{
    if (!key) {
        return ERROR_INVALID_HANDLE;
    }
    DWORD foundType = 0;
    DWORD foundSize = size ? *size : 0;
    const LONG result = RegQueryValueExA(key->handle, toAnsiName(valueName).c_str(), nullptr, &foundType, data,
                                         size ? &foundSize : nullptr);
    if (type && (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)) {
        *type = foundType;
    }
    if (size && (result == ERROR_SUCCESS || result == ERROR_MORE_DATA)) {
        *size = foundSize;
    }
    return result;
}

long regEnumValue(HKey key, std::uint32_t index, std::string& valueName, std::uint32_t* type,
                  std::vector<std::uint8_t>& data)
{
    if (!key) {
        return ERROR_INVALID_HANDLE;
    }
    DWORD longestName = 0;
    DWORD longestData = 0;
    const LONG info = RegQueryInfoKeyA(key->handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       &longestName, &longestData, nullptr, nullptr);
    if (info != ERROR_SUCCESS) {
        return info;
    }
    // A value set since RegQueryInfoKeyA may be longer than the longest it reported: the buffers grow.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string name(static_cast<std::size_t>(longestName) + 1, '\0');
        data.assign(static_cast<std::size_t>(longestData) + 1, 0);
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD foundType = 0;
        const LONG result
            = RegEnumValueA(key->handle, index, name.data(), &nameSize, nullptr, &foundType, data.data(), &dataSize);
        if (result != ERROR_MORE_DATA) {
            if (result == ERROR_SUCCESS) {
                valueName = ansiToUtf8(name.substr(0, nameSize));
                data.resize(dataSize);
                if (type) {
                    *type = foundType;
                }
            }
            return result;
        }
        longestName = longestName * 2 + 256;
        longestData = std::max<DWORD>(longestData * 2, dataSize);
    }
    return ERROR_MORE_DATA;
}

long regQueryInfoKey(HKey key, std::uint32_t* subKeys, std::uint32_t* values)
{
    if (!key) {
        return ERROR_INVALID_HANDLE;
    }
    DWORD keys = 0;
    DWORD count = 0;
    const LONG result = RegQueryInfoKeyA(key->handle, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &count,
                                         nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        if (subKeys) {
            *subKeys = keys;
        }
        if (values) {
            *values = count;
        }
    }
    return result;
}

const char* hiveName(Hive hive)
{
    switch (hive) {
    case Hive::CurrentUser:
        return "HKEY_CURRENT_USER";
    case Hive::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    }
    return "";
}

long regCloseKey(HKey key)
{
    if (!key) {
        return ERROR_INVALID_HANDLE;
    }
    const LONG result = RegCloseKey(key->handle);
    delete key;
    return result;
}

RegistryBatch::RegistryBatch() = default;

RegistryBatch::~RegistryBatch() = default;

long RegistryBatch::finish(std::vector<Failure>* /*failures*/)
{
    m_scope.release();
    return ERROR_SUCCESS;
}

void RegistryBatch::discard()
{
    m_scope.release();
}

} // namespace orvant::platform
