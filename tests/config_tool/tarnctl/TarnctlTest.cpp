#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/CProperties.h"
#include "config_tool/tarnctl/CommandTable.h"
#include "config_tool/tarnctl/SettingTable.h"
#include "tests/config_tool/tarnctl/TarnctlRunner.h"
#include "tests/support/RegistryProbe.h"

#include <gmock/gmock.h>

namespace orvant::test {
namespace {

TEST_F(TarnctlTest, HelpAndUsageErrors)
{
    // The help is made from the tables of commands and settings: each has its line.
    const TarnctlRun help = runTarnctl({ "--help" }, "");
    EXPECT_EQ(help.status, 0);
    for (const auto& command : tarn::ctl::commandTable()) {
        EXPECT_THAT(help.out, ::testing::HasSubstr("\n  " + std::string(command.name) + " ")) << command.name;
    }
    for (const auto& setting : tarn::ctl::allSettings()) {
        const std::string line = "\n  " + std::string(setting.name);
        EXPECT_THAT(help.out, ::testing::AnyOf(::testing::HasSubstr(line + " "), ::testing::HasSubstr(line + "\n")))
            << setting.name;
    }
    const TarnctlRun version = runTarnctl({ "--version" }, "");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tarnctl (ORVANT set-up) " ORVANT_PRODUCT_VERSION "\n");

    const auto before = installation.snapshot();
    const std::vector<std::vector<std::string>> lines { {},
                                                        { "frobnicate" },
                                                        { "--verbose", "list" },
                                                        { "--password-stdin", "show", "Harbell_09" },
                                                        { "--password-stdin", "set", "1", "Colour=Red" },
                                                        { "--json", "--password-stdin", "set", "Timeout=45" },
                                                        { "--changed-exit", "5", "--password-stdin", "apply" } };
    for (const auto& line : lines) {
        const TarnctlRun result = run(line);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
    EXPECT_TRUE(sameTree(before, installation.snapshot()));
}

TEST_F(TarnctlTest, WrongPasswordExitsThreeAndWritesNothing)
{
    const auto before = installation.snapshot();
    const TarnctlRun result = runTarnctl({ "--password-stdin", "set", "Timeout=45" }, "Secret12\n");
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "Incorrect Password\n");
    EXPECT_TRUE(sameTree(before, installation.snapshot()));
}

TEST_F(TarnctlTest, ListAndShowPrintTheirDocumentedFormats)
{
    const TarnctlRun list = run({ "--password-stdin", "list" });
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_TRUE(matchesDataFile(list.out, "tarnctl/list.txt"));
    const TarnctlRun show = run({ "--password-stdin", "show", "Harbell_01" });
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_TRUE(matchesDataFile(show.out, "tarnctl/show-Harbell_01.txt"));
}

TEST_F(TarnctlTest, SetAppliesTheFieldRulesAndSavesOrRefusesAndWritesNothing)
{
    const auto before = installation.snapshot();
    TarnctlRun result = run({ "--password-stdin", "set", "1", "Port=10011", "InterfaceMethod=File" });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "tarnctl: Port cannot be changed: the window disables it while InterfaceMethod is 1 (File)\n");
    EXPECT_TRUE(sameTree(before, installation.snapshot()));

    result = run({ "--password-stdin", "set", "1", "PinPad=Trintech smart 5000", "Timeout=45" });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(installation.storedValue("CombiReader", 1), "True") << "the Trintech has a combined reader";
    EXPECT_EQ(installation.storedValue("Timeout", 1), "45");
}

TEST_F(TarnctlTest, APropertiesDirThatDoesNotHoldTheInstanceFoldersIsRefusedAndWritesNothing)
{
    const auto moved = folder.driveC() / "ORVANT2";
    writeFile(moved / "properties/terminal.properties", "hand.made=1\r\n");
    const auto before = installation.snapshot();
    const std::pair<const char*, const char*> refused[] = {
        { "true", "The folder true does not exist.\n" },
        { "C:\\ORVANT2",
          "The folder C:\\ORVANT2 holds no INSTANCE_01. Create the instance folders there first, or keep the Base "
          "Directory.\n" },
    };
    for (const auto& [value, message] : refused) {
        const TarnctlRun result = run({ "--password-stdin", "set", std::string("PropertiesDir=") + value });
        EXPECT_EQ(result.status, 1) << value;
        EXPECT_EQ(result.err, message);
        EXPECT_TRUE(sameTree(before, installation.snapshot())) << value;
    }
    std::filesystem::create_directories(moved / "INSTANCE_01/properties");
    const TarnctlRun moving = run({ "--password-stdin", "set", "PropertiesDir=C:\\ORVANT2" });
    EXPECT_EQ(moving.status, 0) << moving.err;
    EXPECT_EQ(installation.storedValue("PropertiesDir", 0), "C:\\ORVANT2");
}

TEST_F(TarnctlTest, VerifyAnswersMatchAfterASaveAndMismatchAfterAnEdit)
{
    EXPECT_EQ(run({ "--password-stdin", "apply" }).status, 0);
    TarnctlRun result = runTarnctl({ "verify" }, "");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "match\n");

    std::string xml = installation.configuration();
    xml.replace(xml.find("<Timeout>30<"), 12, "<Timeout>40<");
    installation.write("conf/ORVANTConfiguration.xml", xml);
    result = runTarnctl({ "verify" }, "");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "mismatch\n");
}

// A hash the full hash file cannot take is a failed write, not a save.
TEST_F(TarnctlTest, ApplyExitsFourWhenAFullFileCannotTakeTheHash)
{
    std::string full;
    for (int i = 0; i < tarn::CProperties::kMaxEntries; ++i) {
        full += "key" + std::to_string(i) + "=x\r\n";
    }
    installation.write("properties/instance.properties", full);
    const TarnctlRun result = run({ "--password-stdin", "apply" });
    EXPECT_EQ(result.status, 4);
    EXPECT_NE(result.err.find("These files could not be written:\nC:\\ORVANT\\properties\\instance.properties\n"),
              std::string::npos)
        << result.err;
}

// A configuration file that is not well-formed is refused, and a save writes nothing over it or from the
// defaults shown instead, in either mode; only a registry-mode installation may have no file at all.
TEST_F(TarnctlTest, AConfigurationFileThatIsNotWellFormedIsRefusedAndNothingIsSaved)
{
    installation.write("conf/ORVANTConfiguration.xml",
                       dataFile("fuzz/fuzz_xml_config/configuration-unreadable-after-save.xml"));
    const std::string refused = "Unable to load configuration from file C:\\ORVANT\\conf\\ORVANTConfiguration.xml\n";
    const TarnctlRun show = run({ "--password-stdin", "show" });
    EXPECT_EQ(show.err, refused);
    const std::vector<std::string> saves[]
        = { { "--password-stdin", "set", "Timeout=45" }, { "--password-stdin", "--dry-run", "set", "Timeout=45" } };
    for (const bool xmlMode : { true, false }) {
        installation.writeMode(xmlMode);
        const auto before = installation.snapshot();
        for (const auto& line : saves) {
            const TarnctlRun set = run(line);
            EXPECT_EQ(set.status, 4) << xmlMode << line[1];
            EXPECT_EQ(set.out, "") << xmlMode << line[1];
            EXPECT_EQ(set.err, refused) << xmlMode << line[1];
        }
        EXPECT_TRUE(sameTree(before, installation.snapshot())) << xmlMode;
    }

    std::filesystem::remove(installation.native("conf/ORVANTConfiguration.xml"));
    const TarnctlRun set = run(saves[0]);
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_THAT(readRegistryValue(platform::Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell", "Timeout"),
                testing::Optional(testing::Field(&RegistryValue::bytes, "45")));
}

TEST_F(TarnctlTest, AddInstancePrintsTheNewInstanceItSaved)
{
    const TarnctlRun result = run({ "--password-stdin", "add-instance" });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "2\tHarbell_02\tNo Card Reader\tSocket\t10002\n");
    EXPECT_EQ(installation.storedValue("Port", 2), "10002");
}

TEST_F(TarnctlTest, PasswdReplacesThePasswordOrExitsFourWhenTheFileCannotBeWritten)
{
    makeReadOnly(installation.native("properties/configuser.properties"));
    TarnctlRun result = run({ "--password-stdin", "passwd" }, "new-password\n");
    EXPECT_EQ(result.status, 4);
    EXPECT_EQ(result.err, "Login Information has not been updated ! \n");

    std::filesystem::permissions(installation.native("properties/configuser.properties"),
                                 std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    result = run({ "--password-stdin", "passwd" }, "new-password\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(installation.read("properties/configuser.properties"),
              "Administrator=" + tarn::UserManagement::passwordHash("new-password") + "\r\n");
}

} // namespace
} // namespace orvant::test
