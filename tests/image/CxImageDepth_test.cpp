// Colour depth: grey, negative, raising, reducing and dithering.
#include "image/CxImage.h"
#include "tests/image/ImageTestSupport.h"

#include <gtest/gtest.h>

TEST(CxImageDepth, GreyScaleUsesTheLuminanceWeights) {
    CxImage image = MakeImage(2, 1, [](long x, long) { return x == 0 ? Quad(255, 0, 0) : Quad(0, 0, 255); });
    ASSERT_TRUE(image.GrayScale());
    EXPECT_EQ(8, image.GetBpp());
    EXPECT_TRUE(image.IsGrayScale());
    EXPECT_EQ(76, image.GetPixelIndex(0, 0));
    EXPECT_EQ(29, image.GetPixelIndex(1, 0));
}

TEST(CxImageDepth, NegativeInvertsColoursOrGreyIndices) {
    CxImage grey(2, 1, 8);
    grey.SetGrayPalette();
    grey.SetPixelIndex(0, 0, 10);
    ASSERT_TRUE(grey.Negative());
    EXPECT_EQ(245, grey.GetPixelIndex(0, 0));
    EXPECT_EQ(255, grey.GetPixelIndex(1, 0));
    CxImage colour = MakeImage(1, 1, [](long, long) { return Quad(10, 20, 30); });
    ASSERT_TRUE(colour.Negative());
    EXPECT_EQ(Quad(245, 235, 225), colour.GetPixelColor(0, 0, false));
}

TEST(CxImageDepth, RaiseAndReduceRefuseTheWrongDirection) {
    CxImage image(3, 3, 8);
    image.SetStdPalette();
    EXPECT_TRUE(image.RaiseDepth(8));
    EXPECT_FALSE(image.ReduceDepth(24, false, nullptr, 0));
    image.SetPixelIndex(1, 1, 252);  // blue in the standard palette
    image.SetTransIndex(252);
    ASSERT_TRUE(image.RaiseDepth(24));
    EXPECT_EQ(24, image.GetBpp());
    EXPECT_EQ(Quad(0, 0, 255), image.GetPixelColor(1, 1, false));
    EXPECT_EQ(Quad(0, 0, 255), image.GetTransColor());
    ASSERT_TRUE(image.ReduceDepth(1, false, nullptr, 0));
    EXPECT_EQ(1, image.GetBpp());
    EXPECT_EQ(0, image.GetPixelIndex(0, 0));
}

TEST(CxImageDepth, ReductionWithDiffusionKeepsTheAverageLevel) {
    CxImage image = MakeImage(16, 16, [](long, long) { return Quad(128, 128, 128); });
    ASSERT_TRUE(image.ReduceDepth(1, true, nullptr, 0));
    int white = 0;
    for (long y = 0; y < 16; y++) {
        for (long x = 0; x < 16; x++) {
            white += image.GetPixelIndex(x, y);
        }
    }
    EXPECT_NEAR(128, white, 24);
}

TEST(CxImageDepth, DitherToMonoFollowsEachMethod) {
    CxImage flat = MakeImage(4, 4, [](long, long) { return Quad(128, 128, 128); });
    CxImage floyd(flat);
    ASSERT_TRUE(floyd.DitherToMono(0));
    EXPECT_EQ(1, floyd.GetBpp());
    EXPECT_EQ(0, floyd.GetPixelIndex(0, 0));  // 128 is below the threshold
    EXPECT_EQ(1, floyd.GetPixelIndex(1, 0));
    CxImage ordered(flat);
    ASSERT_TRUE(ordered.DitherToMono(1));
    // level 8: set where the Bayer entry is below 8
    const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (long y = 0; y < 4; y++) {
        for (long x = 0; x < 4; x++) {
            EXPECT_EQ(bayer[y][x] < 8 ? 1 : 0, ordered.GetPixelIndex(x, y));
        }
    }
    CxImage bayer256(flat);
    ASSERT_TRUE(bayer256.DitherToMono(7));
    EXPECT_EQ(1, bayer256.GetPixelIndex(0, 0));
    EXPECT_EQ(0, bayer256.GetPixelIndex(1, 0));
    for (long method = 2; method <= 6; method++) {
        CxImage copy(flat);
        EXPECT_TRUE(copy.DitherToMono(method));
    }
}
