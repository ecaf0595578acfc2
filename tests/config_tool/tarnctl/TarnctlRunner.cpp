#include "tests/config_tool/tarnctl/TarnctlRunner.h"

#include "config_tool/access/UserManagement.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace orvant::test {

namespace fs = std::filesystem;

namespace {

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

} // namespace

std::map<std::string, std::string> snapshotFiles(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    if (!fs::exists(folder)) {
        return files;
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() != ".lock") {
            files[fs::relative(entry.path(), folder).generic_string()] = readFile(entry.path());
        } else if (entry.is_directory()) {
            files[fs::relative(entry.path(), folder).generic_string() + "/"] = "";
        }
    }
    return files;
}

void TarnctlTest::SetUp()
{
    InstallationTest::SetUp();
    // For storedValue, which reads the file as the tool would.
    tarn::Globals::state().xmlConfigurationPath = "C:\\ORVANT\\conf\\ORVANTConfiguration.xml";
    makeInstanceFolders(1);
    writeMode(true);
    writeConfiguration({ { "00", { { "Environment", "1" }, { "PINByPass", "False" } } },
                         { "01", { { "PINByPass", "False" }, { "ReceiptDir", "C:\\ORVANT\\INSTANCE_01" } } } });
    write("properties/terminal.properties",
          crlfLines({ "name=terminal.properties", "version=1.00", "properties.directory=C:/ORVANT/properties" }));
    write("properties/language.properties", crlfLines({ "en.01=\\\\nlAMOUNT #", "en.02=OK?" }));
    write("INSTANCE_01/properties/terminal.properties",
          crlfLines({ "name=terminal.properties", "properties.directory=C:/ORVANT/INSTANCE_01/properties",
                      "smartCardReader.port=COM1", "smartCardReader.class=sts.drivers.cardholder.DioneDriver",
                      "pinpad.name=Dione xtreme" }));
    write("INSTANCE_01/properties/language.properties", crlfLines({ "en.01=\\\\nlAMOUNT #" }));
    write("conf/ORVANTTransactionLogEmpty.xml", "<?xml version=\"1.0\"?>\r\n<TransactionLog/>\r\n");
    write("bin/ReceiptPrinter.exe", "MZ receipt printer");
    writeUsers("Administrator=" + tarn::UserManagement::passwordHash(kPassword) + "\r\n");
}

TarnctlRun TarnctlTest::run(const std::vector<std::string>& arguments, const std::string& input) const
{
    const fs::path in = folder.path() / "tarnctl.in";
    const fs::path out = folder.path() / "tarnctl.out";
    const fs::path err = folder.path() / "tarnctl.err";
    {
        std::ofstream stream(in, std::ios::binary | std::ios::trunc);
        stream << input;
    }
    std::string command = shellQuoted(TARNCTL_PROGRAM);
    for (const auto& argument : arguments) {
        command += " " + shellQuoted(argument);
    }
    command += " <" + shellQuoted(in.string()) + " >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
    const int raw = std::system(command.c_str());

    TarnctlRun result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    fs::remove(in);
    fs::remove(out);
    fs::remove(err);
    return result;
}

TarnctlRun TarnctlTest::runLoggedIn(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> withPassword { "--password-stdin" };
    withPassword.insert(withPassword.end(), arguments.begin(), arguments.end());
    return run(withPassword, std::string(kPassword) + "\n");
}

std::map<std::string, std::string> TarnctlTest::installationFiles() const
{
    auto files = snapshotFiles(folder.driveC());
    for (auto& [name, bytes] : snapshotFiles(folder.registryFolder())) {
        files["registry/" + name] = bytes;
    }
    return files;
}

std::string TarnctlTest::shown(const std::string& name, const std::string& instance) const
{
    const TarnctlRun result = runLoggedIn({ "show", instance });
    const std::string prefix = name + "=";
    std::size_t start = 0;
    while (start < result.out.size()) {
        const auto end = result.out.find('\n', start);
        const std::string line = result.out.substr(start, end - start);
        if (line.compare(0, prefix.size(), prefix) == 0) {
            return line.substr(prefix.size());
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return "<not shown>";
}

} // namespace orvant::test
