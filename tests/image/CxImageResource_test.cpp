// Pictures from a module's "Image" resources: what happens when there is none to load or
// its bytes are no picture.
#include "image/CxImage.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

struct BrokenResourceCase {
    UINT id;
    const char* error;
};

}  // namespace

TEST(CxImageResource, AMissingResourceFailsWithItsText) {
    CxImage image(kImageFormatPng);
    HMODULE module = GetModuleHandleA(nullptr);
    EXPECT_FALSE(image.LoadImageResource(FindResourceA(module, MAKEINTRESOURCEA(999), "Image"), kImageFormatPng,
                                         module));
    EXPECT_STREQ("Unable to load resource!", image.GetLastError());
    EXPECT_FALSE(image.IsValid());
}

TEST(CxImageResource, AResourceThatDoesNotDecodeFailsWithTheDecodersText) {
    const BrokenResourceCase cases[] = {
        {301, "Not a PNG file"},
        {302, "Read Error"},
    };
    HMODULE module = GetModuleHandleA(nullptr);
    for (const BrokenResourceCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "resource " << c.id);
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(c.id), "Image");
        ASSERT_NE(nullptr, resource);
        CxImage image(kImageFormatPng);
        EXPECT_FALSE(image.LoadImageResource(resource, kImageFormatPng, module));
        EXPECT_STREQ(c.error, image.GetLastError());
        EXPECT_FALSE(image.IsValid());
    }
}
