#include "env_tool/StartScript.h"

#include "tests/env_tool/ScriptRecord.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace varset {
namespace {

using test::makeExecutable;
using test::waitForRecord;

// A script that writes `word` into record.txt beside itself.
std::string recordingScript(const std::string& word)
{
    return "#!/bin/sh\necho " + word + " > \"$(dirname \"$0\")/record.txt\"\n";
}

class StartScriptTest : public ::testing::Test
{
protected:
    std::filesystem::path record() const { return m_folder.driveC() / "orvant" / "record.txt"; }

    orvant::test::TestFolder m_folder;
};

TEST_F(StartScriptTest, ShellScriptBesideTheBatchFileIsRunInItsPlace)
{
    m_folder.write("drive_c/orvant/StartPOSServer.bat", recordingScript("batch"));
    makeExecutable(m_folder.driveC() / "orvant" / "StartPOSServer.bat");
    m_folder.write("drive_c/orvant/StartPOSServer.sh", recordingScript("shell"));

    EXPECT_TRUE(startScript());
    EXPECT_EQ(waitForRecord(record()), "shell\n");
}

TEST_F(StartScriptTest, StoredPathIsResolvedWithoutRegardToCase)
{
    m_folder.write("drive_c/ORVANT/startposserver.SH", recordingScript("found"));

    EXPECT_TRUE(startScript());
    EXPECT_EQ(waitForRecord(m_folder.driveC() / "ORVANT" / "record.txt"), "found\n");
}

TEST_F(StartScriptTest, ExecutableScriptRunsItselfWhenThereIsNoShellScript)
{
    m_folder.write("drive_c/orvant/StartPOSServer.bat", recordingScript("itself"));
    makeExecutable(m_folder.driveC() / "orvant" / "StartPOSServer.bat");

    EXPECT_TRUE(startScript());
    EXPECT_EQ(waitForRecord(record()), "itself\n");
}

TEST_F(StartScriptTest, ScriptThatCannotRunStartsNothing)
{
    EXPECT_FALSE(startScript());

    // A batch file on its own, as an installation copied from Windows has it.
    m_folder.write("drive_c/orvant/StartPOSServer.bat", "@echo off\r\ncall startEngine.cmd\r\n");
    EXPECT_FALSE(startScript());
}

} // namespace
} // namespace varset
