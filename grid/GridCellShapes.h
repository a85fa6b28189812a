// Arithmetic of the special cells (check box, twin halves, combo list, link words), kept apart
// from drawing so that it can be checked without a window.
#pragma once

#include "classlib/core/CString.h"

#include <cstdint>

// Top-left corner of a cell's check box (a square of side "side").
struct GridBoxOrigin {
    int left;
    int top;
};

// The box stands margin pixels in from the rectangle's top-left; in a rectangle lower than
// the box plus two margins it is centred vertically instead.
GridBoxOrigin PlaceCheckBox(int rectLeft, int rectTop, int rectHeight, int side, int margin);

// Left half [left, left + width / 2) and right half [right - width / 2, right) of a twin
// cell; with an odd width the middle pixel column belongs to neither.
struct GridTwinHalves {
    int leftEnd;
    int rightStart;
};

GridTwinHalves SplitTwinCell(int left, int right);

// The line between the halves: the per-channel average of the two back colours, averaged
// again with the grid-line colour (0x00BBGGRR values, each average truncated).
std::uint32_t TwinSeparatorColour(std::uint32_t firstBack,
                                  std::uint32_t secondBack,
                                  std::uint32_t lineColour);

// The dropped list of a combo cell: widest choice plus the scroll bar and one "0", at most 200.
int ComboDroppedWidth(int widestChoice, int scrollBarWidth, int zeroWidth);

// True when the text holds one of the link prefixes ("www.", "http:", "mailto:", ...)
// anywhere, case-sensitively.
bool GridTextHasLink(const char* text);

// The word of a link cell's text under x (relative to the cell's left edge), when that word
// is a link. The text, textWidth pixels wide with its margins, is aligned in the cell
// [left, right) by format (DT_RIGHT 2, DT_CENTER 1, else left); the character under x is
// found from the average character width.
bool GridLinkWordAt(const char* text,
                    unsigned format,
                    int textWidth,
                    int left,
                    int right,
                    int x,
                    CString& word);
