#include "config_tool/access/UserManagement.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/InstallationTest.h"

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
namespace um = tarn::UserManagement;

const std::string kSecretHash = "C6D6041531D3F3C368163427CEC91346139351A6"; // "secret" and the salt
const std::string kNewHash = "F0549A2F0132CC45E575BE96139A3016607ECACE"; // "new pw"
constexpr const char* kUsers = "properties/configuser.properties";

class UserManagementTest : public InstallationTest
{
protected:
    bool& adminVerified = tarn::Globals::state().adminVerified;
};

TEST_F(UserManagementTest, AMissingOrUnreadableFileKnowsNobody)
{
    EXPECT_EQ(um::passwordHash("secret") + um::passwordHash("caf\xC3\xA9"),
              kSecretHash + "DF19099FE669E314BB3BED32477B50403AE75E2D");
    EXPECT_EQ(um::userFilePath(), "C:\\ORVANT\\properties\\configuser.properties");
    for (const bool unreadable : { false, true }) {
        if (unreadable) {
            writeUsers("Administrator=" + kSecretHash + "\r\n");
            makeUnreadable(native(kUsers));
        }
        adminVerified = true;
        EXPECT_FALSE(um::userExists("Administrator"));
        EXPECT_EQ(um::getPasswordHash("Administrator"), "ZZZ_NO_VALUE_ZZZ");
        // The store's marker for a missing key is no password either.
        EXPECT_FALSE(um::checkUserPassword("Administrator", "ZZZ_NO_VALUE_ZZZ"));
        EXPECT_FALSE(um::checkAdminPassword("Administrator", "ZZZ_NO_VALUE_ZZZ"));
        EXPECT_FALSE(um::checkAdminPassword("Administrator", kSecretHash) || adminVerified);
    }
    EXPECT_FALSE(um::setUserPassword("Administrator", "new pw"));
    fs::permissions(native(kUsers), fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(read(kUsers), "Administrator=" + kSecretHash + "\r\n");
}

TEST_F(UserManagementTest, IdsAndHashesMatchExactlyAndTheAdministratorHasThreeSpellings)
{
    writeUsers("# users\r\nAdministrator=" + kSecretHash + "\r\nADMINISTRATOR=" + kNewHash
               + "\r\nAdminIstrator=" + kNewHash + "\r\n");
    EXPECT_TRUE(um::userExists("Administrator"));
    EXPECT_FALSE(um::userExists("administrator") || um::userExists("# users"));
    for (const std::string& wrong : { kNewHash, std::string("c6d6041531d3f3c368163427cec91346139351a6"),
                                      kSecretHash + "0", kSecretHash.substr(0, 39), std::string() }) {
        EXPECT_FALSE(um::checkUserPassword("Administrator", wrong)) << wrong;
    }
    EXPECT_TRUE(um::checkUserPassword("Administrator", kSecretHash));
    for (const char* id : { "Administrator", "ADMINISTRATOR", "administrator" }) {
        for (const auto& hash : { kSecretHash, kNewHash }) {
            adminVerified = false;
            EXPECT_TRUE(um::checkAdminPassword(id, hash) && adminVerified) << id;
        }
    }
    EXPECT_FALSE(um::checkAdminPassword("AdminIstrator", kNewHash)) << "no other spelling, even with an entry";
    EXPECT_FALSE(adminVerified);
    writeUsers("Administrator=" + kNewHash + "\r\n");
    EXPECT_FALSE(um::checkAdminPassword("Administrator", kSecretHash)) << "the file is read afresh";
}

TEST_F(UserManagementTest, APasswordIsChangedInPlaceOrAppendedInAFileOnlyItsOwnerReads)
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

TEST_F(UserManagementTest, UserIdsTakeLettersAndBackspaceOnly)
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

} // namespace
} // namespace orvant::test
