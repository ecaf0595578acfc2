#include "config_tool/foundation/CProperties.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using tarn::CProperties;
using tarn::CProperty;

std::string keysInOrder(const CProperties& store)
{
    std::string keys;
    for (const auto& entry : store.entries()) {
        keys += "[" + entry->key + "]";
    }
    return keys;
}

TEST(CPropertiesStore, StartsEmptyWithTheNoValueMarker)
{
    CProperties store;
    EXPECT_EQ(store.count(), 0);
    EXPECT_EQ(store.getValue("missing"), "ZZZ_NO_VALUE_ZZZ");
    EXPECT_EQ(store.getProperty("missing"), nullptr);
    EXPECT_FALSE(store.getUserExistCheck("missing"));
    EXPECT_FALSE(store.setDeleteUserPassword("missing"));
    EXPECT_EQ(store.saveToBytes(), "");
    store.NO_VALUE = "<none>";
    EXPECT_EQ(store.getValue("missing"), "<none>");
}

TEST(CPropertiesStore, KeysMatchExactlyAndAPresentKeyIsReplacedInPlace)
{
    CProperties store;
    EXPECT_TRUE(store.addKeyValue("a", "1"));
    EXPECT_TRUE(store.addKeyValue("Key", "upper"));
    EXPECT_TRUE(store.addKeyValue("key", "lower"));
    EXPECT_TRUE(store.addKeyValue(" key", "spaced"));
    EXPECT_TRUE(store.addKeyValue("a", "3"));
    EXPECT_EQ(keysInOrder(store), "[a][Key][key][ key]");
    EXPECT_EQ(store.getValue("key"), "lower");
    EXPECT_FALSE(store.getUserExistCheck("KEY"));
    EXPECT_EQ(store.saveToBytes(), "a=3\r\nKey=upper\r\nkey=lower\r\n key=spaced\r\n");
}

TEST(CPropertiesStore, AddKeepsTheCallersObjectOnlyForANewKey)
{
    CProperties store;
    auto first = std::make_shared<CProperty>(CProperty { "k", "1" });
    EXPECT_TRUE(store.add(first));
    first->value = "changed through the caller's object";
    EXPECT_EQ(store.getValue("k"), "changed through the caller's object");

    auto second = std::make_shared<CProperty>(CProperty { "k", "2" });
    EXPECT_TRUE(store.add(second));
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.getProperty("k"), first);
    EXPECT_EQ(first->value, "2");
    second->value = "not stored";
    EXPECT_EQ(store.getValue("k"), "2");
    EXPECT_FALSE(store.add(nullptr));
    EXPECT_EQ(store.count(), 1);
}

TEST(CPropertiesStore, RemovingLeavesATombstoneAndARevivedKeyGoesLast)
{
    CProperties store;
    store.addKeyValue("a", "1");
    store.addKeyValue("k", "2");
    store.addKeyValue("z", "3");
    store.addKeyValue("b", "4");
    store.addKeyValue("user", "hash");
    store.removePropertyByKey("k");
    EXPECT_EQ(keysInOrder(store), "[a][][z][b][user]");
    EXPECT_EQ(store.getValue("k"), "ZZZ_NO_VALUE_ZZZ");
    // The tombstone answers to the empty key.
    EXPECT_EQ(store.getValue(""), "");
    EXPECT_TRUE(store.getUserExistCheck(""));

    // Through the stored object, which is emptied, or through a copy that only names the key.
    const auto stored = store.getProperty("a");
    store.removeProperty(*stored);
    EXPECT_EQ(stored->key, "");
    EXPECT_EQ(stored->value, "");
    store.removeProperty(CProperty { "b", "whatever" });
    EXPECT_FALSE(store.getUserExistCheck("b"));
    store.removeProperty(CProperty { "absent", "" });
    store.removePropertyByKey("absent");

    EXPECT_TRUE(store.setDeleteUserPassword("user"));
    EXPECT_FALSE(store.getUserExistCheck("user"));
    EXPECT_FALSE(store.setDeleteUserPassword("user"));
    EXPECT_EQ(store.count(), 5);

    store.addKeyValue("k", "again");
    EXPECT_EQ(store.saveToBytes(), "z=3\r\nk=again\r\n");
}

} // namespace
