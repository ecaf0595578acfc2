#include "config_tool/model/Checks.h"

#include "config_tool/model/InstanceFolders.h"
#include "tests/support/ProcessState.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tarn {
namespace {

using Messages = std::vector<std::string>;

// Records that differ everywhere, so that each case brings in only its own clash.
std::vector<CInstanceData> records(std::size_t count)
{
    std::vector<CInstanceData> list(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto n = std::to_string(i);
        list[i].receiptDir = list[i].inputDir = list[i].outputDir = "C:\\" + n;
        list[i].receiptPort = list[i].port = n;
    }
    return list;
}

TEST(Checks, EachUniquenessCheckRefusesAClashBetweenInstancesInItsScope)
{
    struct Case
    {
        const char* what;
        bool (*check)(const std::vector<CInstanceData>&);
        std::string CInstanceData::*field;
        std::string first, same, distinct; // same clashes with first, distinct does not
        void (*scope)(CInstanceData&, bool); // null: every record is in scope
    };
    const auto sending = [](CInstanceData& r, bool in) { r.sendReceipt = in; };
    const auto socket = [](CInstanceData& r, bool in) { r.interfaceMethod = in ? 0 : 1; };
    const auto files = [](CInstanceData& r, bool in) { r.interfaceMethod = in ? 1 : 0; };
    const Case cases[] = {
        { "Receipt Directory", checkReceiptDirUnique, &CInstanceData::receiptDir, "C:\\Re\xC3\xA7us\\Caf\xC3\xA9",
          "c:\\RE\xC3\x87US\\CAF\xC3\x89\\", "C:\\Re\xC3\xA7us\\Caf\xC3\xA9\\\\", nullptr },
        { "Receipt port", checkReceiptPortUnique, &CInstanceData::receiptPort, "20005", "20005", " 20005", sending },
        { "Interface port", checkInterfacePortUnique, &CInstanceData::port, "10005", "10005", "10005 ", socket },
        { "Input directory", checkInputDirUnique, &CInstanceData::inputDir, "C:\\In", "c:\\in\\", "C:\\In2", files },
        { "Output directory", checkOutputDirUnique, &CInstanceData::outputDir, "C:\\O", "C:\\O", "C:\\O\\\\", files }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        orvant::test::ProcessStateGuard process;
        const auto setScope = [&c](CInstanceData& record, bool in) { c.scope ? c.scope(record, in) : void(); };
        auto list = records(4);
        for (auto& record : list) {
            setScope(record, true);
        }
        list[1].*c.field = c.first;
        list[2].*c.field = c.distinct;
        EXPECT_TRUE(c.check(list));
        list[2].*c.field = c.same;
        setScope(list[2], false);
        EXPECT_EQ(c.check(list), c.scope != nullptr) << "out of scope";
        setScope(list[2], true);
        EXPECT_FALSE(c.check(list));
        const std::string refusal
            = std::string(c.what) + " for instance 1 is also used by instance 2. Please provide another value.";
        EXPECT_EQ(process.ui.messages, Messages(c.scope ? 1 : 2, refusal));
    }
}

TEST(Checks, PairsAreWalkedInOrderAndOnlyTheFirstClashIsShown)
{
    orvant::test::ProcessStateGuard process;
    auto list = records(13);
    list[12].receiptDir = list[1].receiptDir;
    list[3].receiptDir = list[0].receiptDir = list[2].receiptDir; // (0, 2) comes before (1, 12), which before (2, 3)
    EXPECT_FALSE(checkReceiptDirUnique(list));
    list[0].receiptDir = "C:\\0";
    EXPECT_FALSE(checkReceiptDirUnique(list));
    const std::string also = " is also used by instance ", another = ". Please provide another value.";
    EXPECT_EQ(process.ui.messages,
              (Messages { "Receipt Directory for default instance" + also + "2" + another,
                          "Receipt Directory for instance 1" + also + "12" + another }));
}

TEST(Checks, TheTimeoutIsANumberFromTenToNinety)
{
    orvant::test::ProcessStateGuard process;
    for (const char* text : { "10", "90.0", " 30.5 " }) {
        EXPECT_TRUE(checkCardTimetiout(text)) << text;
    }
    const Messages bad { "9", "91", "", "abc", "90.01", "9.99", "-30" };
    for (const auto& text : bad) {
        EXPECT_FALSE(checkCardTimetiout(text)) << text;
    }
    EXPECT_EQ(process.ui.messages,
              Messages(bad.size(),
                       "Enter Correct Card Inactivity Timeout between 10 to 90,Then "
                       "Press Ok (Do not press Apply Button)"));
}

// A Base Directory must exist and hold the folder of every instance but the base one; a file of that name is
// no folder.
TEST(Checks, ABaseDirectoryLacksTheInstanceFoldersItDoesNotHold)
{
    const orvant::test::TestFolder folder;
    std::filesystem::create_directories(folder.driveC() / "B/INSTANCE_02");
    folder.write("drive_c/B/INSTANCE_03", "not a folder");
    struct Case
    {
        std::string baseDirectory;
        std::int16_t lastInstance;
        std::string summary;
        std::string refusal;
    };
    const std::string create = " Create the instance folders there first, or keep the Base Directory.";
    const Case cases[] = {
        { "C:\\B", 0, "", "" },
        { "C:\\B", 2, "The folder C:\\B holds no INSTANCE_01.", "The folder C:\\B holds no INSTANCE_01." + create },
        { "c:\\b", 4, "The folder c:\\b holds no INSTANCE_01 (and 2 more).",
          "The folder c:\\b holds no INSTANCE_01, INSTANCE_03 or INSTANCE_04." + create },
        { "C:\\B\\INSTANCE_03", 0, "The folder C:\\B\\INSTANCE_03 does not exist.",
          "The folder C:\\B\\INSTANCE_03 does not exist." },
        { "", 0, "No Base Directory is given.", "No Base Directory is given." },
    };
    for (const auto& [baseDirectory, lastInstance, summary, refusal] : cases) {
        const MissingInstanceFolders missing = missingInstanceFolders(baseDirectory, lastInstance);
        EXPECT_EQ(missing.any(), !summary.empty()) << baseDirectory << " " << lastInstance;
        EXPECT_EQ(missingFoldersSummary(missing), summary);
        EXPECT_EQ(missingFoldersRefusal(missing), refusal);
    }
}

} // namespace
} // namespace tarn
