// The registry key owner: a text value written through one key reads back through another.
#include "classlib/win/CRegistryKey.h"

#include <gtest/gtest.h>

namespace {

const char kTestKey[] = "Software\\ZarvoTests\\CRegistryKey";

// Removes the test's key before and after the test.
class CRegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }

    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
};

TEST_F(CRegistryKeyTest, TextWrittenThroughACreatedKeyReadsBackThroughAnOpenedOne) {
    {
        CRegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, kTestKey, KEY_WRITE));
        EXPECT_EQ(ERROR_SUCCESS, key.SetText("Language", "1031"));
        const DWORD number = 7;
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key.Get(), "Number", 0, REG_DWORD,
                                                reinterpret_cast<const BYTE*>(&number), sizeof(number)));
    }
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ));
    CString text = "unchanged";
    EXPECT_EQ(ERROR_SUCCESS, key.QueryText("Language", text));
    EXPECT_STREQ("1031", text);
    text = "unchanged";
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryText("Number", text));
    EXPECT_NE(ERROR_SUCCESS, key.QueryText("Missing", text));
    EXPECT_STREQ("unchanged", text);
}

TEST_F(CRegistryKeyTest, OpeningAMissingKeyFailsAndLeavesNoKey) {
    CRegistryKey key;
    EXPECT_NE(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ));
    EXPECT_EQ(nullptr, key.Get());
}

}  // namespace
