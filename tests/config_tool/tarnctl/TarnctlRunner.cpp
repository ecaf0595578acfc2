#include "tests/config_tool/tarnctl/TarnctlRunner.h"

#include "config_tool/foundation/Globals.h"

#include <cstdlib>
#include <sys/wait.h>

namespace orvant::test {

namespace {

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace

TarnctlRun runTarnctl(const TestFolder& folder, const std::vector<std::string>& arguments, const std::string& input,
                      const std::string& tag)
{
    const std::string in = "tarnctl" + tag + ".in";
    const std::string out = "tarnctl" + tag + ".out";
    const std::string err = "tarnctl" + tag + ".err";
    folder.write(in, input);
    std::string command = shellQuoted(TARNCTL_PROGRAM);
    for (const auto& argument : arguments) {
        command += " " + shellQuoted(argument);
    }
    for (const auto& [redirect, file] : { std::pair("<", in), { ">", out }, { "2>", err } }) {
        command += std::string(" ") + redirect + shellQuoted((folder.path() / file).string());
    }
    const int raw = std::system(command.c_str());
    TarnctlRun result { WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, folder.read(out), folder.read(err) };
    for (const auto& file : { in, out, err }) {
        std::filesystem::remove(folder.path() / file);
    }
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
