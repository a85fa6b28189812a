// Drawing into a memory DC, read back from the DC's pixels.
#include "image/CxImage.h"
#include "tests/image/DcCanvas.h"
#include "tests/image/ImageTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

const Rgb kBackground = {10, 200, 40};

BYTE Blend(BYTE color, BYTE background, unsigned a) {
    return static_cast<BYTE>((color * a + background * (255 - a)) >> 8);
}

// Three columns: alpha 0, 255 and 128, all in one colour.
CxImage AlphaColumns() {
    return MakeImage(
        3, 1,
        [](long x, long) {
            const BYTE alphas[] = {0, 255, 128};
            return Quad(250, 100, 0, alphas[x]);
        },
        true);
}

}  // namespace

TEST(CxImageDraw, AlphaBlendsOverTheBackgroundAtNaturalSize) {
    DcCanvas canvas(5, 3, kBackground);
    CxImage image = AlphaColumns();
    EXPECT_EQ(1, image.DrawImage(canvas.Dc(), 1, 1));
    EXPECT_EQ(kBackground, canvas.At(1, 1));
    EXPECT_EQ((Rgb{250, 100, 0}), canvas.At(2, 1));
    EXPECT_EQ((Rgb{Blend(250, 10, 128), Blend(100, 200, 128), Blend(0, 40, 128)}), canvas.At(3, 1));
    EXPECT_EQ(kBackground, canvas.At(4, 1));
    EXPECT_EQ(kBackground, canvas.At(2, 0));
}

TEST(CxImageDraw, AlphaMaximumScalesEveryPixelsOpacity) {
    DcCanvas canvas(3, 1, kBackground);
    CxImage image = AlphaColumns();
    image.AlphaSetMax(127);
    image.DrawImage(canvas.Dc(), 0, 0);
    EXPECT_EQ((Rgb{Blend(250, 10, 127), Blend(100, 200, 127), Blend(0, 40, 127)}), canvas.At(1, 0));
    // 128 * 128 >> 8 = 64
    EXPECT_EQ((Rgb{Blend(250, 10, 64), Blend(100, 200, 64), Blend(0, 40, 64)}), canvas.At(2, 0));
}

TEST(CxImageDraw, RefusesAZeroSizeAndDrawsAtTheImagesSizeForMinusOne) {
    DcCanvas canvas(4, 4, kBackground);
    CxImage image = MakeImage(2, 2, [](long, long) { return Quad(1, 2, 3); });
    EXPECT_EQ(0, image.DrawImage(canvas.Dc(), 0, 0, 0, 2));
    EXPECT_EQ(0, image.DrawImage(canvas.Dc(), 0, 0, 2, 0));
    EXPECT_EQ(0, image.DrawImage(nullptr, 0, 0));
    EXPECT_EQ(0, CxImage().DrawImage(canvas.Dc(), 0, 0));
    image.Enable(false);
    EXPECT_EQ(0, image.DrawImage(canvas.Dc(), 0, 0));
    EXPECT_EQ(kBackground, canvas.At(0, 0));
    image.Enable(true);
    EXPECT_EQ(1, image.DrawImage(canvas.Dc(), 1, 1, -1, -1));
    EXPECT_EQ((Rgb{1, 2, 3}), canvas.At(2, 2));
    EXPECT_EQ(kBackground, canvas.At(3, 3));
}

TEST(CxImageDraw, OpaqueImagesKeepTheirRowsTopDown) {
    // Image row 0 is the bottom row; the top row on screen must be the image's last.
    CxImage image = MakeImage(
        2, 2, [](long x, long y) { return Quad(static_cast<BYTE>(10 + x), static_cast<BYTE>(y), 0); });

    struct Case {
        const char* name;
        bool alpha;
    };

    for (const Case& c : {Case{"opaque path", false}, Case{"compositing path", true}}) {
        SCOPED_TRACE(c.name);
        DcCanvas canvas(2, 2, kBackground);
        CxImage copy(image);
        if (c.alpha) {
            copy.AlphaCreate();
        }
        copy.DrawImage(canvas.Dc(), 0, 0);
        EXPECT_EQ((Rgb{10, 1, 0}), canvas.At(0, 0));
        EXPECT_EQ((Rgb{11, 0, 0}), canvas.At(1, 1));
    }
}

TEST(CxImageDraw, StretchingRepeatsSourcePixels) {
    CxImage image = MakeImage(
        2, 2, [](long x, long y) { return Quad(static_cast<BYTE>(100 * x), static_cast<BYTE>(100 * y), 7); });
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "compositing path" : "opaque path");
        DcCanvas canvas(4, 4, kBackground);
        CxImage copy(image);
        if (alpha) {
            copy.AlphaCreate();
        }
        EXPECT_EQ(1, copy.DrawImage(canvas.Dc(), 0, 0, 4, 4));
        EXPECT_EQ((Rgb{0, 100, 7}), canvas.At(0, 0));
        EXPECT_EQ((Rgb{0, 100, 7}), canvas.At(1, 1));
        EXPECT_EQ((Rgb{100, 100, 7}), canvas.At(2, 1));
        EXPECT_EQ((Rgb{100, 0, 7}), canvas.At(3, 3));
        EXPECT_EQ((Rgb{0, 0, 7}), canvas.At(0, 2));
    }
}

TEST(CxImageDraw, SmoothStretchingInterpolatesBetweenPixels) {
    CxImage image = MakeImage(2, 1, [](long x, long) { return Quad(x == 0 ? 0 : 200, 0, 0); });
    DcCanvas canvas(8, 1, kBackground);
    image.DrawImage(canvas.Dc(), 0, 0, 8, 1, nullptr, true);
    EXPECT_EQ(0, canvas.At(0, 0).red);
    EXPECT_EQ(200, canvas.At(7, 0).red);
    const BYTE middle = canvas.At(4, 0).red;
    EXPECT_GT(middle, 0);
    EXPECT_LT(middle, 200);
}

TEST(CxImageDraw, DrawsOnlyThePartInsideTheClipBoxAtTheRightOffset) {
    CxImage image = MakeImage(
        4, 4, [](long x, long y) { return Quad(static_cast<BYTE>(x), static_cast<BYTE>(3 - y), 9, 255); },
        true);
    DcCanvas canvas(4, 4, kBackground);
    EXPECT_EQ(1, image.DrawImage(canvas.Dc(), -2, -1));
    // Screen (0, 0) shows image column 2, row 1 from the top.
    EXPECT_EQ((Rgb{2, 1, 9}), canvas.At(0, 0));
    EXPECT_EQ((Rgb{3, 3, 9}), canvas.At(1, 2));
    EXPECT_EQ(kBackground, canvas.At(2, 0));
    EXPECT_EQ(kBackground, canvas.At(0, 3));
}

TEST(CxImageDraw, ClipRectangleLimitsDrawingAndTheClipRegionComesBack) {
    CxImage image = MakeImage(4, 4, [](long, long) { return Quad(1, 1, 1); });
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "compositing path" : "opaque path");
        if (alpha) {
            image.AlphaCreate();
        }
        DcCanvas canvas(4, 4, kBackground);
        HRGN initial = CreateRectRgn(0, 0, 3, 4);
        SelectClipRgn(canvas.Dc(), initial);
        DeleteObject(initial);
        const RECT clip = {1, 1, 3, 3};
        EXPECT_EQ(1, image.DrawImage(canvas.Dc(), 0, 0, -1, -1, &clip));
        EXPECT_EQ(kBackground, canvas.At(0, 0));
        EXPECT_EQ((Rgb{1, 1, 1}), canvas.At(1, 1));
        EXPECT_EQ((Rgb{1, 1, 1}), canvas.At(2, 2));
        EXPECT_EQ(kBackground, canvas.At(3, 3));
        RECT box = {};
        GetClipBox(canvas.Dc(), &box);
        EXPECT_EQ(0, box.left);
        EXPECT_EQ(3, box.right);
        EXPECT_EQ(4, box.bottom);
    }
}

TEST(CxImageDraw, DestinationOutsideTheClipDrawsNothing) {
    CxImage image = MakeImage(
        2, 2, [](long, long) { return Quad(1, 1, 1, 255); }, true);
    DcCanvas canvas(4, 4, kBackground);
    EXPECT_EQ(1, image.DrawImage(canvas.Dc(), 10, 10));
    EXPECT_EQ(1, image.DrawImage(canvas.Dc(), -5, 0));
    EXPECT_EQ(kBackground, canvas.At(0, 0));
}

TEST(CxImageDraw, PaletteTransparencyGoesByIndexNotColour) {
    CxImage image(3, 1, 8);
    image.SetPaletteColor(5, 50, 60, 70);
    image.SetPaletteColor(6, 50, 60, 70);
    image.SetPixelIndex(0, 0, 5);
    image.SetPixelIndex(1, 0, 6);
    image.SetPixelIndex(2, 0, 5);
    image.SetTransIndex(5);
    DcCanvas canvas(3, 1, kBackground);
    image.DrawImage(canvas.Dc(), 0, 0);
    EXPECT_EQ(kBackground, canvas.At(0, 0));
    EXPECT_EQ((Rgb{50, 60, 70}), canvas.At(1, 0));
    EXPECT_EQ(kBackground, canvas.At(2, 0));
}

TEST(CxImageDraw, TrueColourTransparencyGoesByColourAndPaletteAlphaBlends) {
    CxImage image = MakeImage(2, 1, [](long x, long) { return x == 0 ? Quad(5, 5, 5) : Quad(200, 0, 0); });
    image.SetTransIndex(0);
    image.SetTransColor(Quad(5, 5, 5));
    DcCanvas canvas(2, 1, kBackground);
    image.DrawImage(canvas.Dc(), 0, 0);
    EXPECT_EQ(kBackground, canvas.At(0, 0));
    EXPECT_EQ((Rgb{200, 0, 0}), canvas.At(1, 0));

    CxImage indexed(1, 1, 8);
    indexed.SetPaletteColor(0, 200, 0, 0, 127);
    indexed.AlphaPaletteEnable(true);
    DcCanvas second(1, 1, kBackground);
    indexed.DrawImage(second.Dc(), 0, 0);
    // 255 * (127 + 1) >> 8 = 127
    EXPECT_EQ((Rgb{Blend(200, 10, 127), Blend(0, 200, 127), Blend(0, 40, 127)}), second.At(0, 0));
}

TEST(CxImageDraw, StretchImageMasksTheTransparentColourAndKeepsTheDcColours) {
    CxImage image(2, 1, 8);
    image.SetPaletteColor(0, 255, 0, 255);
    image.SetPaletteColor(1, 0, 0, 200);
    image.SetPixelIndex(0, 0, 0);
    image.SetPixelIndex(1, 0, 1);
    DcCanvas canvas(4, 2, kBackground);
    SetBkColor(canvas.Dc(), RGB(1, 2, 3));
    EXPECT_EQ(1, image.StretchImage(canvas.Dc(), 0, 0, 4, 2));
    EXPECT_EQ((Rgb{255, 0, 255}), canvas.At(0, 0));
    image.SetTransIndex(0);
    canvas.Fill(kBackground);
    EXPECT_EQ(1, image.StretchImage(canvas.Dc(), 0, 0, 4, 2));
    EXPECT_EQ(kBackground, canvas.At(0, 0));
    EXPECT_EQ(kBackground, canvas.At(1, 1));
    EXPECT_EQ((Rgb{0, 0, 200}), canvas.At(2, 0));
    EXPECT_EQ((Rgb{0, 0, 200}), canvas.At(3, 1));
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(canvas.Dc()));
    EXPECT_EQ(0, image.StretchImage(canvas.Dc(), 0, 0, 0, 2));
}

TEST(CxImageDraw, StretchRopAppliesTheRasterOperation) {
    CxImage image = MakeImage(1, 1, [](long, long) { return Quad(0xF0, 0x0F, 0xFF); });
    DcCanvas canvas(2, 2, Rgb{0xFF, 0xFF, 0x00});
    EXPECT_EQ(1, image.StretchRop(canvas.Dc(), 0, 0, 2, 2, SRCINVERT));
    EXPECT_EQ((Rgb{0x0F, 0xF0, 0xFF}), canvas.At(1, 1));
    EXPECT_EQ(0, CxImage().StretchRop(canvas.Dc(), 0, 0, 2, 2, SRCCOPY));
}

TEST(CxImageDraw, TileImageRepeatsTheImageAndStopsAtTheRectangle) {
    CxImage image = MakeImage(2, 1, [](long x, long) { return Quad(static_cast<BYTE>(1 + x), 0, 0); });
    DcCanvas canvas(6, 3, kBackground);
    const RECT rect = {0, 0, 5, 2};
    EXPECT_EQ(1, image.TileImage(canvas.Dc(), &rect));
    EXPECT_EQ(1, canvas.At(0, 0).red);
    EXPECT_EQ(2, canvas.At(3, 1).red);
    EXPECT_EQ(1, canvas.At(4, 1).red);
    EXPECT_EQ(kBackground, canvas.At(5, 0));
    EXPECT_EQ(kBackground, canvas.At(0, 2));
    EXPECT_EQ(0, image.TileImage(canvas.Dc(), nullptr));
}
