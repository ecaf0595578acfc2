#include "tests/config_tool/tarnctl/TarnctlRunner.h"

#include "config_tool/foundation/Globals.h"
#include "platform/FileSystem.h"
#include "tests/support/ChildProgram.h"

namespace orvant::test {

TarnctlRun runTarnctl(const std::vector<std::string>& arguments, const std::string& input)
{
    // The program's streams live outside the test's folder, which tests compare before and after a run.
    // Wine signals a program's end before it has closed the handles it inherited; their files go when
    // it has.
    const std::filesystem::path streams = platform::createTemporaryFolder("orvant-tarnctl-");
    writeFile(streams / "in", input);
    const int status = runProgram(TARNCTL_PROGRAM, arguments, { streams / "in", streams / "out", streams / "err" });
    TarnctlRun result { status, consoleText(readFile(streams / "out")), consoleText(readFile(streams / "err")) };
    std::error_code ignored;
    std::filesystem::remove_all(streams, ignored);
    return result;
}

TarnctlTest::TarnctlTest()
{
    installation.copyData("tarnctl/installation");
    installation.makeInstanceFolders(1);
    installation.writeUsers();
    // Where storedValue reads the configuration, as tarnctl finds it.
    tarn::Globals::state().xmlConfigurationPath = "C:\\ORVANT\\conf\\ORVANTConfiguration.xml";
}

} // namespace orvant::test
