#include "config_tool/model/XmlConfig.h"

#include "tests/config_tool/model/ModelTesting.h"

#include <filesystem>
#include <iterator>
#include <pugixml.hpp>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
namespace XmlConfig = tarn::XmlConfig;
using XmlConfigValues = XmlDocumentTest;

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
        EXPECT_FALSE(XmlConfig::isLoaded());
        EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "30"), "30");
        EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "30");
        EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "40"));
        EXPECT_EQ(file(), bytes);
        EXPECT_EQ(XmlConfig::writeCount(), writes);
        EXPECT_EQ(ui.messages, Messages { "Unable to load configuration from file " + path });
    }

    // A failed reload drops the earlier document.
    ASSERT_TRUE(load(kTwoInstances));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "60");
    EXPECT_FALSE(load("<ORVANTConfiguration>"));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "30");
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "70"));
    EXPECT_EQ(file(), "<ORVANTConfiguration>");
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
    removePermissions(folder.path() / kFile, fs::perms::all);
    EXPECT_FALSE(XmlConfig::loadXmlConfig(path));

    EXPECT_EQ(ui.messages,
              (Messages { "Unable to load configuration from file " + stored, "Unable to load configuration from file ",
                          "Unable to load configuration from file " + path }));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "30");
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
    const char* const expected[] = { "30", "11", "22", "33", "30", "30" };
    for (int n = 0; n < 6; ++n) {
        EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", n, "30"), expected[n]) << n;
    }
    EXPECT_FALSE(XmlConfig::findInstanceElement(4));
    EXPECT_EQ(XmlConfig::getChildText("Timeout", XmlConfig::findInstanceElement(2), ""), "22");
}

TEST_F(XmlConfigValues, TheLastElementOfAnInstanceNumberDecidesReadsAndWrites)
{
    const std::string head = "<ORVANTConfiguration>\n<InstanceConfigurationList>\n<InstanceConfiguration><InstanceId>01"
                             "</InstanceId><Timeout>40</Timeout><Port>10001</Port></InstanceConfiguration>\n";
    const std::string tail = "</InstanceConfigurationList>\n</ORVANTConfiguration>\n";
    ASSERT_TRUE(load(head
                     + "<InstanceConfiguration><InstanceId>1</InstanceId><Timeout>50</Timeout>"
                       "</InstanceConfiguration>\n"
                     + tail));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "50");
    // The later element has no Port, so the earlier one's is not seen.
    EXPECT_EQ(XmlConfig::xmlGetValue("Port", 1, "10001x"), "10001x");

    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 1, "55"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Port", 1, "10101"));
    EXPECT_EQ(file(),
              head
                  + "<InstanceConfiguration><InstanceId>1</InstanceId><Timeout>55</Timeout><Port>10101</Port>"
                    "</InstanceConfiguration>\n"
                  + tail);
    EXPECT_EQ(XmlConfig::xmlGetValue("Port", 1, ""), "10101");
}

TEST_F(XmlConfigValues, InstanceZeroReadsTheDocumentElementFirstUnlessItHoldsTheDefault)
{
    const std::string original = R"(<ORVANTConfiguration>
  <Timeout>45</Timeout>
  <InstanceConfigurationList>
    <InstanceConfiguration>
      <InstanceId>00</InstanceId>
      <Timeout>60</Timeout>
      <Port>10000</Port>
    </InstanceConfiguration>
  </InstanceConfigurationList>
</ORVANTConfiguration>
)";
    ASSERT_TRUE(load(original));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "30"), "45");
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "45"), "60");
    EXPECT_EQ(XmlConfig::xmlGetValue("Port", 0, ""), "10000");
    EXPECT_EQ(XmlConfig::xmlGetValue("timeout", 0, "30"), "30");

    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 0, "50"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Port", 0, "10010"));
    EXPECT_EQ(file(), replaced(replaced(original, "<Timeout>45", "<Timeout>50"), "10000", "10010"));

    // The document element answers the InstanceId of instance 0 but is no instance element.
    ASSERT_TRUE(load("<ORVANTConfiguration><InstanceId>00</InstanceId></ORVANTConfiguration>"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 0, "35"));
    EXPECT_EQ(file(),
              "<ORVANTConfiguration><InstanceId>00</InstanceId><InstanceConfigurationList>"
              "<InstanceConfiguration><InstanceId>00</InstanceId><Timeout>35</Timeout>"
              "</InstanceConfiguration></InstanceConfigurationList></ORVANTConfiguration>");
}

TEST_F(XmlConfigValues, ANewInstanceIsAppendedToTheListAndFoundAfterwards)
{
    ASSERT_TRUE(load(kTwoInstances));
    const long before = XmlConfig::writeCount();
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 3, "25"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("PINByPass", 3, "False"));
    EXPECT_EQ(XmlConfig::writeCount(), before + 2);
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 3, "30"), "25");
    EXPECT_EQ(XmlConfig::xmlGetValue("InstanceId", 3, ""), "03");
    EXPECT_EQ(file(), replaced(kTwoInstances, "  </InstanceConfigurationList>", R"(    <InstanceConfiguration>
      <InstanceId>03</InstanceId>
      <Timeout>25</Timeout>
      <PINByPass>False</PINByPass>
    </InstanceConfiguration>
  </InstanceConfigurationList>)"));
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

TEST_F(XmlConfigValues, AnotherDocumentElementIsReadAsEmptyAndNeverGetsASecondOne)
{
    const std::string original = "<Configuration><Timeout>45</Timeout></Configuration>";
    ASSERT_TRUE(load(original));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "30"), "30");
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 0, "50"));
    EXPECT_FALSE(XmlConfig::ensureElementPath("ORVANTConfiguration/InstanceConfigurationList"));
    EXPECT_EQ(file(), original);
    EXPECT_EQ(ui.messages,
              Messages { "Unable to save configuration to file " + path
                         + "\nIts document element is not ORVANTConfiguration." });
}

TEST_F(XmlConfigValues, ElementPathsAreFoundOrCreatedAndBadNamesRefused)
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

    const auto list = XmlConfig::ensureElementPath("ORVANTConfiguration/InstanceConfigurationList");
    EXPECT_EQ(list, XmlConfig::findInstanceElement(1).parent());
    const auto created = XmlConfig::ensureElementPath("ORVANTConfiguration/Upgrade/Options");
    ASSERT_TRUE(created);
    EXPECT_STREQ(created.name(), "Options");
    EXPECT_EQ(created.parent(), XmlConfig::findChildElement("Upgrade", list.parent()));
    EXPECT_EQ(XmlConfig::ensureElementPath("ORVANTConfiguration/Upgrade/Options"), created);
}

TEST_F(XmlConfigValues, AReadOnlyFileIsReportedOncePerSaveAndKeptIntact)
{
    ASSERT_TRUE(load(kTwoInstances));
    XmlConfig::beginSave();
    EXPECT_TRUE(XmlConfig::xmlSetValue("Timeout", 1, "61"));
    EXPECT_TRUE(XmlConfig::endSave());
    const std::string saved = file();
    removePermissions(folder.path() / kFile, kWriteBits);
    const long before = XmlConfig::writeCount();

    // Within a save the document is written once, at its end.
    XmlConfig::beginSave();
    XmlConfig::xmlSetValue("Timeout", 1, "62");
    XmlConfig::xmlSetValue("Timeout", 2, "62");
    XmlConfig::xmlSetValue("Port", 0, "10000");
    EXPECT_FALSE(XmlConfig::endSave());
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string expectedStart = "Unable to save configuration to file " + path + "\n";
    EXPECT_EQ(ui.messages[0].substr(0, expectedStart.size()), expectedStart);
    EXPECT_GT(ui.messages[0].size(), expectedStart.size()) << "the system's reason is missing";
    EXPECT_EQ(file(), saved);
    EXPECT_NE(saved.find("<Timeout>61</Timeout>"), std::string::npos);
    EXPECT_EQ(XmlConfig::writeCount(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "conf"), fs::directory_iterator()), 1)
        << "a temporary file was left behind";

    // The next save reports again; outside a save every failure is reported.
    XmlConfig::beginSave();
    XmlConfig::xmlSetValue("Timeout", 1, "63");
    EXPECT_FALSE(XmlConfig::endSave());
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "64"));
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "65"));
    EXPECT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(file(), saved);

    // A writable file in a read-only folder fails as well.
    std::filesystem::permissions(folder.path() / kFile, kWriteBits, fs::perm_options::add);
    removePermissions(folder.path() / "conf", kWriteBits);
    XmlConfig::beginSave();
    XmlConfig::xmlSetValue("Timeout", 1, "66");
    EXPECT_FALSE(XmlConfig::endSave());
    EXPECT_EQ(ui.messages.size(), 5u);
    EXPECT_EQ(file(), saved);
}

} // namespace
} // namespace orvant::test
