// The selection mask.
#include "image/CxImage.h"
#include "tests/image/ImageTestSupport.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// The mask as text, top row first: '#' selected, '.' not.
std::string MaskText(const CxImage& image) {
    std::string text;
    for (long y = static_cast<long>(image.GetHeight()) - 1; y >= 0; y--) {
        for (long x = 0; x < static_cast<long>(image.GetWidth()); x++) {
            text += image.SelectionIsInside(x, y) ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

}  // namespace

TEST(CxImageSelection, RectanglesAndEllipsesFillTheirArea) {
    CxImage image(6, 4, 24);
    ASSERT_TRUE(image.SelectionAddRect(4, 3, 1, 1));
    EXPECT_EQ("......\n.###..\n.###..\n......\n", MaskText(image));
    SelectionBox box;
    image.GetSelectionBox(box);
    EXPECT_EQ(1, box.left);
    EXPECT_EQ(3, box.top);
    EXPECT_FALSE(image.SelectionAddEllipse(2, 0, 2, 3));
    CxImage round(7, 7, 24);
    ASSERT_TRUE(round.SelectionAddEllipse(0, 6, 6, 0));
    EXPECT_EQ(".......\n.#####.\n.#####.\n.#####.\n.#####.\n.#####.\n.......\n", MaskText(round));
}

TEST(CxImageSelection, PolygonsSplitByMinusOneFillEachShape) {
    CxImage image(9, 5, 24);
    const ImagePoint points[] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {-1, 0}, {5, 1}, {8, 1}, {8, 3}, {5, 3}};
    ASSERT_TRUE(image.SelectionAddPolygon(points, 9));
    EXPECT_EQ(".........\n.....####\n###..####\n###..####\n###......\n", MaskText(image));
    EXPECT_FALSE(image.SelectionAddPolygon(points, 2));
}

TEST(CxImageSelection, InvertColourAndSplit) {
    CxImage image = MakeImage(3, 1, [](long x, long) { return x == 1 ? Quad(9, 9, 9) : Quad(0, 0, 0); });
    ASSERT_TRUE(image.SelectionAddColor(Quad(9, 9, 9)));
    EXPECT_EQ(".#.\n", MaskText(image));
    ASSERT_TRUE(image.SelectionInvert());
    EXPECT_EQ("#.#\n", MaskText(image));
    CxImage split;
    ASSERT_TRUE(image.SelectionSplit(&split));
    EXPECT_EQ(255, split.GetPixelIndex(0, 0));
    image.SelectionDelete();
    EXPECT_EQ("###\n", MaskText(image));
}
