#include "platform/FileSystem.h"

#include "platform/DirectWrites.h"
#include "platform/Environment.h"
#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <ostream>

namespace orvant::platform {

// How a failed comparison shows a change.
void PrintTo(const FileChange& change, std::ostream* out)
{
    const auto bytes
        = [](const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : std::string("none"); };
    *out << (change.folder ? "folder " : "file ") << change.storedPath << ": " << bytes(change.before) << " -> "
         << bytes(change.after) << (change.unreadable ? " (unreadable)" : "");
}

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Names = std::vector<std::string>;

class FileSystemTest : public ::testing::Test
{
protected:
    FileSystemTest() { m_folder.write("Orvant/conf/settings.xml", "old\r\n"); }

    std::string at(const std::string& relative) const { return m_folder.stored(relative); }

    // A refused write names the file and leaves the old bytes and no temporary file behind.
    void expectRefused(const FileResult& result)
    {
        EXPECT_THAT(result.error, ::testing::StartsWith("Cannot write " + at("Orvant\\conf\\settings.xml") + ": "));
        EXPECT_EQ(m_folder.read("Orvant/conf/settings.xml"), "old\r\n");
        EXPECT_EQ(listFolder(at("Orvant\\conf")), Names { "settings.xml" });
    }

    test::TestFolder m_folder;
};

TEST_F(FileSystemTest, StoredPathsAreCheckedListedAndCreatedWithoutRegardToCase)
{
    EXPECT_TRUE(fileExists(at("ORVANT\\CONF\\Settings.xml")));
    EXPECT_FALSE(folderExists(at("ORVANT\\CONF\\Settings.xml")));
    EXPECT_TRUE(folderExists(at("orvant\\conf\\")));
    EXPECT_FALSE(fileExists(at("orvant\\conf")));
    EXPECT_TRUE(pathExists(at("orvant")));
    EXPECT_FALSE(pathExists(at("orvant\\conf\\missing.xml")));
    EXPECT_FALSE(createFolder(at("ORVANT\\a\\b")).ok) << "its parent is missing";
    EXPECT_TRUE(createFolder(at("ORVANT\\Logs")).ok);
    EXPECT_TRUE(createFolder(at("orvant\\logs")).ok);
    EXPECT_FALSE(createFolder(at("ORVANT\\conf\\settings.xml")).ok);
    m_folder.write("Orvant/conf/A.txt", "");
    EXPECT_EQ(listFolder(at("orvant")), (Names { "Logs", "conf" }));
    EXPECT_EQ(listFolder(at("orvant\\CONF")), (Names { "A.txt", "settings.xml" }));
    EXPECT_TRUE(listFolder(at("missing")).empty());
}

TEST_F(FileSystemTest, WholeFilesAreReadAndReplacedAsBytes)
{
    const std::string bytes = "line\r\n\0\xA3\xFF end"s;
    ASSERT_TRUE(writeFileAtomically(at("ORVANT\\CONF\\settings.xml"), bytes).ok);
    std::string read = "kept";
    EXPECT_FALSE(readWholeFile(at("Orvant\\conf\\none.dat"), read).ok);
    EXPECT_FALSE(readWholeFile(at("Orvant\\conf"), read).ok) << "a folder";
    EXPECT_EQ(read, "kept");
    EXPECT_TRUE(readWholeFile(at("orvant\\conf\\settings.xml"), read).ok);
    EXPECT_EQ(read, bytes);
    // Deferred: the same replacement, put on the disk by a later flush.
    ASSERT_TRUE(writeFileAtomically(at("Orvant\\conf\\settings.xml"), "", false, Durability::Deferred).ok);
    EXPECT_TRUE(flushFile(at("Orvant\\conf\\settings.xml")).ok);
    EXPECT_FALSE(flushFile(at("Orvant\\conf\\none.xml")).ok);
    EXPECT_EQ(m_folder.read("Orvant/conf/settings.xml"), "");
    EXPECT_EQ(listFolder(at("Orvant\\conf")), Names { "settings.xml" });
}

TEST_F(FileSystemTest, RefusedWritesLeaveEverythingAsItWasAndCopiesTakeTheSource)
{
    EXPECT_FALSE(writeFileAtomically(at("Orvant\\conf"), "x").ok) << "a folder";
    EXPECT_FALSE(writeFileAtomically(at("Orvant\\no\\x"), "x").ok) << "a missing folder";
    EXPECT_EQ(listFolder(at("Orvant")), Names { "conf" });
    test::makeReadOnly(m_folder.path() / "Orvant" / "conf" / "settings.xml");
    expectRefused(writeFileAtomically(at("Orvant\\conf\\settings.xml"), "new"));
    expectRefused(writeFileAtomically(at("Orvant\\conf\\settings.xml"), "new", false, Durability::Deferred));
    expectRefused(copyFile(at("Orvant\\conf\\settings.xml"), at("Orvant\\conf\\settings.xml")));
    EXPECT_FALSE(copyFile(at("Orvant\\conf\\none.xml"), at("Orvant\\conf\\other.xml")).ok);

    // A copy takes the source's bytes and its right to run (on Windows that follows the extension).
    m_folder.write("Orvant/bin/Printer.exe", "MZ\0\x90program"s);
    fs::permissions(m_folder.path() / "Orvant/bin/Printer.exe", fs::perms::owner_exec, fs::perm_options::add);
    m_folder.write("Orvant/bin/Printer_01.exe", "older copy");
    for (const char* copy : { "Orvant/bin/Printer_01.exe", "Orvant/bin/Printer_02.exe" }) {
        ASSERT_TRUE(copyFile(at("ORVANT\\BIN\\printer.exe"), m_folder.stored(copy)).ok);
        EXPECT_EQ(m_folder.read(copy), "MZ\0\x90program"s);
        EXPECT_NE(fs::status(m_folder.path() / copy).permissions() & fs::perms::owner_exec, fs::perms::none);
    }
}

// A change as a test names it.
FileChange fileChange(const std::string& storedPath, std::optional<std::string> before,
                      std::optional<std::string> after)
{
    return { storedPath, false, std::move(before), std::move(after) };
}

FileChange folderChange(const std::string& storedPath, bool created)
{
    return { storedPath, true, created ? std::nullopt : std::optional<std::string>(""),
             created ? std::optional<std::string>("") : std::nullopt };
}

// A save that builds an instance: folders, a copy, a write and a removal are kept until the batch ends,
// seen by every check and read meanwhile, and listed beforehand exactly as the end will make them.
TEST_F(FileSystemTest, ABatchKeepsFoldersCopiesAndRemovalsAndListsThemBeforeItEnds)
{
    m_folder.write("Orvant/bin/Printer.exe", "MZ program");
    m_folder.write("Orvant/conf/same.xml", "same");
    m_folder.write("Orvant/conf/gone.xml", "gone");
    const auto before = test::snapshotTree(m_folder.path());

    WriteBatch batch;
    ASSERT_TRUE(createFolder(at("Orvant\\Instance_01")).ok);
    ASSERT_TRUE(createFolder(at("ORVANT\\INSTANCE_01\\conf")).ok) << "below a kept folder, spelt in another case";
    ASSERT_TRUE(copyFile(at("Orvant\\bin\\Printer.exe"), at("orvant\\instance_01\\CONF\\Printer.exe")).ok);
    ASSERT_TRUE(writeFileAtomically(at("Orvant\\conf\\settings.xml"), "new\r\n").ok);
    ASSERT_TRUE(writeFileAtomically(at("Orvant\\conf\\same.xml"), "same").ok);
    ASSERT_TRUE(removePath(at("Orvant\\conf\\gone.xml")).ok);
    // Only what exists or is kept may take a write, and that is checked at once.
    EXPECT_FALSE(writeFileAtomically(at("Orvant\\none\\x.xml"), "x").ok);
    EXPECT_FALSE(createFolder(at("Orvant\\none\\sub")).ok);
    EXPECT_FALSE(createFolder(at("Orvant\\conf\\same.xml")).ok);
    EXPECT_FALSE(copyFile(at("Orvant\\bin\\Printer.exe"), at("Orvant\\Instance_01\\none\\Printer.exe")).ok);
    EXPECT_FALSE(writeFileAtomically(at("Orvant\\Instance_01\\conf"), "x").ok) << "a kept folder is in the way";

    EXPECT_TRUE(folderExists(at("orvant\\instance_01\\conf")));
    EXPECT_TRUE(pathExists(at("Orvant\\Instance_01")));
    EXPECT_FALSE(fileExists(at("Orvant\\Instance_01")));
    EXPECT_FALSE(folderExists(at("Orvant\\Instance_01\\conf\\Printer.exe")));
    EXPECT_TRUE(fileExists(at("Orvant\\Instance_01\\conf\\printer.exe")));
    EXPECT_FALSE(pathExists(at("Orvant\\conf\\gone.xml")));
    EXPECT_FALSE(fileExists(at("Orvant\\conf\\gone.xml")));
    std::string bytes;
    EXPECT_FALSE(readWholeFile(at("Orvant\\conf\\gone.xml"), bytes).ok);
    EXPECT_TRUE(readWholeFile(at("Orvant\\Instance_01\\conf\\Printer.exe"), bytes).ok);
    EXPECT_EQ(bytes, "MZ program");
    EXPECT_EQ(listFolder(at("Orvant")), (Names { "Instance_01", "bin", "conf" }));
    EXPECT_EQ(listFolder(at("Orvant\\conf")), (Names { "same.xml", "settings.xml" }));
    EXPECT_EQ(listFolder(at("Orvant\\INSTANCE_01\\conf")), Names { "Printer.exe" });
    EXPECT_TRUE(test::sameTree(before, test::snapshotTree(m_folder.path()))) << "nothing before the end";

    const std::vector<FileChange> expected {
        folderChange(at("Orvant\\Instance_01"), true),
        folderChange(at("ORVANT\\INSTANCE_01\\conf"), true),
        fileChange(at("orvant\\instance_01\\CONF\\Printer.exe"), std::nullopt, "MZ program"),
        fileChange(at("Orvant\\conf\\settings.xml"), "old\r\n", "new\r\n"),
        fileChange(at("Orvant\\conf\\gone.xml"), "gone", std::nullopt),
    };
    EXPECT_EQ(batch.changes(), expected);
    EXPECT_EQ(batch.changes(), expected) << "asked again";

    EXPECT_TRUE(batch.finish().empty());
    auto after = before;
    after.erase("Orvant/conf/gone.xml");
    after["Orvant/conf/settings.xml"] = "new\r\n";
    after["Orvant/Instance_01/"] = "";
    after["Orvant/Instance_01/conf/"] = "";
    after["Orvant/Instance_01/conf/Printer.exe"] = "MZ program";
    EXPECT_TRUE(test::sameTree(after, test::snapshotTree(m_folder.path())));
    EXPECT_TRUE(batch.changes().empty());
}

// A dry run, and a save refused before it may touch anything.
TEST_F(FileSystemTest, ADiscardedBatchLeavesTheTreeAsItWasAndAnInnerOneLeavesThatToTheOuter)
{
    m_folder.write("Orvant/bin/Printer.exe", "MZ program");
    const auto before = test::snapshotTree(m_folder.path());
    {
        WriteBatch outer;
        ASSERT_TRUE(createFolder(at("Orvant\\Instance_02")).ok);
        ASSERT_TRUE(copyFile(at("Orvant\\bin\\Printer.exe"), at("Orvant\\Instance_02\\Printer.exe")).ok);
        ASSERT_TRUE(removePath(at("Orvant\\bin\\Printer.exe")).ok);
        {
            WriteBatch inner;
            ASSERT_TRUE(writeFileAtomically(at("Orvant\\conf\\settings.xml"), "inner").ok);
            EXPECT_EQ(inner.changes().size(), 4u) << "an inner batch answers for the whole";
            inner.discard();
        }
        EXPECT_EQ(outer.changes().size(), 4u) << "an inner discard drops nothing";
        outer.discard();
        EXPECT_TRUE(outer.changes().empty());
        EXPECT_TRUE(outer.finish().empty());
    }
    EXPECT_TRUE(test::sameTree(before, test::snapshotTree(m_folder.path())));

    WriteBatch next;
    EXPECT_TRUE(next.changes().empty());
    EXPECT_FALSE(folderExists(at("Orvant\\Instance_02")));
    std::string bytes;
    EXPECT_TRUE(readWholeFile(at("Orvant\\conf\\settings.xml"), bytes).ok);
    EXPECT_EQ(bytes, "old\r\n");
}

// A failed provisioning takes back what it created: inside a batch that only drops it from the batch.
TEST_F(FileSystemTest, RemovingWhatABatchCreatedDropsItAndRemovingWhatExistsWaitsForTheEnd)
{
    m_folder.write("Orvant/old/sub/file.txt", "x");
    test::makeReadOnly(m_folder.path() / "Orvant/old/sub/file.txt"); // a copy of a read-only program
    const auto before = test::snapshotTree(m_folder.path());
    {
        WriteBatch batch;
        ASSERT_TRUE(createFolder(at("Orvant\\new")).ok);
        ASSERT_TRUE(createFolder(at("Orvant\\new\\sub")).ok);
        ASSERT_TRUE(writeFileAtomically(at("Orvant\\new\\sub\\a.txt"), "a").ok);
        EXPECT_FALSE(removePath(at("Orvant\\new")).ok) << "it holds a kept folder";
        EXPECT_FALSE(removePath(at("Orvant\\old")).ok) << "it holds a file";
        for (const char* created : { "Orvant\\new\\sub\\a.txt", "Orvant\\new\\sub", "Orvant\\NEW", "Orvant\\none" }) {
            EXPECT_TRUE(removePath(at(created)).ok) << created;
        }
        EXPECT_FALSE(pathExists(at("Orvant\\new")));
        EXPECT_FALSE(writeFileAtomically(at("Orvant\\new\\a.txt"), "a").ok) << "the folder was dropped";

        ASSERT_TRUE(removePath(at("Orvant\\old\\sub\\file.txt")).ok);
        ASSERT_TRUE(removePath(at("Orvant\\old\\sub")).ok) << "empty once the batch removes its file";
        ASSERT_TRUE(removePath(at("Orvant\\old")).ok);
        EXPECT_TRUE(removePath(at("Orvant\\old")).ok) << "twice";
        EXPECT_FALSE(folderExists(at("Orvant\\old")));
        EXPECT_EQ(listFolder(at("Orvant")), Names { "conf" });
        EXPECT_FALSE(writeFileAtomically(at("Orvant\\old\\sub\\file.txt"), "x").ok) << "the folder goes";

        EXPECT_EQ(batch.changes(),
                  (std::vector<FileChange> { fileChange(at("Orvant\\old\\sub\\file.txt"), "x", std::nullopt),
                                             folderChange(at("Orvant\\old\\sub"), false),
                                             folderChange(at("Orvant\\old"), false) }));
        EXPECT_TRUE(test::sameTree(before, test::snapshotTree(m_folder.path())));
        EXPECT_TRUE(batch.finish().empty()) << "the inner folder goes first";
    }
    EXPECT_FALSE(m_folder.exists("Orvant/old"));
    EXPECT_EQ(listFolder(at("Orvant")), Names { "conf" });

    // Without a batch: at once, and only files and empty folders.
    test::makeReadOnly(m_folder.path() / "Orvant/conf/settings.xml");
    EXPECT_FALSE(removePath(at("orvant\\conf")).ok);
    EXPECT_TRUE(removePath(at("orvant\\conf\\SETTINGS.xml")).ok);
    EXPECT_TRUE(removePath(at("Orvant\\conf")).ok) << "empty now";
    EXPECT_TRUE(removePath(at("Orvant\\conf")).ok) << "nothing left to remove";
    EXPECT_EQ(listFolder(at("Orvant")), Names {});
}

// The backup and the audit log do not wait for the save's batch: they are on the disk before it ends.
TEST_F(FileSystemTest, DirectWritesAndAppendsHappenAtOnceEvenInABatch)
{
    WriteBatch batch;
    ASSERT_TRUE(createFolderNow(at("Orvant\\logs")).ok);
    EXPECT_TRUE(createFolderNow(at("Orvant\\logs")).ok) << "a folder that exists";
    EXPECT_FALSE(createFolderNow(at("Orvant\\conf\\settings.xml")).ok) << "a file in the way";
    ASSERT_TRUE(appendToFile(at("Orvant\\logs\\audit.log"), "one\r\n").ok);
    ASSERT_TRUE(appendToFile(at("Orvant\\logs\\audit.log"), "two\r\n").ok);
    ASSERT_TRUE(writeNow(at("Orvant\\logs\\kept"), "kept").ok);
    EXPECT_TRUE(flushNow({ at("Orvant\\logs\\kept") }).empty());
    batch.discard();
    EXPECT_EQ(m_folder.read("Orvant/logs/audit.log"), "one\r\ntwo\r\n");
    EXPECT_EQ(m_folder.read("Orvant/logs/kept"), "kept");
    test::makeReadOnly(m_folder.path() / "Orvant/logs/audit.log");
    EXPECT_FALSE(appendToFile(at("Orvant\\logs\\audit.log"), "three\r\n").ok);
    EXPECT_EQ(m_folder.read("Orvant/logs/audit.log"), "one\r\ntwo\r\n");
    EXPECT_FALSE(currentUserName().empty());
}

} // namespace
} // namespace orvant::platform
