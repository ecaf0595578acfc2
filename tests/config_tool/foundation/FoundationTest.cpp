#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/foundation/MRegistry.h"
#include "config_tool/foundation/SHA1.h"
#include "tests/support/Files.h"
#include "tests/support/Host.h"
#include "tests/support/ProcessState.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace orvant::test;
using namespace MRegistry;
using orvant::platform::Hive;

// Every file the properties parser is fuzzed with, saved back: only lines with exactly one "=" are kept,
// a later key replaces in place, an empty key and value is a tombstone, CR or CR LF ends a line, LF does not.
TEST(CProperties, FilesAreSavedBackWithTheLinesTheyHold)
{
    for (const auto& seed : std::filesystem::directory_iterator(dataPath("fuzz/fuzz_properties"))) {
        CProperties store;
        EXPECT_TRUE(store.loadFromBytes(readFile(seed.path())).ok);
        EXPECT_TRUE(matchesDataFile(store.saveToBytes(), "properties/" + seed.path().filename().string()));
    }
    std::string all = "bin=";
    for (int b = 0; b < 256; ++b) {
        all += (b == '\r' || b == '=') ? std::string() : std::string(1, static_cast<char>(b));
    }
    const std::string input = all + "\r\n\xA3\x80\x81\x9D\xFF=\xE9t\xE9\r\nlong=" + std::string(1 << 22, 'x') + "\r\n";
    CProperties store;
    ASSERT_TRUE(store.loadFromBytes(input).ok);
    EXPECT_EQ(store.saveToBytes(), input) << "every byte but CR and = survives";
    EXPECT_EQ(store.getValue("\xC2\xA3\xE2\x82\xAC\xC2\x81\xC2\x9D\xC3\xBF"), "\xC3\xA9t\xC3\xA9");
}

TEST(CProperties, KeysMatchExactlyAndRemovedOnesLeaveATombstone)
{
    CProperties store;
    for (const char* key : { "a", "Key", "key", " key", "k", "user" }) {
        store.addKeyValue(key, key);
    }
    store.addKeyValue("a", "replaced");
    store.removePropertyByKey("k");
    store.removeProperty(CProperty { "Key", "any value" });
    EXPECT_TRUE(store.setDeleteUserPassword("user"));
    EXPECT_FALSE(store.setDeleteUserPassword("user")) << "already removed";
    EXPECT_EQ(store.count(), 6);
    EXPECT_EQ(store.getValue("k"), "ZZZ_NO_VALUE_ZZZ");
    EXPECT_EQ(store.getValue(""), "") << "a tombstone answers to \"\"";
    store.addKeyValue("k", "again");
    EXPECT_EQ(store.saveToBytes(), "a=replaced\r\nkey=key\r\n key= key\r\nk=again\r\n");
    // add keeps the caller's object for a new key only.
    auto mine = std::make_shared<CProperty>(CProperty { "new", "1" });
    EXPECT_TRUE(store.add(mine));
    EXPECT_TRUE(store.add(std::make_shared<CProperty>(CProperty { "new", "2" })));
    EXPECT_EQ(store.getProperty("new"), mine);
    EXPECT_EQ(mine->value, "2");
}

TEST(CProperties, AMissingFileIsEmptyAndAFailureGivesTheReasonAndKeepsTheFile)
{
    const TestFolder folder;
    const std::string file = "C:\\x.properties";
    CProperties store;
    store.addKeyValue("k", "v");
    EXPECT_TRUE(store.load(file).ok);
    EXPECT_EQ(store.count(), 0) << "a missing file is an empty store";
    store.addKeyValue("k", "v");
    store.removePropertyByKey("k");
    EXPECT_TRUE(store.save(file).ok);
    EXPECT_EQ(readFile(folder.driveC() / "x.properties"), "") << "tombstones are not written";
    writeFile(folder.driveC() / "x.properties", "k=old\r\n");
    makeReadOnly(folder.driveC() / "x.properties");
    store.addKeyValue("k", "new");
    const auto refused = store.save(file);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error, "");
    EXPECT_EQ(readFile(folder.driveC() / "x.properties"), "k=old\r\n");
    ORVANT_SKIP_UNLESS(host::kUnreadableFiles);
    makeUnreadable(folder.driveC() / "x.properties");
    const auto unread = store.load(file);
    EXPECT_FALSE(unread.ok);
    EXPECT_NE(unread.error, "");
    EXPECT_EQ(store.count(), 0);
}

TEST(CProperties, AFullStoreStopsTheLoadWithAReasonAndRefusesNewKeys)
{
    std::string input;
    for (int i = 0; i <= CProperties::kMaxEntries; ++i) {
        input += "key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    }
    CProperties store;
    const auto loaded = store.loadFromBytes(input + "key0=late\r\n");
    EXPECT_FALSE(loaded.ok);
    EXPECT_NE(loaded.error.find("32767"), std::string::npos) << loaded.error;
    EXPECT_EQ(store.getValue("key32766"), "32766");
    EXPECT_EQ(store.getValue("key0"), "0") << "the later line is not read";
    EXPECT_EQ(store.getValue("key32767"), "ZZZ_NO_VALUE_ZZZ");
    EXPECT_FALSE(store.addKeyValue("one more", "v"));
    EXPECT_FALSE(store.add(std::make_shared<CProperty>(CProperty { "more", "" })));
    store.removePropertyByKey("key1");
    EXPECT_TRUE(store.addKeyValue("key0", "changed"));
    EXPECT_TRUE(store.addKeyValue("", "the tombstone takes it"));
    EXPECT_EQ(store.count(), 32767);
}

TEST(SHA1, Digests)
{
    const std::pair<std::string, const char*> cases[]
        = { { "", "DA39A3EE 5E6B4B0D 3255BFEF 95601890 AFD80709" },
            { "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
              "84983E44 1C3BD26E BAAE4AA1 F95129E5 E54670F1" },
            // 55 bytes leave room for the marker and the length; 56 need a second block; 64 fill one.
            { std::string(55, 'a'), "C1C8BBDC 22796E28 C0E15163 D20899B6 5621D65A" },
            { std::string(56, 'a'), "C2DB330F 6083854C 99D4B5BF B6E8F29F 201BE699" },
            { std::string(64, 'a'), "0098BA82 4B5C1642 7BD7A112 2A5A442A 25EC644D" },
            // Text is hashed as Windows-1252 bytes, the five undefined ones (U+0081 ...) included.
            { "caf\xC3\xA9 \xE2\x82\xAC", "B4039A75 30832D54 085EC1F0 8C556B7E 62DC7DA9" },
            { "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "F9B90606 10D6249F 41A9DFBB 7632F9F5 7ADAC41C" } };
    for (const auto& [message, digest] : cases) {
        EXPECT_EQ(SHA1::sha1(message), digest) << message.substr(0, 60);
    }
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        allBytes += SHA1::dectohex(b, 2);
    }
    EXPECT_EQ(SHA1::sha1hex(allBytes), "4916D6BD B7F78E68 03698CAB 32D1586E A457DFC8");
    EXPECT_EQ(SHA1::sha1hex("61 62:63"), "A9993E36 4706816A BA3E2571 7850C26C 9CD0D89D");
    EXPECT_EQ(SHA1::hextobin("abc"), "\n\xC2\xBC")
        << "an odd count gets a leading 0, a byte is its Windows-1252 character";
    EXPECT_EQ(SHA1::hextodec("1FFFFFFFF"), -1) << "the last eight digits";
}

class ConfigurationModeTest : public ::testing::Test
{
protected:
    TestFolder folder;
    ProcessStateGuard process;
    GlobalState& state = Globals::state();
    std::string home = (folder.path() / "home").string(); // KELBRIN_HOME
    std::filesystem::path modeFile = folder.path() / "home/properties/hbl.properties";
};

TEST_F(ConfigurationModeTest, TheInstallationFolderComesFromKelbrinHomeOnce)
{
    EXPECT_EQ(determineConfigurationMode(), kRegistryMode);
    EXPECT_EQ(state.installationFolder, home);
    EXPECT_EQ(state.xmlConfigurationPath, "") << "the folder does not exist";
    writeFile(modeFile, "Configuration=xml\r\n");
    EXPECT_EQ(determineConfigurationMode(), kXmlMode);
    EXPECT_EQ(state.xmlConfigurationPath, home + "\\conf\\ORVANTConfiguration.xml");

    const ScopedEnv later("KELBRIN_HOME", std::string("E:\\Other"));
    EXPECT_EQ(Globals::ensureInstallationFolder(), home);
    Globals::reset();
    const ScopedEnv empty("KELBRIN_HOME", std::string());
    EXPECT_EQ(determineConfigurationMode(), kRegistryMode);
    EXPECT_EQ(Globals::ensureInstallationFolder(), "C:\\ORVANT") << "without KELBRIN_HOME";
}

TEST_F(ConfigurationModeTest, AnyLineConfigurationEqualsXmlInAnyCaseSelectsXmlMode)
{
    const std::pair<std::string, std::int16_t> cases[] {
        { "configuration=XML\r\n", 1 },    { "CONFIGURATION=Xml", 1 },
        { "Configuration=xml\n", 1 },      { "#\r\nConfiguration=xml", 1 },
        { "a=1\rConfiguration=xml\r", 1 }, { "Configuration=xml\r\nConfiguration=registry", 1 },
        { "Configuration=xml=1", 0 },      { "#Configuration=xml", 0 },
        { "Configuration = xml", 0 },      { " Configuration=xml", 0 },
        { "Configuration=xml ", 0 },       { "a=1\nConfiguration=xml\n", 0 },
        { "Configuration=registry", 0 },   { "", 0 }
    };
    state.installationFolder = home;
    for (const auto& [bytes, expected] : cases) {
        writeFile(modeFile, bytes);
        EXPECT_EQ(readConfigurationMode(), expected) << bytes;
    }
    EXPECT_TRUE(process.ui.messages.empty());
    ORVANT_SKIP_UNLESS(host::kUnreadableFiles);
    makeUnreadable(modeFile);
    EXPECT_EQ(readConfigurationMode(), kRegistryMode);
    EXPECT_EQ(process.ui.messages.size(), 1u) << "the reason is shown";
}

TEST_F(ConfigurationModeTest, WritingLeavesOneLineOrShowsWhyNot)
{
    state.installationFolder = home;
    EXPECT_FALSE(writeConfigurationMode()) << "no properties folder";
    writeFile(modeFile, "# old comment\r\nConfiguration=registry\r\nother=1\r\n");
    state.configurationMode = kXmlMode;
    EXPECT_TRUE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=xml\r\n");
    state.configurationMode = kRegistryMode;
    EXPECT_TRUE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=registry\r\n");
    makeReadOnly(modeFile);
    state.configurationMode = kXmlMode;
    EXPECT_FALSE(writeConfigurationMode());
    EXPECT_EQ(readFile(modeFile), "Configuration=registry\r\n");
    EXPECT_EQ(process.ui.messages.size(), 2u);
}

TEST(MRegistry, WritesBothHivesInWindows1252WithoutNulOrRecordsWhyNot)
{
    const TestFolder folder;
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "LogoFile", "C:\\caf\xC3\xA9 \xC2\xA3.bmp"));
    EXPECT_TRUE(writeRegistryString(" Kelbrin ", " Harbell ", " Port ", "1001")) << "app and section are trimmed";
    for (const auto hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        EXPECT_EQ(kelbrinValue(hive, "Harbell", "LogoFile"), "C:\\caf\xE9 \xA3.bmp");
        EXPECT_EQ(kelbrinValue(hive, "Harbell", " Port "), "1001");
    }
    const std::tuple<const char*, const char*, const char*, long, const char*> blanks[]
        = { { "  ", "Harbell", "Port", -2147220504, "AppName may not be empty" },
            { "Kelbrin", "   ", "Port", -2147220503, "Section may not be empty" },
            { "Kelbrin", "Harbell", " ", -2147220502, "Key may not be empty" } };
    for (const auto& [app, section, name, number, description] : blanks) {
        EXPECT_FALSE(writeRegistryString(app, section, name, "1"));
        EXPECT_EQ(lastError().number, number);
        EXPECT_EQ(lastError().description, description);
    }
    EXPECT_FALSE(kelbrinValue(Hive::CurrentUser, "Harbell", "Port"));
    EXPECT_TRUE(writeRegistryString("Kelbrin", "Harbell", "Port", "1"));
    EXPECT_EQ(lastError().number, 0);
}

TEST(MRegistry, AReadOnlyHiveStopsTheWriteThere)
{
    // The user hive comes first: the engine's copy there survives a machine hive that refuses.
    ORVANT_SKIP_UNLESS(host::kRegistryHiveFiles);
    for (const auto readOnly : { Hive::CurrentUser, Hive::LocalMachine }) {
        const TestFolder folder;
        ASSERT_TRUE(storeRegistryValue(readOnly, "SOFTWARE\\Other", "x", orvant::platform::kRegSz, "1"));
        for (const auto& file : std::filesystem::directory_iterator(folder.registryFolder())) {
            makeReadOnly(file.path());
        }
        EXPECT_FALSE(writeRegistryString("Kelbrin", "Harbell", "Port", "1001"));
        EXPECT_EQ(kelbrinValue(Hive::CurrentUser, "Harbell", "Port").has_value(), readOnly == Hive::LocalMachine);
        EXPECT_FALSE(kelbrinValue(Hive::LocalMachine, "Harbell", "Port"));
        EXPECT_EQ(lastError().number, -2147219499);
        EXPECT_EQ(lastError().description, "Could not open/create registry section");
    }
}

} // namespace
} // namespace tarn
