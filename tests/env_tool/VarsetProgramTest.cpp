#include "tests/env_tool/HiveValues.h"
#include "tests/env_tool/ScriptRecord.h"
#include "tests/support/TestFolder.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace varset {
namespace {

using test::readMachineVariable;
using test::waitForRecord;
using test::withNul;

struct ProgramRun
{
    int exitStatus = -1;
    std::string output;
    std::chrono::milliseconds duration {};
};

// Runs the built Varset with this process's environment, collecting everything it prints.
ProgramRun runVarset()
{
    ProgramRun run;
    const auto started = std::chrono::steady_clock::now();
    FILE* pipe = ::popen(("'" + std::string(VARSET_PROGRAM) + "' 2>&1").c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[256];
    while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe)) {
        run.output.append(buffer, count);
    }
    const int status = ::pclose(pipe);
    run.duration = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(VarsetProgramTest, SetsTheMachineEnvironmentStartsTheScriptAndEndsWithoutWaitingForIt)
{
    orvant::test::TestFolder folder;
    orvant::test::ScopedEnv installDir("INSTALL_DIR", nullptr);
    orvant::test::ScopedEnv javaHome("JAVA_HOME", nullptr);
    // The stand-in engine start: it leaves the shared output at once (or the pipe above would stay
    // open), records that it ran, and keeps running for a while as the real one does.
    folder.write("drive_c/orvant/StartPOSServer.sh",
                 "#!/bin/sh\n"
                 "cd \"$(dirname \"$0\")\"\n"
                 "exec > script.log 2>&1\n"
                 "echo started > record.txt\n"
                 "sleep 3\n"
                 "echo finished > finished.txt\n");

    const auto run = runVarset();

    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_LT(run.duration, std::chrono::milliseconds(1000));
    EXPECT_FALSE(folder.exists("drive_c/orvant/finished.txt"));
    EXPECT_EQ(waitForRecord(folder.driveC() / "orvant" / "record.txt"), "started\n");

    EXPECT_EQ(readMachineVariable("INSTALL_DIR").bytes, withNul(R"(C:\ORVANT\)"));
    EXPECT_EQ(readMachineVariable("KELBRIN_HOME").bytes, withNul(R"(C:\ORVANT)"));
    EXPECT_EQ(readMachineVariable("JAVA_HOME").bytes, withNul(R"(C:\ORVANT\JRE1.6.0_20)"));
    const auto path = readMachineVariable("Path");
    EXPECT_EQ(path.type, orvant::platform::kRegExpandSz);
    EXPECT_EQ(path.bytes,
              withNul(R"(%INSTALL_DIR%;%INSTALL_DIR%BIN;%JAVA_HOME%\BIN;C:\WINDOWS;C:\WINDOWS\SYSTEM32;)"
                      R"(C:\WINDOWS\SYSTEM32\WBEM;)"));
}

TEST(VarsetProgramTest, EndsQuietlyWhenNothingCanBeDone)
{
    orvant::test::TestFolder folder;
    test::makeReadOnly(folder.registryFolder());

    const auto run = runVarset();

    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(readMachineVariable("INSTALL_DIR").result, orvant::platform::kErrorFileNotFound);
}

} // namespace
} // namespace varset
