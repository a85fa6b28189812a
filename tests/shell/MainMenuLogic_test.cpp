// The portable arithmetic behind the main menu: button places, the background gradient,
// the patch checks, the exit question's answer and the gliding progress bar.
#include "forms/TimedProgressMath.h"
#include "shell/ExitAnswer.h"
#include "shell/MainMenuLayout.h"
#include "shell/PatchRecordChecks.h"

#include <string>

#include <gtest/gtest.h>

namespace {

struct ButtonCase {
    int id;
    int x;
    int y;
};

TEST(MainMenuLayout, DesignSizePlacesTheButtonsAtTheirDesignPositions) {
    const MainMenuLayout layout = ComputeMainMenuLayout(620, 440);
    EXPECT_DOUBLE_EQ(layout.scaleX, 1.0);
    EXPECT_DOUBLE_EQ(layout.scaleY, 1.0);
    const ButtonCase expected[] = {
        {1000, 16, 28}, {1001, 16, 84},   {1002, 16, 140},  {1005, 16, 196},
        {1006, 16, 252}, {1003, 16, 360}, {1008, 384, 360}, {1009, 384, 304},
    };
    const auto places = PlaceMainMenuButtons(layout, 620, 440);
    ASSERT_EQ(places.size(), std::size(expected));
    for (size_t i = 0; i < places.size(); ++i) {
        SCOPED_TRACE(expected[i].id);
        EXPECT_EQ(places[i].id, expected[i].id);
        EXPECT_EQ(places[i].rect.x, expected[i].x);
        EXPECT_EQ(places[i].rect.y, expected[i].y);
        EXPECT_EQ(places[i].rect.width, 220);
        EXPECT_EQ(places[i].rect.height, 40);
    }
}

// Each length is truncated on its own: the bottom row is not trunc((24 + 40 + 16) * s).
TEST(MainMenuLayout, EveryLengthIsTruncatedSeparately) {
    struct Case {
        int width;
        int height;
        int left, top, gap, buttonWidth, buttonHeight, bottom;
        int exitY;
        int patchY;
    };

    const Case cases[] = {
        {1240, 880, 32, 56, 32, 440, 80, 48, 720, 608},
        // 707/440 = 1.6068...: T = 44, G = 25, H = 64, B = 38.
        {1013, 707, 26, 44, 25, 359, 64, 38, 707 - 38 - 64 - 25, 707 - 38 - 128 - 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const MainMenuLayout layout = ComputeMainMenuLayout(c.width, c.height);
        EXPECT_EQ(layout.left, c.left);
        EXPECT_EQ(layout.top, c.top);
        EXPECT_EQ(layout.gap, c.gap);
        EXPECT_EQ(layout.width, c.buttonWidth);
        EXPECT_EQ(layout.height, c.buttonHeight);
        EXPECT_EQ(layout.bottom, c.bottom);
        const auto places = PlaceMainMenuButtons(layout, c.width, c.height);
        EXPECT_EQ(places[5].rect.y, c.exitY);
        EXPECT_EQ(places[7].rect.y, c.patchY);
        EXPECT_EQ(places[6].rect.x, c.width - c.buttonWidth - c.left);
    }
}

// The emblem is T - 4 square at y 2; the banner (1151 x 186 as decoded) is 4/5 of that high
// and ends at the right margin; the emblem stands trunc(8 sx) left of it.
TEST(MainMenuLayout, PicturesStandInTheTopBandAtTheRight) {
    struct Case {
        int width;
        int height;
        MainMenuRect emblem;
        MainMenuRect banner;
    };

    const Case cases[] = {
        // P = 24, h = 19, w = 1151 * 19 / 186 = 117.
        {620, 440, {455, 2, 24, 24}, {487, 4, 117, 19}},
        // P = 52, h = 41, w = 253; trunc(8 sx) = 16.
        {1240, 880, {887, 2, 52, 52}, {955, 7, 253, 41}},
        // T = 44: P = 40, h = 32, w = 198; L = 26 and trunc(8 x 1.634) = 13.
        {1013, 707, {736, 2, 40, 40}, {789, 6, 198, 32}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const MainMenuPictures pictures =
            PlaceMainMenuPictures(ComputeMainMenuLayout(c.width, c.height), c.width, 1151, 186);
        const MainMenuRect* rects[][2] = {{&pictures.emblem, &c.emblem}, {&pictures.banner, &c.banner}};
        for (const auto& pair : rects) {
            EXPECT_EQ(pair[0]->x, pair[1]->x);
            EXPECT_EQ(pair[0]->y, pair[1]->y);
            EXPECT_EQ(pair[0]->width, pair[1]->width);
            EXPECT_EQ(pair[0]->height, pair[1]->height);
        }
    }
}

TEST(MainMenuGradient, StripsTileTheWidthFromDarkBlueToWhite) {
    for (int width : {1000, 620, 128, 127, 1}) {
        SCOPED_TRACE(width);
        const auto strips = ComputeGradientStrips(width);
        ASSERT_EQ(strips.size(), 128u);
        int x = 0;
        for (const GradientStrip& strip : strips) {
            EXPECT_EQ(strip.x, x);
            EXPECT_GE(strip.width, width / 128);
            EXPECT_LE(strip.width, width / 128 + 1);
            x += strip.width;
        }
        EXPECT_EQ(x, width);
        EXPECT_EQ(strips[0].red, 0);
        EXPECT_EQ(strips[0].green, 32);
        EXPECT_EQ(strips[0].blue, 64);
        EXPECT_EQ(strips[64].red, 128);
        EXPECT_EQ(strips[64].green, 144);
        EXPECT_EQ(strips[64].blue, 160);
        EXPECT_EQ(strips[127].red, 255);
        EXPECT_EQ(strips[127].green, 255);
        EXPECT_EQ(strips[127].blue, 255);
    }
    EXPECT_TRUE(ComputeGradientStrips(0).empty());
}

TEST(PatchRecordChecks, BitmapMarksIdOneInTheTopBitOfTheFirstByte) {
    const std::vector<BYTE> bitmap = {0x80, 0x01, 0x00, 0x20};
    struct Case {
        BYTE id;
        bool supported;
    };

    for (const Case& c : {Case{1, true}, Case{2, false}, Case{16, true}, Case{15, false}, Case{27, true},
                          Case{0, false}, Case{33, false}, Case{255, false}}) {
        SCOPED_TRACE(static_cast<int>(c.id));
        EXPECT_EQ(PatchRecordChecks::IsRecordSupported(bitmap, c.id), c.supported);
    }
    EXPECT_FALSE(PatchRecordChecks::IsRecordSupported({}, 1));
}

TEST(PatchRecordChecks, UnsupportedIdsAreListedInHexadecimal) {
    const char* text = "The following PIDs are not supported: ";
    EXPECT_EQ(std::string(PatchRecordChecks::FormatUnsupportedIds(text, {0x05, 0x1A})),
              "The following PIDs are not supported: 05, 1A");
    EXPECT_EQ(std::string(PatchRecordChecks::FormatUnsupportedIds(text, {0xFF})),
              "The following PIDs are not supported: FF");
}

// Unsaved edits are lost on every answer that ends the program, so only Exit may.
TEST(ExitAnswer, OnlyExitEndsTheProgram) {
    struct Case {
        std::intptr_t answer;
        bool leaves;
    };
    for (const Case& c : {Case{1, true}, Case{2, false}, Case{-1, false}, Case{0, false}}) {
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(ExitAnswerLeaves(c.answer), c.leaves);
    }
}

TEST(PatchRecordChecks, RecordsOfAnAppliedPatch) {
    const auto date = PatchRecordChecks::DateRecord(2009, 3, 17);
    EXPECT_EQ(date, (std::array<BYTE, 4>{0xD9, 0x07, 0x03, 0x11}));
    const auto version = PatchRecordChecks::VersionRecord(0x0102, 0x0C7B);
    EXPECT_EQ(version, (std::array<BYTE, 4>{0x01, 0x02, 0x0C, 0x7B}));
}

TEST(TimedProgressMath, PositionsMapToBarUnits) {
    struct Case {
        int position, lower, upper, units;
    };

    for (const Case& c : {Case{50, 0, 100, 5000}, Case{120, 0, 200, 6000}, Case{1000, 0, 1000, 10000},
                          Case{-5, 0, 100, -500}, Case{3, 3, 3, 0}, Case{0, -100, 100, 5000},
                          Case{2000000, 0, 2000000, 10000}}) {
        SCOPED_TRACE(std::to_string(c.position) + " in " + std::to_string(c.lower) + ".." +
                     std::to_string(c.upper));
        EXPECT_EQ(TimedProgressMath::ToBarUnits(c.position, c.lower, c.upper), c.units);
    }
    EXPECT_EQ(TimedProgressMath::ClampToBar(-500), 0);
    EXPECT_EQ(TimedProgressMath::ClampToBar(12000), 10000);
}

TEST(TimedProgressMath, GlideCoversASixthAndCreepsTheLastUnits) {
    int shown = 0;
    const int target = 6000;
    EXPECT_EQ(TimedProgressMath::GlideDelta(shown, target), 1000);
    int ticks = 0;
    while (shown != target && ticks < 1000) {
        shown += TimedProgressMath::GlideDelta(shown, target);
        ++ticks;
    }
    EXPECT_EQ(shown, target);
    EXPECT_EQ(TimedProgressMath::GlideDelta(5, 0), -1);
    EXPECT_EQ(TimedProgressMath::GlideDelta(3, 5), 1);
    EXPECT_EQ(TimedProgressMath::GlideDelta(600, 0), -100);
}

}  // namespace
