#include "forms/XmlFormLayout.h"

#include "forms/ScaledLength.h"

#include <algorithm>

namespace XmlFormLayout {

namespace {

// The end of the longest prefix of text that ends before a space and fits; npos when even
// the first word does not fit.
std::string::size_type FittingBreak(const std::string& text, int maxWidth, const TextWidth& width) {
    std::string::size_type best = std::string::npos;
    for (std::string::size_type space = text.find(' '); space != std::string::npos;
         space = text.find(' ', space + 1)) {
        if (width(text.substr(0, space)) > maxWidth) {
            break;
        }
        best = space;
    }
    return best;
}

}  // namespace

Measures Measure(double scaleX, double scaleY, int clientWidth, int scrollBarWidth) {
    Measures m;
    m.leftMargin = ScaledLength(2, scaleX);
    m.topMargin = ScaledLength(2, scaleY);
    m.gapX = ScaledLength(8, scaleX);
    m.gapY = ScaledLength(8, scaleY);
    m.rowHeight = ScaledLength(16, scaleY);
    m.markWidth = ScaledLength(15, scaleX);
    m.valueWidth = ScaledLength(100, scaleX);
    m.unitWidth = ScaledLength(35, scaleX);
    m.gridColumnWidth = ScaledLength(40, scaleX);
    const int taken =
        m.unitWidth + m.valueWidth + m.markWidth + 3 * m.gapX + 2 * m.leftMargin + scrollBarWidth;
    // A page narrower than its fixed columns gets empty labels rather than negative widths.
    m.labelWidth = std::max(0, clientWidth - taken);
    return m;
}

int ComboDropRows(int itemCount) {
    return std::min(itemCount + 1, 6);
}

Box CheckBox(const Box& item) {
    const int height = item.bottom - item.top;
    const int e = ((height * 10) / 23) / 2;
    Box box;
    box.left = item.left;
    box.top = item.top + e;
    box.right = item.left + height - 2 * e;
    box.bottom = item.bottom - e;
    return box;
}

bool GridTakesOwnRow(int gridWidth, int valueWidth) {
    return 2 * valueWidth < gridWidth;
}

std::string WrapTipText(const std::string& text, int maxWidth, const TextWidth& width) {
    if (width(text) <= maxWidth) {
        return text;
    }
    std::string wrapped;
    std::string rest = text;
    while (width(rest) > maxWidth) {
        std::string::size_type cut = FittingBreak(rest, maxWidth, width);
        if (cut == std::string::npos) {
            // A first word wider than the tip still has to move on, or the loop would not end.
            cut = rest.find(' ');
        }
        if (cut == std::string::npos) {
            break;
        }
        wrapped += rest.substr(0, cut) + "\n";
        rest.erase(0, cut + 1);
    }
    return wrapped + rest;
}

}  // namespace XmlFormLayout
