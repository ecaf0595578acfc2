#pragma once

#include <string>

namespace tarn::UserManagement {

// The configuration users and their password hashes, kept in
// <installation folder>\properties\configuser.properties as userID=hash lines. Every call reads the
// file afresh, so a change made by another program is seen at once. Nothing here shows a message:
// the windows report the outcome.

// 40 upper-case hexadecimal digits: SHA-1 of the password followed by the salt. The caller trims
// the typed password first.
std::string passwordHash(const std::string& password);

// <installation folder>\properties\configuser.properties, making the installation folder known first.
std::string userFilePath();

// The stored hash, or "ZZZ_NO_VALUE_ZZZ" when the user is not in the file (or it cannot be read).
std::string getPasswordHash(const std::string& userId);

bool userExists(const std::string& userId);

// True when the user is in the file and the stored hash equals hash exactly (case matters).
bool checkUserPassword(const std::string& userId, const std::string& hash);

// For "Administrator", "ADMINISTRATOR" or "administrator" only: true when hash equals the stored hash
// of any of the three. Sets adminVerified (Globals) to the result.
bool checkAdminPassword(const std::string& userId, const std::string& hash);

// Stores the password's hash under the user ID (in place for a known user, appended otherwise) and
// replaces the file, readable by its owner only. False when the file could not be read or written;
// the file is then unchanged.
bool setUserPassword(const std::string& userId, const std::string& password);

// Keyboard filter for user-ID fields: Backspace (8) and the letters A-Z, a-z pass; any other key code
// becomes 0 and the system beeps.
void AllowAlpha(int& keyCode);

} // namespace tarn::UserManagement
