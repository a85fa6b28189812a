// The selection mask of the image class: one byte per pixel, bottom row first, 0 =
// outside; no mask means everything is selected. The selection box only ever widens.
#include "image/CxImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>

namespace {

constexpr BYTE kSelected = 255;

std::size_t MaskBytes(const CxImage& image) {
    return static_cast<std::size_t>(image.GetWidth()) * image.GetHeight();
}

long Clamp(long value, long low, long high) {
    return std::max(low, std::min(high, value));
}

}  // namespace

void CxImage::SetEmptySelectionBox() {
    m_info.selectionBox.left = static_cast<std::int32_t>(GetWidth());
    m_info.selectionBox.bottom = static_cast<std::int32_t>(GetHeight());
    m_info.selectionBox.top = 0;
    m_info.selectionBox.right = 0;
}

void CxImage::WidenSelectionBox(long left, long top, long right, long bottom) {
    SelectionBox& box = m_info.selectionBox;
    box.left = static_cast<std::int32_t>(std::min<long>(box.left, left));
    box.right = static_cast<std::int32_t>(std::max<long>(box.right, right));
    box.top = static_cast<std::int32_t>(std::max<long>(box.top, top));
    box.bottom = static_cast<std::int32_t>(std::min<long>(box.bottom, bottom));
}

bool CxImage::SelectionCreate() {
    if (!IsValid()) {
        return false;
    }
    SelectionDelete();
    m_selection = static_cast<BYTE*>(std::calloc(1, MaskBytes(*this)));
    return m_selection != nullptr;
}

void CxImage::SelectionDelete() {
    // A view's mask belongs to the image it shows.
    if (m_info.ghost == nullptr) {
        std::free(m_selection);
    }
    m_selection = nullptr;
    SetEmptySelectionBox();
}

bool CxImage::SelectionClear() {
    if (m_selection == nullptr) {
        return false;
    }
    std::memset(m_selection, 0, MaskBytes(*this));
    SetEmptySelectionBox();
    return true;
}

bool CxImage::SelectionIsInside(long x, long y) const {
    if (!IsValid() || !ContainsPoint(x, y)) {
        return false;
    }
    return m_selection == nullptr || m_selection[x + static_cast<std::size_t>(y) * GetWidth()] != 0;
}

bool CxImage::SelectionAddRect(long left, long top, long right, long bottom) {
    if (m_selection == nullptr && !SelectionCreate()) {
        return false;
    }
    if (left > right) {
        std::swap(left, right);
    }
    if (bottom > top) {
        std::swap(bottom, top);
    }
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    left = Clamp(left, 0, width);
    right = Clamp(right, 0, width);
    bottom = Clamp(bottom, 0, height);
    top = Clamp(top, 0, height);
    WidenSelectionBox(left, top, right, bottom);
    for (long y = bottom; y < top; y++) {
        std::memset(m_selection + static_cast<std::size_t>(y) * width + left, kSelected,
                    static_cast<std::size_t>(right - left));
    }
    return true;
}

bool CxImage::SelectionAddEllipse(long left, long top, long right, long bottom) {
    if (m_selection == nullptr && !SelectionCreate()) {
        return false;
    }
    const long a = std::labs(right - left) / 2;
    const long b = std::labs(top - bottom) / 2;
    if (a == 0 || b == 0) {
        return false;
    }
    const long cx = (left + right) / 2;
    const long cy = (top + bottom) / 2;
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    WidenSelectionBox(Clamp(cx - a, 0, width), Clamp(cy + b, 0, height), Clamp(cx + a, 0, width),
                      Clamp(cy - b, 0, height));
    for (long x = std::max(0L, cx - a); x <= std::min(width - 1, cx + a); x++) {
        const double u = static_cast<double>(x - cx) / a;
        const double extent = b * std::sqrt(std::max(0.0, 1 - u * u));
        for (long y = std::max(0L, cy - b); y <= std::min(height - 1, cy + b); y++) {
            if (y > cy - extent && y < cy + extent) {
                m_selection[x + static_cast<std::size_t>(y) * width] = kSelected;
            }
        }
    }
    return true;
}

namespace {

enum ScratchMark : BYTE {
    kUnvisited = 0,
    kEdge = 1,
    kOutside = 2,
};

// Steps along an edge so that no gaps remain; points off the image are skipped.
void MarkEdge(std::vector<BYTE>& scratch, long width, long height, ImagePoint from, ImagePoint to) {
    const long dx = static_cast<long>(to.x) - from.x;
    const long dy = static_cast<long>(to.y) - from.y;
    const long steps = std::max(std::labs(dx), std::labs(dy));
    for (long k = 0; k <= steps; k++) {
        const long x = steps == 0
                           ? from.x
                           : from.x + static_cast<long>(std::lround(static_cast<double>(dx) * k / steps));
        const long y = steps == 0
                           ? from.y
                           : from.y + static_cast<long>(std::lround(static_cast<double>(dy) * k / steps));
        if (x >= 0 && y >= 0 && x < width && y < height) {
            scratch[x + static_cast<std::size_t>(y) * width] = kEdge;
        }
    }
}

void MarkPolygons(std::vector<BYTE>& scratch, long width, long height, const ImagePoint* points, long count) {
    long start = 0;
    while (start < count) {
        long end = start;
        while (end < count && points[end].x != -1) {
            end++;
        }
        for (long i = start; i < end; i++) {
            const ImagePoint next = i + 1 < end ? points[i + 1] : points[start];
            MarkEdge(scratch, width, height, points[i], next);
        }
        start = end + 1;
    }
}

}  // namespace

bool CxImage::SelectionAddPolygon(const ImagePoint* points, long count) {
    if (points == nullptr || count < 3) {
        return false;
    }
    if (m_selection == nullptr && !SelectionCreate()) {
        return false;
    }
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    std::vector<BYTE> scratch(MaskBytes(*this), kUnvisited);
    MarkPolygons(scratch, width, height, points, count);
    long boxLeft = width;
    long boxRight = 0;
    long boxBottom = height;
    long boxTop = 0;
    for (long i = 0; i < count; i++) {
        if (points[i].x == -1) {
            continue;
        }
        boxLeft = std::min<long>(boxLeft, points[i].x - 1);
        boxRight = std::max<long>(boxRight, points[i].x + 1);
        boxBottom = std::min<long>(boxBottom, points[i].y - 1);
        boxTop = std::max<long>(boxTop, points[i].y + 1);
    }
    boxLeft = Clamp(boxLeft, 0, width - 1);
    boxRight = Clamp(boxRight, 0, width - 1);
    boxBottom = Clamp(boxBottom, 0, height - 1);
    boxTop = Clamp(boxTop, 0, height - 1);
    if (boxLeft > boxRight || boxBottom > boxTop) {
        return false;
    }
    std::deque<std::size_t> queue;
    auto seed = [&](long x, long y) {
        const std::size_t at = x + static_cast<std::size_t>(y) * width;
        if (scratch[at] == kUnvisited) {
            scratch[at] = kOutside;
            queue.push_back(at);
        }
    };
    for (long x = boxLeft; x <= boxRight; x++) {
        seed(x, boxBottom);
        seed(x, boxTop);
    }
    for (long y = boxBottom; y <= boxTop; y++) {
        seed(boxLeft, y);
        seed(boxRight, y);
    }
    while (!queue.empty()) {
        const std::size_t at = queue.front();
        queue.pop_front();
        const long x = static_cast<long>(at % width);
        const long y = static_cast<long>(at / width);
        if (x > boxLeft) {
            seed(x - 1, y);
        }
        if (x < boxRight) {
            seed(x + 1, y);
        }
        if (y > boxBottom) {
            seed(x, y - 1);
        }
        if (y < boxTop) {
            seed(x, y + 1);
        }
    }
    for (long y = boxBottom; y <= boxTop; y++) {
        for (long x = boxLeft; x <= boxRight; x++) {
            const std::size_t at = x + static_cast<std::size_t>(y) * width;
            if (scratch[at] != kOutside) {
                m_selection[at] = kSelected;
            }
        }
    }
    WidenSelectionBox(boxLeft, boxTop, boxRight, boxBottom);
    return true;
}

bool CxImage::SelectionAddColor(RgbQuad color) {
    if (m_selection == nullptr && !SelectionCreate()) {
        return false;
    }
    const long width = static_cast<long>(GetWidth());
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        for (long x = 0; x < width; x++) {
            const RgbQuad pixel = GetPixelColor(x, y, false);
            if (pixel.blue == color.blue && pixel.green == color.green && pixel.red == color.red) {
                m_selection[x + static_cast<std::size_t>(y) * width] = kSelected;
                WidenSelectionBox(x, y, x, y);
            }
        }
    }
    return true;
}

bool CxImage::SelectionAddPixel(long x, long y) {
    if (m_selection == nullptr && !SelectionCreate()) {
        return false;
    }
    if (!ContainsPoint(x, y)) {
        return false;
    }
    m_selection[x + static_cast<std::size_t>(y) * GetWidth()] = kSelected;
    return true;
}

bool CxImage::SelectionInvert() {
    if (m_selection == nullptr) {
        return false;
    }
    for (std::size_t i = 0; i < MaskBytes(*this); i++) {
        m_selection[i] = static_cast<BYTE>(255 - m_selection[i]);
    }
    return true;
}

bool CxImage::SelectionCopy(const CxImage& source) {
    if (source.m_selection == nullptr || source.GetWidth() != GetWidth() ||
        source.GetHeight() != GetHeight()) {
        return false;
    }
    if (m_selection == nullptr && !SelectionCreate()) {
        return false;
    }
    std::memcpy(m_selection, source.m_selection, MaskBytes(*this));
    m_info.selectionBox = source.m_info.selectionBox;
    return true;
}

bool CxImage::SelectionSplit(CxImage* destination) const {
    if (m_selection == nullptr || destination == nullptr) {
        return false;
    }
    CxImage result;
    if (result.Create(GetWidth(), GetHeight(), 8, GetType()) == nullptr) {
        return false;
    }
    result.SetGrayPalette();
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        std::memcpy(result.RowPointer(y), m_selection + static_cast<std::size_t>(y) * GetWidth(), GetWidth());
    }
    return destination->TakeOver(result);
}
