#include "config_tool/session/SaveSequences.h"
#include "platform/Registry.h"
#include "tests/config_tool/tarnctl/TarnctlRunner.h"

#include <filesystem>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;

using TarnctlSetTest = TarnctlTest;

// A REG_SZ value as the engine reads it from the registry.
std::string registryText(platform::Hive hive, const std::string& section, const std::string& name)
{
    platform::HKey key = nullptr;
    if (platform::regOpenKeyEx(hive, "SOFTWARE\\Kelbrin\\" + section, platform::kKeyQueryValue, &key)
        != platform::kErrorSuccess) {
        return "<no key>";
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::string value = "<no value>";
    if (platform::regQueryValueEx(key, name, &type, nullptr, &size) == platform::kErrorSuccess
        && type == platform::kRegSz) {
        std::string data(size, '\0');
        if (platform::regQueryValueEx(key, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size)
            == platform::kErrorSuccess) {
            data.resize(size);
            // The stored string ends with its terminating zero.
            while (!data.empty() && data.back() == '\0') {
                data.pop_back();
            }
            value = data;
        }
    }
    platform::regCloseKey(key);
    return value;
}

const char* const kTimeoutMessage
    = "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not press Apply Button)\n";

// The files the window's OK gives for the same edit: the operator picks the PIN pad on instance 1,
// which also sets the combined-reader box, and presses OK.
class PinPadAsTheWindowWrites : public TarnctlTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(PinPadAsTheWindowWrites, SetPinPadWritesWhatTheOkSequenceWrites)
{
    const bool xmlMode = GetParam();
    writeMode(xmlMode);
    const auto original = installationFiles();

    const TarnctlRun result = runLoggedIn({ "set", "1", "PinPad=Verifone Vx670", "PinPadPort=5005" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    const auto fromTarnctl = installationFiles();
    EXPECT_NE(read("INSTANCE_01/properties/terminal.properties").find("Verifone7816IPServerDriver"), std::string::npos);
    EXPECT_NE(read("INSTANCE_01/properties/terminal.properties").find("smartCardReader.IP.port=5005\r\n"),
              std::string::npos);

    // Back to the installation as it was, and the same edit through the core in this process.
    fs::remove_all(folder.driveC());
    fs::remove_all(folder.registryFolder());
    for (const auto& [name, bytes] : original) {
        if (name.rfind("registry/", 0) == 0) {
            folder.write("registry/" + name.substr(9), bytes);
        } else if (name.back() == '/') {
            fs::create_directories(folder.driveC() / name);
        } else {
            folder.write("drive_c/" + name, bytes);
        }
    }
    fs::create_directories(folder.registryFolder());
    ASSERT_EQ(installationFiles(), original);

    tarn::ConfigSession session;
    startUp(session);
    session.instances.at(1).pinpad = "Verifone Vx670";
    session.instances.at(1).combiReader = false;
    session.instances.at(1).PinPadPort = "5005";
    ASSERT_TRUE(tarn::runOkSequence(session));
    EXPECT_EQ(installationFiles(), fromTarnctl);
}

INSTANTIATE_TEST_SUITE_P(BothModes, PinPadAsTheWindowWrites, ::testing::Values(true, false));

TEST_F(TarnctlSetTest, UniquenessClashShowsTheWindowsMessageAndWritesNothing)
{
    const auto before = installationFiles();
    // Directories compare in upper case with one trailing backslash removed.
    const TarnctlRun result = runLoggedIn({ "set", "Harbell_01", "ReceiptDir=c:\\orvant\\" });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "Receipt Directory for default instance is also used by instance 1. Please provide another value.\n");
    EXPECT_EQ(installationFiles(), before);
}

TEST_F(TarnctlSetTest, TimeoutOutsideTheWindowsRangeIsRefusedBeforeAnythingIsWritten)
{
    const auto before = installationFiles();
    TarnctlRun result = runLoggedIn({ "set", "1", "Timeout=91" });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, kTimeoutMessage);
    EXPECT_EQ(installationFiles(), before);

    // A stored timeout the save would refuse stops every save, not only the edited instance's.
    writeConfiguration({ { "00", { { "Environment", "1" }, { "PINByPass", "False" }, { "Timeout", "5" } } },
                         { "01", { { "PINByPass", "False" }, { "ReceiptDir", "C:\\ORVANT\\INSTANCE_01" } } } });
    const auto stored = installationFiles();
    result = runLoggedIn({ "set", "1", "Timeout=45" });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, kTimeoutMessage);
    EXPECT_EQ(installationFiles(), stored);

    result = runLoggedIn({ "set", "Timeout=10" });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(storedValue("Timeout", 0), "10");
}

TEST_F(TarnctlSetTest, ValuesTheWindowWouldNotTakeAreRefusedWithTheReason)
{
    const auto before = installationFiles();
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals {
        { { "set", "1", "Timeout=4a" }, "Timeout: the value takes digits only" },
        { { "set", "Top=-5" }, "Top: the value takes digits only" },
        { { "set", "Environment=Office" }, "Environment: the value must be one of POS" },
        { { "set", "1", "PinPad=Ingenico 9000" }, "PinPad: the value must be one of the PIN pads" },
        { { "set", "1", "Environment=Hospitality", "PinPad=Sagem" },
          "PinPad cannot be changed: a Hospitality installation offers only No Card Reader, Dione secura" },
        { { "set", "1", "Port=10011", "InterfaceMethod=File" },
          "Port cannot be changed: the window disables it while InterfaceMethod is 1 (File)" },
        { { "set", "1", "AvsRuleIndex=3" },
          "AvsRuleIndex cannot be changed: the window keeps the AVS rule only while UseAvsRules is True" },
        { { "set", "1", "ReaderComPort=COM2" }, "ReaderComPort cannot be changed" },
        { { "set", "1", "PinPadPort=5009" }, "PinPadPort cannot be changed" },
        { { "set", "CheckUpgrade=False", "AutoUpgrade=True" }, "AutoUpgrade cannot be changed" },
        { { "set", "1", "ComPort=COM0" }, "ComPort: the value must be a COM port" },
        { { "set", "1", "LogoFile=C:\\a\nb.jpg" }, "LogoFile: the value must be one line" },
        { { "set", "1", "FontName=\xE2\x82\xAC\xE4\xB8\x80" }, "Windows-1252 cannot store" },
        { { "set", "1", "BackGroundColor=-1" }, "BackGroundColor: the value must be a colour" },
        { { "set", "NextReceiptNumber=57" }, "NextReceiptNumber: the value is kept by the engine" },
    };
    for (const auto& [arguments, message] : refusals) {
        const TarnctlRun result = runLoggedIn(arguments);
        EXPECT_EQ(result.status, 1) << arguments.back();
        EXPECT_NE(result.err.find(message), std::string::npos) << arguments.back() << ": " << result.err;
        EXPECT_EQ(installationFiles(), before) << arguments.back();
    }

    const std::vector<std::vector<std::string>> usage {
        { "set", "1", "Colour=Red" },          { "set", "1", "Timeout" }, { "set", "7", "Timeout=45" }, { "set", "1" },
        { "set", "Harbell_02", "Timeout=45" }, { "show", "Harbell_09" },
    };
    for (const auto& arguments : usage) {
        const TarnctlRun result = runLoggedIn(arguments);
        EXPECT_EQ(result.status, 2) << arguments.back();
        EXPECT_EQ(installationFiles(), before) << arguments.back();
    }
}

TEST_F(TarnctlSetTest, ChangedSettingsAreSavedWithTheWindowsRules)
{
    const TarnctlRun result = runLoggedIn({ "set", "1", "Timeout=45", "Debug=true", "WindowsSize=79",
                                            "InterfaceMethod=File", "InputDir=C:\\in", "OutputDir=C:\\out",
                                            "HBLHost=10.1.1.9", "PinPad=Trintech smart 5000", "ComPort=COM3" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(storedValue("Timeout", 1), "45");
    EXPECT_EQ(storedValue("Debug", 1), "True");
    EXPECT_EQ(storedValue("WindowsSize", 1), "100");
    EXPECT_EQ(storedValue("InterfaceMethod", 1), "1");
    EXPECT_EQ(storedValue("InputDir", 1), "C:\\in");
    EXPECT_EQ(storedValue("HBLHost", 0), "10.1.1.9");
    // The PIN pad's rule ticks the combined reader of the Trintech.
    EXPECT_EQ(storedValue("CombiReader", 1), "True");
    EXPECT_EQ(storedValue("Timeout", 0), "30");
    EXPECT_EQ(shown("PinPad", "1"), "Trintech smart 5000");
    EXPECT_EQ(shown("ComPort", "1"), "COM3");
    EXPECT_NE(read("INSTANCE_01/properties/terminal.properties").find("smartCardReader.port=COM3\r\n"),
              std::string::npos);

    // The size list keeps 80 to 100 and rounds halves to even, as it collects.
    ASSERT_EQ(runLoggedIn({ "set", "WindowsSize=85.5" }).status, 0);
    EXPECT_EQ(storedValue("WindowsSize", 0), "86");
}

TEST_F(TarnctlSetTest, EnvironmentAndUpgradeRulesFollowTheWindow)
{
    ASSERT_EQ(runLoggedIn({ "set", "1", "PinPad=Sagem", "ReaderComPort=COM2", "AskGratuity=True" }).status, 0);
    EXPECT_NE(read("INSTANCE_01/properties/terminal.properties").find("smartCardReader.port=COM1,COM2\r\n"),
              std::string::npos);

    // Kiosk: the shown instance's PIN pad goes back to "No Card Reader" and Ask Gratuity is cleared; the
    // environment is the installation's, so every instance is an unattended terminal now.
    TarnctlRun result = runLoggedIn({ "set", "1", "Environment=Kiosk" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(shown("PinPad", "1"), "No Card Reader");
    EXPECT_EQ(storedValue("AskGratuity", 1), "False");
    EXPECT_EQ(storedValue("Environment", 0), "4");
    EXPECT_EQ(storedValue("UPTTerminal", 0), "True");
    EXPECT_EQ(storedValue("UPTTerminal", 1), "True");

    // In a kiosk the referral modes are disabled; Auto Upgrade follows Check Upgrades.
    result = runLoggedIn({ "set", "ReferralMode=2" });
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("referral modes in a Kiosk installation"), std::string::npos);
    ASSERT_EQ(runLoggedIn({ "set", "CheckUpgrade=False" }).status, 0);
    EXPECT_EQ(storedValue("CheckUpgrade", 0), "0");
    EXPECT_EQ(storedValue("AutoUpgrade", 0), "0");
    ASSERT_EQ(runLoggedIn({ "set", "CheckUpgrade=True" }).status, 0);
    EXPECT_EQ(storedValue("AutoUpgrade", 0), "1");

    // Choosing the environment already chosen changes nothing else.
    ASSERT_EQ(runLoggedIn({ "set", "1", "Environment=POS", "PinPad=Dione xtreme" }).status, 0);
    ASSERT_EQ(runLoggedIn({ "set", "1", "Environment=1" }).status, 0);
    EXPECT_EQ(shown("PinPad", "1"), "Dione xtreme");
}

TEST_F(TarnctlSetTest, ConfigurationModeSwitchesTheStores)
{
    const TarnctlRun result = runLoggedIn({ "set", "Configuration=registry", "Timeout=40" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(read("properties/hbl.properties"), "Configuration=registry\r\n");
    EXPECT_EQ(storedValue("Timeout", 0), "40");
    for (const auto hive : { platform::Hive::CurrentUser, platform::Hive::LocalMachine }) {
        EXPECT_EQ(registryText(hive, "Harbell", "Timeout"), "40");
        EXPECT_EQ(registryText(hive, "Harbell_01", "Port"), "10001");
    }
    EXPECT_EQ(shown("Configuration"), "registry");
}

TEST_F(TarnctlSetTest, UnwritableConfigurationFileExitsFourWithTheMessage)
{
    const std::string before = configuration();
    fs::permissions(native("conf/ORVANTConfiguration.xml"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const TarnctlRun result = runLoggedIn({ "set", "1", "Timeout=45" });
    EXPECT_EQ(result.status, 4);
    EXPECT_NE(result.err.find("ORVANTConfiguration.xml"), std::string::npos) << result.err;
    EXPECT_EQ(configuration(), before);
}

} // namespace
} // namespace orvant::test
