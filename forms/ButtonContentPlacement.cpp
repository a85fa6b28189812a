#include "forms/ButtonContentPlacement.h"

namespace {

constexpr uint32_t kLeft = 0x100;
constexpr uint32_t kRight = 0x200;
constexpr uint32_t kTop = 0x400;
constexpr uint32_t kBottom = 0x800;

// One item aligned alone along one axis; a centred caption sits one pixel higher.
int AlignAlone(uint32_t style, uint32_t nearBit, uint32_t farBit, int low, int high, int size, int offset) {
    if ((style & nearBit) != 0) {
        return low + offset;
    }
    if ((style & farBit) != 0) {
        return high + offset - size;
    }
    return offset + (high - low - size) / 2;
}

int AlignVertically(const ButtonContentInput& in, int size, int offset, bool caption) {
    const int y = AlignAlone(in.style, kTop, kBottom, in.top, in.bottom, size, offset);
    const bool centred = (in.style & (kTop | kBottom)) == 0;
    return centred && caption ? y - 1 : y;
}

// Image and caption side by side, left-aligned.
void PlaceLeft(const ButtonContentInput& in, ButtonContentPlacement& out) {
    if ((in.imageSide & kLeft) != 0) {
        out.imageX = in.left + in.imageOffsetX;
        out.captionX = in.left + in.imageWidth + in.textOffsetX;
        return;
    }
    out.captionX = in.left + in.textOffsetX;
    out.imageX = (in.imageAlignment & kLeft) != 0 ? in.left + in.imageOffsetX + in.captionWidth
                                                  : in.right + in.imageOffsetX - in.imageWidth;
}

// Mirror image of PlaceLeft.
void PlaceRight(const ButtonContentInput& in, ButtonContentPlacement& out) {
    if ((in.imageSide & kRight) != 0) {
        out.imageX = in.right + in.imageOffsetX - in.imageWidth;
        out.captionX = in.right - in.imageWidth - in.captionWidth + in.textOffsetX;
        return;
    }
    out.captionX = in.right - in.captionWidth + in.textOffsetX;
    out.imageX = (in.imageAlignment & kRight) != 0
                     ? in.right - in.captionWidth - in.imageWidth + in.imageOffsetX
                     : in.left + in.imageOffsetX;
}

void PlaceCentred(const ButtonContentInput& in, ButtonContentPlacement& out) {
    const int width = in.right - in.left;
    if ((in.imageSide & (kLeft | kRight)) == (kLeft | kRight)) {
        const int group = (width - in.imageWidth - in.captionWidth) / 2;
        out.imageX = group + in.imageOffsetX;
        out.captionX = group + in.imageWidth + in.textOffsetX;
        return;
    }
    const int captionLeft = (width - in.captionWidth) / 2;
    out.captionX = captionLeft + in.textOffsetX;
    int spaceLeft = in.left;
    int spaceRight = captionLeft;
    if ((in.imageSide & kLeft) == 0) {
        spaceLeft = captionLeft + in.captionWidth;
        spaceRight = in.right;
    }
    if ((in.imageAlignment & kLeft) != 0) {
        out.imageX = spaceLeft + in.imageOffsetX;
    } else if ((in.imageAlignment & kRight) != 0) {
        out.imageX = spaceRight - in.imageWidth + in.imageOffsetX;
    } else {
        out.imageX = spaceLeft + (spaceRight - spaceLeft - in.imageWidth) / 2 + in.imageOffsetX;
    }
}

}  // namespace

ButtonContentPlacement PlaceButtonContent(const ButtonContentInput& in) {
    ButtonContentPlacement out;
    if (in.hasImage && in.hasCaption) {
        if ((in.style & kLeft) != 0) {
            PlaceLeft(in, out);
        } else if ((in.style & kRight) != 0) {
            PlaceRight(in, out);
        } else {
            PlaceCentred(in, out);
        }
    } else {
        out.imageX = AlignAlone(in.style, kLeft, kRight, in.left, in.right, in.imageWidth, in.imageOffsetX);
        out.captionX =
            AlignAlone(in.style, kLeft, kRight, in.left, in.right, in.captionWidth, in.textOffsetX);
    }
    out.imageY = AlignVertically(in, in.imageHeight, in.imageOffsetY, false);
    out.captionY = AlignVertically(in, in.captionHeight, in.textOffsetY, true);
    out.imageX += in.contentOffset;
    out.imageY += in.contentOffset;
    out.captionX += in.contentOffset;
    out.captionY += in.contentOffset;
    return out;
}
