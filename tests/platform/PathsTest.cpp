#include "platform/Paths.h"

#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace orvant::platform {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;

class PathsTest : public ::testing::Test
{
protected:
    PathsTest()
    {
        m_folder.write("drive_c/Orvant/Conf/ORVANTConfiguration.xml", "<x/>");
        m_folder.write("drive_c/Orvant/properties/INSTANCE_01/properties/terminal.properties", "");
        m_folder.write("drive_c/Orvant/Conf/a.TXT", "");
        m_folder.write("drive_c/Orvant/Conf/A.txt", "");
        m_folder.write("drive_c/Orvant/Reçus/ÉTÉ.txt", "");
        m_folder.write("drive_d/Data/file.txt", "");
    }

    std::string root() const { return m_folder.path().string(); }

    test::TestFolder m_folder;
    ScopedEnv m_driveD { "ORVANT_DRIVE_D", (m_folder.path() / "drive_d").string() };
};

TEST_F(PathsTest, StoredPathsFindTheNativeSpelling)
{
    const std::pair<std::string, const char*> cases[] = {
        // The drive is mapped and the case matched on every level.
        { "C:\\ORVANT\\conf\\orvantconfiguration.XML", "/drive_c/Orvant/Conf/ORVANTConfiguration.xml" },
        { "c:\\orvant\\PROPERTIES\\instance_01\\Properties\\TERMINAL.properties",
          "/drive_c/Orvant/properties/INSTANCE_01/properties/terminal.properties" },
        { "C:/Orvant/Conf", "/drive_c/Orvant/Conf" },
        { "d:\\data\\FILE.TXT", "/drive_d/Data/file.txt" },
        // Drive root, trailing and doubled separators.
        { "C:", "/drive_c" },
        { "C:\\", "/drive_c/" },
        { "C:\\orvant\\", "/drive_c/Orvant/" },
        { "C:\\orvant\\\\conf", "/drive_c/Orvant/Conf" },
        // Missing components stay as written.
        { "C:\\ORVANT\\Logs\\today.LOG", "/drive_c/Orvant/Logs/today.LOG" },
        { "C:\\ORVANT\\conf\\New.xml", "/drive_c/Orvant/Conf/New.xml" },
        { "C:\\Missing\\CONF\\x", "/drive_c/Missing/CONF/x" },
        // The exact case wins; neither spelt exactly: the first in byte order, whatever the listing order.
        { "C:\\orvant\\conf\\a.TXT", "/drive_c/Orvant/Conf/a.TXT" },
        { "C:\\orvant\\conf\\A.txt", "/drive_c/Orvant/Conf/A.txt" },
        { "C:\\orvant\\conf\\a.txt", "/drive_c/Orvant/Conf/A.txt" },
        // Letters of the Windows code page match too.
        { "C:\\ORVANT\\REÇUS\\été.TXT", "/drive_c/Orvant/Reçus/ÉTÉ.txt" },
        // The current drive's root means drive C.
        { "\\jre1.6.0_20\\bin\\java", "/drive_c/jre1.6.0_20/bin/java" },
        { "\\orvant\\conf", "/drive_c/Orvant/Conf" },
        // Native paths pass through, matched too; a native folder with the stored "\..." tail appended.
        { root() + "/drive_c/Orvant/Conf", "/drive_c/Orvant/Conf" },
        { root() + "/drive_c/orvant/conf", "/drive_c/Orvant/Conf" },
        { root() + "/drive_c/Orvant\\conf\\ORVANTConfiguration.xml", "/drive_c/Orvant/Conf/ORVANTConfiguration.xml" },
    };
    for (const auto& [stored, native] : cases) {
        EXPECT_EQ(toNativePath(stored), root() + native) << stored;
    }
    EXPECT_EQ(toNativePath("/"), "/");
    EXPECT_EQ(toNativePath(""), "");
}

TEST_F(PathsTest, RelativePathsMatchAgainstTheCurrentFolder)
{
    const fs::path previous = fs::current_path();
    fs::current_path(m_folder.driveC() / "Orvant" / "Conf");
    const std::string inConf = toNativePath("orvantconfiguration.xml");
    const std::string sibling = toNativePath("..\\PROPERTIES\\Instance_01");
    fs::current_path(previous);
    EXPECT_EQ(inConf, "ORVANTConfiguration.xml");
    EXPECT_EQ(sibling, "../properties/INSTANCE_01");
}

TEST_F(PathsTest, UserDataFolderAndUnmappedDrives)
{
    const ScopedEnv noDriveE("ORVANT_DRIVE_E", nullptr);
    {
        const ScopedEnv dataHome("XDG_DATA_HOME", root() + "/data");
        EXPECT_EQ(userDataFolder(), root() + "/data/orvant");
        EXPECT_EQ(toNativePath("E:\\Setup\\x.ini"), root() + "/data/orvant/drives/e/Setup/x.ini");
    }
    // Without an absolute XDG_DATA_HOME it falls back to HOME.
    const ScopedEnv home("HOME", root() + "/home/");
    const ScopedEnv noDataHome("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(userDataFolder(), root() + "/home/.local/share/orvant");
    const ScopedEnv relativeDataHome("XDG_DATA_HOME", std::string("relative/data"));
    EXPECT_EQ(userDataFolder(), root() + "/home/.local/share/orvant");
}

} // namespace
} // namespace orvant::platform
