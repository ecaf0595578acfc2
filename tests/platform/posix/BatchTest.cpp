#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "tests/support/Files.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>

// POSIX only: the batches stand in for what Windows does itself. Its registry keeps the hives in memory
// and writes them lazily (the batch changes nothing there), and the write batch's files are the stand-in's
// drive-mapped paths.
namespace orvant::test {
namespace {

using namespace platform;
using namespace std::string_literals;
namespace fs = std::filesystem;

constexpr char kKey[] = "SOFTWARE\\Kelbrin\\Harbell";

// A save's files: read once, written once at the end, refused at once when they could never be written.
TEST(WriteBatch, KeepsWritesUntilItEndsAndReadsEachFileOnce)
{
    TestFolder folder;
    folder.write("drive_c/a.txt", "old");
    folder.write("drive_c/read.txt", "first");
    fs::create_directories(folder.driveC() / "locked");
    folder.write("drive_c/locked/c.txt", "kept");

    WriteBatch batch;
    ASSERT_TRUE(writeFileAtomically("C:\\a.txt", "new 1").ok);
    ASSERT_TRUE(writeFileAtomically("C:\\A.TXT", "new 2").ok) << "one file, two spellings";
    ASSERT_TRUE(writeFileAtomically("C:\\b.txt", "created").ok);
    std::string bytes;
    ASSERT_TRUE(readWholeFile("C:\\a.txt", bytes).ok);
    EXPECT_EQ(bytes, "new 2");
    EXPECT_TRUE(fileExists("C:\\b.txt"));
    EXPECT_EQ(folder.read("drive_c/a.txt"), "old");
    EXPECT_FALSE(folder.exists("drive_c/b.txt"));

    ASSERT_TRUE(readWholeFile("C:\\read.txt", bytes).ok);
    folder.write("drive_c/read.txt", "changed behind the batch");
    ASSERT_TRUE(readWholeFile("C:\\read.txt", bytes).ok);
    EXPECT_EQ(bytes, "first");

    makeReadOnly(folder.driveC() / "locked");
    const FileResult refused = writeFileAtomically("C:\\locked\\c.txt", "lost");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("C:\\locked\\c.txt"), std::string::npos);

    EXPECT_TRUE(batch.finish().empty());
    EXPECT_EQ(folder.read("drive_c/a.txt"), "new 2");
    EXPECT_EQ(folder.read("drive_c/b.txt"), "created");
    EXPECT_EQ(folder.read("drive_c/locked/c.txt"), "kept");
    EXPECT_EQ(snapshotTree(folder.driveC()).size(), 5u) << "no temporary file is left";
}

TEST(WriteBatch, AFileThatCannotBeWrittenAtTheEndIsReportedAndKeepsItsOldBytes)
{
    TestFolder folder;
    fs::create_directories(folder.driveC() / "conf");
    folder.write("drive_c/conf/x.xml", "old");
    std::vector<std::string> failed;
    {
        WriteBatch outer;
        {
            WriteBatch inner;
            ASSERT_TRUE(writeFileAtomically("C:\\conf\\x.xml", "new").ok);
            EXPECT_TRUE(inner.finish().empty()) << "only the outermost batch writes";
        }
        makeReadOnly(folder.driveC() / "conf");
        failed = outer.finish();
    }
    EXPECT_EQ(failed, std::vector<std::string> { "C:\\conf\\x.xml" });
    EXPECT_EQ(folder.read("drive_c/conf/x.xml"), "old");
}

// A copy keeps the source's permission bits as the copy without a batch does; a file whose bytes stay
// is written only when its bits change.
TEST(WriteBatch, CopiesKeepTheSourcesPermissionBitsAndOnlyChangedFilesAreRewritten)
{
    TestFolder folder;
    writeExecutable(folder.driveC() / "bin" / "start", "#!/bin/sh\n");
    folder.write("drive_c/bin/start_01", "#!/bin/sh\n");
    folder.write("drive_c/bin/secret", "key");
    folder.write("drive_c/bin/same", "same");
    fs::permissions(folder.driveC() / "bin" / "secret", fs::perms::group_read, fs::perm_options::add);
    const auto fileNumber = [&](const char* name) {
        struct stat info
        {
        };
        return ::stat((folder.driveC() / "bin" / name).c_str(), &info) == 0 ? info.st_ino : 0;
    };
    const auto untouched = fileNumber("same"); // a rewrite renames a new file over it
    {
        WriteBatch batch;
        ASSERT_TRUE(createFolder("C:\\Instance_01").ok);
        ASSERT_TRUE(copyFile("C:\\bin\\start", "C:\\Instance_01\\start").ok);
        ASSERT_TRUE(copyFile("C:\\bin\\start", "C:\\bin\\start_01").ok);
        ASSERT_TRUE(writeFileAtomically("C:\\bin\\secret", "key", true).ok);
        ASSERT_TRUE(writeFileAtomically("C:\\bin\\same", "same").ok);
        const auto changes = batch.changes();
        ASSERT_EQ(changes.size(), 4u);
        EXPECT_EQ(changes[2].storedPath, "C:\\bin\\start_01");
        EXPECT_EQ(changes[2].before, changes[2].after) << "only its bits change";
        EXPECT_EQ(changes[3].storedPath, "C:\\bin\\secret");
        EXPECT_TRUE(batch.finish().empty());
    }
    for (const auto* copy : { "Instance_01/start", "bin/start_01" }) {
        EXPECT_NE(fs::status(folder.driveC() / copy).permissions() & fs::perms::owner_exec, fs::perms::none) << copy;
    }
    EXPECT_EQ(fs::status(folder.driveC() / "bin" / "secret").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fileNumber("same"), untouched);
}

// Folders, copies and removals are checked when they are asked for, as writes are; what still fails at
// the end is reported by its stored path.
TEST(WriteBatch, FoldersCopiesAndRemovalsAreRefusedAtOnceAndFailuresAtTheEndAreReported)
{
    TestFolder folder;
    folder.write("drive_c/locked/kept.txt", "kept");
    folder.write("drive_c/bin/start", "program");
    folder.write("drive_c/conf/old.txt", "old");
    makeReadOnly(folder.driveC() / "locked");
    const auto before = snapshotTree(folder.driveC());

    WriteBatch batch;
    for (const FileResult& refused :
         { createFolder("C:\\locked\\sub"), copyFile("C:\\bin\\start", "C:\\locked\\start"),
           removePath("C:\\locked\\kept.txt"), removePath("C:\\locked"), writeFileAtomically("C:\\missing\\x.txt", "x"),
           createFolder("C:\\missing\\sub") }) {
        EXPECT_FALSE(refused.ok);
        EXPECT_NE(refused.error.find("C:\\"), std::string::npos) << refused.error;
    }
    EXPECT_TRUE(batch.changes().empty());

    ASSERT_TRUE(createFolder("C:\\conf\\new").ok);
    ASSERT_TRUE(copyFile("C:\\bin\\start", "C:\\conf\\new\\start").ok);
    ASSERT_TRUE(removePath("C:\\conf\\old.txt").ok);
    makeReadOnly(folder.driveC() / "conf");
    EXPECT_EQ(batch.finish(),
              (std::vector<std::string> { "C:\\conf\\new", "C:\\conf\\new\\start", "C:\\conf\\old.txt" }));
    EXPECT_TRUE(sameTree(before, snapshotTree(folder.driveC())));
}

// A save's registry writes: each hive read once and written once, under its writer's lock.
TEST(RegistryBatch, WritesEachHiveOnceAndKeepsOtherWritersOutUntilItEnds)
{
    TestFolder folder;
    const auto userHive = folder.registryFolder() / "HKEY_CURRENT_USER.reg";
    ASSERT_TRUE(storeRegistryValue(Hive::CurrentUser, kKey, "Before", kRegSz, "1"));
    const std::string before = readFile(userHive);

    std::future<bool> otherWriter;
    {
        RegistryBatch batch;
        ASSERT_TRUE(storeRegistryValue(Hive::CurrentUser, kKey, "Timeout", kRegSz, "30"));
        ASSERT_TRUE(storeRegistryValue(Hive::CurrentUser, kKey, "Timeout", kRegSz, "45"));
        EXPECT_EQ(readRegistryValue(Hive::CurrentUser, kKey, "Timeout"), (RegistryValue { kRegSz, "45" }));
        EXPECT_EQ(readFile(userHive), before) << "nothing reaches the file before the batch ends";

        // Another thread has no batch: its write waits for the hive's lock, which the batch holds.
        otherWriter = std::async(std::launch::async,
                                 [] { return storeRegistryValue(Hive::CurrentUser, kKey, "Other", kRegSz, "x"); });
        EXPECT_EQ(otherWriter.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
        EXPECT_EQ(batch.finish(), kErrorSuccess);
    }
    EXPECT_TRUE(otherWriter.get());
    for (const auto& [name, data] : { std::pair { "Before", "1" }, { "Timeout", "45" }, { "Other", "x" } }) {
        EXPECT_EQ(readRegistryValue(Hive::CurrentUser, kKey, name), (RegistryValue { kRegSz, data })) << name;
    }
}

// A dry run only reads: each hive once, and nothing of the writer's side (no lock file) appears.
TEST(RegistryBatch, AHiveItOnlyReadsIsReadOnceWithoutTheWritersLock)
{
    TestFolder folder;
    const auto userHive = folder.registryFolder() / "HKEY_CURRENT_USER.reg";
    ASSERT_TRUE(storeRegistryValue(Hive::CurrentUser, kKey, "Timeout", kRegSz, "30\0"s));
    std::string changed = readFile(userHive);
    changed.replace(changed.find("\"30\""), 4, "\"31\"");
    {
        RegistryBatch batch;
        EXPECT_EQ(readRegistryValue(Hive::CurrentUser, kKey, "Timeout"), (RegistryValue { kRegSz, "30\0"s }));
        EXPECT_FALSE(readRegistryValue(Hive::LocalMachine, kKey, "Timeout"));
        writeFile(userHive, changed);
        EXPECT_EQ(readRegistryValue(Hive::CurrentUser, kKey, "Timeout"), (RegistryValue { kRegSz, "30\0"s }));
        EXPECT_FALSE(fs::exists(folder.registryFolder() / "HKEY_LOCAL_MACHINE.reg.lock"));
        batch.discard();
    }
    EXPECT_EQ(readRegistryValue(Hive::CurrentUser, kKey, "Timeout"), (RegistryValue { kRegSz, "31\0"s }));
    EXPECT_EQ(readFile(userHive), changed);
}

TEST(RegistryBatch, AHiveThatMayNotBeWrittenRefusesEachWriteWhileTheOtherIsWritten)
{
    TestFolder folder;
    ASSERT_TRUE(storeRegistryValue(Hive::LocalMachine, kKey, "Timeout", kRegSz, "30"));
    makeReadOnly(folder.registryFolder() / "HKEY_LOCAL_MACHINE.reg");
    {
        RegistryBatch batch;
        HKey key = nullptr;
        EXPECT_EQ(regCreateKeyEx(Hive::LocalMachine, kKey, kKeyAllAccess, &key), kErrorAccessDenied);
        EXPECT_EQ(regCreateKeyEx(Hive::LocalMachine, kKey, kKeyAllAccess, &key), kErrorAccessDenied);
        EXPECT_EQ(regDeleteKey(Hive::LocalMachine, kKey), kErrorAccessDenied);
        EXPECT_TRUE(storeRegistryValue(Hive::CurrentUser, kKey, "Timeout", kRegSz, "45"));
    }
    EXPECT_EQ(readRegistryValue(Hive::LocalMachine, kKey, "Timeout"), (RegistryValue { kRegSz, "30" }));
    EXPECT_EQ(readRegistryValue(Hive::CurrentUser, kKey, "Timeout"), (RegistryValue { kRegSz, "45" }));
}

// Deletions in a batch are seen by reads at once and reach the file when it ends; one that finds nothing
// to delete writes nothing, alone or in a batch.
TEST(RegistryBatch, DeletionsAreSeenAtOnceAndOnlyRealOnesReachTheFile)
{
    TestFolder folder;
    const auto userHive = folder.registryFolder() / "HKEY_CURRENT_USER.reg";
    const std::string sub = std::string(kKey) + "\\Sub";
    for (const char* name : { "A", "B", "C" }) {
        ASSERT_TRUE(storeRegistryValue(Hive::CurrentUser, kKey, name, kRegSz, "1\0"s));
    }
    ASSERT_TRUE(storeRegistryValue(Hive::CurrentUser, sub, "Inner", kRegSz, "x\0"s));
    const std::string before = readFile(userHive);
    HKey key = nullptr, gone = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::CurrentUser, kKey, kKeyAllAccess, &key), kErrorSuccess);
    {
        RegistryBatch batch;
        EXPECT_EQ(regDeleteValue(key, "B"), kErrorSuccess);
        EXPECT_EQ(regDeleteKey(Hive::CurrentUser, sub), kErrorSuccess);
        EXPECT_FALSE(readRegistryValue(Hive::CurrentUser, kKey, "B"));
        EXPECT_EQ(regOpenKeyEx(Hive::CurrentUser, sub, kKeyQueryValue, &gone), kErrorFileNotFound);
        EXPECT_EQ(regDeleteValue(key, "B"), kErrorFileNotFound);
        EXPECT_EQ(readFile(userHive), before);
        EXPECT_EQ(batch.finish(), kErrorSuccess);
    }
    EXPECT_EQ(readFile(userHive),
              crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE]\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Kelbrin]\n\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Kelbrin\\Harbell]\n\"A\"=\"1\"\n\"C\"=\"1\"\n\n"));

    const std::string edited
        = "REGEDIT4\n; as an administrator left it\n[HKEY_CURRENT_USER\\SOFTWARE\\Kelbrin\\Harbell]\n";
    writeFile(userHive, edited);
    EXPECT_EQ(regDeleteValue(key, "B"), kErrorFileNotFound);
    EXPECT_EQ(regDeleteKey(Hive::CurrentUser, sub), kErrorFileNotFound);
    {
        RegistryBatch batch;
        EXPECT_EQ(regDeleteValue(key, "B"), kErrorFileNotFound);
        EXPECT_EQ(regDeleteKey(Hive::CurrentUser, sub), kErrorFileNotFound);
        EXPECT_EQ(regDeleteKey(Hive::CurrentUser, "SOFTWARE\\Kelbrin"), kErrorAccessDenied) << "it has subkeys";
    }
    EXPECT_EQ(readFile(userHive), edited);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);
}

} // namespace
} // namespace orvant::test
