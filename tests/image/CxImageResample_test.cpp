// Resampling: the general resampler with every method, the simple resampler and the
// integer shrink.
#include "image/CxImage.h"
#include "tests/image/ImageTestSupport.h"

#include <algorithm>

#include <gtest/gtest.h>

TEST(CxImageResample, SameSizeCopiesIntoTheDestination) {
    CxImage image = MakeImage(3, 2, [](long x, long y) { return Quad(BYTE(x), BYTE(y), 5); });
    CxImage copy;
    EXPECT_TRUE(image.ResampleImage(3, 2, kInterpolationLanczos, kOverflowTransparent, &copy, false));
    EXPECT_EQ(EffectiveRgba(image), EffectiveRgba(copy));
}

TEST(CxImageResample, HalvingAveragesTwoByTwoAreas) {
    CxImage image(4, 2, 24);
    const BYTE reds[2][4] = {{0, 100, 40, 40}, {100, 200, 40, 40}};
    for (long y = 0; y < 2; y++) {
        for (long x = 0; x < 4; x++) {
            image.SetPixelColor(x, y, Quad(reds[y][x], 0, 0));
        }
    }
    CxImage half;
    ASSERT_TRUE(image.ResampleImage(2, 1, kInterpolationLanczos, kOverflowTransparent, &half, false));
    EXPECT_EQ(100, half.GetPixelColor(0, 0).red);
    EXPECT_EQ(40, half.GetPixelColor(1, 0).red);
    CxImage sampled;
    ASSERT_TRUE(image.ResampleImage(2, 1, kInterpolationBilinear, kOverflowRepeat, &sampled, true));
    EXPECT_EQ(100, sampled.GetPixelColor(0, 0).red);  // bilinear at (0.5, 0.5)
}

TEST(CxImageResample, EveryMethodKeepsUniformPicturesUniformBothWays) {
    CxImage image = MakeImage(
        12, 9, [](long, long) { return Quad(90, 140, 210, 255); }, true);
    for (int method = 1; method <= 16; method++) {
        const bool unnormalised = method == kInterpolationHamming || method == kInterpolationSinc ||
                                  method == kInterpolationBlackman || method == kInterpolationBessel ||
                                  method == kInterpolationGaussian;
        for (long size : {5L, 20L}) {
            SCOPED_TRACE(testing::Message() << "method " << method << " size " << size);
            CxImage out;
            ASSERT_TRUE(image.ResampleImage(size, size, method, kOverflowRepeat, &out, false));
            ASSERT_EQ(static_cast<DWORD>(size), out.GetWidth());
            if (unnormalised && size > 12) {
                continue;
            }
            for (long y = 0; y < size; y++) {
                for (long x = 0; x < size; x++) {
                    ASSERT_NEAR(140, out.GetPixelColor(x, y).green, 1);
                    ASSERT_NEAR(255, out.AlphaGet(x, y), 1);
                }
            }
        }
    }
}

TEST(CxImageResample, MainWindowRoadKeepsTransparencyAndItsEdge) {
    // Left half opaque red, right half fully transparent, as in the window's pictures.
    CxImage picture = MakeImage(
        301, 301, [](long x, long) { return x < 150 ? Quad(200, 0, 0, 255) : Quad(0, 0, 0, 0); }, true);
    CxImage scaled;
    ASSERT_TRUE(picture.ResampleImage(44, 44, kInterpolationLanczos, kOverflowTransparent, &scaled, false));
    ASSERT_TRUE(scaled.AlphaIsValid());
    EXPECT_NEAR(255, scaled.AlphaGet(5, 20), 1);
    EXPECT_NEAR(200, scaled.GetPixelColor(5, 20).red, 1);
    EXPECT_EQ(0, scaled.AlphaGet(40, 20));
    for (long x = 0; x < 44; x++) {
        const bool edge = x >= 21 && x <= 22;
        if (!edge) {
            EXPECT_NEAR(x < 22 ? 255 : 0, scaled.AlphaGet(x, 30), 1) << x;
        }
    }
    CxImage wide = MakeImage(
        1151, 186, [](long, long) { return Quad(0, 0, 0, 0); }, true);
    ASSERT_TRUE(wide.ResampleImage(216, 35, kInterpolationLanczos, kOverflowTransparent, nullptr, false));
    EXPECT_EQ(216u, wide.GetWidth());
    EXPECT_EQ(0, wide.AlphaGet(100, 10));
}

namespace {

// The exact mean of one channel of the source over the destination pixel's box, with
// source pixel i covering [i, i + 1) and partly covered pixels weighted by their share.
double ExactAreaMean(const CxImage& source, long dx, long dy, double xScale, double yScale, int channel) {
    const double left = dx * xScale;
    const double right = (dx + 1) * xScale;
    const double bottom = dy * yScale;
    const double top = (dy + 1) * yScale;
    double sum = 0;
    double weights = 0;
    for (long y = static_cast<long>(bottom); y < top && y < static_cast<long>(source.GetHeight()); y++) {
        const double h = std::min<double>(y + 1, top) - std::max<double>(y, bottom);
        for (long x = static_cast<long>(left); x < right && x < static_cast<long>(source.GetWidth()); x++) {
            const double w = std::min<double>(x + 1, right) - std::max<double>(x, left);
            const RgbQuad color = source.GetPixelColor(x, y, true);
            const BYTE values[4] = {color.red, color.green, color.blue, color.alpha};
            sum += w * h * values[channel];
            weights += w * h;
        }
    }
    return sum / weights;
}

}  // namespace

// The main window's pictures shrink to sizes of its layout. An opaque uniform picture
// stays exactly its colour and fully opaque (a level less would let the background
// through); any picture gets the exact area mean, rounded.
TEST(CxImageResample, ShrinkingGivesTheRoundedExactAreaMean) {
    struct Case {
        DWORD width, height;
        long newWidth, newHeight;
    };

    const Case cases[] = {{301, 301, 44, 44}, {301, 301, 97, 97}, {1151, 186, 216, 35}, {1151, 186, 365, 59}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << " -> " << c.newWidth << "x" << c.newHeight);
        CxImage uniform = MakeImage(
            c.width, c.height, [](long, long) { return Quad(200, 30, 40, 255); }, true);
        ASSERT_TRUE(uniform.ResampleImage(c.newWidth, c.newHeight, kInterpolationLanczos,
                                          kOverflowTransparent, nullptr, false));
        for (long y = 0; y < c.newHeight; y++) {
            for (long x = 0; x < c.newWidth; x++) {
                ASSERT_EQ(Quad(200, 30, 40, 255), uniform.GetPixelColor(x, y, true)) << x << "," << y;
            }
        }

        CxImage pattern = MakeImage(
            c.width, c.height,
            [](long x, long y) {
                return Quad(BYTE(x * 37 % 256), BYTE((x + 3 * y) % 7 * 40), BYTE(y * 11 % 256),
                            BYTE(x % 5 * 60));
            },
            true);
        CxImage scaled;
        ASSERT_TRUE(pattern.ResampleImage(c.newWidth, c.newHeight, kInterpolationLanczos,
                                          kOverflowTransparent, &scaled, false));
        const double xScale = static_cast<double>(c.width) / c.newWidth;
        const double yScale = static_cast<double>(c.height) / c.newHeight;
        for (long y = 0; y < c.newHeight; y += 3) {
            for (long x = 0; x < c.newWidth; x += 3) {
                const RgbQuad color = scaled.GetPixelColor(x, y, true);
                const BYTE values[4] = {color.red, color.green, color.blue, color.alpha};
                for (int channel = 0; channel < 4; channel++) {
                    ASSERT_NEAR(ExactAreaMean(pattern, x, y, xScale, yScale, channel), values[channel], 0.51)
                        << x << "," << y << " channel " << channel;
                }
            }
        }
    }
}

TEST(CxImageResample, EscapeStopsEarlyButStillSucceeds) {
    CxImage image = MakeImage(8, 8, [](long, long) { return Quad(1, 1, 1); });
    image.SetEscape(1);
    EXPECT_TRUE(image.ResampleImage(4, 4, kInterpolationBilinear, kOverflowRepeat, nullptr, false));
    EXPECT_EQ(4u, image.GetWidth());
    EXPECT_EQ(0, image.GetPixelColor(0, 0).red);
}

TEST(CxImageResample, SimpleModesGiveTheirPixels) {
    CxImage image(4, 4, 24);
    for (long y = 0; y < 4; y++) {
        for (long x = 0; x < 4; x++) {
            image.SetPixelColor(x, y, Quad(BYTE(x * 40), BYTE(y * 40), 100));
        }
    }
    CxImage nearest;
    ASSERT_TRUE(image.ResampleSimple(2, 2, 1, &nearest));
    EXPECT_EQ(80, nearest.GetPixelColor(1, 1).red);
    CxImage area;
    ASSERT_TRUE(image.ResampleSimple(2, 2, 0, &area));
    EXPECT_EQ(20, area.GetPixelColor(0, 0).red);
    EXPECT_EQ(100, area.GetPixelColor(1, 0).red);
    CxImage bilinear;
    ASSERT_TRUE(image.ResampleSimple(8, 8, 0, &bilinear));
    EXPECT_EQ(20, bilinear.GetPixelColor(1, 0).red);
    CxImage bicubic;
    ASSERT_TRUE(image.ResampleSimple(8, 8, 2, &bicubic));
    EXPECT_NEAR(100, bicubic.GetPixelColor(3, 3).blue, 1);
    EXPECT_FALSE(image.ResampleSimple(0, 3, 1, nullptr));
}

TEST(CxImageResample, QIShrinkAveragesEqualBoxesAndRefusesToEnlarge) {
    CxImage image(4, 2, 24);
    const BYTE reds[4] = {10, 30, 100, 200};
    for (long y = 0; y < 2; y++) {
        for (long x = 0; x < 4; x++) {
            image.SetPixelColor(x, y, Quad(reds[x], 0, 0));
        }
    }
    CxImage small;
    ASSERT_TRUE(image.QIShrink(2, 1, &small));
    EXPECT_EQ(20, small.GetPixelColor(0, 0).red);
    EXPECT_EQ(150, small.GetPixelColor(1, 0).red);
    EXPECT_FALSE(image.QIShrink(5, 1, nullptr));
    EXPECT_STREQ("QIShrink can't enlarge image", image.GetLastError());
}
