#include "config_tool/provisioning/NewInstance.h"

#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/ConfigSession.h"
#include "tests/support/InstallationTest.h"

#include <functional>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;

class NewInstanceTest : public InstallationTest
{
public:
    void SetUp() override
    {
        copyData("new_instance");
        session.common.propertyDir = "C:\\ORVANT";
        session.instances.resize(3);
        auto& base = session.instances[0];
        base.timeout = "45";
        base.useAvsRules = true;
        base.backgroundColor = 255;
        base.WindowsSize = 80;
        base.watermarkImage = "C:\\ORVANT\\base_mark.jpg";
        session.instances[2].port = "10002";
    }

    tarn::NewInstanceResult add(int count = -1, const std::string& base = "C:\\ORVANT")
    {
        return tarn::createNewInstance(
            session.instances, count < 0 ? int(session.instances.size()) : count, base,
            [this](tarn::CInstanceData& r, std::int16_t n) { return session.loadInstanceData(r, n); });
    }

    // A refused attempt leaves the installation and the instance list as they were.
    void expectRefused(const std::string& message, const std::function<tarn::NewInstanceResult()>& attempt)
    {
        const auto before = snapshotTree(root());
        const std::size_t count = session.instances.size();
        const auto result = attempt();
        EXPECT_FALSE(result.created);
        EXPECT_EQ(result.message.substr(0, message.size()), message);
        EXPECT_TRUE(sameTree(before, snapshotTree(root())));
        EXPECT_EQ(session.instances.size(), count);
    }

    tarn::ConfigSession session;
};

TEST_F(NewInstanceTest, TheNextInstanceGetsItsSkeletonFromTheBaseInstanceAndItsOwnPorts)
{
    const auto before = snapshotTree(root());
    const auto result = add();
    ASSERT_TRUE(result.created) << result.message;
    EXPECT_EQ(result.number, 3);
    EXPECT_EQ(result.section, "Harbell_03");
    EXPECT_EQ(result.message, "");

    // Ordinary files only, no subfolder or hidden file; the appended line stands on its own.
    const auto created = changedFiles(before, snapshotTree(root()));
    const std::pair<const char*, const char*> copies[] = {
        { "INSTANCE_03/properties/language.properties", "properties/language.properties" },
        { "INSTANCE_03/properties/terminal.emv.properties", "properties/terminal.emv.properties" },
        { "INSTANCE_03/conf/ORVANTTransactionLogEmpty.xml", "conf/ORVANTTransactionLogEmpty.xml" },
        { "INSTANCE_03/conf/ORVANTTransactionLog.xml", "conf/ORVANTTransactionLogEmpty.xml" },
        { "bin/ReceiptPrinter_03.exe", "bin/ReceiptPrinter.exe" },
    };
    EXPECT_EQ(created.size(), std::size(copies) + 1);
    for (const auto& [copy, source] : copies) {
        EXPECT_EQ(created.at(copy), read(source)) << copy;
    }
    EXPECT_EQ(created.at("INSTANCE_03/properties/terminal.properties"),
              read("properties/terminal.properties")
                  + "\r\n\r\nproperties.directory=C:/ORVANT/INSTANCE_03/properties\r\n");
    EXPECT_TRUE(fs::is_empty(native("INSTANCE_03/logs")));

    ASSERT_EQ(session.instances.size(), 4u);
    const auto& added = session.instances[3];
    EXPECT_EQ(added.port + " " + added.receiptPort + " " + added.PinPadPort + " " + added.receiptDir,
              "10003 20003 5003 C:\\ORVANT\\INSTANCE_03");
    EXPECT_EQ(added.timeout + "|" + added.watermarkImage, "45|");
    EXPECT_TRUE(added.useAvsRules);
    EXPECT_EQ(added.backgroundColor, 255);
    EXPECT_EQ(added.WindowsSize, 80);
    EXPECT_EQ(added.pinpadProperties.getValue("properties.directory"), "C:/ORVANT/INSTANCE_03/properties");
    EXPECT_EQ(added.languageProperties.getValue("en.18"), "REFUND \xC2\xA3");
    EXPECT_EQ(session.instances[2].port, "10002");
}

TEST_F(NewInstanceTest, TheNinetyNinthIsTheLast)
{
    session.instances.resize(99);
    ASSERT_TRUE(add().created);
    EXPECT_TRUE(exists("INSTANCE_99/properties/terminal.properties"));
    EXPECT_TRUE(exists("bin/ReceiptPrinter_99.exe"));
    expectRefused("Instance 100 cannot be added: an installation holds at most 99 instances besides the base instance.",
                  [this] { return add(); });
}

// Each refusal: what is wrong before the attempt, the start of the message, and the attempt if not add().
struct Refusal
{
    std::function<void(NewInstanceTest&)> prepare;
    std::string message;
    std::function<tarn::NewInstanceResult(NewInstanceTest&)> attempt = [](auto& t) { return t.add(); };
};

std::vector<Refusal> refusals()
{
    const std::string cannot = "The new instance Harbell_03 cannot be created: ";
    const auto nothing = [](auto&) {};
    return {
        { [](auto& t) { fs::remove(t.native("bin/ReceiptPrinter.exe")); },
          cannot + "C:\\ORVANT\\bin\\ReceiptPrinter.exe was not found." },
        { [](auto& t) { fs::remove(t.native("conf/ORVANTTransactionLogEmpty.xml")); },
          cannot + "C:\\ORVANT\\conf\\ORVANTTransactionLogEmpty.xml was not found." },
        // The last step fails, also in a folder left by an earlier attempt: what this one created goes again.
        { [](auto& t) {
             t.write("INSTANCE_03/properties/notes.txt", "left by the operator");
             makeReadOnly(t.native("bin"));
         },
          cannot
              + "C:\\ORVANT\\bin\\ReceiptPrinter.exe could not be copied to C:\\ORVANT\\bin\\ReceiptPrinter_03.exe (" },
        { [](auto& t) {
             t.write("INSTANCE_03/conf/ORVANTTransactionLog.xml", "<TransactionLog><Txn/></TransactionLog>");
         },
          cannot
              + "the folder C:\\ORVANT\\INSTANCE_03 already exists and holds transaction or log files. Move it away "
                "and try again." },
        { [](auto& t) { t.write("INSTANCE_03/logs/20240101.txt", "started"); },
          cannot + "the folder C:\\ORVANT\\INSTANCE_03 already exists" },
        { [](auto& t) { t.write("INSTANCE_03", "not a folder"); },
          cannot + "C:\\ORVANT\\INSTANCE_03 exists and is not a folder." },
        { [](auto& t) {
             t.writeConfiguration({ { "03", pairs("PINByPass=False") } });
             tarn::XmlConfig::loadXmlConfig("C:\\ORVANT\\conf\\ORVANTConfiguration.xml");
         },
          cannot + "Harbell_03 is already in the configuration." },
        { nothing, cannot + "its property files in C:\\ORVANT\\INSTANCE_03\\properties could not be read.",
          [](auto& t) {
              return tarn::createNewInstance(t.session.instances, 3, "C:\\ORVANT", [](auto&, auto) { return false; });
          } },
        { nothing, "The new instance cannot be added: the Base Directory is empty.",
          [](auto& t) { return t.add(-1, ""); } },
        { nothing, "The new instance cannot be added: the instance list does not match the loaded instances.",
          [](auto& t) { return t.add(2); } },
    };
}

class NewInstanceRefusal : public NewInstanceTest, public ::testing::WithParamInterface<std::size_t>
{
};

TEST_P(NewInstanceRefusal, SaysWhyAndTouchesNothing)
{
    const auto cases = refusals();
    const Refusal& refusal = cases[GetParam()];
    SCOPED_TRACE(refusal.message);
    refusal.prepare(*this);
    expectRefused(refusal.message, [&] { return refusal.attempt(*this); });
}

INSTANTIATE_TEST_SUITE_P(Each, NewInstanceRefusal, ::testing::Range<std::size_t>(0, refusals().size()));

TEST_F(NewInstanceTest, AFolderLeftByAnUnsavedAttemptIsReused)
{
    ASSERT_TRUE(add().created);
    session.instances.resize(3); // the window was closed without saving
    write("INSTANCE_03/properties/notes.txt", "left by the operator");
    const auto result = add();
    ASSERT_TRUE(result.created) << result.message;
    EXPECT_EQ(read("INSTANCE_03/properties/notes.txt"), "left by the operator");
    EXPECT_EQ(session.instances.size(), 4u);
}

TEST_F(NewInstanceTest, CopyFolderReplacesFilesOfTheSameNameAndListsTheNewOnes)
{
    write("target/terminal.properties", "old");
    std::vector<std::string> newFiles;
    ASSERT_TRUE(tarn::copyFolder("C:\\ORVANT\\properties", "C:\\ORVANT\\target", &newFiles).ok);
    EXPECT_EQ(read("target/terminal.properties"), read("properties/terminal.properties"));
    EXPECT_EQ(newFiles,
              (std::vector<std::string> { "C:\\ORVANT\\target\\language.properties",
                                          "C:\\ORVANT\\target\\terminal.emv.properties" }));
    EXPECT_TRUE(tarn::copyFolder("C:\\ORVANT\\nowhere", "C:\\ORVANT\\target").ok);
}

} // namespace
} // namespace orvant::test
