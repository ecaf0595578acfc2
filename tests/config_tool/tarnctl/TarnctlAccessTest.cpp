#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/SHA1.h"
#include "tests/config_tool/tarnctl/TarnctlRunner.h"

#include <filesystem>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;

// The stored form of a password, computed here from the digest itself.
std::string hashLine(const std::string& user, const std::string& password)
{
    std::string digest = tarn::SHA1::sha1(password + std::string(tarn::kSalt));
    std::erase(digest, ' ');
    return user + "=" + digest + "\r\n";
}

using TarnctlAccessTest = TarnctlTest;

TEST_F(TarnctlAccessTest, FirstProvisioningNeedsNoLoginThenTheNewPasswordGuardsEverything)
{
    fs::remove(native("properties/configuser.properties"));

    // Surrounding spaces are not part of the password.
    const TarnctlRun provisioned = run({ "--password-stdin", "passwd" }, "  first-pass  \n");
    EXPECT_EQ(provisioned.status, 0) << provisioned.err;
    EXPECT_EQ(provisioned.err, "Login Information has been updated ! \n");
    EXPECT_EQ(provisioned.out, "");
    EXPECT_EQ(read("properties/configuser.properties"), hashLine("Administrator", "first-pass"));

    // Now a login is needed: the old password first, then the new one.
    const TarnctlRun changed = run({ "--password-stdin", "passwd" }, "first-pass\nsecond-pass\n");
    EXPECT_EQ(changed.status, 0) << changed.err;
    EXPECT_EQ(read("properties/configuser.properties"), hashLine("Administrator", "second-pass"));

    EXPECT_EQ(run({ "--password-stdin", "list" }, "first-pass\n").status, 3);
    EXPECT_EQ(run({ "--password-stdin", "list" }, "second-pass\n").status, 0);
}

TEST_F(TarnctlAccessTest, PasswordRulesOfTheChangePasswordWindow)
{
    fs::remove(native("properties/configuser.properties"));

    // Six characters once trimmed.
    TarnctlRun result = run({ "--password-stdin", "passwd" }, "  abc123  \n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Password should be at least 7 characters\n");
    EXPECT_FALSE(exists("properties/configuser.properties"));

    result = run({ "--password-stdin", "passwd" }, "\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "New Password has not entered\n");

    // Before the Administrator exists nobody else can be set up.
    result = run({ "--password-stdin", "passwd", "Clerk" }, "clerk-pass\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(exists("properties/configuser.properties"));

    // User IDs take letters only, as the user-ID fields do.
    result = runLoggedIn({ "passwd", "clerk2" });
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("letters only"), std::string::npos);
}

TEST_F(TarnctlAccessTest, AnotherUserIsAddedFromAPasswordFileAndTheAdministratorStays)
{
    const std::string before = read("properties/configuser.properties");
    folder.write("pw.txt", "secret12\r\nclerk-pass\r\n");
    const TarnctlRun result = run({ "--password-file", (folder.path() / "pw.txt").string(), "passwd", "Clerk" });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(read("properties/configuser.properties"), before + hashLine("Clerk", "clerk-pass"));
}

TEST_F(TarnctlAccessTest, WrongPasswordExitsThreeAndWritesNothing)
{
    const auto before = installationFiles();
    const std::vector<std::vector<std::string>> commands { { "list" },  { "show", "1" },    { "set", "Timeout=45" },
                                                           { "apply" }, { "add-instance" }, { "passwd" } };
    for (const auto& command : commands) {
        std::vector<std::string> arguments { "--password-stdin" };
        arguments.insert(arguments.end(), command.begin(), command.end());
        const TarnctlRun result = run(arguments, "Secret12\nnew-password\n");
        EXPECT_EQ(result.status, 3) << command.front();
        EXPECT_EQ(result.err, "Incorrect Password\n") << command.front();
        EXPECT_EQ(result.out, "") << command.front();
        EXPECT_EQ(installationFiles(), before) << command.front();
    }
}

TEST_F(TarnctlAccessTest, LoginAsTheLoginWindowChecksIt)
{
    // Spaces around the typed password are trimmed.
    EXPECT_EQ(run({ "--password-stdin", "list" }, "  secret12 \n").status, 0);

    // Only the exact "Administrator" entry lets anybody in; another spelling's entry alone does not.
    writeUsers("ADMINISTRATOR=" + tarn::UserManagement::passwordHash(kPassword) + "\r\n");
    TarnctlRun result = runLoggedIn({ "list" });
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "Sorry, No Such User Exist\n");

    // With the entry present, any of the three spellings' hashes is accepted.
    writeUsers(hashLine("Administrator", "other-pass")
               + "administrator=" + tarn::UserManagement::passwordHash(kPassword) + "\r\n");
    result = runLoggedIn({ "list" });
    EXPECT_EQ(result.status, 0) << result.err;
}

TEST_F(TarnctlAccessTest, PasswordsComeOnlyFromAFileStandardInputOrATerminal)
{
    // Standard input is a file here, not a terminal.
    TarnctlRun result = run({ "list" });
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("--password-file"), std::string::npos);

    result = run({ "--password-stdin", "list" }, "");
    EXPECT_EQ(result.status, 2);

    result = run({ "--password-file", (folder.path() / "missing.txt").string(), "list" });
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("password file"), std::string::npos);

    // passwd after a login needs a second line for the new password.
    result = run({ "--password-stdin", "passwd" }, "secret12\n");
    EXPECT_EQ(result.status, 2);
}

TEST_F(TarnctlAccessTest, UnwritableUserFileExitsFour)
{
    const std::string before = read("properties/configuser.properties");
    fs::permissions(native("properties/configuser.properties"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const TarnctlRun result = run({ "--password-stdin", "passwd" }, "secret12\nnew-password\n");
    EXPECT_EQ(result.status, 4);
    EXPECT_EQ(result.err, "Login Information has not been updated ! \n");
    EXPECT_EQ(read("properties/configuser.properties"), before);
}

TEST_F(TarnctlAccessTest, UsageErrorsExitTwo)
{
    const std::vector<std::vector<std::string>> lines {
        {},
        { "frobnicate" },
        { "--verbose", "list" },
        { "--password-stdin", "--password-file", "x", "list" },
        { "--home" },
        { "list", "extra" },
        { "set" },
        { "passwd", "Clerk", "extra" },
        { "--home", (std::filesystem::temp_directory_path() / "no-such-orvant-home").string(), "verify" },
    };
    for (const auto& line : lines) {
        const TarnctlRun result = run(line, "secret12\n");
        EXPECT_EQ(result.status, 2) << (line.empty() ? "(none)" : line.back());
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(result.err.empty());
    }

    const TarnctlRun help = run({ "--help" });
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit status:"), std::string::npos);
}

} // namespace
} // namespace orvant::test
