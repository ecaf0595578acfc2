#include "config_tool/model/XmlConfig.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace XmlConfig = tarn::XmlConfig;

constexpr const char* kFile = "conf/ORVANTConfiguration.xml";

class XmlConfigValues : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tarn::Globals::reset();
        XmlConfig::reset();
        tarn::Globals::setUi(&ui);
        path = (folder.path() / kFile).string();
        tarn::Globals::state().xmlConfigurationPath = path;
    }

    void TearDown() override
    {
        XmlConfig::reset();
        tarn::Globals::setUi(nullptr);
        tarn::Globals::reset();
    }

    bool load(const std::string& bytes)
    {
        folder.write(kFile, bytes);
        return XmlConfig::loadXmlConfig(path);
    }

    std::string file() const { return folder.read(kFile); }

    void makeUnwritable(const fs::path& target) const
    {
        fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }

    orvant::test::TestFolder folder;
    orvant::test::FakeUi ui;
    std::string path;
};

const std::string kTwoInstances = R"(<?xml version="1.0" encoding="UTF-8"?>
<ORVANTConfiguration>
  <InstanceConfigurationList>
    <InstanceConfiguration>
      <InstanceId>00</InstanceId>
      <Timeout>45</Timeout>
    </InstanceConfiguration>
    <InstanceConfiguration>
      <InstanceId>1</InstanceId>
      <Timeout>60</Timeout>
      <PINByPass>True</PINByPass>
    </InstanceConfiguration>
  </InstanceConfigurationList>
</ORVANTConfiguration>
)";

TEST_F(XmlConfigValues, AFailedLoadShowsOneMessageThenGivesDefaultsAndWritesNothing)
{
    const std::vector<std::pair<std::string, std::string>> badFiles = {
        { "empty", "" },
        { "not XML", "Configuration=xml\r\n" },
        { "unclosed element", "<ORVANTConfiguration><InstanceConfigurationList></ORVANTConfiguration>" },
        { "two document elements", "<ORVANTConfiguration/><ORVANTConfiguration/>" },
        { "declaration after the element", "<ORVANTConfiguration/><?xml version=\"1.0\"?>" },
        { "mismatched end tag", "<ORVANTConfiguration><Timeout>45</Port></ORVANTConfiguration>" },
    };
    for (const auto& [what, bytes] : badFiles) {
        SCOPED_TRACE(what);
        ui.messages.clear();
        const long writes = XmlConfig::writeCount();

        EXPECT_FALSE(load(bytes));
        EXPECT_EQ(ui.messages, std::vector<std::string> { "Unable to load configuration from file " + path });
        EXPECT_FALSE(XmlConfig::isLoaded());
        EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "30"), "30");
        EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "30");
        EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "40"));
        EXPECT_EQ(file(), bytes);
        EXPECT_EQ(XmlConfig::writeCount(), writes);
        EXPECT_EQ(ui.messages.size(), 1u);
    }
}

TEST_F(XmlConfigValues, AMissingUnreadableOrUnnamedFileIsALoadFailure)
{
    const std::string stored = "C:\\ORVANT\\conf\\ORVANTConfiguration.xml";
    tarn::Globals::state().xmlConfigurationPath = stored;
    EXPECT_FALSE(XmlConfig::loadXmlConfig(stored));
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 0, "40"));
    EXPECT_FALSE(fs::exists(folder.driveC() / "ORVANT"));

    EXPECT_FALSE(XmlConfig::loadXmlConfig(""));

    folder.write(kFile, kTwoInstances);
    fs::permissions(folder.path() / kFile, fs::perms::all, fs::perm_options::remove);
    EXPECT_FALSE(XmlConfig::loadXmlConfig(path));

    EXPECT_EQ(ui.messages,
              (std::vector<std::string> {
                  "Unable to load configuration from file C:\\ORVANT\\conf\\ORVANTConfiguration.xml",
                  "Unable to load configuration from file ",
                  "Unable to load configuration from file " + path,
              }));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "30");
}

TEST_F(XmlConfigValues, AFailedReloadDropsTheEarlierDocument)
{
    ASSERT_TRUE(load(kTwoInstances));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "60");
    EXPECT_FALSE(load("<ORVANTConfiguration>"));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "30");
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "70"));
    EXPECT_EQ(file(), "<ORVANTConfiguration>");
}

TEST_F(XmlConfigValues, InstanceIdsAreComparedAsIntegersAndOthersAreSkipped)
{
    ASSERT_TRUE(load(R"(<ORVANTConfiguration><InstanceConfigurationList>
<InstanceConfiguration><InstanceId>1</InstanceId><Timeout>11</Timeout></InstanceConfiguration>
<InstanceConfiguration><InstanceId>02</InstanceId><Timeout>22</Timeout></InstanceConfiguration>
<InstanceConfiguration><InstanceId> 3 </InstanceId><Timeout>33</Timeout></InstanceConfiguration>
<InstanceConfiguration><InstanceId>4a</InstanceId><Timeout>44</Timeout></InstanceConfiguration>
<InstanceConfiguration><InstanceId></InstanceId><Timeout>0</Timeout></InstanceConfiguration>
<InstanceConfiguration><Timeout>55</Timeout></InstanceConfiguration>
<InstanceConfiguration><InstanceId>99999999999</InstanceId><Timeout>66</Timeout></InstanceConfiguration>
</InstanceConfigurationList></ORVANTConfiguration>)"));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "11");
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 2, "30"), "22");
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 3, "30"), "33");
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 4, "30"), "30");
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "30"), "30");
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 5, "30"), "30");
    EXPECT_FALSE(XmlConfig::findInstanceElement(4));
    EXPECT_EQ(XmlConfig::getChildText("Timeout", XmlConfig::findInstanceElement(2), ""), "22");
}

TEST_F(XmlConfigValues, TheLastElementOfAnInstanceNumberDecidesReadsAndWrites)
{
    const std::string original = R"(<ORVANTConfiguration>
<InstanceConfigurationList>
<InstanceConfiguration><InstanceId>01</InstanceId><Timeout>40</Timeout><Port>10001</Port></InstanceConfiguration>
<InstanceConfiguration><InstanceId>1</InstanceId><Timeout>50</Timeout></InstanceConfiguration>
</InstanceConfigurationList>
</ORVANTConfiguration>
)";
    ASSERT_TRUE(load(original));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "50");
    // The later element has no Port, so the earlier one's is not seen.
    EXPECT_EQ(XmlConfig::xmlGetValue("Port", 1, "10001x"), "10001x");

    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 1, "55"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Port", 1, "10101"));
    EXPECT_EQ(file(), R"(<ORVANTConfiguration>
<InstanceConfigurationList>
<InstanceConfiguration><InstanceId>01</InstanceId><Timeout>40</Timeout><Port>10001</Port></InstanceConfiguration>
<InstanceConfiguration><InstanceId>1</InstanceId><Timeout>55</Timeout><Port>10101</Port></InstanceConfiguration>
</InstanceConfigurationList>
</ORVANTConfiguration>
)");
    EXPECT_EQ(XmlConfig::xmlGetValue("Port", 1, ""), "10101");
}

TEST_F(XmlConfigValues, InstanceZeroReadsTheDocumentElementFirstUnlessItHoldsTheDefault)
{
    ASSERT_TRUE(load(R"(<ORVANTConfiguration>
  <Timeout>45</Timeout>
  <InstanceConfigurationList>
    <InstanceConfiguration>
      <InstanceId>00</InstanceId>
      <Timeout>60</Timeout>
      <Port>10000</Port>
    </InstanceConfiguration>
  </InstanceConfigurationList>
</ORVANTConfiguration>
)"));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "30"), "45");
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "45"), "60");
    EXPECT_EQ(XmlConfig::xmlGetValue("Port", 0, ""), "10000");
    EXPECT_EQ(XmlConfig::xmlGetValue("timeout", 0, "30"), "30");

    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 0, "50"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Port", 0, "10010"));
    EXPECT_EQ(file(), R"(<ORVANTConfiguration>
  <Timeout>50</Timeout>
  <InstanceConfigurationList>
    <InstanceConfiguration>
      <InstanceId>00</InstanceId>
      <Timeout>60</Timeout>
      <Port>10010</Port>
    </InstanceConfiguration>
  </InstanceConfigurationList>
</ORVANTConfiguration>
)");
}

TEST_F(XmlConfigValues, ANewInstanceIsAppendedToTheListAndFoundAfterwards)
{
    ASSERT_TRUE(load(kTwoInstances));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 3, "25"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("PINByPass", 3, "False"));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 3, "30"), "25");
    EXPECT_EQ(XmlConfig::xmlGetValue("InstanceId", 3, ""), "03");
    EXPECT_EQ(file(), R"(<?xml version="1.0" encoding="UTF-8"?>
<ORVANTConfiguration>
  <InstanceConfigurationList>
    <InstanceConfiguration>
      <InstanceId>00</InstanceId>
      <Timeout>45</Timeout>
    </InstanceConfiguration>
    <InstanceConfiguration>
      <InstanceId>1</InstanceId>
      <Timeout>60</Timeout>
      <PINByPass>True</PINByPass>
    </InstanceConfiguration>
    <InstanceConfiguration>
      <InstanceId>03</InstanceId>
      <Timeout>25</Timeout>
      <PINByPass>False</PINByPass>
    </InstanceConfiguration>
  </InstanceConfigurationList>
</ORVANTConfiguration>
)");
}

TEST_F(XmlConfigValues, TheFirstInstanceWriteCreatesAMissingList)
{
    ASSERT_TRUE(load("<ORVANTConfiguration>\n    <ClassPath>C:\\ORVANT\\kelbrin-cps.jar</ClassPath>\n"
                     "</ORVANTConfiguration>\n"));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "30");
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 1, "20"));
    EXPECT_EQ(file(), R"(<ORVANTConfiguration>
    <ClassPath>C:\ORVANT\kelbrin-cps.jar</ClassPath>
    <InstanceConfigurationList>
        <InstanceConfiguration>
            <InstanceId>01</InstanceId>
            <Timeout>20</Timeout>
        </InstanceConfiguration>
    </InstanceConfigurationList>
</ORVANTConfiguration>
)");
}

TEST_F(XmlConfigValues, AnInstanceZeroValueGoesToItsInstanceElementEvenWhenTheDocumentElementHasAnInstanceId)
{
    // The document element answers the InstanceId of instance 0 but is no instance element.
    ASSERT_TRUE(load("<ORVANTConfiguration><InstanceId>00</InstanceId></ORVANTConfiguration>"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 0, "35"));
    EXPECT_EQ(file(),
              "<ORVANTConfiguration><InstanceId>00</InstanceId><InstanceConfigurationList>"
              "<InstanceConfiguration><InstanceId>00</InstanceId><Timeout>35</Timeout>"
              "</InstanceConfiguration></InstanceConfigurationList></ORVANTConfiguration>");
}

TEST_F(XmlConfigValues, AnotherDocumentElementIsReadAsEmptyAndNeverGetsASecondOne)
{
    const std::string original = "<Configuration><Timeout>45</Timeout></Configuration>";
    ASSERT_TRUE(load(original));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "30"), "30");
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 0, "50"));
    EXPECT_FALSE(XmlConfig::ensureElementPath("ORVANTConfiguration/InstanceConfigurationList"));
    EXPECT_EQ(file(), original);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Unable to save configuration to file " + path + "\nIts document element is not ORVANTConfiguration.");
}

TEST_F(XmlConfigValues, NamesThatAreNoElementNamesAreRefused)
{
    ASSERT_TRUE(load(kTwoInstances));
    const long before = XmlConfig::writeCount();
    for (const std::string key : { "", "Time out", "1Timeout", "<Timeout>", "a/b" }) {
        EXPECT_FALSE(XmlConfig::xmlSetValue(key, 1, "x")) << key;
    }
    EXPECT_FALSE(XmlConfig::ensureElementPath("ORVANTConfiguration//InstanceConfigurationList"));
    EXPECT_FALSE(XmlConfig::ensureElementPath(""));
    EXPECT_EQ(file(), kTwoInstances);
    EXPECT_EQ(XmlConfig::writeCount(), before);
}

TEST_F(XmlConfigValues, EnsureElementPathFindsOrCreatesEachLevel)
{
    ASSERT_TRUE(load(kTwoInstances));
    const auto list = XmlConfig::ensureElementPath("ORVANTConfiguration/InstanceConfigurationList");
    EXPECT_EQ(list, XmlConfig::findInstanceElement(1).parent());

    const auto created = XmlConfig::ensureElementPath("ORVANTConfiguration/Upgrade/Options");
    ASSERT_TRUE(created);
    EXPECT_STREQ(created.name(), "Options");
    EXPECT_EQ(created.parent(), XmlConfig::findChildElement("Upgrade", list.parent()));
    EXPECT_EQ(XmlConfig::ensureElementPath("ORVANTConfiguration/Upgrade/Options"), created);
}

TEST_F(XmlConfigValues, EveryChangedValueRewritesTheFileOnce)
{
    ASSERT_TRUE(load(kTwoInstances));
    const long before = XmlConfig::writeCount();
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 1, "61"));
    EXPECT_EQ(XmlConfig::writeCount(), before + 1);
    EXPECT_NE(file().find("<Timeout>61</Timeout>"), std::string::npos);
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 7, "62"));
    EXPECT_EQ(XmlConfig::writeCount(), before + 2);
    EXPECT_NE(file().find("<Timeout>62</Timeout>"), std::string::npos);
}

TEST_F(XmlConfigValues, AReadOnlyFileIsReportedOncePerSaveAndKeptIntact)
{
    ASSERT_TRUE(load(kTwoInstances));
    makeUnwritable(folder.path() / kFile);
    const long before = XmlConfig::writeCount();

    XmlConfig::beginSave();
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "61"));
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 2, "62"));
    EXPECT_FALSE(XmlConfig::xmlSetValue("Port", 0, "10000"));
    EXPECT_FALSE(XmlConfig::endSave());

    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string expectedStart = "Unable to save configuration to file " + path + "\n";
    EXPECT_EQ(ui.messages[0].substr(0, expectedStart.size()), expectedStart);
    EXPECT_GT(ui.messages[0].size(), expectedStart.size()) << "the system's reason is missing";
    EXPECT_EQ(file(), kTwoInstances);
    EXPECT_EQ(XmlConfig::writeCount(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "conf"), fs::directory_iterator()), 1)
        << "a temporary file was left behind";

    // The next save reports again; outside a save every failure is reported.
    XmlConfig::beginSave();
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "63"));
    EXPECT_FALSE(XmlConfig::endSave());
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "64"));
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "65"));
    EXPECT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(file(), kTwoInstances);
}

TEST_F(XmlConfigValues, ASaveWithoutFailuresEndsWell)
{
    ASSERT_TRUE(load(kTwoInstances));
    XmlConfig::beginSave();
    EXPECT_TRUE(XmlConfig::xmlSetValue("Timeout", 1, "61"));
    EXPECT_TRUE(XmlConfig::endSave());

    makeUnwritable(folder.path() / "conf");
    XmlConfig::beginSave();
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "62"));
    EXPECT_FALSE(XmlConfig::endSave());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(file().find("<Timeout>61</Timeout>"), std::string::npos);
}

} // namespace
