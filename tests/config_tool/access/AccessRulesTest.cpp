#include "config_tool/access/LoginCheck.h"
#include "config_tool/access/PasswordChange.h"
#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/Globals.h"
#include "platform/AsciiText.h"
#include "tests/support/InstallationTest.h"

namespace orvant::test {
namespace {

using Mode = tarn::PasswordChangeMode;

std::string entry(const std::string& user, const std::string& password)
{
    return user + "=" + tarn::UserManagement::passwordHash(password) + "\r\n";
}

using AccessRulesTest = InstallationTest;

TEST_F(AccessRulesTest, OnlyTheAdministratorOfTheUserFileLogsIn)
{
    const std::string admin = entry("Administrator", "secret12"), noUser = "Sorry, No Such User Exist";
    const std::tuple<std::string, const char*, const char*, std::string> cases[] = {
        // user file, user ID and password as typed -> message (none: logged in)
        { admin, "Administrator", "secret12", "" },
        { admin, " Administrator ", " secret12 ", "" },
        { entry("Administrator", "a") + entry("ADMINISTRATOR", "b"), "Administrator", "b", "" },
        { admin + entry("administrator", "x"), "administrator", "secret12", noUser },
        { admin, "", "secret12", noUser },
        { entry("ADMINISTRATOR", "secret12"), "Administrator", "secret12", noUser },
        { "", "Administrator", "secret12", noUser },
        { admin, "Administrator", "Secret12", "Incorrect Password" },
        { admin, "Administrator", "", "Incorrect Password" },
    };
    for (const auto& [users, userId, password, message] : cases) {
        writeUsers(users);
        tarn::Globals::state().adminVerified = false;
        const auto result = tarn::checkLogin(userId, password);
        EXPECT_EQ(result.message, message) << userId << " " << password;
        EXPECT_EQ(result.passed(), message.empty());
        EXPECT_EQ(tarn::Globals::state().adminVerified, message.empty());
    }
}

// The outcome of a change as one line: message|icon|program title|cleared fields|focus|closes|mode after.
std::string described(const tarn::PasswordChangeResult& r, Mode mode)
{
    std::string cleared;
    for (const auto field : r.cleared) {
        cleared += std::to_string(static_cast<int>(field));
    }
    const char* modes[] = { "Administrator", "Plain", "Verified" };
    return r.message + "|" + (r.icon == tarn::MessageIcon::Exclamation ? "!" : "i") + "|" + (r.programTitle ? "T" : "")
        + "|" + cleared + "|" + (r.focus ? std::to_string(static_cast<int>(r.focusField)) : "") + "|"
        + (r.closesWindow ? "closes" : "") + "|" + modes[static_cast<int>(mode)];
}

TEST_F(AccessRulesTest, EveryPasswordChangeRefusalInItsOrder)
{
    const std::string stored = "Login Information has been updated ! |i||||closes|";
    const std::string tooShort = "Password should be at least 7 characters|!|T|23|2||";
    // Six, six and seven characters of Windows-1252 (the kanji become "?").
    const std::string euros = "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC";
    const std::string kanji = "\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5";
    const std::string accents = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    const std::tuple<Mode, std::string, std::string, const char*, std::string> cases[] = {
        // mode, old, new, confirm (null: as new) -> described result; the Administrator's password is "secret12"
        { Mode::Administrator, "", "newpass1", nullptr, "Sorry, Admin Password is wrong ! |i||1|1||Plain" },
        { Mode::Administrator, "wrong", "newpass1", "other", "Sorry, Admin Password is wrong ! |i||1|1||Plain" },
        { Mode::Plain, "", "newpass1", nullptr, "Old Password has not been entered |i|||1||Plain" },
        { Mode::Administrator, "secret12", "", "newpass1", "New Password has not entered|i|||2||Administrator" },
        { Mode::Plain, "secret12", "newpass1", "", "Confirm Password has not entered|i|||3||Plain" },
        { Mode::Plain, "newpass1", "newpass1", nullptr, "Same Passwords are not allowed|i|||2||Plain" },
        { Mode::Plain, "wrong", "newpass1", nullptr, "Sorry, Your Password is wrong ! |i||1|1||Plain" },
        { Mode::Plain, "secret12", "newpass1", "newpass2",
          "New Password and confirm Password are not same|i|||2||Plain" },
        { Mode::Verified, "", " newpass1 ", "newpass1",
          "New Password and confirm Password are not same|i|||2||Verified" },
        // Seven characters without the blanks around them, counted as Windows-1252 holds them.
        { Mode::Administrator, "secret12", " 123456 ", nullptr, tooShort + "Administrator" },
        { Mode::Administrator, "secret12", euros, nullptr, tooShort + "Administrator" },
        { Mode::Verified, "", kanji, nullptr, tooShort + "Verified" },
        { Mode::Administrator, "secret12", "secret12", nullptr, stored + "Administrator" },
        { Mode::Plain, " secret12 ", " 1234567 ", nullptr, stored + "Plain" },
        { Mode::Verified, "", accents, nullptr, stored + "Verified" },
    };
    for (const auto& [before, oldPassword, newPassword, confirmation, expected] : cases) {
        writeUsers(entry("Administrator", "secret12"));
        Mode mode = before;
        const auto result = tarn::changePassword(
            { "Administrator", oldPassword, newPassword, confirmation ? confirmation : newPassword }, mode);
        EXPECT_EQ(described(result, mode), expected) << oldPassword << "/" << newPassword;
        const bool changed = result.outcome == tarn::PasswordChangeResult::Outcome::Stored;
        EXPECT_EQ(read("properties/configuser.properties"),
                  entry("Administrator", changed ? std::string(orvant::ascii::trim(newPassword)) : "secret12"));
    }
}

TEST_F(AccessRulesTest, APasswordChangeWithoutTheUserOrItsFileClosesTheWindow)
{
    Mode mode = Mode::Administrator;
    writeUsers(entry("ADMINISTRATOR", "secret12"));
    auto result = tarn::changePassword({ "Administrator", "secret12", "newpass1", "newpass1" }, mode);
    EXPECT_EQ(result.outcome, tarn::PasswordChangeResult::Outcome::NoSuchLogin);
    EXPECT_EQ(described(result, mode), "Sorry, Login Not Exist|i||||closes|Administrator");

    // Verified: the new user is appended; a file that cannot be read is not written.
    mode = Mode::Verified;
    result = tarn::changePassword({ "Administrator", "", "newpass1", "newpass1" }, mode);
    EXPECT_EQ(read("properties/configuser.properties"),
              entry("ADMINISTRATOR", "secret12") + entry("Administrator", "newpass1"));
    makeUnreadable(native("properties/configuser.properties"));
    result = tarn::changePassword({ "Administrator", "", "newpass2", "newpass2" }, mode);
    EXPECT_EQ(result.outcome, tarn::PasswordChangeResult::Outcome::NotStored);
    EXPECT_EQ(described(result, mode), "Login Information has not been updated ! |i||||closes|Verified");
}

} // namespace
} // namespace orvant::test
