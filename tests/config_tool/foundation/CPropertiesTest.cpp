#include "config_tool/foundation/CProperties.h"

#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

using namespace orvant::test;

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
    EXPECT_TRUE(store.setDeleteUserPassword("user") && !store.setDeleteUserPassword("user"));
    EXPECT_EQ(store.count(), 6);
    EXPECT_EQ(store.getValue("k") + "|" + store.getValue(""), "ZZZ_NO_VALUE_ZZZ|") << "a tombstone answers to \"\"";
    store.addKeyValue("k", "again");
    EXPECT_EQ(store.saveToBytes(), "a=replaced\r\nkey=key\r\n key= key\r\nk=again\r\n");
    // add keeps the caller's object for a new key only.
    auto mine = std::make_shared<CProperty>(CProperty { "new", "1" });
    EXPECT_TRUE(store.add(mine) && store.add(std::make_shared<CProperty>(CProperty { "new", "2" })));
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
    EXPECT_EQ(store.count(), 0);
    store.addKeyValue("k", "v");
    store.removePropertyByKey("k");
    ASSERT_TRUE(store.save(file).ok);
    EXPECT_EQ(folder.read("drive_c/x.properties"), "") << "tombstones are not written";

    folder.write("drive_c/x.properties", "k=old\r\n");
    makeReadOnly(folder.driveC() / "x.properties");
    store.addKeyValue("k", "new");
    const auto refused = store.save(file);
    EXPECT_NE(refused.ok ? "" : refused.error, "");
    EXPECT_EQ(folder.read("drive_c/x.properties"), "k=old\r\n");
    makeUnreadable(folder.driveC() / "x.properties");
    const auto unread = store.load(file);
    EXPECT_NE(unread.ok ? "" : unread.error, "");
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
    EXPECT_EQ(store.getValue("key32766") + store.getValue("key0") + store.getValue("key32767"),
              "327660ZZZ_NO_VALUE_ZZZ");
    EXPECT_FALSE(store.addKeyValue("one more", "v")
                 || store.add(std::make_shared<CProperty>(CProperty { "more", "" })));
    store.removePropertyByKey("key1");
    EXPECT_TRUE(store.addKeyValue("key0", "changed") && store.addKeyValue("", "the tombstone takes it"));
    EXPECT_EQ(store.count(), 32767);
}

} // namespace
} // namespace tarn
