#include "platform/FileSystem.h"

#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

// Permission bits, read-only folders, links and file-size limits are POSIX matters; on Windows a file
// takes its folder's access rules and a read-only folder attribute stops nobody.
namespace orvant::platform {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const fs::path& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(FileSystemPosix, NewFilesTakeTheUmaskAndReplacedFilesKeepTheirMode)
{
    test::TestFolder folder;
    folder.write("settings.xml", "old");
    ::chmod((folder.path() / "settings.xml").c_str(), 0640);
    const mode_t previous = ::umask(022);
    EXPECT_TRUE(writeFileAtomically(folder.stored("new.properties"), "a=b").ok);
    ::umask(previous);
    EXPECT_TRUE(writeFileAtomically(folder.stored("SETTINGS.XML"), "new").ok);
    EXPECT_TRUE(writeFileAtomically(folder.stored("users.properties"), "x", true).ok);
    EXPECT_EQ(modeOf(folder.path() / "new.properties"), 0644u);
    EXPECT_EQ(modeOf(folder.path() / "settings.xml"), 0640u);
    EXPECT_EQ(modeOf(folder.path() / "users.properties"), 0600u);

    // A link is followed: its target is replaced and the link stays.
    fs::create_symlink(folder.path() / "settings.xml", folder.path() / "link.xml");
    ASSERT_TRUE(writeFileAtomically(folder.stored("link.xml"), "through").ok);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.xml"));
    EXPECT_EQ(folder.read("settings.xml"), "through");
}

// A file-size limit makes the kernel refuse the data part-way, as a full disk does.
TEST(FileSystemPosix, ReadOnlyFolderOrFullDiskLeavesTheOldFileAndNoTemporary)
{
    test::TestFolder folder;
    folder.write("conf/settings.xml", "old");
    rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto full = writeFileAtomically(folder.stored("conf\\settings.xml"), std::string(64 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(full.error, "Cannot write " + folder.stored("conf\\settings.xml") + ": File too large");

    test::makeReadOnly(folder.path() / "conf");
    EXPECT_EQ(writeFileAtomically(folder.stored("conf\\other.xml"), "new").error,
              "Cannot write " + folder.stored("conf\\other.xml") + ": Permission denied");
    EXPECT_EQ(listFolder(folder.stored("conf")), std::vector<std::string> { "settings.xml" });
    EXPECT_EQ(folder.read("conf/settings.xml"), "old");
}

} // namespace
} // namespace orvant::platform
