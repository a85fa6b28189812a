// Overflow methods, kernels, point and area sampling.
#include "image/CxImage.h"
#include "tests/image/ImageTestSupport.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

TEST(CxImageInterpolation, KernelsHaveTheirDefiningValues) {
    struct {
        int method;
        float t, expected;
    } rows[] = {
        {kInterpolationBSpline, 0, 0.6666667f},
        {kInterpolationBSpline, 1, 0.1666667f},
        {kInterpolationBSpline, 2.5f, 0},
        {kInterpolationCubic, 0, 1},
        {kInterpolationCubic, 1, 0},
        {kInterpolationCubic, 2, 0},
        {kInterpolationGeneralisedCubic, 0.5f, 0.5625f},
        {kInterpolationLanczos, 0, 1},
        {kInterpolationLanczos, 1, 0},
        {kInterpolationLanczos, 6.5f, 0},
        {kInterpolationBox, -0.5f, 1},
        {kInterpolationBox, 0.5f, 0},
        {kInterpolationHermite, 0.5f, 0.5f},
        {kInterpolationHamming, 0.5f, 0.54f},
        {kInterpolationSinc, 0.5f, 0.6366198f},
        {kInterpolationBlackman, 0, 1},
        {kInterpolationBessel, 0, 0.7853982f},
        {kInterpolationBessel, 1, 0.1423077f},
        {kInterpolationGaussian, 0, 0.7978846f},
        {kInterpolationQuadratic, 0, 0.75f},
        {kInterpolationMitchell, 0, 0.8888889f},
        {kInterpolationMitchell, 1, 0.0555556f},
        {kInterpolationCatmullRom, 0, 1},
        {kInterpolationCatmullRom, 1, 0},
        {kInterpolationCatmullRom, -1.5f, -0.0625f},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "method " << row.method << " t " << row.t);
        EXPECT_NEAR(row.expected, CxImage::KernelValue(row.method, row.t), 1e-5);
    }
}

TEST(CxImageInterpolation, OverflowMethodsMoveOutsidePoints) {
    CxImage image(5, 4, 24);

    struct {
        int method;
        long x, y, expectedX, expectedY;
    } rows[] = {
        {kOverflowMirror, -1, 0, 1, 0}, {kOverflowMirror, 5, 4, 4, 3},  {kOverflowWrap, -1, -1, 4, 3},
        {kOverflowRepeat, -7, 9, 0, 3}, {kOverflowColor, -7, 9, -7, 9},
    };

    for (const auto& row : rows) {
        SCOPED_TRACE(row.method);
        long x = row.x;
        long y = row.y;
        image.ApplyOverflow(x, y, row.method);
        EXPECT_EQ(row.expectedX, x);
        EXPECT_EQ(row.expectedY, y);
    }
}

TEST(CxImageInterpolation, OutsideColoursFollowTheOverflowMethod) {
    CxImage image = MakeImage(
        3, 3, [](long, long) { return Quad(10, 20, 30, 255); }, true);
    const RgbQuad red = Quad(255, 0, 0, 200);
    EXPECT_EQ(Quad(255, 255, 255, 0), image.GetPixelColorOrOverflow(-1, 0, kOverflowTransparent, nullptr));
    EXPECT_EQ(Quad(255, 0, 0, 0), image.GetPixelColorOrOverflow(9, 0, kOverflowTransparent, &red));
    EXPECT_EQ(red, image.GetPixelColorOrOverflow(9, 0, kOverflowColor, &red));
    EXPECT_EQ(Quad(10, 20, 30, 255), image.GetPixelColorOrOverflow(9, 9, kOverflowRepeat, &red));
    image.SetTransIndex(0);
    image.SetTransColor(Quad(1, 2, 3));
    EXPECT_EQ(Quad(1, 2, 3), image.GetPixelColorOrOverflow(-4, 0, kOverflowBackground, &red));
}

TEST(CxImageInterpolation, BilinearAtTheCentreOfFourPixelsIsTheirMean) {
    CxImage image(2, 2, 24);
    image.SetPixelColor(0, 0, Quad(0, 0, 0));
    image.SetPixelColor(1, 0, Quad(100, 40, 8));
    image.SetPixelColor(0, 1, Quad(200, 80, 16));
    image.SetPixelColor(1, 1, Quad(100, 40, 8));
    EXPECT_EQ(Quad(100, 40, 8),
              image.InterpolatePixel(0.5f, 0.5f, kInterpolationBilinear, kOverflowRepeat, nullptr));
    CxImage indexed(2, 2, 8);
    indexed.SetGrayPalette();
    indexed.SetPixelIndex(1, 1, 200);
    EXPECT_EQ(50, indexed.InterpolatePixel(0.5f, 0.5f, kInterpolationBilinear, kOverflowRepeat, nullptr).red);
}

TEST(CxImageInterpolation, EveryMethodKeepsAUniformImageUniform) {
    CxImage image = MakeImage(16, 16, [](long, long) { return Quad(120, 60, 30); });
    for (int method = 1; method <= 16; method++) {
        SCOPED_TRACE(method);
        const RgbQuad color = image.InterpolatePixel(7.3f, 8.6f, method, kOverflowRepeat, nullptr);
        const bool unnormalised = method == kInterpolationHamming || method == kInterpolationSinc ||
                                  method == kInterpolationBlackman || method == kInterpolationBessel ||
                                  method == kInterpolationGaussian;
        if (!unnormalised) {
            EXPECT_NEAR(120, color.red, 1);
            EXPECT_NEAR(30, color.blue, 1);
        }
        const RgbQuad area = image.InterpolateArea(7, 8, 2, 2, method, kOverflowRepeat, nullptr);
        EXPECT_NEAR(60, area.green, 1);
    }
}

TEST(CxImageInterpolation, AreaOfOnePixelIsThePointSample) {
    CxImage image = MakeImage(4, 4, [](long x, long y) { return Quad(BYTE(x * 60), BYTE(y * 60), 9); });
    for (int method : {kInterpolationBilinear, kInterpolationLanczos, kInterpolationCatmullRom}) {
        EXPECT_EQ(image.InterpolatePixel(1.25f, 2.5f, method, kOverflowRepeat, nullptr),
                  image.InterpolateArea(1.25f, 2.5f, 1, 1, method, kOverflowRepeat, nullptr));
    }
}

TEST(CxImageInterpolation, HostilePositionsGiveTheOverflowColour) {
    CxImage image = MakeImage(
        3, 3, [](long, long) { return Quad(10, 20, 30); }, true);
    const float values[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            3e30f, -3e30f};
    for (float v : values) {
        for (int method = 1; method <= 16; method++) {
            for (int overflow = 0; overflow <= 6; overflow++) {
                const RgbQuad color = image.InterpolatePixel(v, 1, method, overflow, nullptr);
                if (overflow <= kOverflowTransparent) {
                    EXPECT_EQ(0, color.alpha);
                }
                image.InterpolateArea(v, v, 3, 3, method, overflow, nullptr);
            }
        }
    }
}

TEST(FloatRect, DisjointRectanglesIntersectToNothing) {
    const FloatRect a(0, 0, 1, 1);
    const FloatRect none = a.Intersect(FloatRect(2, 2, 3, 3));
    EXPECT_EQ(0, none.left);
    EXPECT_EQ(0, none.Surface());
    EXPECT_FLOAT_EQ(0.25f, a.Intersect(FloatRect(0.5f, 0.5f, 2, 2)).Surface());
}
