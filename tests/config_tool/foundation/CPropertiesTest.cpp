#include "config_tool/foundation/CProperties.h"

#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace orvant::test;

TEST(CProperties, LinesTakenFromAFile)
{
    const std::pair<std::string, std::string> cases[] = {
        // Only lines with exactly one "=" count, blanks and "#" inside included; a later key replaces in place.
        { "# engine\r\n key = value \r\na=b=c\r\n  #k=v\r\nk=1\r\nnone\r\n\r\nk=2\r\nempty=\r\n=no key\r\nlast=x",
          " key = value \r\n  #k=v\r\nk=2\r\nempty=\r\n=no key\r\nlast=x\r\n" },
        // An empty key and value is a tombstone, which a later "=x" fills.
        { "=\r\na=1\r\n=x\r\n", "=x\r\na=1\r\n" },
        { "=x\r\na=1\r\n=\r\n", "a=1\r\n" },
        // A lone CR ends a line; a lone LF does not, and one LF before a line end is dropped.
        { "a=1\rb=2\r", "a=1\r\nb=2\r\n" },
        { "a=1\nb=2\n", "" },
        { "a=1\nb\n", "a=1\nb\r\n" },
        { "k=v\n\n", "k=v\n\r\n" },
        { "a=1\n\r\nb=2\n\rc=3", "a=1\r\nb=2\r\nc=3\r\n" },
    };
    for (const auto& [input, saved] : cases) {
        CProperties store;
        EXPECT_TRUE(store.loadFromBytes(input).ok);
        EXPECT_EQ(store.saveToBytes(), saved) << input;
    }
}

TEST(CProperties, EveryByteButCrAndEqualsSurvivesAsWindows1252)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += (b == '\r' || b == '=') ? std::string() : std::string(1, static_cast<char>(b));
    }
    const std::string input
        = "bin=" + all + "\r\n\xA3\x80\x81\x9D\xFF=\xE9t\xE9\r\nlong=" + std::string(1 << 22, 'x') + "\r\n";
    CProperties store;
    ASSERT_TRUE(store.loadFromBytes(input).ok);
    EXPECT_EQ(store.saveToBytes(), input);
    EXPECT_EQ(store.getValue("\xC2\xA3\xE2\x82\xAC\xC2\x81\xC2\x9D\xC3\xBF"), "\xC3\xA9t\xC3\xA9");

    CProperties written;
    written.addKeyValue("amount", "\xC2\xA3\x31\x30 \xE2\x82\xAC");
    written.addKeyValue("unmappable", "\xE6\x97\xA5");
    EXPECT_EQ(written.saveToBytes(), "amount=\xA3\x31\x30 \x80\r\nunmappable=?\r\n");
}

TEST(CProperties, KeysMatchExactlyAndRemovedOnesLeaveATombstone)
{
    CProperties store;
    EXPECT_EQ(store.getValue("missing"), "ZZZ_NO_VALUE_ZZZ");
    for (const char* key : { "a", "Key", "key", " key", "k", "user" }) {
        EXPECT_TRUE(store.addKeyValue(key, key));
    }
    EXPECT_TRUE(store.addKeyValue("a", "replaced"));
    EXPECT_FALSE(store.getUserExistCheck("KEY"));
    store.removePropertyByKey("k");
    store.removeProperty(CProperty { "Key", "any value" });
    EXPECT_TRUE(store.setDeleteUserPassword("user"));
    EXPECT_FALSE(store.setDeleteUserPassword("user"));
    EXPECT_EQ(store.count(), 6);
    EXPECT_EQ(store.getValue(""), "") << "a tombstone answers to the empty key";
    store.addKeyValue("k", "again");
    EXPECT_EQ(store.saveToBytes(), "a=replaced\r\nkey=key\r\n key= key\r\nk=again\r\n");

    // add keeps the caller's object for a new key only.
    auto mine = std::make_shared<CProperty>(CProperty { "new", "1" });
    EXPECT_TRUE(store.add(mine));
    EXPECT_TRUE(store.add(std::make_shared<CProperty>(CProperty { "new", "2" })));
    EXPECT_EQ(store.getProperty("new"), mine);
    EXPECT_EQ(mine->value, "2");
    EXPECT_FALSE(store.add(nullptr));
}

TEST(CProperties, FilesAreFoundAsWindowsFindsThemAndFailuresKeepTheOldFile)
{
    TestFolder folder;
    CProperties store;
    store.addKeyValue("old", "1");
    EXPECT_TRUE(store.load("C:\\ORVANT\\missing.properties").ok);
    EXPECT_EQ(store.count(), 0);

    folder.write("drive_c/ORVANT/Properties/Terminal.properties", "k=v\r\n");
    ASSERT_TRUE(store.load("C:\\orvant\\properties\\terminal.properties").ok);
    store.addKeyValue("k2", "w");
    ASSERT_TRUE(store.save("C:\\ORVANT\\properties\\TERMINAL.properties").ok);
    EXPECT_EQ(folder.read("drive_c/ORVANT/Properties/Terminal.properties"), "k=v\r\nk2=w\r\n");

    makeUnreadable(folder.driveC() / "ORVANT/Properties/Terminal.properties");
    const auto unread = store.load("C:\\ORVANT\\properties\\terminal.properties");
    EXPECT_FALSE(unread.ok);
    EXPECT_NE(unread.error, "");
    EXPECT_EQ(store.count(), 0);

    folder.write("drive_c/readonly.properties", "k=old\r\n");
    makeReadOnly(folder.driveC() / "readonly.properties");
    store.addKeyValue("k", "new");
    const auto refused = store.save("C:\\readonly.properties");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error, "");
    EXPECT_EQ(folder.read("drive_c/readonly.properties"), "k=old\r\n");
    EXPECT_FALSE(store.save("C:\\no such folder\\x.properties").ok);

    // A store of tombstones only empties the file.
    store.removePropertyByKey("k");
    ASSERT_TRUE(store.save("C:\\ORVANT\\emptied.properties").ok);
    EXPECT_EQ(folder.read("drive_c/ORVANT/emptied.properties"), "");
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
    EXPECT_EQ(store.count(), 32767);
    EXPECT_EQ(store.getValue("key32766"), "32766");
    EXPECT_EQ(store.getValue("key0"), "0");
    EXPECT_FALSE(store.addKeyValue("one more", "v"));
    EXPECT_FALSE(store.add(std::make_shared<CProperty>(CProperty { "one more", "v" })));
    EXPECT_TRUE(store.addKeyValue("key0", "changed"));
    store.removePropertyByKey("key1");
    EXPECT_TRUE(store.addKeyValue("", "the tombstone takes it"));
    EXPECT_EQ(store.count(), 32767);
}

} // namespace
} // namespace tarn
