#include "config_tool/access/LoginCheck.h"
#include "config_tool/session/AuditLog.h"
#include "config_tool/session/BackupIds.h"
#include "config_tool/session/BackupManifest.h"
#include "config_tool/session/Rollback.h"
#include "tests/config_tool/session/BackupSupport.h"
#include "tests/support/RegistryProbe.h"

#include <gmock/gmock.h>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr const char* kHeader
    = "time\t2026-12-07T04:12:33Z\r\nprogram\ttarnctl\r\nuser\tAdministrator\r\nos-user\troot\r\n";

TEST(BackupManifest, EveryEntryComesBackAndTheEndMarkerCountsThem)
{
    tarn::Manifest written { "2026-12-07T04:12:33Z", "tarnctl", "Administrator", "root", {}, 3 };
    written.entries = {
        { false, 1u, false, 0600u, "C:\\ORVANT\\INSTANCE_02\\properties\\configuser.properties", 0 },
        { false, std::nullopt, false, std::nullopt, "C:\\ORVANT\\bin\\ReceiptPrinter_02.exe", 0 },
        { true, std::nullopt, true, std::nullopt, "C:\\ORVANT\\INSTANCE_01", 0 },
        { true, std::nullopt, false, std::nullopt, "C:\\ORVANT\\INSTANCE_02", 0 },
    };
    tarn::Manifest read;
    std::string error;
    ASSERT_TRUE(tarn::parseManifest(tarn::manifestText(written), read, error)) << error;
    EXPECT_EQ(tarn::manifestText(read), tarn::manifestText(written));
    EXPECT_EQ(read.registryValues, 3u);
    EXPECT_EQ(read.entries.at(0).line, 5u);
}

struct RefusedManifest
{
    const char* name;
    const char* lines; // after the header
    const char* error;
};

TEST(BackupManifest, AManifestCutShortOrWrittenByHandIsRefusedWithItsLine)
{
    const RefusedManifest cases[] = {
        { "cut short", "file\t1\t0644\tC:\\ORVANT\\a\r\n", "has no end marker" },
        { "cut before an entry", "file\t1\t0644\tC:\\ORVANT\\a\r\nend\t2\t0\r\n", "line 6: the end marker counts 2" },
        { "lines after the end", "end\t0\t0\r\nfile\t-\t-\tC:\\ORVANT\\a\r\n", "line 6: it follows the end marker" },
        { "a path for a file number", "file\t..\\..\\etc\\hostname\t-\tC:\\ORVANT\\a\r\nend\t1\t0\r\n",
          "line 5: a file's old bytes are named by a decimal number" },
        { "permissions not octal", "file\t1\t0999\tC:\\ORVANT\\a\r\nend\t1\t0\r\n", "line 5: a file's permissions" },
        { "a control character", "file\t-\t-\tC:\\ORVANT\\\x1b[2J\r\nend\t1\t0\r\n", "line 5: the path is empty or" },
        { "an unknown line", "copy\t/etc/shadow\r\nend\t0\t0\r\n", "line 5: it cannot be read" },
    };
    for (const auto& refused : cases) {
        tarn::Manifest read;
        std::string error;
        EXPECT_FALSE(tarn::parseManifest(std::string(kHeader) + refused.lines, read, error)) << refused.name;
        EXPECT_THAT(error, HasSubstr(refused.error)) << refused.name;
    }
}

struct NextId
{
    const char* name;
    std::vector<std::string> taken;
    const char* expected;
};

TEST(BackupIds, ANewIdSortsAfterEveryIdTakenWhateverTheClockSays)
{
    const NextId cases[] = {
        { "the first", {}, "20261207T041233Z" },
        { "a second save in the second", { "20261207T041233Z" }, "20261207T041233Z-002" },
        { "a third", { "20261207T041233Z", "20261207T041233Z-002" }, "20261207T041233Z-003" },
        { "after a pruned gap", { "20261207T041233Z-009" }, "20261207T041233Z-010" },
        { "a clock set back", { "20991231T000000Z-004", "20261207T041232Z" }, "20991231T000000Z-005" },
        { "a full second", { "20991231T235959Z-999" }, "21000101T000000Z" },
        { "names that are no IDs", { "aaa", "2999", "99999999T999999Z", "20991231T000000Z-1" }, "20261207T041233Z" },
    };
    for (const auto& next : cases) {
        EXPECT_EQ(tarn::nextBackupId(next.taken, "2026-12-07T04:12:33Z"), next.expected) << next.name;
    }
}

struct PlantedBackup
{
    const char* folder; // of tests/data/hostile_backups
    const char* error;
};

// Backups planted in the installation: each is refused, naming the file and line, before anything is put back.
TEST_F(BackupTest, APlantedBackupIsRefusedWithTheLineThatGivesItAway)
{
    const PlantedBackup cases[] = {
        { "outside_path", "manifest.txt line 5: C:\\ORVANT\\conf\\..\\..\\victim\\x lies outside the installation" },
        { "native_path", "manifest.txt line 5: /tmp/orvant-victim lies outside the installation" },
        { "files_entry_outside", "manifest.txt line 5: a file's old bytes are named by a decimal number" },
        { "audit_log",
          "manifest.txt line 5: C:\\ORVANT\\logs\\configuration-audit.log is the installation's audit log" },
        { "foreign_key",
          "registry.reg line 4: HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Evil is not a key the" },
        { "foreign_key_removal", "registry.reg line 4: HKEY_LOCAL_MACHINE\\SOFTWARE\\Other\\Leaf is not a key the" },
        { "unlisted_key_removal", "registry.reg: line 3 removes a key whose values it does not list" },
        { "truncated_manifest", "manifest.txt has no end marker" },
        { "truncated_registry", "registry.reg holds 1 values where the manifest counts 2" },
    };
    int number = 0;
    for (const auto& planted : cases) {
        char id[32];
        std::snprintf(id, sizeof id, "20261207T041233Z-%03d", ++number);
        copyData(std::string("hostile_backups/") + planted.folder, std::string("backups/") + id);
        tarn::Backup read;
        std::string error;
        EXPECT_FALSE(tarn::readBackup(id, read, error)) << planted.folder;
        EXPECT_THAT(error, HasSubstr(planted.error)) << planted.folder;
    }
}

// Only real backups count: foreign folders are neither listed nor pruned, and a new backup is the newest
// even when the clock was set back behind twenty others.
TEST_F(BackupTest, ANewBackupIsTheNewestAndForeignFoldersAreLeftAlone)
{
    const std::string planted = std::string(kHeader) + "end\t0\t0\r\n";
    for (int n = 1; n <= tarn::kBackupsKept; ++n) {
        char id[32];
        std::snprintf(id, sizeof id, "20991231T000000Z-%03d", n);
        write(std::string("backups/") + id + "/manifest.txt", planted);
    }
    for (const char* foreign : { "aaa", "2999", "99999999T999999Z" }) {
        write(std::string("backups/") + foreign + "/manifest.txt", planted);
    }
    write("backups/20991231T000001Z/notes.txt", "no manifest");

    const std::string id = save("41");
    EXPECT_EQ(id, "20991231T000001Z-002") << "after the newest ID taken, a folder without a manifest too";
    EXPECT_EQ(tarn::listBackups().size(), std::size_t(tarn::kBackupsKept));
    EXPECT_EQ(tarn::listBackups().back(), id) << "what a rollback without an ID takes";
    EXPECT_FALSE(exists("backups/20991231T000000Z-001")) << "the oldest backup went";
    for (const char* foreign :
         { "aaa/manifest.txt", "2999/manifest.txt", "99999999T999999Z/manifest.txt", "20991231T000001Z/notes.txt" }) {
        EXPECT_TRUE(exists(std::string("backups/") + foreign)) << foreign;
    }
}

// A rollback is checked whole before anything is written: a new instance's folder that the engine has
// written into since, or its registry key that another program added to, blocks it. Once nothing blocks,
// it is done; a second time there is nothing to restore, and nothing is logged.
TEST_F(BackupTest, ARollbackIsDoneWholeOrNotAtAll)
{
    const std::string added = addInstance();
    ASSERT_FALSE(added.empty());
    write("INSTANCE_02/logs/engine.log", "started\r\n");
    auto before = snapshot(Trace::Included);
    tarn::RollbackResult result = tarn::rollBack(backup(added));
    EXPECT_EQ(result.outcome, tarn::RollbackResult::Outcome::Blocked);
    EXPECT_THAT(result.blocking, ::testing::Contains(HasSubstr("C:\\ORVANT\\INSTANCE_02\\logs")));
    EXPECT_TRUE(sameTree(before, snapshot(Trace::Included)));

    fs::remove(native("INSTANCE_02/logs/engine.log"));
    ASSERT_TRUE(storeRegistryValue(platform::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_02", "Extra",
                                   platform::kRegSz, "another program's"));
    before = snapshot(Trace::Included);
    result = tarn::rollBack(backup(added));
    EXPECT_EQ(result.outcome, tarn::RollbackResult::Outcome::Blocked);
    EXPECT_THAT(result.blocking,
                ::testing::ElementsAre(HasSubstr("HKEY_CURRENT_USER\\SOFTWARE\\Kelbrin\\Harbell_02 holds values")));
    EXPECT_TRUE(sameTree(before, snapshot(Trace::Included)));

    ASSERT_TRUE(storeRegistryValue(platform::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_02", "Extra",
                                   platform::kRegSz, ""));
    platform::HKey key = nullptr;
    ASSERT_EQ(platform::regOpenKeyEx(platform::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_02",
                                     platform::kKeyAllAccess, &key),
              platform::kErrorSuccess);
    platform::regDeleteValue(key, "Extra");
    platform::regCloseKey(key);
    result = tarn::rollBack(backup(added));
    EXPECT_EQ(result.outcome, tarn::RollbackResult::Outcome::Done) << ::testing::PrintToString(result.blocking);
    EXPECT_FALSE(exists("INSTANCE_02"));
    EXPECT_FALSE(readRegistryValue(platform::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_02", "Port"));

    const std::string log = read("logs/configuration-audit.log");
    const auto backups = tarn::listBackups();
    result = tarn::rollBack(backup(added));
    EXPECT_EQ(result.outcome, tarn::RollbackResult::Outcome::NothingToRestore);
    EXPECT_EQ(read("logs/configuration-audit.log"), log);
    EXPECT_EQ(tarn::listBackups(), backups);

    // A file the backup restores has become a folder.
    fs::remove(native("conf/ORVANTConfiguration.xml"));
    fs::create_directories(native("conf/ORVANTConfiguration.xml"));
    before = snapshot(Trace::Included);
    result = tarn::rollBack(backup(added));
    EXPECT_EQ(result.outcome, tarn::RollbackResult::Outcome::Blocked);
    EXPECT_THAT(result.blocking, ::testing::Contains(HasSubstr("C:\\ORVANT\\conf\\ORVANTConfiguration.xml")));
    EXPECT_TRUE(sameTree(before, snapshot(Trace::Included)));
}

// A new instance gets a copy of the user store: the save shows and logs it as a whole file, never the
// password hashes it holds.
TEST_F(BackupTest, AUserStoreIsShownAsAWholeFile)
{
    tarn::ChangeSet changes;
    addInstance(&changes);
    const auto copy = std::find_if(changes.shown.begin(), changes.shown.end(), [](const tarn::ShownChange& change) {
        return change.location == "C:\\ORVANT\\INSTANCE_02\\properties\\configuser.properties";
    });
    ASSERT_NE(copy, changes.shown.end());
    EXPECT_EQ(copy->setting, "");
    EXPECT_THAT(copy->after,
                ::testing::Optional(::testing::AllOf(::testing::StartsWith("<"), ::testing::EndsWith(" bytes>"))));
    for (const auto& change : changes.shown) {
        EXPECT_NE(change.setting, tarn::kAdministrator) << change.location;
    }
    const std::string entry = userEntry(tarn::kAdministrator, Installation::kPassword);
    const std::string hash = entry.substr(entry.find('=') + 1, 40);
    EXPECT_THAT(read("logs/configuration-audit.log"), ::testing::Not(HasSubstr(hash)));
}

// Text from outside never breaks a line of the log into more fields or lines.
TEST(AuditLog, ControlCharactersInAnyFieldAreEscaped)
{
    const tarn::ShownChange change { "C:\\ORVANT\\a\tb", 1, "Time\r\nout", std::string("1"), std::string("2\t") };
    const std::string line = tarn::auditLines({ change }, "2026-12-07T04:12:33Z");
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 7);
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
    EXPECT_THAT(line, HasSubstr("\tC:\\ORVANT\\a\\x09b\tTime\\x0d\\x0aout\t"));
}

} // namespace
} // namespace orvant::test
