#include "config_tool/session/InstallationLock.h"
#include "tests/config_tool/tarnctl/TarnctlRunner.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/Host.h"

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace orvant::test {
namespace {

using tarn::InstallationLock;

class TarnctlConcurrencyTest : public TarnctlTest
{
protected:
    // Instances 2 to last besides the base instance and instance 1.
    void addInstances(int last)
    {
        for (int n = 2; n <= last; ++n) {
            ASSERT_EQ(run({ "--password-stdin", "add-instance" }).status, 0);
        }
    }

    // tarnctl started as a process of its own, its password from the file "pw" of the test's folder.
    std::unique_ptr<ChildProgram> start(const std::vector<std::string>& arguments) const
    {
        std::vector<std::string> words { "--password-file", (folder.path() / "pw").string() };
        words.insert(words.end(), arguments.begin(), arguments.end());
        return std::make_unique<ChildProgram>(TARNCTL_PROGRAM, words);
    }

    // Every file of the installation and the registry, the lock files and the temporary files a killed
    // writer can leave beside a file left out.
    TreeSnapshot files() const
    {
        TreeSnapshot snapshot = installation.snapshot();
        std::erase_if(snapshot, [](const auto& entry) { return entry.first.find("/.") != std::string::npos; });
        return snapshot;
    }
};

// Runs on different instances, and on one instance, all at once: every run that says it saved has its
// change in the configuration, and the configuration hash fits what is on disk.
TEST_F(TarnctlConcurrencyTest, RunsAtTheSameTimeLoseNothing)
{
    addInstances(4);
    std::vector<std::future<TarnctlRun>> runs;
    for (int n = 1; n <= 4; ++n) {
        runs.push_back(std::async(std::launch::async, [n] {
            return runTarnctl({ "--password-stdin", "set", std::to_string(n), "Timeout=" + std::to_string(40 + n) },
                              std::string(Installation::kPassword) + "\n");
        }));
    }
    for (const char* setting : { "ReceiptWidth=44", "CheckCardTimeout=21" }) {
        runs.push_back(std::async(std::launch::async, [setting] {
            return runTarnctl({ "--password-stdin", "set", "2", setting }, std::string(Installation::kPassword) + "\n");
        }));
    }
    for (auto& finished : runs) {
        const TarnctlRun result = finished.get();
        EXPECT_EQ(result.status, 0) << result.err;
    }
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(installation.storedValue("Timeout", n), std::to_string(40 + n));
    }
    EXPECT_EQ(installation.storedValue("ReceiptWidth", 2), "44");
    EXPECT_EQ(installation.storedValue("CheckCardTimeout", 2), "21");
    EXPECT_EQ(run({ "verify" }).out, "match\n");
}

// A run that cannot have the lock in time writes nothing and says so with its own status; the system
// releases the lock of a program that is killed, and the next run goes ahead.
TEST_F(TarnctlConcurrencyTest, ALockedInstallationIsLeftAloneAndAKilledHolderBlocksNobody)
{
    const auto before = files();
    {
        const auto held = InstallationLock::acquire(InstallationLock::Kind::Exclusive, std::chrono::milliseconds(0));
        ASSERT_EQ(held.outcome(), InstallationLock::Outcome::Locked);
        for (const char* command : { "apply", "list" }) {
            const TarnctlRun result = run({ "--password-stdin", "--wait", "0", command });
            EXPECT_EQ(result.status, 5) << command;
            EXPECT_NE(result.err.find("nothing was written"), std::string::npos) << result.err;
        }
    }
    EXPECT_TRUE(sameTree(before, files()));

    ChildProgram holder(LOCK_HOLDER_PROGRAM, { (folder.path() / "holding").string() });
    while (!folder.exists("holding")) {
        ASSERT_TRUE(holder.started());
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(run({ "--password-stdin", "--wait", "0", "apply" }).status, 5);
    holder.kill();
    EXPECT_EQ(run({ "--password-stdin", "--wait", "0", "apply" }).status, 0);
}

// A save killed at any moment leaves every file as it was before or as a whole save writes it, never
// something between, in the registry as in the files.
TEST_F(TarnctlConcurrencyTest, ASaveKilledAtAnyMomentLeavesEveryFileWholeOldOrNew)
{
    installation.writeMode(false);
    addInstances(10);
    folder.write("pw", std::string(Installation::kPassword) + "\n");
    const auto before = files();
    const std::vector<std::string> save { "set", "Environment=Kiosk", "HBLHost=10.0.0.5" };
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(start(save)->wait(), 0);
    const auto whole = std::chrono::steady_clock::now() - started;
    const auto saved = files();
    // Kills spread over the time a whole save takes.
    for (int step = 0; step < 16; ++step) {
        installation.restore(before);
        const auto delay = whole * step / 15;
        const auto child = start(save);
        std::this_thread::sleep_for(delay);
        child->kill();
        for (const auto& [path, bytes] : files()) {
            if (!host::kRegistrySavedWhole.holds && path.rfind("registry/", 0) == 0) {
                continue; // the skip below says so
            }
            const auto old = before.find(path);
            const auto written = saved.find(path);
            EXPECT_TRUE((old != before.end() && old->second == bytes)
                        || (written != saved.end() && written->second == bytes))
                << path << " after step " << step;
        }
    }
    // The files were checked at every step; the registry only where a save writes it whole.
    ORVANT_SKIP_UNLESS(host::kRegistrySavedWhole);
}

} // namespace
} // namespace orvant::test
