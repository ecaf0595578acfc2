#include "config_tool/session/ConfigSession.h"
#include "config_tool/session/InstallationLock.h"
#include "config_tool/session/LoadedFiles.h"
#include "config_tool/session/SaveGuard.h"
#include "tests/support/Installation.h"
#include "tests/support/ProcessState.h"

#include <gtest/gtest.h>

namespace orvant::test {
namespace {

using tarn::InstallationLock;
using tarn::QuestionAnswer;
using Kind = InstallationLock::Kind;
using Outcome = InstallationLock::Outcome;
constexpr std::chrono::milliseconds kNoWait { 0 };

class ConcurrentSaveTest : public ::testing::Test
{
protected:
    TestFolder folder;
    Installation installation { folder };
    ProcessStateGuard state;

    ConcurrentSaveTest() { installation.writeConfiguration(Installation::numberedInstances(1)); }
};

// Saves exclude each other and readers; readers share. Each lock is its own open file, so one process
// meets its own locks as another process's.
TEST_F(ConcurrentSaveTest, TheInstallationLockKeepsSavesApartAndLetsReadersShare)
{
    EXPECT_EQ(InstallationLock::path(), "C:\\ORVANT\\conf\\ORVANTConfiguration.lock");
    {
        const auto save = InstallationLock::acquire(Kind::Exclusive, kNoWait);
        ASSERT_EQ(save.outcome(), Outcome::Locked);
        EXPECT_EQ(InstallationLock::acquire(Kind::Exclusive, kNoWait).outcome(), Outcome::Busy);
        int waited = 0;
        EXPECT_EQ(InstallationLock::acquire(Kind::Shared, std::chrono::milliseconds(60), [&] { ++waited; }).outcome(),
                  Outcome::Busy);
        EXPECT_GT(waited, 0) << "the caller is called back while it waits";
    }
    const auto reader = InstallationLock::acquire(Kind::Shared, kNoWait);
    EXPECT_EQ(reader.outcome(), Outcome::Locked);
    EXPECT_EQ(InstallationLock::acquire(Kind::Shared, kNoWait).outcome(), Outcome::Locked);
    EXPECT_EQ(InstallationLock::acquire(Kind::Exclusive, kNoWait).outcome(), Outcome::Busy);
}

TEST_F(ConcurrentSaveTest, AnInstallationWhereNoLockFileCanBeMadeIsUsedWithoutTheLock)
{
    makeReadOnly(installation.native("conf"));
    const auto lock = InstallationLock::acquire(Kind::Exclusive, kNoWait);
    EXPECT_EQ(lock.outcome(), Outcome::Unavailable);
    EXPECT_NE(lock.error().find("ORVANTConfiguration.lock"), std::string::npos);
}

// The window's save: nothing changed on disk since its load goes ahead without a question; a change
// by another program asks once, and only Yes writes.
TEST_F(ConcurrentSaveTest, ASaveAsksBeforeOverwritingWhatAnotherProgramChanged)
{
    installation.writeMode(true);
    tarn::ConfigSession session;
    installation.startUp(session);
    const tarn::LoadedFiles loaded = tarn::LoadedFiles::now();
    ASSERT_FALSE(loaded.configuration.empty());
    EXPECT_TRUE(tarn::SaveGuard(loaded, {}).mayWrite());
    EXPECT_TRUE(state.ui.questions.empty());

    for (const char* file : { "conf/ORVANTConfiguration.xml", "properties/hbl.properties" }) {
        const std::string bytes = installation.read(file);
        installation.write(file, bytes + " ");
        for (const auto answer : { QuestionAnswer::No, QuestionAnswer::Yes }) {
            state.ui.questions.clear();
            state.ui.answers = { answer };
            EXPECT_EQ(tarn::SaveGuard(loaded, {}).mayWrite(), answer == QuestionAnswer::Yes) << file;
            EXPECT_EQ(state.ui.questions, std::vector<std::string> { tarn::SaveGuard::kChangedQuestion }) << file;
        }
        installation.write(file, bytes);
    }

    const auto otherSave = InstallationLock::acquire(Kind::Exclusive, kNoWait);
    state.ui.questions.clear();
    EXPECT_FALSE(tarn::SaveGuard(loaded, {}, kNoWait).mayWrite());
    EXPECT_EQ(state.ui.messages, std::vector<std::string> { tarn::SaveGuard::kBusyMessage });
}

} // namespace
} // namespace orvant::test
