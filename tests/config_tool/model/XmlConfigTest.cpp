#include "config_tool/model/XmlConfig.h"

#include "config_tool/foundation/Globals.h"
#include "tests/support/Host.h"
#include "tests/support/InstallationTest.h"

#include <gmock/gmock.h>

namespace orvant::test {
namespace {

namespace XmlConfig = tarn::XmlConfig;
using namespace std::string_literals;
using Messages = std::vector<std::string>;

constexpr const char* kPath = "C:\\ORVANT\\conf\\ORVANTConfiguration.xml";
const std::string kLoadFailed = std::string("Unable to load configuration from file ") + kPath;

class XmlConfigTest : public InstallationTest
{
protected:
    void SetUp() override { tarn::Globals::state().xmlConfigurationPath = kPath; }

    bool load(std::string_view bytes)
    {
        write("conf/ORVANTConfiguration.xml", bytes);
        return XmlConfig::loadXmlConfig(kPath);
    }
};

struct Value
{
    std::string key;
    int n;
    std::string text;
    std::string defaultText = "<none>";
};

// A file of tests/data is loaded, read, and given new values in one save; the file is then compared
// whole with <name>.after.xml beside it, and the new values read back from it.
TEST_F(XmlConfigTest, FilesKeepTheirEncodingLayoutAndEverythingButTheChangedValues)
{
    const std::tuple<const char*, std::vector<Value>, std::vector<Value>> cases[] = {
        { "xml_config/indented",
          { { "LogoFile", 0, "C:\\ORVANT\\kelbrin_logo.jpg" }, { "FontName", 0, "Arial & Co" }, { "InputDir", 0, "" } },
          { { "Timeout", 0, "45" },
            { "FontName", 0, "<A> & \"B\"" },
            { "Port", 0, "10000" },
            { "Timeout", 2, "40" } } },
        // Of two elements for one instance number the last is the instance's.
        { "fuzz/fuzz_xml_config/bom_crlf_duplicates",
          { { "Timeout", 1, "<none>" }, { "Port", 1, "10001" } },
          { { "Timeout", 1, "55" }, { "Timeout", 2, "\xE2\x82\xAC" } } },
        // Windows-1252, also when the declaration says ISO-8859-1; what it cannot hold becomes a reference.
        { "fuzz/fuzz_xml_config/latin1_odd_ids",
          { { "LogoFile", 3, "a" } },
          { { "Timeout", 3, "\xC2\xA3 \xE2\x82\xAC \xCE\xA9" } } },
        { "fuzz/fuzz_xml_config/windows1252_one_line",
          { { "Timeout", 0, "20" }, { "InstanceId", 0, "00" } },
          { { "Timeout", 0, "\xC2\xA3" }, { "Port", 0, "10000" } } },
        { "xml_config/us_ascii", {}, { { "LogoFile", 0, "\xC2\xA3.jpg" } } },
        { "xml_config/utf16_one_line", { { "Timeout", 1, "45" } }, { { "Timeout", 1, "50" } } },
        { "xml_config/utf32_one_line", { { "Timeout", 1, "45" } }, { { "Timeout", 1, "50" } } },
        { "fuzz/fuzz_xml_config/empty",
          {},
          { { "UsePropDir", 0, "True" }, { "Timeout", 0, "30" }, { "Port", 1, "" } } },
        { "xml_config/empty_elements", { { "Watermark", 0, "" } }, { { "Timeout", 0, "" } } },
        { "xml_config/no_list", { { "ClassPath", 1, "<none>" } }, { { "Timeout", 1, "20" } } },
        // Instance 0 reads the document element's own value first, unless it holds the default.
        { "xml_config/document_element_values",
          { { "Timeout", 0, "45", "30" }, { "Timeout", 0, "60", "45" }, { "timeout", 0, "<none>" } },
          { { "Timeout", 0, "50" }, { "Port", 0, "10010" } } },
        { "xml_config/odd_ids", { { "Timeout", 2, "22" }, { "Timeout", 4, "<none>" }, { "Timeout", 0, "<none>" } }, {} }
    };
    for (const auto& [name, reads, changes] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(load(dataFile(std::string(name) + ".xml")));
        for (const auto& read : reads) {
            EXPECT_EQ(XmlConfig::xmlGetValue(read.key, read.n, read.defaultText), read.text) << read.key << read.n;
        }
        if (changes.empty()) {
            continue;
        }
        XmlConfig::beginSave();
        for (const auto& change : changes) {
            EXPECT_TRUE(XmlConfig::xmlSetValue(change.key, change.n, change.text)) << change.key;
        }
        EXPECT_TRUE(XmlConfig::endSave());
        EXPECT_TRUE(matchesDataFile(configuration(),
                                    "xml_config/" + std::filesystem::path(name).filename().string() + ".after.xml"));
        ASSERT_TRUE(XmlConfig::loadXmlConfig(kPath));
        for (const auto& change : changes) {
            EXPECT_EQ(XmlConfig::xmlGetValue(change.key, change.n, "<none>"), change.text) << change.key;
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(XmlConfigTest, AFailedLoadShowsOneMessageThenGivesDefaultsAndWritesNothing)
{
    ASSERT_TRUE(load(dataFile("xml_config/no_list.xml")));
    // Files that are not well-formed, pugixml taking some of them all the same.
    const auto utf16 = [](std::string_view text) {
        std::string bytes = "\xFF\xFE";
        for (const char c : text) {
            bytes += { c, '\0' };
        }
        return bytes;
    };
    const auto utf32 = [](std::string_view text) {
        std::string bytes = "\xFF\xFE\0\0"s;
        for (const char c : text) {
            bytes += { c, '\0', '\0', '\0' };
        }
        return bytes;
    };
    const std::string badFiles[] = {
        "",
        "Configuration=xml\r\n",
        "<ORVANTConfiguration><Timeout>45</Port></ORVANTConfiguration>",
        "<ORVANTConfiguration/><ORVANTConfiguration/>",
        "<ORVANTConfiguration/><?xml version=\"1.0\"?>",
        // A declaration closed with "/>" runs on to a "?>" in a value; bytes that are no UTF-8; text
        // after the document element.
        dataFile("fuzz/fuzz_xml_config/configuration-unreadable-after-save.xml"),
        "<ORVANTConfiguration><Timeout>4\x01</Timeout></ORVANTConfiguration>",
        "<ORVANTConfiguration><Timeout>&nbsp;</Timeout></ORVANTConfiguration>",
        "<!DOCTYPE ORVANTConfiguration [<!ENTITY t \"45\">]><ORVANTConfiguration><Timeout>&t;</Timeout>"
        "</ORVANTConfiguration>",
        "<!DOCTYPE ORVANTConfiguration SYSTEM \"orvant.dtd\"><ORVANTConfiguration><Timeout>&t;</Timeout>"
        "</ORVANTConfiguration>",
        utf16("<ORVANTConfiguration/>@"),
        // A lead surrogate without its trail, which expat alone would take as one character with it.
        utf16("<ORVANTConfiguration>") + "\x15\xD9\x10\0"s + utf16("</ORVANTConfiguration>").substr(2),
        utf32("<ORVANTConfiguration/>@"),
    };
    for (const auto& bytes : badFiles) {
        SCOPED_TRACE(bytes);
        EXPECT_FALSE(load(bytes));
        EXPECT_EQ(XmlConfig::xmlGetValue("ClassPath", 0, "30"), "30") << "the earlier document is gone";
        EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 1, "40"));
        EXPECT_EQ(configuration(), bytes);
    }
    // Another document element is read as empty and never written.
    const std::string other = dataFile("fuzz/fuzz_xml_config/other_root.xml");
    ASSERT_TRUE(load(other));
    EXPECT_EQ(XmlConfig::xmlGetValue("Timeout", 0, "30"), "30");
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 0, "50"));
    EXPECT_EQ(configuration(), other);
    std::filesystem::remove(native("conf/ORVANTConfiguration.xml"));
    EXPECT_FALSE(XmlConfig::loadXmlConfig(kPath));
    EXPECT_FALSE(XmlConfig::xmlSetValue("Timeout", 0, "40"));
    EXPECT_FALSE(exists("conf/ORVANTConfiguration.xml"));
    write("conf/ORVANTConfiguration.xml", "<ORVANTConfiguration/>");
    ORVANT_SKIP_UNLESS(host::kUnreadableFiles);
    makeUnreadable(native("conf/ORVANTConfiguration.xml"));
    EXPECT_FALSE(XmlConfig::loadXmlConfig(kPath));
    Messages expected(std::size(badFiles), kLoadFailed);
    expected.push_back(std::string("Unable to save configuration to file ") + kPath
                       + "\nIts document element is not ORVANTConfiguration.");
    expected.insert(expected.end(), 2, kLoadFailed);
    EXPECT_EQ(ui.messages, expected);
}

// Text that a file cannot hold (a control character; bytes that are no UTF-8, which a single-byte file
// would keep as "?") fails the write before the file is touched.
TEST_F(XmlConfigTest, ANewTextThatWouldNotReadBackAsWrittenLeavesTheFileAsItWas)
{
    const std::pair<const char*, const char*> cases[] = {
        { "xml_config/indented.xml", "4\x01" },
        { "fuzz/fuzz_xml_config/latin1_odd_ids.xml", "4\xFF" },
    };
    for (const auto& [name, value] : cases) {
        SCOPED_TRACE(name);
        ui.messages.clear();
        const std::string original = dataFile(name);
        ASSERT_TRUE(load(original));
        XmlConfig::beginSave();
        XmlConfig::xmlSetValue("Timeout", 0, "45");
        XmlConfig::xmlSetValue("Timeout", 2, value);
        EXPECT_FALSE(XmlConfig::endSave());
        const std::string refused = std::string("Unable to save configuration to file ") + kPath
            + "\nIts new text would not read back as the same configuration; it was left as it was.";
        EXPECT_THAT(ui.messages, testing::ElementsAre(refused));
        EXPECT_EQ(configuration(), original);
    }
}

TEST_F(XmlConfigTest, AFileThatCannotBeWrittenIsReportedOncePerSaveAndKeptWhole)
{
    const std::string original = dataFile("xml_config/indented.xml");
    ASSERT_TRUE(load(original));
    makeReadOnly(native("conf/ORVANTConfiguration.xml"));
    for (std::size_t save = 1; save <= 2; ++save) {
        XmlConfig::beginSave();
        XmlConfig::xmlSetValue("Timeout", 0, "62");
        XmlConfig::xmlSetValue("Timeout", 2, "62");
        EXPECT_FALSE(XmlConfig::endSave());
        ASSERT_EQ(ui.messages.size(), save);
    }
    const std::string start = std::string("Unable to save configuration to file ") + kPath + "\n";
    EXPECT_THAT(ui.messages[0], testing::StartsWith(start));
    EXPECT_GT(ui.messages[0].size(), start.size()) << "the system's reason is missing";
    EXPECT_EQ(configuration(), original);
    EXPECT_EQ(snapshotTree(native("conf")).size(), 1u) << "a temporary file was left behind";
}

} // namespace
} // namespace orvant::test
