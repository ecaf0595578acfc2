#include "config_tool/engine_files/BaseProperties.h"

#include "config_tool/engine_files/DeviceProfiles.h"
#include "tests/support/InstallationTest.h"

#include <map>

namespace orvant::test {
namespace {

using tarn::CInstanceData;

class BasePropertiesTest : public InstallationTest
{
protected:
    tarn::FailedWrites failures;
};

TEST_F(BasePropertiesTest, MissingKeysAndMessagesAreFilledInAndPresentOnesKept)
{
    makeInstanceFolders(2);
    copyData("base_properties/hand_edited", "INSTANCE_02/properties");
    std::vector<CInstanceData> instances(3);
    instances[0].pinpad = "Ingenico 3300";
    instances[1].pinpad = "Verifone Vx810"; // has no default amount prompt
    instances[2].pinpad = "Dione secura UPT No MagStripe"; // always gets its flag
    instances[2].pinpadProperties.addKeyValue("stale", "in memory only");
    const auto before = snapshotTree(root());
    tarn::writeDefaultProperties(instances, "C:\\ORVANT", failures);
    EXPECT_TRUE(matchesDataTree(changedFiles(before, snapshotTree(root())), "base_properties/written"));
    EXPECT_TRUE(failures.empty());
    // The records keep the stores as written.
    EXPECT_EQ(instances[2].pinpadProperties.getValue("stale"), "ZZZ_NO_VALUE_ZZZ");
    EXPECT_EQ(instances[2].pinpadProperties.getValue("version"), "1.00");
    EXPECT_EQ(instances[0].languageProperties.getValue("en.18"), "REFUND \xC2\xA3");
}

TEST_F(BasePropertiesTest, AnEmptyAmountPromptGetsTheDefaultOfTheModel)
{
    // Models without a default here ("") get their prompt from the device profile.
    const std::map<std::string, std::string> prompts {
        { "Verifone sc5000", "\\\\sf\\\\nlAMOUNT #" },
        { "Verifone Vx670", "\\\\sf\\\\nlAMOUNT #" },
        { "Ingenico 3300", "AMOUNT #" },
        { "Verifone Vx810", "" },
        { "Dione secura UPT No MagStripe", "" },
        { "verifone vx670", "" },
    }; // the rest: "\\\\nlAMOUNT #"
    makeInstanceFolders(1);
    auto models = tarn::pinPadModelNames();
    models.push_back("verifone vx670");
    for (const auto& model : models) {
        write("INSTANCE_01/properties/language.properties", "en.01=\r\n");
        CInstanceData record;
        record.pinpad = model;
        tarn::writeLanguageProperties(record, 1, "C:\\ORVANT", failures);
        EXPECT_EQ(record.languageProperties.getValue("en.01"),
                  prompts.count(model) ? prompts.at(model) : "\\\\nlAMOUNT #")
            << model;
    }
}

TEST_F(BasePropertiesTest, ThePropertiesDirectoryFollowsTheFolderAsTyped)
{
    const ScopedEnv driveD("ORVANT_DRIVE_D", (folder.path() / "drive_d").string());
    std::filesystem::create_directories(folder.path() / "drive_d/Pay/ORVANT/INSTANCE_02/properties");
    CInstanceData record;
    tarn::writeBaseTerminalProperties(record, 2, "D:\\Pay\\ORVANT", failures);
    EXPECT_EQ(record.pinpadProperties.getValue("properties.directory"), "D:/Pay/ORVANT/INSTANCE_02/properties");
    EXPECT_TRUE(folder.exists("drive_d/Pay/ORVANT/INSTANCE_02/properties/terminal.properties"));
}

TEST_F(BasePropertiesTest, AnUnreadableFileOrAMissingFolderIsReportedAndLeftAlone)
{
    makeInstanceFolders(1);
    write("INSTANCE_01/properties/terminal.properties", "version=0.9\r\n");
    makeUnreadable(native("INSTANCE_01/properties/terminal.properties"));
    CInstanceData record;
    record.pinpadProperties.addKeyValue("version", "as loaded");
    tarn::writeBaseTerminalProperties(record, 1, "C:\\ORVANT", failures);
    tarn::writeLanguageProperties(record, 4, "C:\\ORVANT", failures);
    EXPECT_EQ(failures.files,
              (std::vector<std::string> { "C:\\ORVANT\\INSTANCE_01\\properties\\terminal.properties",
                                          "C:\\ORVANT\\INSTANCE_04\\properties\\language.properties" }));
    EXPECT_EQ(record.pinpadProperties.getValue("version"), "as loaded");
    EXPECT_FALSE(exists("INSTANCE_04"));
    std::filesystem::permissions(native("INSTANCE_01/properties/terminal.properties"),
                                 std::filesystem::perms::owner_read, std::filesystem::perm_options::add);
    EXPECT_EQ(read("INSTANCE_01/properties/terminal.properties"), "version=0.9\r\n");
}

} // namespace
} // namespace orvant::test
