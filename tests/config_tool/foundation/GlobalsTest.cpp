#include "config_tool/foundation/Globals.h"

#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace tarn;
using orvant::test::ScopedEnv;

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

TEST_F(GlobalsTest, InstallationFolderComesFromKelbrinHomeOnceOrDefaults)
{
    {
        ScopedEnv home("KELBRIN_HOME", std::string("D:\\Kelbrin"));
        EXPECT_EQ(Globals::ensureInstallationFolder(), "D:\\Kelbrin");
        ScopedEnv later("KELBRIN_HOME", std::string("E:\\Other"));
        EXPECT_EQ(Globals::ensureInstallationFolder(), "D:\\Kelbrin");
        EXPECT_EQ(Globals::state().installationFolder, "D:\\Kelbrin");
    }
    // Unset or empty.
    const std::string empty;
    for (const std::string* value : { static_cast<const std::string*>(nullptr), &empty }) {
        Globals::reset();
        ScopedEnv home("KELBRIN_HOME", value);
        EXPECT_EQ(Globals::ensureInstallationFolder(), "C:\\ORVANT");
    }
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
