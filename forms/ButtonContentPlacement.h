// Where an image button puts its image and caption inside its rectangle: pure arithmetic
// over the style's alignment bits, the two placement words and the offsets.
#pragma once

#include <cstdint>

struct ButtonContentInput {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    uint32_t style = 0;           // alignment bits 0x100 left, 0x200 right, 0x400 top, 0x800 bottom
    uint32_t imageSide = 0;       // first placement word: the image's side of the caption
    uint32_t imageAlignment = 0;  // second placement word: the image in the space left over
    bool hasImage = false;
    bool hasCaption = false;
    int imageWidth = 0;
    int imageHeight = 0;
    int captionWidth = 0;
    int captionHeight = 0;
    int imageOffsetX = 0;
    int imageOffsetY = 0;
    int textOffsetX = 0;
    int textOffsetY = 0;
    int contentOffset = 0;  // 1 each for pressed and disabled
};

struct ButtonContentPlacement {
    int imageX = 0;
    int imageY = 0;
    int captionX = 0;
    int captionY = 0;
};

ButtonContentPlacement PlaceButtonContent(const ButtonContentInput& input);
