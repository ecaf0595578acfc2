#pragma once

#include "tests/support/InstallationTest.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace orvant::test {

// What one run of the tarnctl program gave.
struct TarnctlRun
{
    int status = -1;
    std::string out;
    std::string err;
};

// Every file below a folder with its bytes, keyed by the path relative to it: a snapshot to prove
// that a command wrote nothing, or to compare two installations.
std::map<std::string, std::string> snapshotFiles(const std::filesystem::path& folder);

// An installation at C:\ORVANT (KELBRIN_HOME) in XML mode with the base instance and instance 1 (a
// Dione xtreme on COM1), the files Add New copies, and the Administrator's password "secret12".
class TarnctlTest : public InstallationTest
{
protected:
    static constexpr const char* kPassword = "secret12";

    void SetUp() override;

    // Runs the built program with these arguments and this standard input, in the test's folder and
    // environment.
    TarnctlRun run(const std::vector<std::string>& arguments, const std::string& input = "") const;

    // Runs with the Administrator's password on standard input.
    TarnctlRun runLoggedIn(const std::vector<std::string>& arguments) const;

    // The installation and the registry hives, file by file.
    std::map<std::string, std::string> installationFiles() const;

    void writeUsers(const std::string& lines) const { write("properties/configuser.properties", lines); }

    // What show prints for a setting of an instance.
    std::string shown(const std::string& name, const std::string& instance = "Default") const;
};

} // namespace orvant::test
