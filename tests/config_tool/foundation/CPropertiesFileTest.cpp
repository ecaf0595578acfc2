#include "config_tool/foundation/CProperties.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using tarn::CProperties;

namespace fs = std::filesystem;

class CPropertiesFile : public ::testing::Test
{
protected:
    std::string pathOf(const std::string& name) const { return (folder.path() / name).string(); }

    // Loads the bytes from a file and saves them again; returns what save wrote.
    std::string loadAndSave(const std::string& bytes)
    {
        folder.write("in.properties", bytes);
        const auto loaded = store.load(pathOf("in.properties"));
        EXPECT_TRUE(loaded.ok) << loaded.error;
        const auto saved = store.save(pathOf("out.properties"));
        EXPECT_TRUE(saved.ok) << saved.error;
        return folder.read("out.properties");
    }

    void removePermissions(const std::string& name, fs::perms perms)
    {
        fs::permissions(folder.path() / name, perms, fs::perm_options::remove);
    }

    orvant::test::TestFolder folder;
    CProperties store;
};

TEST_F(CPropertiesFile, LineRules)
{
    const std::pair<std::string, std::string> cases[] = {
        // Only lines with exactly one "=" are kept, spaces and "#" included; a later key replaces in place.
        { "# engine settings\r\n key = value \r\na=b=c\r\n  #k=v\r\nk=1\r\nno separator\r\n\r\nk=2\r\nempty=\r\n"
          "=no key\r\n#comment=x\r\nlast=x",
          " key = value \r\n  #k=v\r\nk=2\r\nempty=\r\n=no key\r\nlast=x\r\n" },
        // A line with empty key and value is like a tombstone: a later "=x" takes its place.
        { "=\r\na=1\r\n=x\r\n", "=x\r\na=1\r\n" },
        { "=x\r\na=1\r\n=\r\n", "a=1\r\n" },
        // A lone CR ends a line as CR LF does; the file is written back with CR LF.
        { "a=1\rb=2\r", "a=1\r\nb=2\r\n" },
        // Lone LFs do not end lines: the whole file is one line that holds two "=" and is skipped.
        { "a=1\nb=2\n", "" },
        // With a single "=" the whole file is one entry; only the final LF goes.
        { "a=1\nb\n", "a=1\nb\r\n" },
        { "k=v\n", "k=v\r\n" },
        { "k=v\n\n", "k=v\n\r\n" },
        // An LF before a line end is dropped with it.
        { "a=1\n\r\nb=2\n\rc=3", "a=1\r\nb=2\r\nc=3\r\n" },
        { "\r\n\r\r\n", "" },
    };
    for (const auto& [input, saved] : cases) {
        EXPECT_EQ(loadAndSave(input), saved) << input;
    }
    loadAndSave(cases[2].first);
    EXPECT_EQ(store.count(), 2) << "the tombstone still counts";
    loadAndSave(cases[5].first);
    EXPECT_EQ(store.getValue("a"), "1\nb");
    loadAndSave(cases[0].first);
    EXPECT_EQ(store.getValue(" key "), " value ");
    EXPECT_EQ(store.getValue("  #k"), "v");
    EXPECT_FALSE(store.getUserExistCheck("a"));
    EXPECT_FALSE(store.getUserExistCheck("#comment"));
    EXPECT_EQ(store.getValue(""), "no key");
}

TEST_F(CPropertiesFile, EveryByteSurvivesLoadAndSave)
{
    // CR ends a line and "=" separates; every other byte can be part of a key or a value.
    std::string value;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '=') {
            value += static_cast<char>(b);
        }
    }
    const std::string input = "bin=" + value + "\r\n" + "\xA3\x80\x81\x8D\x8F\x90\x9D\xFF\n=\xE9t\xE9\r\n";
    EXPECT_EQ(loadAndSave(input), input);
    EXPECT_EQ(store.count(), 2);
    EXPECT_EQ(store.getValue("\xC2\xA3\xE2\x82\xAC\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC3\xBF\n"),
              "\xC3\xA9t\xC3\xA9");

    const std::string longLine = "long=" + std::string(4 * 1024 * 1024, 'x') + "\r\nnext=1\r\n";
    EXPECT_EQ(loadAndSave(longLine), longLine);
    EXPECT_EQ(store.getValue("long").size(), 4u * 1024 * 1024);
    EXPECT_EQ(store.count(), 2) << "load starts afresh";
}

TEST_F(CPropertiesFile, WritesValuesInWindows1252)
{
    store.addKeyValue("amount",
                      "\xC2\xA3"
                      "10.00 \xE2\x82\xAC");
    store.addKeyValue("unmappable", "\xE6\x97\xA5");
    ASSERT_TRUE(store.save(pathOf("out.properties")).ok);
    EXPECT_EQ(folder.read("out.properties"),
              "amount=\xA3"
              "10.00 \x80\r\nunmappable=?\r\n");
}

TEST_F(CPropertiesFile, MissingFileIsAnEmptyStoreAndOnlyTombstonesSaveAnEmptyFile)
{
    store.addKeyValue("old", "1");
    EXPECT_TRUE(store.load(pathOf("missing.properties")).ok);
    EXPECT_EQ(store.count(), 0);
    ASSERT_TRUE(store.save(pathOf("missing.properties")).ok);
    ASSERT_TRUE(folder.exists("missing.properties"));
    EXPECT_EQ(folder.read("missing.properties"), "");

    folder.write("out.properties", "stale=1\r\n");
    store.addKeyValue("a", "1");
    store.removePropertyByKey("a");
    ASSERT_TRUE(store.save(pathOf("out.properties")).ok);
    EXPECT_EQ(folder.read("out.properties"), "");
}

TEST_F(CPropertiesFile, WindowsPathsReachTheDriveFolder)
{
    folder.write("drive_c/ORVANT/Properties/Terminal.properties", "k=v\r\n");
    ASSERT_TRUE(store.load("C:\\orvant\\properties\\terminal.properties").ok);
    EXPECT_EQ(store.getValue("k"), "v");
    store.addKeyValue("k2", "w");
    ASSERT_TRUE(store.save("C:\\ORVANT\\properties\\terminal.properties").ok);
    EXPECT_EQ(folder.read("drive_c/ORVANT/Properties/Terminal.properties"), "k=v\r\nk2=w\r\n");
}

TEST_F(CPropertiesFile, UnreadableOrUnwritableFilesGiveTheReasonAndKeepTheOldFile)
{
    folder.write("locked.properties", "k=v\r\n");
    removePermissions("locked.properties", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    store.addKeyValue("old", "1");
    const auto loaded = store.load(pathOf("locked.properties"));
    EXPECT_FALSE(loaded.ok);
    EXPECT_FALSE(loaded.error.empty());
    EXPECT_EQ(store.count(), 0);

    folder.write("readonly.properties", "k=old\r\n");
    removePermissions("readonly.properties", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    store.addKeyValue("k", "new");
    const auto saved = store.save(pathOf("readonly.properties"));
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.error.empty());
    EXPECT_EQ(folder.read("readonly.properties"), "k=old\r\n");

    EXPECT_FALSE(store.save(pathOf("no such folder/x.properties")).ok);
    EXPECT_FALSE(folder.exists("no such folder"));
}

TEST_F(CPropertiesFile, TooManyKeysStopTheLoadWithAnErrorAndFurtherAdds)
{
    std::string input;
    for (int i = 0; i <= CProperties::kMaxEntries; ++i) {
        input += "key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    }
    folder.write("big.properties", input + "key0=late\r\n");
    const auto loaded = store.load(pathOf("big.properties"));
    EXPECT_FALSE(loaded.ok);
    EXPECT_NE(loaded.error.find("32767"), std::string::npos) << loaded.error;
    EXPECT_EQ(store.count(), 32767);
    EXPECT_EQ(store.getValue("key32766"), "32766");
    EXPECT_FALSE(store.getUserExistCheck("key32767"));
    EXPECT_EQ(store.getValue("key0"), "0");

    // Adding refuses the entry beyond the sixteen-bit count; present keys still take new values, tombstones too.
    EXPECT_FALSE(store.addKeyValue("one more", "v"));
    EXPECT_FALSE(store.add(std::make_shared<tarn::CProperty>(tarn::CProperty { "one more", "v" })));
    EXPECT_FALSE(store.getUserExistCheck("one more"));
    EXPECT_TRUE(store.addKeyValue("key0", "changed"));
    EXPECT_EQ(store.getValue("key0"), "changed");
    store.removePropertyByKey("key1");
    EXPECT_TRUE(store.addKeyValue("", "revived"));
    EXPECT_EQ(store.count(), 32767);
}

} // namespace
