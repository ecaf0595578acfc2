#include "config_tool/model/XmlConfig.h"
#include "tests/config_tool/model/ModelTesting.h"

// What the configuration file looks like on disk after a rewrite: encoding, declaration, line ends,
// indentation and comments stay as they were, and only the changed values differ.

namespace orvant::test {
namespace {

namespace XmlConfig = tarn::XmlConfig;
using XmlConfigFile = XmlDocumentTest;

TEST_F(XmlConfigFile, ASaveIntoAnEmptyDocumentWritesEachInstanceInTheOrderOfItsValues)
{
    ASSERT_TRUE(load("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ORVANTConfiguration/>\r\n"));
    const long before = XmlConfig::writeCount();
    // What the save does for each value: write only what differs from the stored text.
    const auto setIfChanged = [](const std::string& key, int n, const std::string& value) {
        if (XmlConfig::xmlGetValue(key, n, "") != value) {
            EXPECT_TRUE(XmlConfig::xmlSetValue(key, n, value)) << key;
        }
    };
    setIfChanged("UsePropDir", 0, "True");
    setIfChanged("ClassPath", 0, "C:\\ORVANT\\kelbrin-cps.jar");
    setIfChanged("Environment", 0, "1");
    for (int n = 0; n <= 1; ++n) {
        setIfChanged("Environment", n, "1");
        setIfChanged("UPTTerminal", n, "False");
        setIfChanged("Timeout", n, "30");
        setIfChanged("InputDir", n, "");
        setIfChanged("Port", n, "1000" + std::to_string(n));
    }
    EXPECT_EQ(file(),
              configurationXml({ { "00",
                                   pairs("UsePropDir=True ClassPath=C:\\ORVANT\\kelbrin-cps.jar "
                                         "Environment=1 UPTTerminal=False Timeout=30 Port=10000") },
                                 { "01", pairs("Environment=1 UPTTerminal=False Timeout=30 Port=10001") } }));
    // Instance 0's Environment and both empty InputDir values were not changes.
    EXPECT_EQ(XmlConfig::writeCount() - before, 10);
    EXPECT_TRUE(ui.messages.empty());
}

const std::string kIndentedFile = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by the installer -->
<!DOCTYPE ORVANTConfiguration>
<ORVANTConfiguration>
  <ClassPath>C:\ORVANT\kelbrin-cps.jar</ClassPath>
  <!-- global values above -->

  <InstanceConfigurationList>
    <InstanceConfiguration>
      <InstanceId>00</InstanceId>
      <LogoFile><![CDATA[C:\ORVANT\kelbrin_logo.jpg]]></LogoFile>
      <Timeout>30</Timeout>
      <FontName>Arial &amp; Co</FontName>
      <InputDir></InputDir>
      <?engine keep?>
    </InstanceConfiguration>
  </InstanceConfigurationList>
</ORVANTConfiguration>
<!-- end -->
)";

TEST_F(XmlConfigFile, ARewriteChangesOnlyTheChangedValue)
{
    ASSERT_TRUE(load(kIndentedFile));
    EXPECT_EQ(XmlConfig::xmlGetValue("LogoFile", 0, ""), "C:\\ORVANT\\kelbrin_logo.jpg");
    EXPECT_EQ(XmlConfig::xmlGetValue("FontName", 0, ""), "Arial & Co");
    EXPECT_EQ(XmlConfig::xmlGetValue("InputDir", 0, "unset"), "");

    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 0, "45"));
    const std::string changed = replaced(kIndentedFile, "<Timeout>30</Timeout>", "<Timeout>45</Timeout>");
    EXPECT_EQ(file(), changed);
    ASSERT_TRUE(XmlConfig::xmlSetValue("FontName", 0, "Courier <New> & \"Mono\""));
    EXPECT_EQ(file(), replaced(changed, "Arial &amp; Co", "Courier &lt;New&gt; &amp; \"Mono\""));
    ASSERT_TRUE(XmlConfig::loadXmlConfig(path));
    EXPECT_EQ(XmlConfig::xmlGetValue("FontName", 0, ""), "Courier <New> & \"Mono\"");
}

TEST_F(XmlConfigFile, NewElementsFollowTheCommentsAndTheIndentationOfTheirLevel)
{
    ASSERT_TRUE(load(kIndentedFile));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Port", 0, "10000"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 2, "40"));
    EXPECT_EQ(file(),
              replaced(kIndentedFile, R"(      <?engine keep?>
    </InstanceConfiguration>
)",
                       R"(      <?engine keep?>
      <Port>10000</Port>
    </InstanceConfiguration>
    <InstanceConfiguration>
      <InstanceId>02</InstanceId>
      <Timeout>40</Timeout>
    </InstanceConfiguration>
)"));
}

TEST_F(XmlConfigFile, AByteOrderMarkAndCrLfLineEndsAreKept)
{
    const std::string head = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<ORVANTConfiguration>\r\n"
                             "    <InstanceConfigurationList>\r\n        <InstanceConfiguration>\r\n"
                             "            <InstanceId>01</InstanceId>\r\n"
                             "            <Watermark>C:\\Bilder\\\xC2\xA3.jpg</Watermark>\r\n";
    const std::string tail = "        </InstanceConfiguration>\r\n    </InstanceConfigurationList>\r\n"
                             "</ORVANTConfiguration>";
    ASSERT_TRUE(load(head + tail));
    EXPECT_EQ(XmlConfig::xmlGetValue("Watermark", 1, ""), "C:\\Bilder\\\xC2\xA3.jpg");

    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 1, "20"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 2, "\xE2\x82\xAC"));
    EXPECT_EQ(file(),
              head
                  + "            <Timeout>20</Timeout>\r\n        </InstanceConfiguration>\r\n"
                    "        <InstanceConfiguration>\r\n            <InstanceId>02</InstanceId>\r\n"
                    "            <Timeout>\xE2\x82\xAC</Timeout>\r\n"
                  + tail);
}

TEST_F(XmlConfigFile, ASingleByteFileKeepsItsDeclarationAndEveryByte)
{
    // Windows-1252, whichever of the two names the declaration uses: A3 is "£", 80 is "€" (not the
    // C1 control that ISO-8859-1 proper has there), 81 has no character and must survive anyway.
    for (const std::string declaration : { "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
                                           "<?xml version='1.0' encoding='windows-1252' standalone='yes' ?>" }) {
        SCOPED_TRACE(declaration);
        const std::string original = declaration + "\r\n"
            + "<ORVANTConfiguration>\r\n"
              "\t<!-- Preis in \xA3 oder \x80 -->\r\n"
              "\t<InstanceConfigurationList>\r\n"
              "\t\t<InstanceConfiguration>\r\n"
              "\t\t\t<InstanceId>00</InstanceId>\r\n"
              "\t\t\t<Watermark>\xA3\x80\x81\xE9\xFF</Watermark>\r\n"
              "\t\t\t<Timeout>30</Timeout>\r\n"
              "\t\t</InstanceConfiguration>\r\n"
              "\t</InstanceConfigurationList>\r\n"
              "</ORVANTConfiguration>\r\n";
        ASSERT_TRUE(load(original));
        EXPECT_EQ(XmlConfig::xmlGetValue("Watermark", 0, ""), "\xC2\xA3\xE2\x82\xAC\xC2\x81\xC3\xA9\xC3\xBF");

        ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 0, "45"));
        EXPECT_EQ(file(), replaced(original, "<Timeout>30</Timeout>", "<Timeout>45</Timeout>"));

        // "£", "€" and "Ω"; the last has no byte in the code page and goes out as a reference.
        ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 0, "\xC2\xA3 \xE2\x82\xAC \xCE\xA9"));
        EXPECT_EQ(file(), replaced(original, "<Timeout>30</Timeout>", "<Timeout>\xA3 \x80 &#937;</Timeout>"));
        ASSERT_TRUE(XmlConfig::loadXmlConfig(path));
        EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, ""), "\xC2\xA3 \xE2\x82\xAC \xCE\xA9");
    }
}

TEST_F(XmlConfigFile, AnAsciiFileGetsReferencesForEverythingBeyondAscii)
{
    ASSERT_TRUE(load("<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n<ORVANTConfiguration/>"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("LogoFile", 0, "\xC2\xA3.jpg"));
    EXPECT_EQ(file(),
              "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n<ORVANTConfiguration>\n"
              "\t<InstanceConfigurationList>\n\t\t<InstanceConfiguration>\n"
              "\t\t\t<InstanceId>00</InstanceId>\n\t\t\t<LogoFile>&#163;.jpg</LogoFile>\n"
              "\t\t</InstanceConfiguration>\n\t</InstanceConfigurationList>\n</ORVANTConfiguration>");
}

TEST_F(XmlConfigFile, AFileOnOneLineStaysOnOneLine)
{
    ASSERT_TRUE(load("<ORVANTConfiguration><InstanceConfigurationList><InstanceConfiguration><InstanceId>1"
                     "</InstanceId><Timeout>30</Timeout></InstanceConfiguration></InstanceConfigurationList>"
                     "</ORVANTConfiguration>"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Port", 1, "10001"));
    ASSERT_TRUE(XmlConfig::xmlSetValue("Port", 2, "10002"));
    EXPECT_EQ(file(),
              "<ORVANTConfiguration><InstanceConfigurationList><InstanceConfiguration><InstanceId>1"
              "</InstanceId><Timeout>30</Timeout><Port>10001</Port></InstanceConfiguration>"
              "<InstanceConfiguration><InstanceId>02</InstanceId><Port>10002</Port></InstanceConfiguration>"
              "</InstanceConfigurationList></ORVANTConfiguration>");
}

TEST_F(XmlConfigFile, AnEmptyElementIsWrittenWithStartAndEndTag)
{
    ASSERT_TRUE(load("<ORVANTConfiguration>\n  <Watermark/>\n  <FontName></FontName>\n</ORVANTConfiguration>\n"));
    EXPECT_EQ(XmlConfig::xmlGetValue("Watermark", 0, "unset"), "");
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 0, ""));
    EXPECT_EQ(file(),
              "<ORVANTConfiguration>\n  <Watermark></Watermark>\n  <FontName></FontName>\n"
              "  <InstanceConfigurationList>\n    <InstanceConfiguration>\n"
              "      <InstanceId>00</InstanceId>\n      <Timeout></Timeout>\n"
              "    </InstanceConfiguration>\n  </InstanceConfigurationList>\n</ORVANTConfiguration>\n");
}

TEST_F(XmlConfigFile, AUtf16FileIsReadAndWrittenAsUtf16)
{
    const auto utf16 = [](const std::string& timeout) {
        std::string bytes = "\xFF\xFE";
        for (const char c :
             "<?xml version=\"1.0\" encoding=\"UTF-16\"?><ORVANTConfiguration><InstanceConfigurationList>"
             "<InstanceConfiguration><InstanceId>01</InstanceId><Timeout>"
                 + timeout
                 + "</Timeout></InstanceConfiguration></InstanceConfigurationList>"
                   "</ORVANTConfiguration>") {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    };
    ASSERT_TRUE(load(utf16("45")));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 1, "30"), "45");
    ASSERT_TRUE(XmlConfig::xmlSetValue("Timeout", 1, "50"));
    EXPECT_EQ(file(), utf16("50"));
}

} // namespace
} // namespace orvant::test
