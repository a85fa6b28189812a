// Drawing text into an image with a Windows font.
#include "image/CxImage.h"
#include "image/TextSettings.h"
#include "tests/image/ImageTestSupport.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

long CountColour(const CxImage& image, RgbQuad color) {
    long count = 0;
    for (long y = 0; y < static_cast<long>(image.GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(image.GetWidth()); x++) {
            const RgbQuad pixel = image.GetPixelColor(x, y, false);
            count += pixel.red == color.red && pixel.green == color.green && pixel.blue == color.blue;
        }
    }
    return count;
}

}  // namespace

TEST(CxImageText, InitTextSettingsFillsTheDefaults) {
    TextSettings settings;
    CxImage::InitTextSettings(&settings);
    EXPECT_STREQ("Sample Text 01234\xF5\xFB", settings.text);
    EXPECT_EQ(-36, settings.font.lfHeight);
    EXPECT_EQ(238, settings.font.lfCharSet);
    EXPECT_STREQ("Arial", settings.font.lfFaceName);
    EXPECT_EQ(0xA0FFFFu, settings.textColor);
    EXPECT_EQ(1, settings.alignment);
    EXPECT_EQ(0x6020u, settings.boxColor);
    EXPECT_EQ(20, settings.cornerRadius);
}

TEST(CxImageText, StampTextSetsTextPixelsInTheColour) {
    CxImage image(120, 40, 24);
    EXPECT_EQ(1, image.StampText(nullptr, 2, 30, "Hello", RGB(255, 0, 0), "Arial", 20, 400, 0, 0, false));
    EXPECT_GT(CountColour(image, Quad(255, 0, 0)), 10);
    EXPECT_EQ(1, CxImage().StampText(nullptr, 0, 0, "x", 0, "Arial", 10, 400, 0, 0, false));
}

TEST(CxImageText, StampTextBoxCorrectsTheRecordAndDrawsTheBox) {
    CxImage image(200, 60, 24);
    TextSettings settings;
    CxImage::InitTextSettings(&settings);
    std::strcpy(settings.text, "Box");
    settings.font.lfHeight = -20;
    settings.alignment = 7;
    settings.cornerRadius = 80;
    settings.boxOpacity = 3.0f;
    EXPECT_EQ(1, image.StampTextBox(nullptr, 100, 50, &settings, false));
    EXPECT_EQ(1, settings.alignment);
    EXPECT_EQ(10, settings.cornerRadius);
    EXPECT_EQ(0.0f, settings.boxOpacity);
    const RgbQuad box = ColorrefToRgbQuad(0x6020);
    EXPECT_GT(CountColour(image, box), 50);
    EXPECT_EQ(-1, CxImage().StampTextBox(nullptr, 0, 0, &settings, false));
}
