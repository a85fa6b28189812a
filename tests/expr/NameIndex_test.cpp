// Name lookup: every name is found at its position and only there, whatever its
// length. Names of up to eight characters are told apart by their size and a key of
// their characters, longer ones by a hash of overlapping words and a comparison, so
// the cases below differ at either end, in the middle and where the words meet.
#include "expr/NameIndex.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace {

using ExprEval::NameIndex;

const std::vector<std::string> kNames = {
    "",          "a",          "b",          "ab",        "ba",         "aba",       "aca",
    "abcd",      "abce",       "abcde",      "abXde",     "abcdef",     "abcXef",    "abcdefg",
    "abcXefg",   "abcdefgh",   "abcdefgX",   "Xbcdefgh",  "abcdefghi",  "Xbcdefghi", "abcdXfghi",
    "abcdefghiX", std::string("a\0b", 3), std::string("a\0c", 3), "v0", "v00", "V0", "b0", "below",
    "abcdefghijklmnopq", "abcdefghijklmnopX", "abcdefghXjklmnopq",
};

TEST(NameIndex, FindsEachNameAtItsPositionAndNoNearMiss) {
    NameIndex index;
    for (const std::string& name : kNames) {
        index.Add(name);
    }
    ASSERT_EQ(index.Count(), kNames.size());
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        EXPECT_EQ(index.Find(kNames[i]), static_cast<std::int32_t>(i)) << "name " << i;
    }
    for (const char* missing : {"c", "abc", "abcX", "abcdeX", "abcdefgY", "abcdefghY", "abcdefghijklmnopY", "v1"}) {
        EXPECT_EQ(index.Find(missing), -1) << missing;
    }
    // An empty view without characters is the empty name.
    EXPECT_EQ(index.Find(std::string_view()), 0);
}

// Growing the table moves every entry; all must still be found, and a cleared index
// finds nothing.
TEST(NameIndex, KeepsEveryNameThroughGrowthAndForgetsThemOnClear) {
    NameIndex index;
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        names.push_back((i % 2 == 0 ? "v" : "long_variable_name_") + std::to_string(i));
        index.Add(names.back());
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(index.Find(names[i]), static_cast<std::int32_t>(i)) << names[i];
    }
    EXPECT_EQ(index.Find("v1"), -1);
    index.Clear();
    EXPECT_EQ(index.Count(), 0u);
    EXPECT_EQ(index.Find("v0"), -1);
}

}  // namespace
