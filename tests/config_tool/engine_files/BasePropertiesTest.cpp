#include "config_tool/engine_files/BaseProperties.h"

#include "tests/support/InstallationTest.h"

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
