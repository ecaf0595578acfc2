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
using Names = std::vector<std::string>;

mode_t modeOf(const fs::path& path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

class FileSystemTest : public ::testing::Test
{
protected:
    FileSystemTest() { m_folder.write("drive_c/Orvant/conf/settings.xml", "old bytes\r\n"); }

    fs::path conf() const { return m_folder.driveC() / "Orvant" / "conf"; }
    std::string settings() const { return m_folder.read("drive_c/Orvant/conf/settings.xml"); }
    void chmodOrFail(const fs::path& path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path; }

    // A failed write names the file and the reason, and leaves the old file and no temporary behind.
    void expectRefused(const FileResult& result, const std::string& error)
    {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, error);
        EXPECT_EQ(settings(), "old bytes\r\n");
        EXPECT_EQ(listFolder("C:\\Orvant\\conf"), Names { "settings.xml" });
    }

    test::TestFolder m_folder;
};

TEST_F(FileSystemTest, ConvertsStoredPathsToCheckListAndCreate)
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

    EXPECT_TRUE(createFolder("C:\\ORVANT\\Logs").ok);
    EXPECT_TRUE(fs::is_directory(m_folder.driveC() / "Orvant" / "Logs"));
    EXPECT_TRUE(createFolder("C:\\orvant\\logs").ok);
    EXPECT_FALSE(fs::exists(m_folder.driveC() / "Orvant" / "logs"));
    EXPECT_NE(createFolder("C:\\ORVANT\\a\\b").error.find("No such file or directory"), std::string::npos);
    EXPECT_NE(createFolder("C:\\ORVANT\\conf\\settings.xml").error.find("File exists"), std::string::npos);

    m_folder.write("drive_c/Orvant/conf/b.txt", "");
    m_folder.write("drive_c/Orvant/conf/A.txt", "");
    fs::create_directory(conf() / "INSTANCE_01");
    EXPECT_EQ(listFolder("c:\\orvant\\CONF"), (Names { "A.txt", "INSTANCE_01", "b.txt", "settings.xml" }));
    EXPECT_TRUE(listFolder("C:\\ORVANT\\missing").empty());

    chmodOrFail(conf(), 0555);
    const auto refused = createFolder("C:\\ORVANT\\conf\\sub");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("Permission denied"), std::string::npos) << refused.error;
    EXPECT_FALSE(fs::exists(conf() / "sub"));
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

    chmodOrFail(conf() / "settings.xml", 0200);
    const auto unreadable = readWholeFile("C:\\Orvant\\conf\\settings.xml", read);
    EXPECT_FALSE(unreadable.ok);
    EXPECT_NE(unreadable.error.find("Permission denied"), std::string::npos) << unreadable.error;
}

TEST_F(FileSystemTest, WritesNewAndReplacedFilesWithTheRightPermissions)
{
    const mode_t previous = ::umask(022);
    const auto created = writeFileAtomically("C:\\ORVANT\\CONF\\new.properties", "a=b\r\n");
    ::umask(previous);
    ASSERT_TRUE(created.ok) << created.error;
    EXPECT_TRUE(created.error.empty());
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/new.properties"), "a=b\r\n");
    EXPECT_EQ(modeOf(conf() / "new.properties"), 0644u);

    chmodOrFail(conf() / "settings.xml", 0640);
    ASSERT_TRUE(writeFileAtomically("c:\\orvant\\conf\\SETTINGS.XML", "new bytes").ok);
    EXPECT_EQ(settings(), "new bytes");
    EXPECT_EQ(modeOf(conf() / "settings.xml"), 0640u);
    EXPECT_EQ(listFolder("C:\\ORVANT\\CONF"), (Names { "new.properties", "settings.xml" }));
    ASSERT_TRUE(writeFileAtomically("c:\\orvant\\conf\\SETTINGS.XML", "").ok);
    EXPECT_EQ(settings(), "");

    // Owner only, for a new file and for one that had wider permissions.
    ASSERT_TRUE(writeFileAtomically("C:\\Orvant\\conf\\users.properties", "x", true).ok);
    EXPECT_EQ(modeOf(conf() / "users.properties"), 0600u);
    ASSERT_TRUE(writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "y", true).ok);
    EXPECT_EQ(modeOf(conf() / "settings.xml"), 0600u);

    // Through a link to its target.
    fs::create_symlink(conf() / "settings.xml", conf() / "link.xml");
    ASSERT_TRUE(writeFileAtomically("C:\\Orvant\\conf\\link.xml", "through").ok);
    EXPECT_TRUE(fs::is_symlink(conf() / "link.xml"));
    EXPECT_EQ(settings(), "through");
}

TEST_F(FileSystemTest, FailedWritesLeaveEverythingAsItWas)
{
    EXPECT_EQ(writeFileAtomically("C:\\Orvant\\nowhere\\x.txt", "x").error,
              "Cannot write C:\\Orvant\\nowhere\\x.txt: No such file or directory");

    fs::create_directory(conf() / "sub");
    const auto overFolder = writeFileAtomically("C:\\Orvant\\conf\\sub", "x");
    EXPECT_FALSE(overFolder.ok);
    EXPECT_NE(overFolder.error.find("Is a directory"), std::string::npos) << overFolder.error;
    EXPECT_TRUE(fs::is_directory(conf() / "sub"));
    fs::remove(conf() / "sub");

    chmodOrFail(conf(), 0555);
    const auto replace = writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "new bytes");
    const auto create = writeFileAtomically("C:\\Orvant\\conf\\other.xml", "new bytes");
    chmodOrFail(conf(), 0755);
    expectRefused(replace, "Cannot write C:\\Orvant\\conf\\settings.xml: Permission denied");
    expectRefused(create, "Cannot write C:\\Orvant\\conf\\other.xml: Permission denied");

    chmodOrFail(conf() / "settings.xml", 0444);
    expectRefused(writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "new bytes"),
                  "Cannot write C:\\Orvant\\conf\\settings.xml: Permission denied");
    EXPECT_EQ(modeOf(conf() / "settings.xml"), 0444u);
    expectRefused(writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "other", false, Durability::Deferred),
                  "Cannot write C:\\Orvant\\conf\\settings.xml: Permission denied");
}

// A file-size limit makes the kernel refuse the data part-way, as a full disk does.
TEST_F(FileSystemTest, FailedWriteOfDataLeavesOldFileAndNoTemporary)
{
    rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto result = writeFileAtomically("C:\\Orvant\\conf\\settings.xml", std::string(64 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, oldHandler);
    expectRefused(result, "Cannot write C:\\Orvant\\conf\\settings.xml: File too large");
}

// A deferred write is the same atomic replacement without the flush; the flush comes afterwards.
TEST_F(FileSystemTest, DeferredWriteFlushesLater)
{
    const auto written
        = writeFileAtomically("C:\\Orvant\\conf\\settings.xml", "new bytes", false, Durability::Deferred);
    EXPECT_TRUE(written.ok) << written.error;
    EXPECT_EQ(settings(), "new bytes");
    EXPECT_TRUE(flushFile("C:\\Orvant\\conf\\settings.xml").ok);
    EXPECT_EQ(flushFile("C:\\Orvant\\conf\\missing.xml").error,
              "Cannot flush C:\\Orvant\\conf\\missing.xml: No such file or directory");
}

TEST_F(FileSystemTest, CopyTakesSourceBytesAndPermissionsOrLeavesTheTarget)
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

    m_folder.write("drive_c/Orvant/conf/copy.xml", "target");
    const auto missing = copyFile("C:\\Orvant\\conf\\none.xml", "C:\\Orvant\\conf\\copy.xml");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("Cannot read C:\\Orvant\\conf\\none.xml"), std::string::npos) << missing.error;
    chmodOrFail(conf() / "copy.xml", 0444);
    EXPECT_EQ(copyFile("C:\\Orvant\\conf\\settings.xml", "C:\\Orvant\\conf\\copy.xml").error,
              "Cannot write C:\\Orvant\\conf\\copy.xml: Permission denied");
    EXPECT_EQ(m_folder.read("drive_c/Orvant/conf/copy.xml"), "target");
    EXPECT_EQ(listFolder("C:\\Orvant\\conf"), (Names { "copy.xml", "settings.xml" }));
}

} // namespace
} // namespace orvant::platform
