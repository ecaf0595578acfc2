#include "config_tool/foundation/Globals.h"

#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace tarn;

class GlobalsTest : public ::testing::Test
{
protected:
    void SetUp() override { Globals::reset(); }
    void TearDown() override
    {
        Globals::setUi(nullptr);
        Globals::reset();
    }

    orvant::test::TestFolder folder;
};

TEST_F(GlobalsTest, InstallationFolderComesFromKelbrinHomeOnce)
{
    orvant::test::ScopedEnv home("KELBRIN_HOME", std::string("D:\\Kelbrin"));
    EXPECT_EQ(Globals::ensureInstallationFolder(), "D:\\Kelbrin");
    orvant::test::ScopedEnv later("KELBRIN_HOME", std::string("E:\\Other"));
    EXPECT_EQ(Globals::ensureInstallationFolder(), "D:\\Kelbrin");
    EXPECT_EQ(Globals::state().installationFolder, "D:\\Kelbrin");
}

TEST_F(GlobalsTest, InstallationFolderDefaultsWhenKelbrinHomeIsUnsetOrEmpty)
{
    {
        orvant::test::ScopedEnv unset("KELBRIN_HOME", nullptr);
        EXPECT_EQ(Globals::ensureInstallationFolder(), "C:\\ORVANT");
    }
    Globals::reset();
    orvant::test::ScopedEnv empty("KELBRIN_HOME", std::string());
    EXPECT_EQ(Globals::ensureInstallationFolder(), "C:\\ORVANT");
}

TEST_F(GlobalsTest, UiServicesSilentUntilInstalled)
{
    EXPECT_EQ(Globals::ui().askYesNoCancel("Save?"), QuestionAnswer::Cancel);

    orvant::test::FakeUi fake;
    fake.answers.push_back(QuestionAnswer::Yes);
    Globals::setUi(&fake);
    Globals::ui().showMessage("hello", MessageIcon::Information);
    Globals::ui().beep();
    EXPECT_EQ(Globals::ui().askYesNoCancel("Save?"), QuestionAnswer::Yes);
    EXPECT_EQ(fake.messages, std::vector<std::string> { "hello" });
    EXPECT_EQ(fake.beeps, 1);

    Globals::setUi(nullptr);
    Globals::ui().showMessage("nowhere");
    EXPECT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(Globals::ui().askYesNoCancel("Save?"), QuestionAnswer::Cancel);
}

} // namespace
