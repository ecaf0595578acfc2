#include "config_tool/model/Checks.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/FakeUi.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

const char* const kTimeoutMessage
    = "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not press Apply Button)";

class ChecksTest : public ::testing::Test
{
protected:
    orvant::test::FakeUi ui;

    void SetUp() override { Globals::setUi(&ui); }
    void TearDown() override { Globals::setUi(nullptr); }

    // Records with distinct values everywhere, so that each test introduces only the clash it is about.
    static std::vector<CInstanceData> records(std::size_t count)
    {
        std::vector<CInstanceData> list(count);
        for (std::size_t i = 0; i < count; ++i) {
            const auto n = std::to_string(i);
            list[i].receiptDir = "C:\\ORVANT\\R" + n;
            list[i].receiptPort = "200" + n;
            list[i].port = "100" + n;
            list[i].inputDir = "C:\\IN" + n;
            list[i].outputDir = "C:\\OUT" + n;
        }
        return list;
    }
};

TEST_F(ChecksTest, InstanceNames)
{
    EXPECT_EQ(getInstanceName(0), "default instance");
    EXPECT_EQ(getInstanceName(3), "instance 3");
    EXPECT_EQ(getInstanceName(12), "instance 12");
}

TEST_F(ChecksTest, DistinctValuesPassEveryCheck)
{
    auto list = records(4);
    list[1].sendReceipt = list[2].sendReceipt = true;
    list[3].interfaceMethod = list[2].interfaceMethod = 1;
    EXPECT_TRUE(checkReceiptDirUnique(list));
    EXPECT_TRUE(checkReceiptPortUnique(list));
    EXPECT_TRUE(checkInterfacePortUnique(list));
    EXPECT_TRUE(checkInputDirUnique(list));
    EXPECT_TRUE(checkOutputDirUnique(list));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ChecksTest, ReceiptDirectoriesIgnoreCaseAndOneTrailingBackslash)
{
    auto list = records(3);
    list[1].receiptDir = "C:\\Orvant\\Receipts";
    list[2].receiptDir = "c:\\ORVANT\\RECEIPTS\\";
    EXPECT_FALSE(checkReceiptDirUnique(list));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Receipt Directory for instance 1 is also used by instance 2. Please provide another value.");
}

TEST_F(ChecksTest, OnlyOneTrailingBackslashIsRemoved)
{
    auto list = records(3);
    list[1].receiptDir = "C:\\Receipts\\\\";
    list[2].receiptDir = "C:\\Receipts";
    EXPECT_TRUE(checkReceiptDirUnique(list));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ChecksTest, AccentedLettersCompareWithoutCase)
{
    auto list = records(2);
    list[0].receiptDir = "C:\\Reçus\\Café";
    list[1].receiptDir = "C:\\REÇUS\\CAFÉ";
    EXPECT_FALSE(checkReceiptDirUnique(list));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Receipt Directory for default instance is also used by instance 1. Please provide another value.");
}

TEST_F(ChecksTest, PairsAreWalkedInOrderAndOnlyTheFirstClashIsShown)
{
    // Pairs (1,3) and (2,4) both clash: (1,3) comes first.
    auto list = records(5);
    list[3].receiptDir = list[1].receiptDir;
    list[4].receiptDir = list[2].receiptDir;
    EXPECT_FALSE(checkReceiptDirUnique(list));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Receipt Directory for instance 1 is also used by instance 3. Please provide another value.");

    // (0,3) is reached before (1,2): i is the outer walk.
    ui.messages.clear();
    list = records(4);
    list[3].receiptDir = list[0].receiptDir;
    list[2].receiptDir = list[1].receiptDir;
    EXPECT_FALSE(checkReceiptDirUnique(list));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Receipt Directory for default instance is also used by instance 3. Please provide another value.");
}

TEST_F(ChecksTest, ReceiptPortsClashOnlyWhenBothSendReceipts)
{
    auto list = records(3);
    list[2].receiptPort = list[1].receiptPort;
    list[1].sendReceipt = true;
    EXPECT_TRUE(checkReceiptPortUnique(list));

    list[2].sendReceipt = true;
    EXPECT_FALSE(checkReceiptPortUnique(list));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Receipt port for instance 1 is also used by instance 2. Please provide another value.");

    // Ports compare as text.
    ui.messages.clear();
    list[2].receiptPort = " " + list[1].receiptPort;
    EXPECT_TRUE(checkReceiptPortUnique(list));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ChecksTest, InterfacePortsClashOnlyBetweenSocketInstances)
{
    auto list = records(3);
    list[2].port = list[0].port;
    list[2].interfaceMethod = 1;
    EXPECT_TRUE(checkInterfacePortUnique(list));

    list[2].interfaceMethod = 0;
    EXPECT_FALSE(checkInterfacePortUnique(list));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Interface port for default instance is also used by instance 2. Please provide another value.");
}

TEST_F(ChecksTest, FileFoldersClashOnlyBetweenFileInstances)
{
    auto list = records(3);
    list[1].inputDir = "C:\\Exchange\\In";
    list[2].inputDir = "c:\\exchange\\in\\";
    list[1].outputDir = "C:\\Exchange\\Out";
    list[2].outputDir = "C:\\Exchange\\Out";
    list[1].interfaceMethod = 1;
    EXPECT_TRUE(checkInputDirUnique(list));
    EXPECT_TRUE(checkOutputDirUnique(list));

    list[2].interfaceMethod = 1;
    EXPECT_FALSE(checkInputDirUnique(list));
    EXPECT_FALSE(checkOutputDirUnique(list));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0],
              "Input directory for instance 1 is also used by instance 2. Please provide another value.");
    EXPECT_EQ(ui.messages[1],
              "Output directory for instance 1 is also used by instance 2. Please provide another value.");
}

TEST_F(ChecksTest, TimeoutAcceptsTenToNinety)
{
    for (const char* good : { "10", "90", "45", "10.5", "90.0", " 30 " }) {
        EXPECT_TRUE(checkCardTimetiout(good)) << good;
    }
    EXPECT_TRUE(ui.messages.empty());

    const std::vector<std::string> bad { "9", "91", "", "abc", "90.01", "9.99", "-30" };
    for (const auto& text : bad) {
        EXPECT_FALSE(checkCardTimetiout(text)) << text;
    }
    ASSERT_EQ(ui.messages.size(), bad.size());
    for (const auto& message : ui.messages) {
        EXPECT_EQ(message, kTimeoutMessage);
    }
}

} // namespace
} // namespace tarn
