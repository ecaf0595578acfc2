#include "config_tool/session/Rollback.h"
#include "tests/config_tool/session/BackupSupport.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/posix/DiskRoom.h"
#include "tests/support/posix/Replacements.h"

#include <gmock/gmock.h>

// POSIX only: links planted among the backups, permission bits, a full disk (a file-size limit) and the
// order in which a save's files reach the disk (inotify).
namespace orvant::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

fs::perms permissionsOf(const fs::path& path)
{
    return fs::symlink_status(path).permissions() & fs::perms::mask;
}

TEST_F(BackupTest, LinksPlantedAmongTheBackupsAreNeverFollowed)
{
    const fs::path outside = folder.path() / "outside";
    writeFile(outside / "manifest.txt", "time\t2099-12-31T00:00:00Z\r\nend\t0\t0\r\n");
    writeFile(outside / "1", "not the backup's");
    const std::string linkedFile = save("41");
    const std::string linkedFolder = save("42");
    fs::remove(native("backups/" + linkedFile + "/files/1"));
    fs::create_symlink(outside / "1", native("backups/" + linkedFile + "/files/1"));
    fs::remove_all(native("backups/" + linkedFolder + "/files"));
    fs::create_symlink(outside, native("backups/" + linkedFolder + "/files"));
    fs::create_symlink(outside, native("backups/20991231T000000Z"));

    tarn::Backup read;
    std::string error;
    EXPECT_FALSE(tarn::readBackup(linkedFile, read, error));
    EXPECT_THAT(error, HasSubstr("files\\1 is not a file of this backup"));
    EXPECT_FALSE(tarn::readBackup("20991231T000000Z", read, error)) << "a link is no backup";
    EXPECT_EQ(tarn::listBackups().back(), linkedFolder);

    for (int n = 0; n < tarn::kBackupsKept; ++n) {
        save(std::to_string(50 + n));
    }
    EXPECT_FALSE(exists("backups/" + linkedFile)) << "pruned";
    EXPECT_FALSE(exists("backups/" + linkedFolder)) << "pruned";
    EXPECT_EQ(readFile(outside / "1"), "not the backup's");
    EXPECT_TRUE(fs::exists(outside / "manifest.txt"));
    EXPECT_TRUE(fs::is_symlink(native("backups/20991231T000000Z"))) << "no backup: left alone";

    // A backups folder that leads outside stops the save before anything changes.
    fs::rename(native("backups"), folder.path() / "moved");
    fs::create_symlink(folder.path() / "moved", native("backups"));
    session.instances[1].timeout = "88";
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_THAT(ui.messages.back(), HasSubstr("C:\\ORVANT\\backups: it leads outside the installation"));
    EXPECT_EQ(storedValue("Timeout", 1), std::to_string(50 + tarn::kBackupsKept - 1));
}

// A reader without the lock (the engine) meets the files of a save in the order the save wrote them last:
// in registry mode the hives before the configuration file, and the configuration before its hash.
TEST_F(BackupTest, ASavesFilesReachTheDiskInTheOrderItWroteThemLast)
{
    const Replacements replaced({ folder.registryFolder(), native("conf"), native("properties") });
    save("41");
    const auto names = replaced.names();
    const auto at
        = [&names](const std::string& name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
    EXPECT_LT(at("HKEY_CURRENT_USER.reg"), at("ORVANTConfiguration.xml"));
    EXPECT_LT(at("HKEY_LOCAL_MACHINE.reg"), at("ORVANTConfiguration.xml"));
    EXPECT_LT(at("ORVANTConfiguration.xml"), at("instance.properties"));
    EXPECT_LT(at("instance.properties"), std::ssize(names));
}

// A new instance's copies of the user store (owner only) and of the receipt printer (a program) come back
// from a backup as they were.
TEST_F(BackupTest, BackupsAreTheOwnersAloneAndPutFilesBackWithTheirPermissions)
{
    writeUsers();
    fs::permissions(native("properties/configuser.properties"), fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(native("bin/ReceiptPrinter.exe"),
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    const std::string added = addInstance();
    EXPECT_EQ(permissionsOf(native("backups")), fs::perms::owner_all);
    EXPECT_EQ(permissionsOf(native("backups/" + added)), fs::perms::owner_all);
    for (const auto& entry : fs::recursive_directory_iterator(native("backups/" + added))) {
        EXPECT_EQ(permissionsOf(entry.path()) & (fs::perms::group_all | fs::perms::others_all), fs::perms::none)
            << entry.path();
    }

    const tarn::RollbackResult removed = tarn::rollBack(backup(added));
    ASSERT_EQ(removed.outcome, tarn::RollbackResult::Outcome::Done);
    ASSERT_FALSE(exists("bin/ReceiptPrinter_02.exe"));
    ASSERT_EQ(tarn::rollBack(backup(removed.newBackupId)).outcome, tarn::RollbackResult::Outcome::Done);
    EXPECT_EQ(permissionsOf(native("INSTANCE_02/properties/configuser.properties")),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(permissionsOf(native("bin/ReceiptPrinter_02.exe")),
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

// A backup that does not fit on the disk stops the save before anything changes, and leaves nothing behind.
TEST_F(BackupTest, OnAFullDiskAFailedBackupLeavesNothingAndSaysWhy)
{
    write("conf/ORVANTConfiguration.xml", configuration() + "<!--" + std::string(200000, '.') + "-->\r\n");
    const auto before = snapshot(Trace::Included);
    session.instances[1].timeout = "41";
    {
        const DiskRoom room(64 * 1024);
        EXPECT_FALSE(tarn::runOkSequence(session));
    }
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_THAT(ui.messages.back(), HasSubstr("The backup of this save could not be written:"));
    EXPECT_THAT(ui.messages.back(), ::testing::ContainsRegex("backups\\\\[0-9TZ]+\\\\files\\\\[0-9]+: File too large"));
    EXPECT_THAT(ui.messages.back(), HasSubstr("Nothing was saved."));
    EXPECT_TRUE(fs::is_empty(native("backups")));
    fs::remove(native("backups"));
    EXPECT_TRUE(sameTree(before, snapshot(Trace::Included)));
}

// A hive that cannot be stored keeps its old values: the save names it, and the log holds none of its lines.
TEST_F(BackupTest, OnAFullDiskAHiveThatWasNotStoredIsNamedAndNotLogged)
{
    ASSERT_TRUE(storeRegistryValue(platform::Hive::LocalMachine, "SOFTWARE\\Other", "Large", platform::kRegBinary,
                                   std::string(100000, 'x')));
    session.instances[1].timeout = "41";
    {
        const DiskRoom room(100 * 1024);
        EXPECT_FALSE(tarn::runOkSequence(session));
    }
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_THAT(ui.messages.back(), HasSubstr("HKEY_LOCAL_MACHINE.reg: File too large"));
    EXPECT_EQ(kelbrinValue(platform::Hive::LocalMachine, "Harbell_01", "Timeout"), std::nullopt);
    EXPECT_EQ(kelbrinValue(platform::Hive::CurrentUser, "Harbell_01", "Timeout"), "41");
    const std::string log = read("logs/configuration-audit.log");
    EXPECT_THAT(log, HasSubstr("\tHKEY_CURRENT_USER\\SOFTWARE\\Kelbrin\\Harbell_01\tTimeout\t"));
    EXPECT_THAT(log, ::testing::Not(HasSubstr("\tHKEY_LOCAL_MACHINE\\")));
}

} // namespace
} // namespace orvant::test
