#include "platform/DirectWrites.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"
#include "tests/support/posix/DiskRoom.h"
#include "tests/support/posix/Replacements.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// POSIX only: symbolic links, permission bits and a file-size limit standing in for a full disk. The
// records a save keeps (backups, the audit log, the lock file) may meet links and files planted by
// someone else; none of these writes may be led outside by them.
namespace orvant::test {
namespace {

using namespace platform;
using ::testing::ElementsAre;
namespace fs = std::filesystem;

fs::perms permissionsOf(const fs::path& path)
{
    return fs::symlink_status(path).permissions() & fs::perms::mask;
}

class OwnRecordsTest : public ::testing::Test
{
protected:
    OwnRecordsTest()
    {
        fs::create_directories(folder.driveC() / "ORVANT" / "conf");
        fs::create_directories(folder.path() / "elsewhere");
    }

    fs::path install(const std::string& relative) const { return folder.driveC() / "ORVANT" / relative; }
    fs::path elsewhere(const std::string& relative) const { return folder.path() / "elsewhere" / relative; }

    TestFolder folder;
};

TEST_F(OwnRecordsTest, APathLiesInAFolderOnlyOnceLinksAndDotsAreResolved)
{
    fs::create_directories(install("properties"));
    fs::create_symlink(elsewhere(""), install("conf/out"));
    fs::create_symlink(install("properties"), install("conf/in"));
    fs::create_symlink(elsewhere("missing"), install("conf/dangling"));
    EXPECT_TRUE(resolvesWithin("C:\\ORVANT", "C:\\ORVANT"));
    EXPECT_TRUE(resolvesWithin("c:\\orvant\\PROPERTIES\\new.properties", "C:\\ORVANT")) << "a new file, any case";
    EXPECT_TRUE(resolvesWithin("C:\\ORVANT\\conf\\in\\x", "C:\\ORVANT")) << "a link that stays inside";
    EXPECT_FALSE(resolvesWithin("C:\\ORVANT\\conf\\out\\x", "C:\\ORVANT")) << "a link that leads out";
    EXPECT_FALSE(resolvesWithin("C:\\ORVANT\\conf\\dangling", "C:\\ORVANT")) << "a link that leads nowhere";
    EXPECT_FALSE(resolvesWithin("C:\\ORVANT\\conf\\..\\..\\victim", "C:\\ORVANT"));
    EXPECT_FALSE(resolvesWithin("C:\\ORVANT\\new\\..\\..\\victim", "C:\\ORVANT")) << "dots below a missing folder";
    EXPECT_FALSE(resolvesWithin("C:\\ORVANT2\\x", "C:\\ORVANT")) << "a neighbour whose name starts the same";
    EXPECT_FALSE(resolvesWithin("/tmp/x", "C:\\ORVANT"));
}

TEST_F(OwnRecordsTest, TheRecordsWritesNeverFollowALinkAtTheirPath)
{
    writeFile(elsewhere("victim"), "kept");
    fs::create_symlink(elsewhere("victim"), install("conf/audit.log"));
    fs::create_symlink(elsewhere("made"), install("conf/ORVANTConfiguration.lock"));
    fs::create_symlink(elsewhere("folder"), install("conf/backup"));

    EXPECT_FALSE(appendToFile("C:\\ORVANT\\conf\\audit.log", "line\r\n").ok);
    EXPECT_FALSE(createNewFolderNow("C:\\ORVANT\\conf\\backup", FolderAccess::OwnerOnly).ok);
    const auto lock = FileLock::tryLock("C:\\ORVANT\\conf\\ORVANTConfiguration.lock", FileLock::Kind::Exclusive,
                                        FileLock::Missing::Create);
    EXPECT_EQ(lock.outcome, FileLock::Outcome::Refused);
    EXPECT_THAT(lock.error, ::testing::HasSubstr("symbolic link"));
    EXPECT_TRUE(removeNow("C:\\ORVANT\\conf\\audit.log").ok);

    EXPECT_EQ(readFile(elsewhere("victim")), "kept");
    EXPECT_FALSE(fs::exists(elsewhere("made")));
    EXPECT_FALSE(fs::exists(elsewhere("folder")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(install("conf/audit.log"))));

    // A run that writes nothing leaves a missing lock file missing.
    fs::remove(install("conf/ORVANTConfiguration.lock"));
    EXPECT_EQ(
        FileLock::tryLock("C:\\ORVANT\\conf\\ORVANTConfiguration.lock", FileLock::Kind::Shared, FileLock::Missing::Skip)
            .outcome,
        FileLock::Outcome::NoLockFile);
    EXPECT_FALSE(fs::exists(fs::symlink_status(install("conf/ORVANTConfiguration.lock"))));
}

TEST_F(OwnRecordsTest, RecordsThatMayHoldSecretsAreTheOwnersAlone)
{
    ASSERT_TRUE(createNewFolderNow("C:\\ORVANT\\backups", FolderAccess::OwnerOnly).ok);
    EXPECT_EQ(permissionsOf(install("backups")), fs::perms::owner_all);
    ASSERT_TRUE(writeNow("C:\\ORVANT\\backups\\kept", "secret", true).ok);
    EXPECT_EQ(permissionsOf(install("backups/kept")), fs::perms::owner_read | fs::perms::owner_write);

    // An older folder is closed too, but never opened: a read-only one stays read-only.
    fs::create_directories(install("old"));
    fs::permissions(install("old"), fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all);
    ASSERT_TRUE(createFolderNow("C:\\ORVANT\\old", FolderAccess::OwnerOnly).ok);
    EXPECT_EQ(permissionsOf(install("old")), fs::perms::owner_all);
    fs::permissions(install("old"), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read);
    ASSERT_TRUE(createFolderNow("C:\\ORVANT\\old", FolderAccess::OwnerOnly).ok);
    EXPECT_EQ(permissionsOf(install("old")), fs::perms::owner_read | fs::perms::owner_exec);

    // A log may be read by all, written by none but its owner.
    writeFile(install("conf/audit.log"), "");
    fs::permissions(install("conf/audit.log"),
                    fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
    ASSERT_TRUE(appendToFile("C:\\ORVANT\\conf\\audit.log", "line\r\n").ok);
    ASSERT_TRUE(appendToFile("C:\\ORVANT\\conf\\new.log", "line\r\n").ok);
    for (const char* log : { "conf/audit.log", "conf/new.log" }) {
        EXPECT_EQ(permissionsOf(install(log)) & (fs::perms::group_write | fs::perms::others_write), fs::perms::none)
            << log;
    }
}

// On a full disk an append is taken back whole, and a line an earlier crash tore is ended before the
// next one starts.
TEST_F(OwnRecordsTest, AnAppendEndsTheLogWithAWholeLine)
{
    writeFile(install("conf/audit.log"), "first\r\n");
    {
        const DiskRoom room(10);
        EXPECT_FALSE(appendToFile("C:\\ORVANT\\conf\\audit.log", "second line\r\n", "\r\n").ok);
    }
    EXPECT_EQ(readFile(install("conf/audit.log")), "first\r\n");
    writeFile(install("conf/audit.log"), "first\r\ntor");
    ASSERT_TRUE(appendToFile("C:\\ORVANT\\conf\\audit.log", "second\r\n", "\r\n").ok);
    EXPECT_EQ(readFile(install("conf/audit.log")), "first\r\ntor\r\nsecond\r\n");
}

// A file written again late in a save (the hash over the configuration) reaches the disk after the files
// written in between (the configuration itself).
TEST_F(OwnRecordsTest, ABatchReplacesFilesInTheOrderTheyWereLastWritten)
{
    const Replacements replaced({ install("conf") });
    {
        WriteBatch batch;
        ASSERT_TRUE(writeFileAtomically("C:\\ORVANT\\conf\\instance.properties", "seed").ok);
        ASSERT_TRUE(writeFileAtomically("C:\\ORVANT\\conf\\configuration.xml", "new").ok);
        ASSERT_TRUE(writeFileAtomically("C:\\ORVANT\\conf\\instance.properties", "seed and hash").ok);
        EXPECT_TRUE(batch.finish().empty());
    }
    EXPECT_THAT(replaced.names(), ElementsAre("configuration.xml", "instance.properties"));
}

} // namespace
} // namespace orvant::test
