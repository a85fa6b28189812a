// Where an image button puts its image and caption, for each alignment and placement word.
#include "forms/ButtonContentPlacement.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kLeft = 0x100;
constexpr uint32_t kRight = 0x200;
constexpr uint32_t kTop = 0x400;
constexpr uint32_t kBottom = 0x800;

struct PlacementCase {
    const char* what;
    uint32_t style;
    uint32_t side;
    uint32_t alignment;
    bool image;
    bool caption;
    int offset;  // pressed and disabled
    ButtonContentPlacement expected;
};

// A 100 by 30 button, a 16 by 16 image and a 40 by 13 caption.
ButtonContentInput Input(const PlacementCase& c) {
    ButtonContentInput input;
    input.right = 100;
    input.bottom = 30;
    input.style = c.style;
    input.imageSide = c.side;
    input.imageAlignment = c.alignment;
    input.hasImage = c.image;
    input.hasCaption = c.caption;
    input.imageWidth = 16;
    input.imageHeight = 16;
    input.captionWidth = 40;
    input.captionHeight = 13;
    input.contentOffset = c.offset;
    return input;
}

}  // namespace

TEST(ButtonContentPlacement, PlacesImageAndCaptionByStyleAndPlacementWords) {
    const PlacementCase cases[] = {
        {"image alone, centred", 0, 0, 0, true, false, 0, {42, 7, 30, 7}},
        {"caption alone, centred one pixel high", 0, 0, 0, false, true, 0, {42, 7, 30, 7}},
        {"main menu: caption centred, image at the left of the space on its right",
         0,
         kRight,
         kLeft,
         true,
         true,
         0,
         {70, 7, 30, 7}},
        {"centred group, image first", 0, kLeft | kRight, 0, true, true, 0, {22, 7, 38, 7}},
        {"caption centred, image centred in the space on its left",
         0,
         kLeft,
         0,
         true,
         true,
         0,
         {7, 7, 30, 7}},
        {"caption centred, image at the right of the space on its left",
         0,
         kLeft,
         kRight,
         true,
         true,
         0,
         {14, 7, 30, 7}},
        {"left: image first", kLeft, kLeft, 0, true, true, 0, {0, 7, 16, 7}},
        {"left: caption first, image after it", kLeft, 0, kLeft, true, true, 0, {40, 7, 0, 7}},
        {"left: caption first, image at the right edge", kLeft, 0, 0, true, true, 0, {84, 7, 0, 7}},
        {"right: image at the right edge, caption before it",
         kRight,
         kRight,
         0,
         true,
         true,
         0,
         {84, 7, 44, 7}},
        {"right: caption at the edge, image before it", kRight, 0, kRight, true, true, 0, {44, 7, 60, 7}},
        {"right: caption at the edge, image at the left edge", kRight, 0, 0, true, true, 0, {0, 7, 60, 7}},
        {"top", kLeft | kTop, kLeft, 0, true, true, 0, {0, 0, 16, 0}},
        {"bottom: no pixel up for the caption", kLeft | kBottom, kLeft, 0, true, true, 0, {0, 14, 16, 17}},
        {"pressed and disabled move everything by two", 0, 0, 0, true, true, 2, {79, 9, 32, 9}},
    };
    for (const PlacementCase& c : cases) {
        const ButtonContentPlacement place = PlaceButtonContent(Input(c));
        if (c.image) {
            EXPECT_EQ(c.expected.imageX, place.imageX) << c.what;
            EXPECT_EQ(c.expected.imageY, place.imageY) << c.what;
        }
        if (c.caption) {
            EXPECT_EQ(c.expected.captionX, place.captionX) << c.what;
            EXPECT_EQ(c.expected.captionY, place.captionY) << c.what;
        }
    }
}

TEST(ButtonContentPlacement, AddsTheOffsetsToTheirOwnItem) {
    PlacementCase c = {"", kLeft, kLeft, 0, true, true, 0, {}};
    ButtonContentInput input = Input(c);
    input.imageOffsetX = 2;
    input.imageOffsetY = -1;
    input.textOffsetX = 3;
    input.textOffsetY = 4;
    const ButtonContentPlacement place = PlaceButtonContent(input);
    EXPECT_EQ(2, place.imageX);
    EXPECT_EQ(6, place.imageY);
    EXPECT_EQ(19, place.captionX);
    EXPECT_EQ(11, place.captionY);
}
