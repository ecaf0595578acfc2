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
        m_folder.write("drive_d/Data/file.txt", "");
    }

    std::string c(const std::string& rest) const { return m_folder.driveC().string() + rest; }

    test::TestFolder m_folder;
    ScopedEnv m_driveD { "ORVANT_DRIVE_D", (m_folder.path() / "drive_d").string() };
};

TEST_F(PathsTest, MapsDriveAndMatchesCaseOnEveryLevel)
{
    EXPECT_EQ(toNativePath("C:\\ORVANT\\conf\\orvantconfiguration.XML"), c("/Orvant/Conf/ORVANTConfiguration.xml"));
    EXPECT_EQ(toNativePath("c:\\orvant\\PROPERTIES\\instance_01\\Properties\\TERMINAL.properties"),
              c("/Orvant/properties/INSTANCE_01/properties/terminal.properties"));
    EXPECT_EQ(toNativePath("C:/Orvant/Conf"), c("/Orvant/Conf"));
    EXPECT_EQ(toNativePath("d:\\data\\FILE.TXT"), (m_folder.path() / "drive_d/Data/file.txt").string());
}

TEST_F(PathsTest, DriveRootAndTrailingSeparators)
{
    EXPECT_EQ(toNativePath("C:"), c(""));
    EXPECT_EQ(toNativePath("C:\\"), c("/"));
    EXPECT_EQ(toNativePath("C:\\orvant\\"), c("/Orvant/"));
    EXPECT_EQ(toNativePath("C:\\orvant\\\\conf"), c("/Orvant/Conf"));
}

TEST_F(PathsTest, KeepsMissingComponentsAsWritten)
{
    EXPECT_EQ(toNativePath("C:\\ORVANT\\Logs\\today.LOG"), c("/Orvant/Logs/today.LOG"));
    EXPECT_EQ(toNativePath("C:\\ORVANT\\conf\\New.xml"), c("/Orvant/Conf/New.xml"));
    EXPECT_EQ(toNativePath("C:\\Missing\\CONF\\x"), c("/Missing/CONF/x"));
}

TEST_F(PathsTest, ExactCaseWinsWhenSeveralSpellingsExist)
{
    m_folder.write("drive_c/Orvant/Conf/a.TXT", "");
    m_folder.write("drive_c/Orvant/Conf/A.txt", "");
    EXPECT_EQ(toNativePath("C:\\orvant\\conf\\a.TXT"), c("/Orvant/Conf/a.TXT"));
    EXPECT_EQ(toNativePath("C:\\orvant\\conf\\A.txt"), c("/Orvant/Conf/A.txt"));
    // Neither spelt exactly: the first in byte order, whatever the file system lists first.
    EXPECT_EQ(toNativePath("C:\\orvant\\conf\\a.txt"), c("/Orvant/Conf/A.txt"));
}

TEST_F(PathsTest, MatchesLettersOfTheWindowsCodePage)
{
    m_folder.write("drive_c/Orvant/Reçus/ÉTÉ.txt", "");
    EXPECT_EQ(toNativePath("C:\\ORVANT\\REÇUS\\été.TXT"), c("/Orvant/Reçus/ÉTÉ.txt"));
}

TEST_F(PathsTest, CurrentDriveRootMeansDriveC)
{
    EXPECT_EQ(toNativePath("\\jre1.6.0_20\\bin\\java"), c("/jre1.6.0_20/bin/java"));
    EXPECT_EQ(toNativePath("\\orvant\\conf"), c("/Orvant/Conf"));
}

TEST_F(PathsTest, NativePathsPassThrough)
{
    const std::string root = m_folder.path().string();
    EXPECT_EQ(toNativePath(root + "/drive_c/Orvant/Conf"), root + "/drive_c/Orvant/Conf");
    EXPECT_EQ(toNativePath(root + "/drive_c/orvant/conf"), root + "/drive_c/Orvant/Conf");
    // A native installation folder with the stored "\..." tail appended.
    EXPECT_EQ(toNativePath(root + "/drive_c/Orvant\\conf\\ORVANTConfiguration.xml"),
              root + "/drive_c/Orvant/Conf/ORVANTConfiguration.xml");
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

TEST_F(PathsTest, UnmappedDriveLivesInTheUserDataFolder)
{
    const ScopedEnv dataHome("XDG_DATA_HOME", (m_folder.path() / "data").string());
    const ScopedEnv noDriveE("ORVANT_DRIVE_E", nullptr);
    EXPECT_EQ(userDataFolder(), (m_folder.path() / "data/orvant").string());
    EXPECT_EQ(toNativePath("E:\\Setup\\x.ini"), (m_folder.path() / "data/orvant/drives/e/Setup/x.ini").string());
}

TEST_F(PathsTest, UserDataFolderFallsBackToHome)
{
    const ScopedEnv noDataHome("XDG_DATA_HOME", nullptr);
    const ScopedEnv home("HOME", (m_folder.path() / "home/").string());
    EXPECT_EQ(userDataFolder(), (m_folder.path() / "home/.local/share/orvant").string());
    const ScopedEnv relativeDataHome("XDG_DATA_HOME", std::string("relative/data"));
    EXPECT_EQ(userDataFolder(), (m_folder.path() / "home/.local/share/orvant").string());
}

} // namespace
} // namespace orvant::platform
