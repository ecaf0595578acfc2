#include "config_tool/model/Checks.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/FakeUi.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using Messages = std::vector<std::string>;

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

    static std::string clash(const std::string& what, const std::string& first, const std::string& second)
    {
        return what + " for " + first + " is also used by " + second + ". Please provide another value.";
    }
};

TEST_F(ChecksTest, InstanceNames)
{
    EXPECT_EQ(getInstanceName(0), "default instance");
    EXPECT_EQ(getInstanceName(3), "instance 3");
    EXPECT_EQ(getInstanceName(12), "instance 12");
}

TEST_F(ChecksTest, EachCheckRefusesAClashBetweenInstancesInItsScope)
{
    struct Case
    {
        const char* what;
        bool (*check)(const std::vector<CInstanceData>&);
        std::string CInstanceData::*field;
        std::string first, second; // equal for the check although not the same text
        std::string distinct; // differs from first for the check
        void (*inScope)(CInstanceData&, bool); // null: every record is in scope
    };
    const auto sending = [](CInstanceData& r, bool in) { r.sendReceipt = in; };
    const auto socket = [](CInstanceData& r, bool in) { r.interfaceMethod = in ? 0 : 1; };
    const auto files = [](CInstanceData& r, bool in) { r.interfaceMethod = in ? 1 : 0; };
    const Case cases[] = {
        { "Receipt Directory", checkReceiptDirUnique, &CInstanceData::receiptDir, "C:\\Orvant\\Receipts",
          "c:\\ORVANT\\RECEIPTS\\", "C:\\Orvant\\Receipts\\\\", nullptr },
        { "Receipt port", checkReceiptPortUnique, &CInstanceData::receiptPort, "20005", "20005", " 20005", sending },
        { "Interface port", checkInterfacePortUnique, &CInstanceData::port, "10005", "10005", "10005 ", socket },
        { "Input directory", checkInputDirUnique, &CInstanceData::inputDir, "C:\\Exchange\\In", "c:\\exchange\\in\\",
          "C:\\Exchange\\In2", files },
        { "Output directory", checkOutputDirUnique, &CInstanceData::outputDir, "C:\\Exchange\\Out", "C:\\Exchange\\Out",
          "C:\\Exchange\\Out\\\\", files },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        auto list = records(4);
        const auto setScope = [&c](CInstanceData& record, bool in) {
            if (c.inScope != nullptr) {
                c.inScope(record, in);
            }
        };
        for (auto& record : list) {
            setScope(record, true);
        }
        EXPECT_TRUE(c.check(list));

        list[1].*c.field = c.first;
        list[2].*c.field = c.distinct;
        EXPECT_TRUE(c.check(list));
        list[2].*c.field = c.second;
        setScope(list[2], false);
        EXPECT_EQ(c.check(list), c.inScope != nullptr);
        setScope(list[2], true);
        EXPECT_FALSE(c.check(list));
        const Messages refusal { clash(c.what, "instance 1", "instance 2") };
        EXPECT_EQ(ui.messages, c.inScope == nullptr ? Messages(2, refusal[0]) : refusal);
    }
}

TEST_F(ChecksTest, AccentedLettersCompareWithoutCase)
{
    auto list = records(2);
    list[0].receiptDir = "C:\\Reçus\\Café";
    list[1].receiptDir = "C:\\REÇUS\\CAFÉ";
    EXPECT_FALSE(checkReceiptDirUnique(list));
    EXPECT_EQ(ui.messages, Messages { clash("Receipt Directory", "default instance", "instance 1") });
}

TEST_F(ChecksTest, PairsAreWalkedInOrderAndOnlyTheFirstClashIsShown)
{
    // Pairs (1,3) and (2,4) both clash: (1,3) comes first.
    auto list = records(5);
    list[3].receiptDir = list[1].receiptDir;
    list[4].receiptDir = list[2].receiptDir;
    EXPECT_FALSE(checkReceiptDirUnique(list));
    // (0,3) is reached before (1,2): i is the outer walk.
    list = records(4);
    list[3].receiptDir = list[0].receiptDir;
    list[2].receiptDir = list[1].receiptDir;
    EXPECT_FALSE(checkReceiptDirUnique(list));
    EXPECT_EQ(ui.messages,
              (Messages { clash("Receipt Directory", "instance 1", "instance 3"),
                          clash("Receipt Directory", "default instance", "instance 3") }));
}

TEST_F(ChecksTest, TimeoutAcceptsTenToNinety)
{
    for (const char* good : { "10", "90", "45", "10.5", "90.0", " 30 " }) {
        EXPECT_TRUE(checkCardTimetiout(good)) << good;
    }
    EXPECT_TRUE(ui.messages.empty());
    const Messages bad { "9", "91", "", "abc", "90.01", "9.99", "-30" };
    for (const auto& text : bad) {
        EXPECT_FALSE(checkCardTimetiout(text)) << text;
    }
    EXPECT_EQ(ui.messages,
              Messages(bad.size(),
                       "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press "
                       "Ok (Do not press Apply Button)"));
}

} // namespace
} // namespace tarn
