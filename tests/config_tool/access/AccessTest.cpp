#include "config_tool/access/LoginCheck.h"
#include "config_tool/access/PasswordChange.h"
#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/Globals.h"
#include "platform/AsciiText.h"
#include "tests/support/InstallationTest.h"

#include <gmock/gmock.h>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
namespace um = tarn::UserManagement;
using Mode = tarn::PasswordChangeMode;
using tarn::MessageIcon;
using tarn::PasswordField;

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
    EXPECT_FALSE(um::userExists("administrator"));
    EXPECT_FALSE(um::checkUserPassword("Administrator", kSecretHash.substr(0, 39)));
    EXPECT_FALSE(um::checkUserPassword("Administrator", "c6d6041531d3f3c368163427cec91346139351a6"));
    for (const char* id : { "Administrator", "ADMINISTRATOR", "administrator" }) {
        adminVerified = false;
        EXPECT_TRUE(um::checkAdminPassword(id, kNewHash)) << id;
        EXPECT_TRUE(adminVerified) << id;
    }
    adminVerified = false;
    EXPECT_FALSE(um::checkAdminPassword("AdminIstrator", kNewHash)) << "no other spelling";
    EXPECT_FALSE(adminVerified);
    // An unreadable file is an empty one, whose marker for a missing key is no password either.
    makeUnreadable(native(kUsers));
    EXPECT_EQ(um::getPasswordHash("Administrator"), "ZZZ_NO_VALUE_ZZZ");
    EXPECT_FALSE(um::userExists("Administrator"));
    EXPECT_FALSE(um::checkUserPassword("Administrator", "ZZZ_NO_VALUE_ZZZ"));
    EXPECT_FALSE(um::checkAdminPassword("Administrator", "ZZZ_NO_VALUE_ZZZ"));
    EXPECT_FALSE(um::setUserPassword("Administrator", "x"));
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

// How the window shows the outcome of a change: the message, the fields it empties, the field that takes
// the focus, whether it closes, and the message's icon and title.
struct Shown
{
    std::string message;
    std::vector<PasswordField> cleared = {};
    std::optional<PasswordField> focus = {};
    bool closes = false;
    MessageIcon icon = MessageIcon::Information;
    bool programTitle = false; // else titled "Config ORVANT"
};

Shown refusal(const char* message, PasswordField focus, std::vector<PasswordField> cleared = {})
{
    return { message, std::move(cleared), focus };
}

Shown closing(const char* message)
{
    return { message, {}, {}, true };
}

::testing::Matcher<const tarn::PasswordChangeResult&> shows(const Shown& expected)
{
    using ::testing::Field;
    using R = tarn::PasswordChangeResult;
    return ::testing::AllOf(Field("message", &R::message, expected.message),
                            Field("cleared", &R::cleared, ::testing::ElementsAreArray(expected.cleared)),
                            Field("focus", &R::focus, expected.focus.has_value()),
                            Field("focusField", &R::focusField, expected.focus.value_or(R().focusField)),
                            Field("closesWindow", &R::closesWindow, expected.closes),
                            Field("icon", &R::icon, expected.icon),
                            Field("programTitle", &R::programTitle, expected.programTitle));
}

TEST_F(AccessTest, EveryPasswordChangeRefusalInItsOrder)
{
    const Shown tooShort { "Password should be at least 7 characters",
                           { PasswordField::New, PasswordField::Confirm },
                           PasswordField::New,
                           false,
                           MessageIcon::Exclamation,
                           true };
    const Shown stored = closing("Login Information has been updated ! ");
    const Shown adminWrong = refusal("Sorry, Admin Password is wrong ! ", PasswordField::Old, { PasswordField::Old });
    const Shown notSame = refusal("New Password and confirm Password are not same", PasswordField::New);
    // Six, six and seven characters of Windows-1252 (the kanji become "?").
    const std::string euros = "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC";
    const std::string kanji = "\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5";
    const std::string accents = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    struct Case
    {
        Mode before;
        std::string oldPassword, newPassword;
        const char* confirmation; // null: as the new password
        Shown shown;
        Mode after;
    };
    // The Administrator's password is "secret12".
    const Case cases[] = {
        { Mode::Administrator, "", "newpass1", nullptr, adminWrong, Mode::Plain },
        { Mode::Administrator, "wrong", "newpass1", "other", adminWrong, Mode::Plain },
        { Mode::Plain, "", "newpass1", nullptr, refusal("Old Password has not been entered ", PasswordField::Old),
          Mode::Plain },
        { Mode::Administrator, "secret12", "", "newpass1", refusal("New Password has not entered", PasswordField::New),
          Mode::Administrator },
        { Mode::Plain, "secret12", "newpass1", "", refusal("Confirm Password has not entered", PasswordField::Confirm),
          Mode::Plain },
        { Mode::Plain, "newpass1", "newpass1", nullptr, refusal("Same Passwords are not allowed", PasswordField::New),
          Mode::Plain },
        { Mode::Plain, "wrong", "newpass1", nullptr,
          refusal("Sorry, Your Password is wrong ! ", PasswordField::Old, { PasswordField::Old }), Mode::Plain },
        { Mode::Plain, "secret12", "newpass1", "newpass2", notSame, Mode::Plain },
        { Mode::Verified, "", " newpass1 ", "newpass1", notSame, Mode::Verified },
        // Seven characters without the blanks around them, counted as Windows-1252 holds them.
        { Mode::Administrator, "secret12", " 123456 ", nullptr, tooShort, Mode::Administrator },
        { Mode::Administrator, "secret12", euros, nullptr, tooShort, Mode::Administrator },
        { Mode::Verified, "", kanji, nullptr, tooShort, Mode::Verified },
        { Mode::Administrator, "secret12", "secret12", nullptr, stored, Mode::Administrator },
        { Mode::Plain, " secret12 ", " 1234567 ", nullptr, stored, Mode::Plain },
        { Mode::Verified, "", accents, nullptr, stored, Mode::Verified },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.oldPassword + "/" + c.newPassword);
        writeUsers(userEntry("Administrator", "secret12"));
        Mode mode = c.before;
        const auto result = tarn::changePassword(
            { "Administrator", c.oldPassword, c.newPassword, c.confirmation ? c.confirmation : c.newPassword }, mode);
        EXPECT_THAT(result, shows(c.shown));
        EXPECT_EQ(mode, c.after);
        const bool changed = result.outcome == tarn::PasswordChangeResult::Outcome::Stored;
        EXPECT_EQ(read(kUsers),
                  userEntry("Administrator", changed ? std::string(orvant::ascii::trim(c.newPassword)) : "secret12"));
    }
}

TEST_F(AccessTest, APasswordChangeWithoutTheUserOrItsFileClosesTheWindow)
{
    Mode mode = Mode::Administrator;
    writeUsers(userEntry("ADMINISTRATOR", "secret12"));
    const tarn::PasswordChangeRequest request { "Administrator", "secret12", "newpass1", "newpass1" };
    EXPECT_THAT(tarn::changePassword(request, mode), shows(closing("Sorry, Login Not Exist")));
    EXPECT_EQ(mode, Mode::Administrator);
    // Verified: the new user is appended; a file that cannot be read is not written.
    mode = Mode::Verified;
    tarn::changePassword(request, mode);
    EXPECT_EQ(read(kUsers), userEntry("ADMINISTRATOR", "secret12") + userEntry("Administrator", "newpass1"));
    makeUnreadable(native(kUsers));
    EXPECT_THAT(tarn::changePassword(request, mode), shows(closing("Login Information has not been updated ! ")));
    EXPECT_EQ(mode, Mode::Verified);
}

} // namespace
} // namespace orvant::test
