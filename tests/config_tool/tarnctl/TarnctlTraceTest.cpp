#include "tests/config_tool/tarnctl/TarnctlRunner.h"

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
    EXPECT_TRUE(sameTree(withTrace, installation.snapshot(Trace::Included)));

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

} // namespace
} // namespace orvant::test
