#include "classlib/core/CMap.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Keys(const CMapStringToString& map) {
    std::vector<std::string> keys;
    CString key;
    CString value;
    for (POSITION position = map.GetStartPosition(); position != nullptr;) {
        map.GetNextAssoc(position, key, value);
        keys.push_back(key.GetString());
    }
    return keys;
}

}  // namespace

TEST(CMap, HashesStringsAsTheFilesExpect) {
    // h = h * 33 + byte; the bucket is h modulo 17.
    EXPECT_EQ(3401u, HashKey("de"));
    EXPECT_EQ(1u, HashKey("de") % 17);
    EXPECT_EQ(9u, HashKey("en") % 17);
    EXPECT_EQ(12u, HashKey("fr") % 17);
    EXPECT_EQ(13u, HashKey("hu") % 17);
    // Bytes above 0x7F count as negative: bucket 11, where unsigned bytes would give 12.
    EXPECT_EQ(114812u, HashKey("fr\xE4"));
    EXPECT_EQ(11u, HashKey("fr\xE4") % 17);
    EXPECT_EQ(0x3FFu, HashKey(static_cast<DWORD>(0x3FF5)));
}

TEST(CMap, WalksBucketsInOrderWhateverTheInsertionOrder) {
    std::vector<std::string> order = {"de", "en", "fr", "hu"};
    std::sort(order.begin(), order.end());
    do {
        std::string name;
        for (const std::string& key : order) {
            name += key + " ";
        }
        SCOPED_TRACE(name);
        CMapStringToString descriptions;
        for (const std::string& key : order) {
            descriptions.SetAt(key.c_str(), ("text " + key).c_str());
        }
        EXPECT_EQ((std::vector<std::string>{"de", "en", "fr", "hu"}), Keys(descriptions));
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(CMap, WalksTheNewestKeyOfABucketFirst) {
    // "hu" and "pl" share bucket 13.
    ASSERT_EQ(HashKey("hu") % 17, HashKey("pl") % 17);
    CMapStringToString map;
    map.SetAt("hu", "1");
    map.SetAt("en", "2");
    map.SetAt("pl", "3");
    EXPECT_EQ((std::vector<std::string>{"en", "pl", "hu"}), Keys(map));

    // Changing a value keeps the place; removing and adding again moves the key to the front.
    map.SetAt("hu", "4");
    EXPECT_EQ((std::vector<std::string>{"en", "pl", "hu"}), Keys(map));
    EXPECT_TRUE(map.RemoveKey("pl"));
    EXPECT_FALSE(map.RemoveKey("pl"));
    map.SetAt("pl", "5");
    EXPECT_EQ((std::vector<std::string>{"en", "pl", "hu"}), Keys(map));
    EXPECT_TRUE(map.RemoveKey("hu"));
    map.SetAt("hu", "6");
    EXPECT_EQ((std::vector<std::string>{"en", "hu", "pl"}), Keys(map));
}

TEST(CMap, LooksUpAddsAndRemoves) {
    CMapStringToString map;
    CString value("untouched");
    EXPECT_FALSE(map.Lookup("de", value));
    EXPECT_STREQ("untouched", value);
    EXPECT_EQ(nullptr, map.GetStartPosition());
    map["de"] = "Deutsch";
    EXPECT_TRUE(map.Lookup("de", value));
    EXPECT_STREQ("Deutsch", value);
    EXPECT_STREQ("", map["en"]);
    EXPECT_EQ(2, map.GetCount());
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_FALSE(map.Lookup("de", value));
}

TEST(CMap, RemovesTheKeyJustWalked) {
    CMapWordToPtr records;
    int data[4] = {};
    const WORD ids[] = {80, 82, 84, 86};
    for (int i = 0; i < 4; ++i) {
        records.SetAt(ids[i], &data[i]);
    }
    WORD key = 0;
    void* value = nullptr;
    int walked = 0;
    for (POSITION position = records.GetStartPosition(); position != nullptr; ++walked) {
        records.GetNextAssoc(position, key, value);
        records.RemoveKey(key);
    }
    EXPECT_EQ(4, walked);
    EXPECT_TRUE(records.IsEmpty());
}

TEST(CMap, UsesTheTableSizeItIsGiven) {
    CMap<int, int, int, int> rows;
    rows.InitHashTable(3);
    EXPECT_EQ(3u, rows.GetHashTableSize());
    // (key >> 4) % 3: 0x10 -> 1, 0x20 -> 2, 0x30 -> 0.
    rows.SetAt(0x10, 1);
    rows.SetAt(0x20, 2);
    rows.SetAt(0x30, 3);
    std::vector<int> keys;
    int key = 0;
    int value = 0;
    for (POSITION position = rows.GetStartPosition(); position != nullptr;) {
        rows.GetNextAssoc(position, key, value);
        keys.push_back(key);
    }
    EXPECT_EQ((std::vector<int>{0x30, 0x10, 0x20}), keys);

    CMapPtrToPtr marks;
    int a = 0;
    marks.SetAt(&a, &key);
    void* found = nullptr;
    EXPECT_TRUE(marks.Lookup(&a, found));
    EXPECT_EQ(&key, found);
}
