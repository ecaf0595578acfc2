#include "platform/FileSystem.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace orvant::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

mode_t modeOf(const fs::path& path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

void chmodOrFail(const fs::path& path, mode_t mode)
{
    ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

class FileSystemTest : public ::testing::Test
{
protected:
    FileSystemTest() { m_folder.write("drive_c/Orvant/conf/settings.xml", "old bytes\r\n"); }

    fs::path conf() const { return m_folder.driveC() / "Orvant" / "conf"; }

    test::TestFolder m_folder;
};

TEST_F(FileSystemTest, ExistenceChecksConvertStoredPaths)
{
    EXPECT_TRUE(pathExists("C:\\ORVANT\\CONF\\Settings.xml"));
    EXPECT_TRUE(fileExists("C:\\ORVANT\\CONF\\Settings.xml"));
    EXPECT_FALSE(folderExists("C:\\ORVANT\\CONF\\Settings.xml"));
    EXPECT_TRUE(pathExists("C:\\orvant\\conf"));
    EXPECT_TRUE(folderExists("C:\\orvant\\conf\\"));
    EXPECT_FALSE(fileExists("C:\\orvant\\conf"));
    EXPECT_FALSE(pathExists("C:\\orvant\\conf\\missing.xml"));
    EXPECT_FALSE(fileExists(""));
    EXPECT_TRUE(fileExists((conf() / "settings.xml").string()));
}

TEST_F(FileSystemTest, CreatesOneFolderAndAcceptsAnExistingOne)
{
    EXPECT_TRUE(createFolder("C:\\ORVANT\\Logs").ok);
    EXPECT_TRUE(fs::is_directory(m_folder.driveC() / "Orvant" / "Logs"));
    EXPECT_TRUE(createFolder("C:\\orvant\\logs").ok);
    EXPECT_FALSE(fs::exists(m_folder.driveC() / "Orvant" / "logs"));

    const auto nested = createFolder("C:\\ORVANT\\a\\b");
    EXPECT_FALSE(nested.ok);
    EXPECT_NE(nested.error.find("No such file or directory"), std::string::npos) << nested.error;

    const auto overFile = createFolder("C:\\ORVANT\\conf\\settings.xml");
    EXPECT_FALSE(overFile.ok);
    EXPECT_NE(overFile.error.find("File exists"), std::string::npos) << overFile.error;
}

TEST_F(FileSystemTest, CreateFolderRefusesReadOnlyParent)
{
    chmodOrFail(conf(), 0555);
    const auto result = createFolder("C:\\ORVANT\\conf\\sub");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("Permission denied"), std::string::npos) << result.error;
    EXPECT_FALSE(fs::exists(conf() / "sub"));
}

TEST_F(FileSystemTest, ListsNamesSorted)
{
    m_folder.write("drive_c/Orvant/conf/b.txt", "");
    m_folder.write("drive_c/Orvant/conf/A.txt", "");
    fs::create_directory(conf() / "INSTANCE_01");
    EXPECT_EQ(listFolder("c:\\orvant\\CONF"),
              (std::vector<std::string> { "A.txt", "INSTANCE_01", "b.txt", "settings.xml" }));
    EXPECT_TRUE(listFolder("C:\\ORVANT\\missing").empty());
}

TEST_F(FileSystemTest, ReadsWholeFileAsBytes)
{
    const std::string bytes = "line\r\n\0\xA3\xFF end"s;
    m_folder.write("drive_c/Orvant/conf/binary.dat", bytes);
    std::string read = "stale";
    ASSERT_TRUE(readWholeFile("C:\\Orvant\\Conf\\BINARY.DAT", read).ok);
    EXPECT_EQ(read, bytes);

    read = "kept";
    const auto missing = readWholeFile("C:\\Orvant\\Conf\\none.dat", read);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("C:\\Orvant\\Conf\\none.dat"), std::string::npos) << missing.error;
    EXPECT_NE(missing.error.find("No such file or directory"), std::string::npos) << missing.error;
    EXPECT_EQ(read, "kept");

    EXPECT_FALSE(readWholeFile("C:\\Orvant\\Conf", read).ok);
}

TEST_F(FileSystemTest, FileWithoutReadBitIsUnreadable)
{
    chmodOrFail(conf() / "settings.xml", 0200);
    std::string read;
    const auto result = readWholeFile("C:\\Orvant\\conf\\settings.xml", read);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("Permission denied"), std::string::npos) << result.error;
}

TEST_F(FileSystemTest, WritesNewFileWithUmaskDefault)
{
    const mode_t previous = ::umask(022);
    const auto result = writeFileAtomically("C:\\ORVANT\\CONF\\new.properties", "a=b\r\n");
    ::umask(previous);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.error.empty());
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/new.properties"), "a=b\r\n");
    EXPECT_EQ(modeOf(conf() / "new.properties"), 0644u);
    EXPECT_EQ(listFolder("C:\\ORVANT\\CONF"), (std::vector<std::string> { "new.properties", "settings.xml" }));
}

TEST_F(FileSystemTest, ReplacesFileAndKeepsItsPermissions)
{
    chmodOrFail(conf() / "settings.xml", 0640);
    ASSERT_TRUE(writeFileAtomically("c:\\orvant\\conf\\SETTINGS.XML", "new bytes").ok);
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/settings.xml"), "new bytes");
    EXPECT_EQ(modeOf(conf() / "settings.xml"), 0640u);
    EXPECT_EQ(listFolder("C:\\ORVANT\\CONF"), std::vector<std::string> { "settings.xml" });

    ASSERT_TRUE(writeFileAtomically("c:\\orvant\\conf\\SETTINGS.XML", "").ok);
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/settings.xml"), "");
}

TEST_F(FileSystemTest, OwnerOnlyGivesReadWriteToOwner)
{
    ASSERT_TRUE(writeFileAtomically("C:\\Orvant\\conf\\users.properties", "x", true).ok);
    EXPECT_EQ(modeOf(conf() / "users.properties"), 0600u);
    chmodOrFail(conf() / "settings.xml", 0644);
    ASSERT_TRUE(writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "y", true).ok);
    EXPECT_EQ(modeOf(conf() / "settings.xml"), 0600u);
}

TEST_F(FileSystemTest, WritesThroughALinkToItsTarget)
{
    fs::create_symlink(conf() / "settings.xml", conf() / "link.xml");
    ASSERT_TRUE(writeFileAtomically("C:\\Orvant\\conf\\link.xml", "through").ok);
    EXPECT_TRUE(fs::is_symlink(conf() / "link.xml"));
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/settings.xml"), "through");
}

TEST_F(FileSystemTest, WriteIntoMissingFolderFails)
{
    const auto result = writeFileAtomically("C:\\Orvant\\nowhere\\x.txt", "x");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "Cannot write C:\\Orvant\\nowhere\\x.txt: No such file or directory");
}

TEST_F(FileSystemTest, WriteIntoReadOnlyFolderLeavesEverythingAsItWas)
{
    chmodOrFail(conf(), 0555);
    const auto replace = writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "new bytes");
    const auto create = writeFileAtomically("C:\\Orvant\\conf\\other.xml", "new bytes");
    chmodOrFail(conf(), 0755);
    EXPECT_FALSE(replace.ok);
    EXPECT_FALSE(create.ok);
    EXPECT_EQ(replace.error, "Cannot write C:\\Orvant\\conf\\settings.xml: Permission denied");
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/settings.xml"), "old bytes\r\n");
    EXPECT_EQ(listFolder("C:\\Orvant\\conf"), std::vector<std::string> { "settings.xml" });
}

TEST_F(FileSystemTest, WriteOverReadOnlyFileLeavesItAsItWas)
{
    chmodOrFail(conf() / "settings.xml", 0444);
    const auto result = writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "new bytes");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "Cannot write C:\\Orvant\\conf\\settings.xml: Permission denied");
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/settings.xml"), "old bytes\r\n");
    EXPECT_EQ(modeOf(conf() / "settings.xml"), 0444u);
    EXPECT_EQ(listFolder("C:\\Orvant\\conf"), std::vector<std::string> { "settings.xml" });
}

// A deferred write is the same atomic replacement without the flush; the flush comes afterwards.
TEST_F(FileSystemTest, DeferredWriteKeepsTheRulesAndFlushFollowsLater)
{
    const auto written
        = writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "new bytes", false, Durability::Deferred);
    EXPECT_TRUE(written.ok) << written.error;
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/settings.xml"), "new bytes");
    EXPECT_TRUE(flushFile("C:\\Orvant\\conf\\settings.xml").ok);
    EXPECT_EQ(flushFile("C:\\Orvant\\conf\\missing.xml").error,
              "Cannot flush C:\\Orvant\\conf\\missing.xml: No such file or directory");

    chmodOrFail(conf() / "settings.xml", 0444);
    const auto refused = writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "other", false, Durability::Deferred);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/settings.xml"), "new bytes");
    EXPECT_EQ(listFolder("C:\\Orvant\\conf"), std::vector<std::string> { "settings.xml" });
}

TEST_F(FileSystemTest, WriteOverFolderFails)
{
    fs::create_directory(conf() / "sub");
    const auto result = writeFileAtomically("C:\\Orvant\\conf\\sub", "x");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("Is a directory"), std::string::npos) << result.error;
    EXPECT_TRUE(fs::is_directory(conf() / "sub"));
}

// A file-size limit makes the kernel refuse the data part-way, as a full disk does.
TEST_F(FileSystemTest, FailedWriteOfDataLeavesOldFileAndNoTemporary)
{
    const std::string big(64 * 1024, 'x');
    rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto result = writeFileAtomically("C:\\Orvant\\conf\\settings.xml", big);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "Cannot write C:\\Orvant\\conf\\settings.xml: File too large");
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/settings.xml"), "old bytes\r\n");
    EXPECT_EQ(listFolder("C:\\Orvant\\conf"), std::vector<std::string> { "settings.xml" });
}

TEST_F(FileSystemTest, CopyTakesSourceBytesAndPermissions)
{
    m_folder.write("drive_c/Orvant/bin/ReceiptPrinter.exe", "MZ\0\x90program"s);
    chmodOrFail(m_folder.driveC() / "Orvant/bin/ReceiptPrinter.exe", 0755);
    m_folder.write("drive_c/Orvant/bin/ReceiptPrinter_01.exe", "older copy");
    chmodOrFail(m_folder.driveC() / "Orvant/bin/ReceiptPrinter_01.exe", 0644);

    ASSERT_TRUE(copyFile("C:\\ORVANT\\BIN\\receiptprinter.exe", "C:\\ORVANT\\BIN\\ReceiptPrinter_01.exe").ok);
    ASSERT_TRUE(copyFile("C:\\ORVANT\\BIN\\receiptprinter.exe", "C:\\ORVANT\\BIN\\ReceiptPrinter_02.exe").ok);
    for (const char* copy : { "Orvant/bin/ReceiptPrinter_01.exe", "Orvant/bin/ReceiptPrinter_02.exe" }) {
        EXPECT_EQ(m_folder.read(std::string("drive_c/") + copy), "MZ\0\x90program"s);
        EXPECT_EQ(modeOf(m_folder.driveC() / copy), 0755u);
    }
}

TEST_F(FileSystemTest, FailedCopyLeavesTargetAsItWas)
{
    m_folder.write("drive_c/Orvant/conf/copy.xml", "target");
    const auto missing = copyFile("C:\\Orvant\\conf\\none.xml", "C:\\Orvant\\conf\\copy.xml");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("Cannot read C:\\Orvant\\conf\\none.xml"), std::string::npos) << missing.error;

    chmodOrFail(conf() / "copy.xml", 0444);
    const auto readOnly = copyFile("C:\\Orvant\\conf\\settings.xml", "C:\\Orvant\\conf\\copy.xml");
    EXPECT_FALSE(readOnly.ok);
    EXPECT_EQ(readOnly.error, "Cannot write C:\\Orvant\\conf\\copy.xml: Permission denied");
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/copy.xml"), "target");
    EXPECT_EQ(listFolder("C:\\Orvant\\conf"), (std::vector<std::string> { "copy.xml", "settings.xml" }));
}

} // namespace
} // namespace orvant::platform
