// The arithmetic of the XML form's rows: the measures of the columns at the page's scale,
// the size of a select's drop-down, the box of a drawn check, when a grid needs a row of its
// own, and the wrapping of a label's full text for its tooltip.
#pragma once

#include <functional>
#include <string>

namespace XmlFormLayout {

// Every measure is truncated from the scale separately, as the design's pixels times the factor.
struct Measures {
    int leftMargin = 0;
    int topMargin = 0;
    int gapX = 0;
    int gapY = 0;
    int rowHeight = 0;
    int markWidth = 0;
    int valueWidth = 0;
    int unitWidth = 0;
    int gridColumnWidth = 0;
    int labelWidth = 0;  // what the client width leaves for labels; never below 0
};

// scrollBarWidth is the system's vertical scroll-bar width, which the labels leave free so
// that a scrolling page does not cover its unit column.
Measures Measure(double scaleX, double scaleY, int clientWidth, int scrollBarWidth);

// Rows of a select's window: its items plus the edit part, at most six.
int ComboDropRows(int itemCount);

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The check box drawn in an owner-drawn item: a square of the item's height at its left,
// shrunk by e = ((height * 10) / 23) / 2 on top and bottom and by 2e on the right.
Box CheckBox(const Box& item);

// A grid wider than two value columns moves below its label into a row of its own.
bool GridTakesOwnRow(int gridWidth, int valueWidth);

// The width of a text in the tooltip's font.
using TextWidth = std::function<int(const std::string& text)>;

// The text as it fits into maxWidth: lines broken at spaces and joined with "\n", each the
// longest run of words that fits. A word wider than maxWidth stands on a line of its own.
std::string WrapTipText(const std::string& text, int maxWidth, const TextWidth& width);

}  // namespace XmlFormLayout
