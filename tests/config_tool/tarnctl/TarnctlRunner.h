#pragma once

#include "tests/support/Installation.h"
#include "tests/support/ProcessState.h"

#include <string>
#include <vector>

namespace orvant::test {

// What one run of the built tarnctl program gave.
struct TarnctlRun
{
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built program with these arguments and this standard input, in the test's environment;
// runs at the same time are fine.
TarnctlRun runTarnctl(const std::vector<std::string>& arguments, const std::string& input);

// An installation in xml mode with the base instance and instance 1 (a Dione xtreme on COM1), the files
// Add New copies and the Administrator's password Installation::kPassword.
class TarnctlTest : public ::testing::Test
{
protected:
    TestFolder folder;
    ProcessStateGuard state;
    Installation installation { folder };

    TarnctlTest();

    // A run with the Administrator's password, and the given lines after it, on standard input.
    TarnctlRun run(const std::vector<std::string>& arguments, const std::string& moreInput = "") const
    {
        return runTarnctl(arguments, std::string(Installation::kPassword) + "\n" + moreInput);
    }
};

} // namespace orvant::test
