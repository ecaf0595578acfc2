// The window and tarnctl, given the same edits, leave the same installation behind: every file, both
// registry hives and the hash in properties\instance.properties, byte for byte. Only the trace of the
// saves (backups and the audit log) tells them apart.
#include "tests/config_tool/tarnctl/TarnctlRunner.h"
#include "tests/gui/WindowTesting.h"

namespace orvant::test {
namespace {

// An installation of the base instance and instances 1 and 2, saved once before, with COM1 and COM2 and
// the files Add New copies, in the mode the test names (true: xml), on a machine with printers but none
// chosen as the default: where the window would give a new instance the default printer, tarnctl, which
// asks no window system, gives it none.
class ParityTest : public MainWindowTest, public ::testing::WithParamInterface<bool>
{
protected:
    ParityTest()
    {
        services.defaultPrinter.clear();
        auto stored = Installation::numberedInstances(2);
        for (auto& instance : stored) {
            instance.values.emplace_back("Printer", "Receipt Printer");
        }
        installation.writeConfiguration(stored);
        installation.writeMode(GetParam());
        installation.write("properties/terminal.properties",
                           "smartCardReader.class=sts.drivers.cardholder.Verifone\r\n");
        const TarnctlRun applied
            = runTarnctl({ "--password-stdin", "apply" }, std::string(Installation::kPassword) + "\n");
        EXPECT_EQ(applied.status, 0) << applied.err;
    }

    // The operator's edits, then OK.
    void editInTheWindow()
    {
        open();
        click("btAddNew");
        type("txtTimeout", "60");
        pick("cboInstance", "Default");
        pick("cboEnvironment", "Petrol Station");
        type("txtHBLHost", "10.0.0.9");
        pick("cboInstance", "Harbell_01");
        type("txtTimeout", "45");
        pick("cmbPinPad", "Sagem");
        pick("cmbComPort", "COM1");
        pick("cmbReader", "COM2");
        type("cboWindowsSize", "90");
        click("cbDebug");
        click("optInterfaceMethod_1");
        type("txtInputDir", "C:\\ORVANT\\in");
        click("btOk");
        EXPECT_EQ(ui.takeMessages(), "");
        EXPECT_TRUE(ui.questions.empty());
    }

    // The same edits from a script.
    void editWithTarnctl() const
    {
        const std::string password = std::string(Installation::kPassword) + "\n";
        const TarnctlRun added = runTarnctl({ "--password-stdin", "add-instance" }, password);
        EXPECT_EQ(added.status, 0) << added.err;
        const TarnctlRun setNew = runTarnctl({ "--password-stdin", "set", "3", "Timeout=60" }, password);
        EXPECT_EQ(setNew.status, 0) << setNew.err;
        const TarnctlRun setDefault
            = runTarnctl({ "--password-stdin", "set", "Environment=Petrol Station", "HBLHost=10.0.0.9" }, password);
        EXPECT_EQ(setDefault.status, 0) << setDefault.err;
        const TarnctlRun set = runTarnctl({ "--password-stdin", "set", "1", "Timeout=45", "PinPad=Sagem",
                                            "ComPort=COM1", "ReaderComPort=COM2", "WindowsSize=90", "Debug=True",
                                            "InterfaceMethod=File", "InputDir=C:\\ORVANT\\in" },
                                          password);
        EXPECT_EQ(set.status, 0) << set.err;
    }
};

TEST_P(ParityTest, TheWindowAndTarnctlWriteTheSameForTheSameEdits)
{
    const TreeSnapshot before = installation.snapshot();
    editInTheWindow();
    const TreeSnapshot byWindow = installation.snapshot();
    ASSERT_FALSE(sameTree(before, byWindow)) << "the window saved nothing";

    installation.restore(before);
    ASSERT_TRUE(sameTree(before, installation.snapshot()));
    editWithTarnctl();
    EXPECT_TRUE(sameTree(byWindow, installation.snapshot()));
}

INSTANTIATE_TEST_SUITE_P(BothModes, ParityTest, ::testing::Values(true, false),
                         [](const auto& mode) { return mode.param ? "Xml" : "Registry"; });

} // namespace
} // namespace orvant::test
