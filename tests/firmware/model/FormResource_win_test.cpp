// The form of the patch editor as the program finds it: the "Form" resource linked into this
// test holds the file of the source tree, and every label text is in the string table.
#include "FormResourceSupport.h"
#include "firmware/CModuleResourceSource.h"
#include "res/FormIds.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(FormResource, HoldsTheFileOfTheSourceTree) {
    std::string linked;
    ASSERT_TRUE(CModuleResourceSource().GetResource("Form", IDR_FORM_PATCH, linked));
    const std::string expected = ShippedFormText();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, linked);
}

TEST(FormResource, LinksTheEnglishLabelTexts) {
    const std::map<uint32_t, std::string> strings = ShippedFormStrings();
    ASSERT_FALSE(strings.empty());
    for (const auto& [id, text] : strings) {
        char loaded[256] = {};
        ASSERT_GT(::LoadStringA(::GetModuleHandleA(nullptr), id, loaded, sizeof loaded), 0) << id;
        EXPECT_EQ(text, loaded) << id;
    }
}
