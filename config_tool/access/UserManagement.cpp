#include "config_tool/access/UserManagement.h"

#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/InstallationFiles.h"
#include "config_tool/foundation/SHA1.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace tarn::UserManagement {

namespace {

constexpr std::array<std::string_view, 3> kAdministratorIds { "Administrator", "ADMINISTRATOR", "administrator" };
constexpr int kBackspace = 8;

// The user file as a store, or nothing when it exists but cannot be read.
std::optional<CProperties> readUsers()
{
    CProperties users;
    if (!users.load(userFilePath()).ok) {
        return std::nullopt;
    }
    return users;
}

// Takes the same time wherever the texts differ, so that a caller timing the check learns nothing
// about how much of a stored hash it guessed.
bool equalsInConstantTime(std::string_view a, std::string_view b)
{
    unsigned difference = a.size() == b.size() ? 0u : 1u;
    const std::size_t length = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i) {
        const auto x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0u;
        const auto y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0u;
        difference |= x ^ y;
    }
    return difference == 0;
}

// A user that is not in the file has no hash: the store's no-value marker must never match.
bool storedHashMatches(const CProperties& users, const std::string& userId, const std::string& hash)
{
    const auto entry = users.getProperty(userId);
    return entry && equalsInConstantTime(entry->value, hash);
}

} // namespace

std::string passwordHash(const std::string& password)
{
    std::string digest = SHA1::sha1(password + std::string(kSalt));
    std::erase(digest, ' ');
    return digest;
}

std::string userFilePath()
{
    return userStorePath();
}

std::string getPasswordHash(const std::string& userId)
{
    const auto users = readUsers();
    return users ? users->getValue(userId) : CProperties().NO_VALUE;
}

bool userExists(const std::string& userId)
{
    const auto users = readUsers();
    return users && users->getUserExistCheck(userId);
}

bool checkUserPassword(const std::string& userId, const std::string& hash)
{
    const auto users = readUsers();
    return users && storedHashMatches(*users, userId, hash);
}

bool checkAdminPassword(const std::string& userId, const std::string& hash)
{
    auto& verified = Globals::state().adminVerified;
    verified = false;
    if (std::find(kAdministratorIds.begin(), kAdministratorIds.end(), userId) == kAdministratorIds.end()) {
        return false;
    }
    const auto users = readUsers();
    if (!users) {
        return false;
    }
    // Any of the three spellings may hold the administrator's hash, whichever the operator typed.
    bool matched = false;
    for (const auto id : kAdministratorIds) {
        matched = storedHashMatches(*users, std::string(id), hash) || matched;
    }
    verified = matched;
    return verified;
}

bool setUserPassword(const std::string& userId, const std::string& password)
{
    auto users = readUsers();
    if (!users) {
        return false;
    }
    if (!users->addKeyValue(userId, passwordHash(password))) {
        return false;
    }
    // The hashes are the only secret the tool keeps: nobody but the owner needs to read them.
    return orvant::platform::writeFileAtomically(userFilePath(), users->saveToBytes(), true).ok;
}

void AllowAlpha(int& keyCode)
{
    const bool letter = (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= 'a' && keyCode <= 'z');
    if (keyCode == kBackspace || letter) {
        return;
    }
    keyCode = 0;
    Globals::ui().beep();
}

} // namespace tarn::UserManagement
