#include "tests/config_tool/tarnctl/TarnctlRunner.h"
#include "tests/support/Host.h"

#include <gmock/gmock.h>
#include <sstream>

namespace orvant::test {
namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// In registry mode, as a new installation starts: a dry run shows a save and writes nothing; the saves
// leave backups that put the tree back byte for byte, registry hives included, and a rollback is itself
// undone the same way.
TEST_F(TarnctlTest, DryRunsWriteNothingAndRollbacksPutEverySaveBack)
{
    installation.writeMode(false);
    ASSERT_EQ(run({ "--password-stdin", "apply" }).status, 0);
    const auto start = installation.snapshot();
    const auto withTrace = installation.snapshot(Trace::Included);
    std::filesystem::remove(installation.native("conf/ORVANTConfiguration.lock"));

    TarnctlRun result = run({ "--password-stdin", "--dry-run", "set", "1", "Timeout=5" });
    EXPECT_EQ(result.status, 1) << "refused as the real command would be";
    result = run({ "--password-stdin", "--dry-run", "add-instance" });
    EXPECT_EQ(result.status, 0) << result.err;
    const auto shown = linesOf(result.out);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "C:\\ORVANT\\INSTANCE_02\t2\t\t(none) -> \"<folder>\""),
              shown.end())
        << result.out;
    EXPECT_NE(std::find(shown.begin(), shown.end(),
                        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelbrin\\Harbell_02\t2\tPort\t(none) -> \"10002\""),
              shown.end())
        << result.out;
    EXPECT_THAT(result.out, ::testing::Not(::testing::HasSubstr("\tAdministrator\t"))) << "the user store's copy";
    EXPECT_TRUE(sameTree(withTrace, installation.snapshot(Trace::Included)));
    EXPECT_FALSE(installation.exists("conf/ORVANTConfiguration.lock")) << "a dry run makes no lock file";

    ASSERT_EQ(run({ "--password-stdin", "set", "1", "Timeout=45" }).status, 0);
    const auto afterSet = installation.snapshot();
    ASSERT_EQ(run({ "--password-stdin", "add-instance" }).status, 0);

    result = run({ "--password-stdin", "backups" });
    const auto backups = linesOf(result.out);
    ASSERT_EQ(backups.size(), 3u) << result.out;
    std::vector<std::string> ids;
    for (const auto& line : backups) {
        ids.push_back(line.substr(0, line.find('\t')));
        EXPECT_NE(line.find("\ttarnctl\tAdministrator\t"), std::string::npos) << line;
    }

    result = run({ "--password-stdin", "rollback" });
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string undoRollback = linesOf(result.out).at(0);
    EXPECT_TRUE(sameTree(afterSet, installation.snapshot()));
    ASSERT_EQ(run({ "--password-stdin", "rollback", ids[1] }).status, 0);
    EXPECT_TRUE(sameTree(start, installation.snapshot()));
    EXPECT_EQ(runTarnctl({ "verify" }, "").out, "match\n");

    result = run({ "--password-stdin", "rollback", undoRollback });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(installation.storedValue("Port", 2), "10002") << "the rolled-back instance is back";
    EXPECT_EQ(run({ "--password-stdin", "rollback", "nonsense" }).status, 2);

    const std::string log = installation.read("logs/configuration-audit.log");
    EXPECT_NE(log.find("\tevent\tinstance created\t"), std::string::npos);
    EXPECT_NE(log.find("\tevent\trollback\t"), std::string::npos);
    EXPECT_EQ(log.find(Installation::kPassword), std::string::npos);
}

// A rollback trusts nothing in the backups folder, and is done whole or not at all; a save never runs
// beside a lock it could not take.
TEST_F(TarnctlTest, RollbacksAndSavesRefuseWhatTheyCannotDoSafely)
{
    ASSERT_EQ(run({ "--password-stdin", "set", "1", "Timeout=45" }).status, 0);
    installation.copyData("hostile_backups/outside_path", "backups/20261207T000000Z");
    auto before = installation.snapshot(Trace::Included);
    TarnctlRun result = run({ "--password-stdin", "rollback", "20261207T000000Z" });
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.err,
                ::testing::HasSubstr("manifest.txt line 5: C:\\ORVANT\\conf\\..\\..\\victim\\x lies outside"));
    EXPECT_TRUE(sameTree(before, installation.snapshot(Trace::Included)));
    std::filesystem::remove_all(installation.native("backups/20261207T000000Z"));

    ASSERT_EQ(run({ "--password-stdin", "add-instance" }).status, 0);
    installation.write("INSTANCE_02/logs/engine.log", "started\r\n");
    before = installation.snapshot(Trace::Included);
    result = run({ "--password-stdin", "rollback" });
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, ::testing::HasSubstr("cannot be put back whole, so nothing was written"));
    EXPECT_TRUE(sameTree(before, installation.snapshot(Trace::Included)));

    std::filesystem::remove(installation.native("INSTANCE_02/logs/engine.log"));
    ASSERT_EQ(run({ "--password-stdin", "rollback" }).status, 0);
    before = installation.snapshot(Trace::Included);
    const auto backups = linesOf(run({ "--password-stdin", "backups" }).out);
    ASSERT_EQ(backups.size(), 3u) << "set, add-instance and the rollback of add-instance";
    result = run({ "--password-stdin", "rollback", backups[1].substr(0, backups[1].find('\t')) });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.err, ::testing::HasSubstr("nothing to restore"));
    EXPECT_TRUE(sameTree(before, installation.snapshot(Trace::Included))) << "no backup, no log line";

    ORVANT_SKIP_UNLESS(host::kUnreadableFiles);
    installation.write("conf/ORVANTConfiguration.lock", "");
    makeUnreadable(installation.native("conf/ORVANTConfiguration.lock"));
    makeReadOnly(installation.native("conf/ORVANTConfiguration.lock"));
    result = run({ "--password-stdin", "set", "1", "Timeout=46" });
    EXPECT_EQ(result.status, 5);
    EXPECT_THAT(result.err, ::testing::HasSubstr("ORVANTConfiguration.lock"));
    EXPECT_EQ(installation.storedValue("Timeout", 1), "45");
}

} // namespace
} // namespace orvant::test
