#include "platform/Paths.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

// POSIX only: Windows takes its paths as they are stored.
namespace orvant::platform {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;

class PathsTest : public ::testing::Test
{
protected:
    PathsTest()
    {
        for (const char* file : { "drive_c/Orvant/Conf/ORVANTConfiguration.xml", "drive_c/Orvant/Conf/a.TXT",
                                  "drive_c/Orvant/Conf/A.txt", "drive_c/Orvant/Reçus/ÉTÉ.txt", "drive_d/Data/file.txt" }) {
            m_folder.write(file, "");
        }
    }

    std::string root() const { return m_folder.path().string(); }

    test::TestFolder m_folder;
    ScopedEnv m_driveD { "ORVANT_DRIVE_D", (m_folder.path() / "drive_d").string() };
};

TEST_F(PathsTest, StoredPathsFindTheNativeSpelling)
{
    const std::pair<std::string, const char*> cases[] = {
        // The drive is mapped and the case matched on every level, Windows-1252 letters too.
        { "C:\\ORVANT\\conf\\orvantconfiguration.XML", "/drive_c/Orvant/Conf/ORVANTConfiguration.xml" },
        { "d:/data\\FILE.TXT", "/drive_d/Data/file.txt" },
        { "C:\\ORVANT\\REÇUS\\été.TXT", "/drive_c/Orvant/Reçus/ÉTÉ.txt" },
        // Drive root, trailing and doubled separators; missing components stay as written.
        { "C:", "/drive_c" },
        { "C:\\orvant\\", "/drive_c/Orvant/" },
        { "C:\\orvant\\\\conf", "/drive_c/Orvant/Conf" },
        { "C:\\ORVANT\\Logs\\today.LOG", "/drive_c/Orvant/Logs/today.LOG" },
        // The exact case wins; neither spelt exactly: the first in byte order.
        { "C:\\orvant\\conf\\a.TXT", "/drive_c/Orvant/Conf/a.TXT" },
        { "C:\\orvant\\conf\\a.txt", "/drive_c/Orvant/Conf/A.txt" },
        // The current drive's root means drive C; a native folder with a stored tail is converted too.
        { "\\orvant\\conf", "/drive_c/Orvant/Conf" },
        { root() + "/drive_c/orvant\\conf\\ORVANTConfiguration.xml", "/drive_c/Orvant/Conf/ORVANTConfiguration.xml" },
    };
    for (const auto& [stored, native] : cases) {
        EXPECT_EQ(toNativePath(stored), root() + native) << stored;
    }
    EXPECT_EQ(toNativePath(""), "");

    const fs::path previous = fs::current_path();
    fs::current_path(m_folder.driveC() / "Orvant" / "Conf");
    const std::string relative = toNativePath("..\\REÇUS\\été.txt");
    fs::current_path(previous);
    EXPECT_EQ(relative, "../Reçus/ÉTÉ.txt");
}

TEST_F(PathsTest, UnmappedDrivesLiveInTheUserDataFolder)
{
    const ScopedEnv noDriveE("ORVANT_DRIVE_E", nullptr);
    {
        const ScopedEnv dataHome("XDG_DATA_HOME", root() + "/data");
        EXPECT_EQ(userDataFolder(), root() + "/data/orvant");
        EXPECT_EQ(toNativePath("E:\\Setup\\x.ini"), root() + "/data/orvant/drives/e/Setup/x.ini");
    }
    // Without an absolute XDG_DATA_HOME it falls back to HOME.
    const ScopedEnv home("HOME", root() + "/home/");
    const ScopedEnv relativeDataHome("XDG_DATA_HOME", std::string("relative/data"));
    EXPECT_EQ(userDataFolder(), root() + "/home/.local/share/orvant");
}

} // namespace
} // namespace orvant::platform
