#include "tests/config_tool/tarnctl/TarnctlRunner.h"

#include <algorithm>
#include <filesystem>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;

using TarnctlInstanceTest = TarnctlTest;

TEST_F(TarnctlInstanceTest, ListAndShowPrintTheDocumentedFormats)
{
    TarnctlRun result = runLoggedIn({ "list" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "0\tHarbell\tNo Card Reader\tSocket\t10000\n1\tHarbell_01\tDione xtreme\tSocket\t10001\n");

    result = runLoggedIn({ "show", "Harbell_01" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("Configuration=xml\nClassPath=C:\\ORVANT\\kelbrin-cps.jar\n", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("\nEnvironment=1\nCheckUpgrade=1\nAutoUpgrade=0\n"), std::string::npos);
    EXPECT_NE(result.out.find("\nReceiptPort=20001\n"), std::string::npos);
    EXPECT_NE(result.out.find("\nBackGroundColor=-2147483633\n"), std::string::npos);
    EXPECT_NE(result.out.find("\nReceiptDir=C:\\ORVANT\\INSTANCE_01\n"), std::string::npos);
    EXPECT_EQ(result.out.substr(result.out.find("\nPinPadPort=")),
              "\nPinPadPort=5001\nPinPad=Dione xtreme\nComPort=COM1\nReaderComPort=\n");
    // Every setting once, in the documented order.
    std::vector<std::string> names;
    for (std::size_t start = 0; start < result.out.size();) {
        const auto end = result.out.find('\n', start);
        const std::string line = result.out.substr(start, end - start);
        names.push_back(line.substr(0, line.find('=')));
        start = end == std::string::npos ? result.out.size() : end + 1;
    }
    const std::vector<std::string> expected {
        "Configuration",
        "ClassPath",
        "PropertiesDir",
        "HBLHost",
        "HBLPort",
        "DeleteTransAfterMin",
        "TransactionResultMandatory",
        "Environment",
        "CheckUpgrade",
        "AutoUpgrade",
        "AllowSplit",
        "ShowConfirmTxnScreen",
        "Timeout",
        "CheckCardTimeout",
        "SendReceipt",
        "ReceiptPort",
        "Debug",
        "ExtendedDebug",
        "FullScreen",
        "AlwaysOnTop",
        "PINByPass",
        "LogoFile",
        "CombiReader",
        "ReferralMode",
        "AskGratuity",
        "USACreditDebit",
        "InterfaceMethod",
        "Port",
        "InputDir",
        "OutputDir",
        "ReceiptDir",
        "ReceiptWidth",
        "Top",
        "Left",
        "WindowsSize",
        "FontName",
        "BackGroundColor",
        "Watermark",
        "UseAvsRules",
        "AvsDetailsMandatory",
        "AvsRuleIndex",
        "DisableCancel",
        "CardNoHashValue",
        "NextReceiptNumber",
        "PrintReceiptFlag",
        "IsVx670Printer",
        "Printer",
        "ExtendedPinMessage",
        "PinPadPort",
        "PinPad",
        "ComPort",
        "ReaderComPort",
    };
    EXPECT_EQ(names, expected);

    // Default, 0 and the base section name are the same instance; a window position stored in twips
    // is shown in pixels, as on a 1024 x 768 screen.
    writeConfiguration({ { "00", { { "PINByPass", "False" }, { "Top", "2000" }, { "Left", "200" } } } });
    for (const char* name : { "Default", "0", "Harbell", "default" }) {
        EXPECT_EQ(shown("Top", name), "133") << name;
        EXPECT_EQ(shown("Left", name), "200") << name;
    }
}

TEST_F(TarnctlInstanceTest, AddInstanceTwiceCreatesInstancesOneAfterTheOther)
{
    writeConfiguration({ { "00", { { "Environment", "1" }, { "PINByPass", "False" }, { "Timeout", "45" } } } });
    fs::remove_all(native("INSTANCE_01"));

    TarnctlRun result = runLoggedIn({ "add-instance" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1\tHarbell_01\tNo Card Reader\tSocket\t10001\n");
    result = runLoggedIn({ "add-instance" });
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "2\tHarbell_02\tNo Card Reader\tSocket\t10002\n");

    for (const char* nn : { "01", "02" }) {
        const std::string instance = std::string("INSTANCE_") + nn;
        EXPECT_TRUE(fs::is_directory(native(instance + "/logs"))) << nn;
        EXPECT_EQ(read(instance + "/conf/ORVANTTransactionLog.xml"), read("conf/ORVANTTransactionLogEmpty.xml"));
        EXPECT_EQ(read(std::string("bin/ReceiptPrinter_") + nn + ".exe"), "MZ receipt printer");
        EXPECT_NE(read(instance + "/properties/terminal.properties")
                      .find("\r\nproperties.directory=C:/ORVANT/" + instance + "/properties\r\n"),
                  std::string::npos);
    }
    // Saved as OK saves: the new instances are in the configuration with the base instance's timeout
    // and their own ports and folders, and the hash covers them.
    EXPECT_EQ(storedValue("Timeout", 2), "45");
    EXPECT_EQ(storedValue("Port", 2), "10002");
    EXPECT_EQ(storedValue("ReceiptDir", 2), "C:\\ORVANT\\INSTANCE_02");
    result = runLoggedIn({ "list" });
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 3);
    EXPECT_EQ(run({ "verify" }).status, 0);
}

TEST_F(TarnctlInstanceTest, AddInstanceThatCannotBeMadeExitsOneAndWritesNothing)
{
    fs::remove(native("bin/ReceiptPrinter.exe"));
    const auto before = installationFiles();
    const TarnctlRun result = runLoggedIn({ "add-instance" });
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("ReceiptPrinter.exe was not found"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(installationFiles(), before);
}

TEST_F(TarnctlInstanceTest, VerifyBeforeAndAfterAOneByteEdit)
{
    // No hash yet.
    TarnctlRun result = run({ "verify" });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "mismatch\n");

    ASSERT_EQ(runLoggedIn({ "apply" }).status, 0);
    // verify needs no password.
    result = run({ "verify" });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "match\n");
    EXPECT_EQ(result.err, "");

    std::string xml = configuration();
    const auto at = xml.find("<Timeout>30<");
    ASSERT_NE(at, std::string::npos);
    xml[at + 9] = '4';
    write("conf/ORVANTConfiguration.xml", xml);
    result = run({ "verify" });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "mismatch\n");
    EXPECT_NE(result.err.find("ConfigHash"), std::string::npos);

    // Saving again stamps the edited file.
    ASSERT_EQ(runLoggedIn({ "apply" }).status, 0);
    EXPECT_EQ(run({ "verify" }).out, "match\n");

    fs::remove(native("conf/ORVANTConfiguration.xml"));
    result = run({ "verify" });
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "mismatch\n");
}

TEST_F(TarnctlInstanceTest, ApplyTwiceAndShowFedBackToSetChangeNothing)
{
    ASSERT_EQ(runLoggedIn({ "apply" }).status, 0);
    const auto once = installationFiles();
    ASSERT_EQ(runLoggedIn({ "apply" }).status, 0);
    EXPECT_EQ(installationFiles(), once);

    // Every line show prints is a valid assignment that keeps the value, whatever the field rules.
    const TarnctlRun shownSettings = runLoggedIn({ "show", "1" });
    std::vector<std::string> arguments { "set", "1" };
    for (std::size_t start = 0; start < shownSettings.out.size();) {
        const auto end = shownSettings.out.find('\n', start);
        arguments.push_back(shownSettings.out.substr(start, end - start));
        start = end == std::string::npos ? shownSettings.out.size() : end + 1;
    }
    const TarnctlRun result = runLoggedIn(arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(installationFiles(), once);
}

} // namespace
} // namespace orvant::test
