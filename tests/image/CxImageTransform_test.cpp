// Geometric transforms: identities that must hold at every depth, crop and expand.
#include "image/CxImage.h"
#include "tests/image/ImageTestSupport.h"

#include <gtest/gtest.h>

namespace {

CxImage Pattern(DWORD bpp) {
    CxImage image(7, 5, bpp);
    if (bpp <= 8) {
        image.SetStdPalette();
        image.SetGrayPalette();
    }
    image.AlphaCreate();
    for (long y = 0; y < 5; y++) {
        for (long x = 0; x < 7; x++) {
            if (bpp <= 8) {
                image.SetPixelIndex(x, y, static_cast<BYTE>((x * 3 + y * 5) % image.GetNumColors()));
            } else {
                image.SetPixelColor(x, y, Quad(BYTE(x * 30), BYTE(y * 50), BYTE(x * y)), false);
            }
            image.AlphaSet(x, y, static_cast<BYTE>(x * 10 + y));
        }
    }
    return image;
}

}  // namespace

TEST(CxImageTransform, RotationsFlipsAndMirrorsComposeToIdentities) {
    for (DWORD bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        const CxImage original = Pattern(bpp);
        const std::vector<BYTE> pixels = EffectiveRgba(original);
        CxImage image(original);
        ASSERT_TRUE(image.RotateLeft());
        EXPECT_EQ(5u, image.GetWidth());
        ASSERT_TRUE(image.RotateRight());
        EXPECT_EQ(pixels, EffectiveRgba(image));
        ASSERT_TRUE(image.Flip() && image.Flip() && image.Mirror() && image.Mirror());
        EXPECT_EQ(pixels, EffectiveRgba(image));
        CxImage turned(original);
        ASSERT_TRUE(turned.Rotate180());
        CxImage flipped(original);
        ASSERT_TRUE(flipped.Flip() && flipped.Mirror());
        EXPECT_EQ(EffectiveRgba(flipped), EffectiveRgba(turned));
        CxImage right(original);
        ASSERT_TRUE(right.RotateRight());
        EXPECT_EQ(original.GetPixelColor(0, 0), right.GetPixelColor(0, 6));
    }
}

TEST(CxImageTransform, InterpolatedRightAnglesMatchTheExactTurns) {
    const CxImage original = Pattern(24);
    CxImage exact(original);
    ASSERT_TRUE(exact.RotateRight());
    CxImage shortcut;
    CxImage source(original);
    ASSERT_TRUE(source.RotateAngleInterpolated(90, &shortcut, kInterpolationBilinear, kOverflowRepeat,
                                               nullptr, true, false));
    EXPECT_EQ(EffectiveRgba(exact), EffectiveRgba(shortcut));
    CxImage general;
    ASSERT_TRUE(source.RotateAngleInterpolated(90, &general, kInterpolationNearest, kOverflowRepeat, nullptr,
                                               false, false));
    EXPECT_EQ(EffectiveRgba(exact), EffectiveRgba(general));
}

TEST(CxImageTransform, CropTakesTopDownCoordinatesAndExpandRestoresTheInside) {
    const CxImage original = Pattern(24);
    CxImage crop;
    CxImage source(original);
    ASSERT_TRUE(source.Crop(1, 1, 5, 3, &crop));
    EXPECT_EQ(4u, crop.GetWidth());
    EXPECT_EQ(2u, crop.GetHeight());
    EXPECT_EQ(original.GetPixelColor(1, 3), crop.GetPixelColor(0, 1));
    EXPECT_EQ(original.AlphaGet(4, 2), crop.AlphaGet(3, 0));
    EXPECT_FALSE(source.Crop(2, 2, 2, 4, nullptr));
    CxImage expanded;
    ASSERT_TRUE(crop.Expand(1, 1, 2, 2, Quad(9, 8, 7), &expanded));
    EXPECT_EQ(7u, expanded.GetWidth());
    EXPECT_EQ(original.GetPixelColor(1, 3, false), expanded.GetPixelColor(1, 3, false));
    EXPECT_EQ(Quad(9, 8, 7), expanded.GetPixelColor(0, 0, false));
    EXPECT_FALSE(crop.ExpandTo(3, 3, Quad(0, 0, 0), nullptr));
    CxImage plain;
    ASSERT_TRUE(source.CropRotated(1, 1, 4, 2, 0.0001f, &plain));
    EXPECT_EQ(EffectiveRgba(crop), EffectiveRgba(plain));
}

TEST(CxImageTransform, FitIntoKeepsTheAspectAndPadsWithTheCanvas) {
    CxImage image = MakeImage(8, 4, [](long, long) { return Quad(50, 60, 70); });
    ASSERT_TRUE(image.FitInto(4, 4, Quad(1, 1, 1), nullptr));
    EXPECT_EQ(4u, image.GetWidth());
    EXPECT_EQ(Quad(1, 1, 1), image.GetPixelColor(0, 0, false));
    EXPECT_EQ(Quad(50, 60, 70), image.GetPixelColor(2, 2, false));
}

TEST(CxImageTransform, CircleTransformLeavesTheOutsideFallbackBeyondTheRadius) {
    CxImage image = MakeImage(9, 9, [](long x, long y) { return Quad(BYTE(x * 20), BYTE(y * 20), 1); });
    const RgbQuad corner = image.GetPixelColor(0, 0, false);
    ASSERT_TRUE(image.CircleTransform(0, 3, 0));
    EXPECT_EQ(corner, image.GetPixelColor(8, 8, false));
    EXPECT_EQ(Quad(80, 80, 1), image.GetPixelColor(4, 4, false));
    EXPECT_TRUE(image.Skew(0.5f, 0, 0, 0, true));
    EXPECT_TRUE(image.Skew(100000.0f, -1e30f, 0, 0, false));
}
