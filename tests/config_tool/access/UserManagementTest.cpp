#include "config_tool/access/UserManagement.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace um = tarn::UserManagement;
using tarn::Globals::state;

const std::string kSecretHash = "C6D6041531D3F3C368163427CEC91346139351A6"; // "secret"
const std::string kNewPwHash = "F0549A2F0132CC45E575BE96139A3016607ECACE"; // "new pw"
constexpr char kUserFile[] = "home/properties/configuser.properties";

class UserManagement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tarn::Globals::reset();
        tarn::Globals::setUi(&ui);
    }

    void TearDown() override
    {
        tarn::Globals::setUi(nullptr);
        tarn::Globals::reset();
    }

    void writeUsers(const std::string& bytes) { folder.write(kUserFile, bytes); }
    void removeFromUserFile(fs::perms perms)
    {
        fs::permissions(folder.path() / kUserFile, perms, fs::perm_options::remove);
    }

    // Every check on a user nobody can read or who is not there.
    void expectNobodyKnown(const std::string& user)
    {
        EXPECT_FALSE(um::userExists(user));
        EXPECT_EQ(um::getPasswordHash(user), "ZZZ_NO_VALUE_ZZZ");
        EXPECT_FALSE(um::checkUserPassword(user, kSecretHash));
        // The store's marker for an absent key is no password.
        EXPECT_FALSE(um::checkUserPassword(user, "ZZZ_NO_VALUE_ZZZ"));
        state().adminVerified = true;
        EXPECT_FALSE(um::checkAdminPassword(user, kSecretHash));
        EXPECT_FALSE(um::checkAdminPassword(user, "ZZZ_NO_VALUE_ZZZ"));
        EXPECT_FALSE(state().adminVerified);
        EXPECT_TRUE(ui.messages.empty());
    }

    orvant::test::TestFolder folder;
    orvant::test::FakeUi ui;
};

TEST_F(UserManagement, PasswordHashIsTheSaltedDigestWithoutSpaces)
{
    EXPECT_EQ(um::passwordHash("secret"), kSecretHash);
    EXPECT_EQ(um::passwordHash("new pw"), kNewPwHash);
    EXPECT_EQ(um::passwordHash(""), "124A2E4BFCBEB0FB7F808F6A24F3DF50686647AF");
    EXPECT_EQ(um::passwordHash("caf\xC3\xA9"), "DF19099FE669E314BB3BED32477B50403AE75E2D");
}

TEST_F(UserManagement, MissingOrUnreadableFileKnowsNobody)
{
    expectNobodyKnown("Administrator");
    EXPECT_EQ(state().installationFolder, (folder.path() / "home").string());

    const std::string before = "Administrator=" + kSecretHash + "\r\n";
    writeUsers(before);
    removeFromUserFile(fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    expectNobodyKnown("Administrator");
    EXPECT_FALSE(um::setUserPassword("Administrator", "new pw"));
    fs::permissions(folder.path() / kUserFile, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(folder.read(kUserFile), before);
}

TEST_F(UserManagement, UsersAndHashesMatchExactlyAndAreReadAfresh)
{
    writeUsers("# configuration users\r\nAdministrator=" + kSecretHash + "\r\noperator=" + kNewPwHash + "\r\n");
    EXPECT_TRUE(um::userExists("Administrator"));
    EXPECT_FALSE(um::userExists("administrator"));
    EXPECT_FALSE(um::userExists("# configuration users"));
    EXPECT_EQ(um::getPasswordHash("operator"), kNewPwHash);
    EXPECT_TRUE(um::checkUserPassword("Administrator", kSecretHash));
    for (const std::string& wrong : { kNewPwHash, std::string("c6d6041531d3f3c368163427cec91346139351a6"),
                                      kSecretHash + "0", kSecretHash.substr(0, 39), std::string() }) {
        EXPECT_FALSE(um::checkUserPassword("Administrator", wrong)) << wrong;
    }
    EXPECT_FALSE(um::checkUserPassword("nobody", "ZZZ_NO_VALUE_ZZZ"));

    writeUsers("Administrator=" + kNewPwHash + "\r\n");
    EXPECT_FALSE(um::checkAdminPassword("Administrator", kSecretHash));
    EXPECT_TRUE(um::checkUserPassword("Administrator", kNewPwHash));
    fs::remove(folder.path() / kUserFile);
    EXPECT_FALSE(um::userExists("Administrator"));
}

TEST_F(UserManagement, AdministratorUnderAnyOfItsThreeSpellings)
{
    writeUsers("ADMINISTRATOR=" + kSecretHash + "\r\n");
    EXPECT_FALSE(um::userExists("Administrator"));
    for (const char* id : { "Administrator", "ADMINISTRATOR", "administrator" }) {
        state().adminVerified = false;
        EXPECT_TRUE(um::checkAdminPassword(id, kSecretHash)) << id;
        EXPECT_TRUE(state().adminVerified) << id;
    }
    EXPECT_FALSE(um::checkAdminPassword("Administrator", kNewPwHash));
    EXPECT_FALSE(state().adminVerified);

    // Other spellings are refused even when an entry with that spelling exists.
    writeUsers("ADMINISTRATOR=" + kSecretHash + "\r\nAdminIstrator=" + kSecretHash + "\r\n");
    state().adminVerified = true;
    EXPECT_FALSE(um::checkAdminPassword("AdminIstrator", kSecretHash));
    EXPECT_FALSE(state().adminVerified);
    EXPECT_FALSE(um::checkAdminPassword("operator", kSecretHash));
    EXPECT_TRUE(um::checkUserPassword("AdminIstrator", kSecretHash));
}

TEST_F(UserManagement, SetUserPasswordChangesInPlaceAndAppendsNewUsers)
{
    writeUsers("# configuration users\r\nAdministrator=OLD\r\nbroken=a=b\r\noperator=" + kSecretHash + "\r\n");
    EXPECT_TRUE(um::setUserPassword("Administrator", "new pw"));
    EXPECT_EQ(folder.read(kUserFile), "Administrator=" + kNewPwHash + "\r\noperator=" + kSecretHash + "\r\n");

    EXPECT_TRUE(um::setUserPassword("Jos\xC3\xA9", "secret"));
    EXPECT_EQ(folder.read(kUserFile),
              "Administrator=" + kNewPwHash + "\r\noperator=" + kSecretHash + "\r\nJos\xE9=" + kSecretHash + "\r\n");
    EXPECT_TRUE(um::userExists("Jos\xC3\xA9"));
    EXPECT_TRUE(um::checkAdminPassword("Administrator", kNewPwHash));
}

TEST_F(UserManagement, SetUserPasswordCreatesAFileOnlyItsOwnerReadsOrReportsFailure)
{
    // No properties folder.
    EXPECT_FALSE(um::setUserPassword("Administrator", "secret"));
    EXPECT_FALSE(folder.exists("home/properties"));

    fs::create_directories(folder.path() / "home/properties");
    EXPECT_TRUE(um::setUserPassword("Administrator", "secret"));
    EXPECT_EQ(folder.read(kUserFile), "Administrator=" + kSecretHash + "\r\n");
    const auto perms = fs::status(folder.path() / kUserFile).permissions();
    EXPECT_EQ(perms & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
    EXPECT_NE(perms & fs::perms::owner_read, fs::perms::none);

    removeFromUserFile(fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    EXPECT_FALSE(um::setUserPassword("Administrator", "new pw"));
    EXPECT_EQ(folder.read(kUserFile), "Administrator=" + kSecretHash + "\r\n");
    EXPECT_TRUE(um::checkAdminPassword("Administrator", kSecretHash));
}

TEST_F(UserManagement, WithoutKelbrinHomeTheDefaultInstallationIsUsed)
{
    orvant::test::ScopedEnv unset("KELBRIN_HOME", nullptr);
    folder.write("drive_c/ORVANT/properties/configuser.properties", "Administrator=" + kSecretHash + "\r\n");
    EXPECT_TRUE(um::userExists("Administrator"));
    EXPECT_EQ(state().installationFolder, "C:\\ORVANT");
    EXPECT_EQ(um::userFilePath(), "C:\\ORVANT\\properties\\configuser.properties");
}

TEST_F(UserManagement, AllowAlphaLetsOnlyLettersAndBackspaceThrough)
{
    for (const int code : { 8, int('A'), int('M'), int('Z'), int('a'), int('q'), int('z') }) {
        int key = code;
        um::AllowAlpha(key);
        EXPECT_EQ(key, code);
    }
    EXPECT_EQ(ui.beeps, 0);
    const int refused[] = { '0', '9', ' ', '.', '_', '@', '[', '`', '{', 13, 27, 127, 0xE9 };
    for (int code : refused) {
        int key = code;
        um::AllowAlpha(key);
        EXPECT_EQ(key, 0) << code;
    }
    EXPECT_EQ(ui.beeps, static_cast<int>(std::size(refused)));
}

} // namespace
