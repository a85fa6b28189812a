// The alpha plane and palette alpha.
#include "image/CxImage.h"
#include "tests/image/ImageTestSupport.h"

#include <gtest/gtest.h>

TEST(CxImageAlpha, CreateKeepsAnExistingPlane) {
    CxImage image(2, 2, 24);
    ASSERT_TRUE(image.AlphaCreate());
    EXPECT_EQ(255, image.AlphaGet(1, 1));
    image.AlphaSet(1, 1, 9);
    ASSERT_TRUE(image.AlphaCreate());
    EXPECT_EQ(9, image.AlphaGet(1, 1));
    image.AlphaInvert();
    EXPECT_EQ(246, image.AlphaGet(1, 1));
    ASSERT_TRUE(image.AlphaFlip());
    EXPECT_EQ(246, image.AlphaGet(1, 0));
    ASSERT_TRUE(image.AlphaMirror());
    EXPECT_EQ(246, image.AlphaGet(0, 0));
}

TEST(CxImageAlpha, FromGrayNeedsAGreyImageOfTheSameSize) {
    CxImage image(2, 2, 24);
    CxImage grey(2, 2, 8);
    grey.SetGrayPalette();
    grey.SetPixelIndex(0, 1, 77);
    ASSERT_TRUE(image.AlphaFromGray(grey));
    EXPECT_EQ(77, image.AlphaGet(0, 1));
    CxImage colour(2, 2, 8);
    colour.SetStdPalette();
    EXPECT_FALSE(image.AlphaFromGray(colour));
    CxImage split;
    ASSERT_TRUE(image.AlphaSplit(&split));
    EXPECT_EQ(77, split.GetPixelIndex(0, 1));
}

TEST(CxImageAlpha, FlattenBlendsOverTheTransparentColour) {
    CxImage image = MakeImage(
        2, 1, [](long x, long) { return Quad(200, 100, 0, x == 0 ? 0 : 255); }, true);
    image.SetTransColor(Quad(0, 0, 250));
    image.FlattenAlpha();
    EXPECT_FALSE(image.AlphaIsValid());
    EXPECT_EQ(Quad(0, 0, 250), image.GetPixelColor(0, 0, false));
    EXPECT_EQ(Quad(200, 100, 0), image.GetPixelColor(1, 0, false));
    CxImage indexed(1, 1, 8);
    indexed.SetPaletteColor(0, 255, 255, 255, 51);
    ASSERT_TRUE(indexed.AlphaPaletteIsValid());
    indexed.FlattenAlpha();
    EXPECT_EQ(24, indexed.GetBpp());
    EXPECT_EQ(51, indexed.GetPixelColor(0, 0, false).red);
}
