#include "platform/FileSystem.h"

#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvant::platform {
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
        EXPECT_EQ(result.error.rfind("Cannot write " + at("Orvant\\conf\\settings.xml") + ": ", 0), 0u) << result.error;
        EXPECT_EQ(m_folder.read("Orvant/conf/settings.xml"), "old\r\n");
        EXPECT_EQ(listFolder(at("Orvant\\conf")), Names { "settings.xml" });
    }

    test::TestFolder m_folder;
};

TEST_F(FileSystemTest, StoredPathsAreCheckedListedAndCreatedWithoutRegardToCase)
{
    EXPECT_TRUE(fileExists(at("ORVANT\\CONF\\Settings.xml")) && !folderExists(at("ORVANT\\CONF\\Settings.xml")));
    EXPECT_TRUE(folderExists(at("orvant\\conf\\")) && !fileExists(at("orvant\\conf")) && pathExists(at("orvant")));
    EXPECT_FALSE(pathExists(at("orvant\\conf\\missing.xml")) || createFolder(at("ORVANT\\a\\b")).ok);
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
    EXPECT_FALSE(readWholeFile(at("Orvant\\conf\\none.dat"), read).ok || readWholeFile(at("Orvant\\conf"), read).ok);
    EXPECT_EQ(read, "kept");
    EXPECT_TRUE(readWholeFile(at("orvant\\conf\\settings.xml"), read).ok && read == bytes);
    // Deferred: the same replacement, put on the disk by a later flush.
    ASSERT_TRUE(writeFileAtomically(at("Orvant\\conf\\settings.xml"), "", false, Durability::Deferred).ok);
    EXPECT_TRUE(flushFile(at("Orvant\\conf\\settings.xml")).ok && !flushFile(at("Orvant\\conf\\none.xml")).ok);
    EXPECT_EQ(m_folder.read("Orvant/conf/settings.xml"), "");
    EXPECT_EQ(listFolder(at("Orvant\\conf")), Names { "settings.xml" });
}

TEST_F(FileSystemTest, RefusedWritesLeaveEverythingAsItWasAndCopiesTakeTheSource)
{
    EXPECT_FALSE(writeFileAtomically(at("Orvant\\conf"), "x").ok || writeFileAtomically(at("Orvant\\no\\x"), "x").ok);
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

} // namespace
} // namespace orvant::platform
