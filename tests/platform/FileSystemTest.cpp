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
    FileSystemTest() { m_folder.write("Orvant/conf/settings.xml", "old bytes\r\n"); }

    std::string at(const std::string& relative) const { return m_folder.stored(relative); }

    // A refused write names the file and leaves the old bytes and no temporary file behind.
    void expectRefused(const FileResult& result, const std::string& relative)
    {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error.rfind("Cannot write " + at(relative) + ": ", 0), 0u) << result.error;
        EXPECT_EQ(m_folder.read("Orvant/conf/settings.xml"), "old bytes\r\n");
        EXPECT_EQ(listFolder(at("Orvant\\conf")), Names { "settings.xml" });
    }

    test::TestFolder m_folder;
};

TEST_F(FileSystemTest, StoredPathsAreCheckedListedAndCreatedWithoutRegardToCase)
{
    EXPECT_TRUE(fileExists(at("ORVANT\\CONF\\Settings.xml")));
    EXPECT_FALSE(folderExists(at("ORVANT\\CONF\\Settings.xml")));
    EXPECT_TRUE(folderExists(at("orvant\\conf\\")));
    EXPECT_TRUE(pathExists(at("orvant\\conf")));
    EXPECT_FALSE(fileExists(at("orvant\\conf")));
    EXPECT_FALSE(pathExists(at("orvant\\conf\\missing.xml")));

    EXPECT_TRUE(createFolder(at("ORVANT\\Logs")).ok);
    EXPECT_TRUE(createFolder(at("orvant\\logs")).ok);
    EXPECT_FALSE(createFolder(at("ORVANT\\a\\b")).ok);
    EXPECT_FALSE(createFolder(at("ORVANT\\conf\\settings.xml")).ok);
    m_folder.write("Orvant/conf/b.txt", "");
    m_folder.write("Orvant/conf/A.txt", "");
    EXPECT_EQ(listFolder(at("orvant")), (Names { "Logs", "conf" }));
    EXPECT_EQ(listFolder(at("orvant\\CONF")), (Names { "A.txt", "b.txt", "settings.xml" }));
    EXPECT_TRUE(listFolder(at("missing")).empty());
}

TEST_F(FileSystemTest, WholeFilesAreReadAndReplacedAsBytes)
{
    const std::string bytes = "line\r\n\0\xA3\xFF end"s;
    ASSERT_TRUE(writeFileAtomically(at("ORVANT\\CONF\\settings.xml"), bytes).ok);
    std::string read;
    ASSERT_TRUE(readWholeFile(at("orvant\\conf\\settings.xml"), read).ok);
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(listFolder(at("Orvant\\conf")), Names { "settings.xml" });

    // Deferred: the same replacement, put on the disk by a later flush.
    ASSERT_TRUE(writeFileAtomically(at("Orvant\\conf\\new.properties"), "", false, Durability::Deferred).ok);
    EXPECT_TRUE(flushFile(at("Orvant\\conf\\new.properties")).ok);
    EXPECT_EQ(m_folder.read("Orvant/conf/new.properties"), "");
    EXPECT_FALSE(flushFile(at("Orvant\\conf\\missing.xml")).ok);

    read = "kept";
    const auto missing = readWholeFile(at("Orvant\\conf\\none.dat"), read);
    EXPECT_EQ(missing.error.rfind("Cannot read " + at("Orvant\\conf\\none.dat") + ": ", 0), 0u) << missing.error;
    EXPECT_EQ(read, "kept");
    EXPECT_FALSE(readWholeFile(at("Orvant\\conf"), read).ok);
}

TEST_F(FileSystemTest, RefusedWritesLeaveEverythingAsItWas)
{
    fs::create_directory(m_folder.path() / "Orvant" / "conf" / "sub");
    EXPECT_FALSE(writeFileAtomically(at("Orvant\\conf\\sub"), "x").ok);
    EXPECT_EQ(listFolder(at("Orvant\\conf")), (Names { "settings.xml", "sub" }));
    fs::remove(m_folder.path() / "Orvant" / "conf" / "sub");
    EXPECT_FALSE(writeFileAtomically(at("Orvant\\nowhere\\x.txt"), "x").ok);

    test::makeReadOnly(m_folder.path() / "Orvant" / "conf" / "settings.xml");
    expectRefused(writeFileAtomically(at("Orvant\\conf\\settings.xml"), "new"), "Orvant\\conf\\settings.xml");
    expectRefused(writeFileAtomically(at("Orvant\\conf\\settings.xml"), "new", false, Durability::Deferred),
                  "Orvant\\conf\\settings.xml");
    expectRefused(copyFile(at("Orvant\\conf\\settings.xml"), at("Orvant\\conf\\settings.xml")),
                  "Orvant\\conf\\settings.xml");
}

// On Windows the right to run a file follows its name's extension.
TEST_F(FileSystemTest, CopyTakesTheSourceBytesAndTheRightToRunThem)
{
    m_folder.write("Orvant/bin/ReceiptPrinter.exe", "MZ\0\x90program"s);
    fs::permissions(m_folder.path() / "Orvant/bin/ReceiptPrinter.exe", fs::perms::owner_exec, fs::perm_options::add);
    m_folder.write("Orvant/bin/ReceiptPrinter_01.exe", "older copy");
    ASSERT_TRUE(copyFile(at("ORVANT\\BIN\\receiptprinter.exe"), at("ORVANT\\BIN\\ReceiptPrinter_01.exe")).ok);
    ASSERT_TRUE(copyFile(at("ORVANT\\BIN\\receiptprinter.exe"), at("ORVANT\\BIN\\ReceiptPrinter_02.exe")).ok);
    for (const char* copy : { "Orvant/bin/ReceiptPrinter_01.exe", "Orvant/bin/ReceiptPrinter_02.exe" }) {
        EXPECT_EQ(m_folder.read(copy), "MZ\0\x90program"s);
        EXPECT_NE(fs::status(m_folder.path() / copy).permissions() & fs::perms::owner_exec, fs::perms::none);
    }
    EXPECT_FALSE(copyFile(at("Orvant\\conf\\none.xml"), at("Orvant\\conf\\settings.xml")).ok);
    EXPECT_EQ(m_folder.read("Orvant/conf/settings.xml"), "old bytes\r\n");
}

} // namespace
} // namespace orvant::platform
