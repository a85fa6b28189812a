#include "grid/GridCellShapes.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::uint32_t Channel(std::uint32_t colour, int shift) {
    return (colour >> shift) & 0xFFu;
}

std::uint32_t AverageColour(std::uint32_t a, std::uint32_t b) {
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        result |= ((Channel(a, shift) + Channel(b, shift)) / 2) << shift;
    }
    return result;
}

}  // namespace

GridBoxOrigin PlaceCheckBox(int rectLeft, int rectTop, int rectHeight, int side, int margin) {
    GridBoxOrigin origin{rectLeft + margin, rectTop + margin};
    if (rectHeight < side + 2 * margin) {
        origin.top = rectTop + (rectHeight - side) / 2;
    }
    return origin;
}

GridTwinHalves SplitTwinCell(int left, int right) {
    const int half = (right - left) / 2;
    return GridTwinHalves{left + half, right - half};
}

std::uint32_t TwinSeparatorColour(std::uint32_t firstBack,
                                  std::uint32_t secondBack,
                                  std::uint32_t lineColour) {
    return AverageColour(AverageColour(firstBack, secondBack), lineColour);
}

int ComboDroppedWidth(int widestChoice, int scrollBarWidth, int zeroWidth) {
    return std::min(200, widestChoice + scrollBarWidth + zeroWidth);
}

namespace {

const char* const kLinkPrefixes[] = {
    "www.", "http:", "mailto:", "ftp:", "https:", "news:", "gopher:", "telnet:", "url:", "file:", "ftp."};

constexpr unsigned kFormatRight = 0x2;
constexpr unsigned kFormatCentre = 0x1;

// Whether x, relative to the cell, lies over the text; x then becomes relative to the text.
bool OverText(unsigned format, int textWidth, int left, int right, int& x) {
    const int absolute = x + left;
    const int cellWidth = right - left;
    if ((format & kFormatRight) != 0) {
        if (absolute < right - textWidth) {
            return false;
        }
        x -= cellWidth - textWidth;
        return x >= 1;
    }
    if ((format & kFormatCentre) != 0) {
        const int centre = (left + right) / 2;
        if (absolute < centre - textWidth / 2 || absolute > centre + textWidth / 2) {
            return false;
        }
        const int offset = (cellWidth - textWidth) / 2;
        x -= offset;
        return x >= 1 && x <= textWidth + offset;
    }
    return absolute <= left + textWidth;
}

}  // namespace

bool GridTextHasLink(const char* text) {
    if (text == nullptr) {
        return false;
    }
    for (const char* prefix : kLinkPrefixes) {
        if (std::strstr(text, prefix) != nullptr) {
            return true;
        }
    }
    return false;
}

bool GridLinkWordAt(const char* text,
                    unsigned format,
                    int textWidth,
                    int left,
                    int right,
                    int x,
                    CString& word) {
    const std::string all = text == nullptr ? "" : text;
    if (all.empty() || textWidth <= 0 || !OverText(format, textWidth, left, right, x)) {
        return false;
    }
    const double average = static_cast<double>(textWidth) / static_cast<double>(all.size());
    const size_t index = static_cast<size_t>(static_cast<double>(x) / average);
    std::string link = all;
    const size_t end = link.find(' ', std::min(index, link.size()));
    if (end != std::string::npos) {
        link.erase(end);
    }
    const size_t lastSpace = link.rfind(' ');
    if (lastSpace != std::string::npos) {
        link.erase(0, lastSpace + 1);
    }
    word = link.c_str();
    return GridTextHasLink(link.c_str());
}
