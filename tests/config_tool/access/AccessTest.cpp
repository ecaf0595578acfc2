#include "config_tool/access/LoginCheck.h"
#include "config_tool/access/PasswordChange.h"
#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/Globals.h"
#include "platform/AsciiText.h"
#include "tests/support/InstallationTest.h"

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
namespace um = tarn::UserManagement;
using Mode = tarn::PasswordChangeMode;

const std::string kSecretHash = "C6D6041531D3F3C368163427CEC91346139351A6"; // "secret" and the salt
const std::string kNewHash = "F0549A2F0132CC45E575BE96139A3016607ECACE"; // "new pw"
constexpr const char* kUsers = "properties/configuser.properties";

class AccessTest : public InstallationTest
{
protected:
    bool& adminVerified = tarn::Globals::state().adminVerified;
};

TEST_F(AccessTest, IdsAndHashesMatchExactlyTheAdministratorHasThreeSpellingsAndAnUnreadableFileKnowsNobody)
{
    EXPECT_EQ(um::passwordHash("caf\xC3\xA9"), "DF19099FE669E314BB3BED32477B50403AE75E2D") << "salted, in Windows-1252";
    writeUsers("Administrator=" + kSecretHash + "\r\nADMINISTRATOR=" + kNewHash + "\r\nAdminIstrator=" + kNewHash
               + "\r\n");
    EXPECT_TRUE(um::checkUserPassword("Administrator", kSecretHash));
    EXPECT_FALSE(um::userExists("administrator") || um::checkUserPassword("Administrator", kSecretHash.substr(0, 39))
                 || um::checkUserPassword("Administrator", "c6d6041531d3f3c368163427cec91346139351a6"));
    for (const char* id : { "Administrator", "ADMINISTRATOR", "administrator" }) {
        adminVerified = false;
        EXPECT_TRUE(um::checkAdminPassword(id, kNewHash) && adminVerified) << id;
    }
    EXPECT_FALSE(um::checkAdminPassword("AdminIstrator", kNewHash) || adminVerified) << "no other spelling";
    // An unreadable file is an empty one, whose marker for a missing key is no password either.
    makeUnreadable(native(kUsers));
    EXPECT_EQ(um::getPasswordHash("Administrator"), "ZZZ_NO_VALUE_ZZZ");
    EXPECT_FALSE(um::userExists("Administrator") || um::checkUserPassword("Administrator", "ZZZ_NO_VALUE_ZZZ")
                 || um::checkAdminPassword("Administrator", "ZZZ_NO_VALUE_ZZZ")
                 || um::setUserPassword("Administrator", "x"));
}

TEST_F(AccessTest, APasswordIsChangedInPlaceOrAppendedInAFileOnlyItsOwnerReads)
{
    const auto othersMayRead = [this] {
        return (fs::status(native(kUsers)).permissions() & (fs::perms::group_all | fs::perms::others_all))
            != fs::perms::none;
    };
    EXPECT_TRUE(um::setUserPassword("Administrator", "secret"));
    EXPECT_FALSE(othersMayRead());
    writeUsers("# users\r\nAdministrator=OLD\r\nbroken=a=b\r\noperator=" + kSecretHash + "\r\n");
    EXPECT_TRUE(um::setUserPassword("Administrator", "new pw"));
    EXPECT_TRUE(um::setUserPassword("Jos\xC3\xA9", "secret"));
    const std::string expected
        = "Administrator=" + kNewHash + "\r\noperator=" + kSecretHash + "\r\nJos\xE9=" + kSecretHash + "\r\n";
    EXPECT_EQ(read(kUsers), expected);
    EXPECT_FALSE(othersMayRead());
    makeReadOnly(native(kUsers));
    EXPECT_FALSE(um::setUserPassword("Administrator", "secret"));
    EXPECT_EQ(read(kUsers), expected);
}

TEST_F(AccessTest, UserIdsTakeLettersAndBackspaceOnly)
{
    int passed = 0; // the first five pass
    for (const int code :
         std::initializer_list<int> { 8, 'A', 'Z', 'a', 'z', '0', ' ', '@', '[', '`', '{', 13, 127, 0xE9 }) {
        int key = code;
        um::AllowAlpha(key);
        EXPECT_EQ(key, ++passed <= 5 ? code : 0) << code;
    }
    EXPECT_EQ(ui.beeps, 9);
}

TEST_F(AccessTest, OnlyTheAdministratorOfTheUserFileLogsIn)
{
    const std::string admin = userEntry("Administrator", "secret12"), noUser = "Sorry, No Such User Exist";
    const std::tuple<std::string, const char*, const char*, std::string> cases[] = {
        // user file, user ID and password as typed -> message (none: logged in)
        { admin, "Administrator", "secret12", "" },
        { admin, " Administrator ", " secret12 ", "" },
        { userEntry("Administrator", "a") + userEntry("ADMINISTRATOR", "b"), "Administrator", "b", "" },
        { admin + userEntry("administrator", "x"), "administrator", "secret12", noUser },
        { admin, "", "secret12", noUser },
        { userEntry("ADMINISTRATOR", "secret12"), "Administrator", "secret12", noUser },
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

TEST_F(AccessTest, EveryPasswordChangeRefusalInItsOrder)
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
        writeUsers(userEntry("Administrator", "secret12"));
        Mode mode = before;
        const auto result = tarn::changePassword(
            { "Administrator", oldPassword, newPassword, confirmation ? confirmation : newPassword }, mode);
        EXPECT_EQ(described(result, mode), expected) << oldPassword << "/" << newPassword;
        const bool changed = result.outcome == tarn::PasswordChangeResult::Outcome::Stored;
        EXPECT_EQ(read(kUsers),
                  userEntry("Administrator", changed ? std::string(orvant::ascii::trim(newPassword)) : "secret12"));
    }
}

TEST_F(AccessTest, APasswordChangeWithoutTheUserOrItsFileClosesTheWindow)
{
    Mode mode = Mode::Administrator;
    writeUsers(userEntry("ADMINISTRATOR", "secret12"));
    const tarn::PasswordChangeRequest request { "Administrator", "secret12", "newpass1", "newpass1" };
    EXPECT_EQ(described(tarn::changePassword(request, mode), mode), "Sorry, Login Not Exist|i||||closes|Administrator");
    // Verified: the new user is appended; a file that cannot be read is not written.
    mode = Mode::Verified;
    tarn::changePassword(request, mode);
    EXPECT_EQ(read(kUsers), userEntry("ADMINISTRATOR", "secret12") + userEntry("Administrator", "newpass1"));
    makeUnreadable(native(kUsers));
    EXPECT_EQ(described(tarn::changePassword(request, mode), mode),
              "Login Information has not been updated ! |i||||closes|Verified");
}

} // namespace
} // namespace orvant::test
