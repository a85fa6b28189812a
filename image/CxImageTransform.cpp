// Geometric transforms of the image class: crop, expand, fit, flips, rotations, skew
// and circular transforms. Each builds its result in a temporary image; the source is
// left unchanged when the temporary image cannot be made.
#include "image/CxImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr long kRotateTile = 64;
constexpr float kRadiansPerDegree = 0.017453292519943295f;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr float kRightAngleTolerance = 0.25f;
constexpr double kTwoPi = 6.283185307179586;

long Clamp(long value, long low, long high) {
    return std::max(low, std::min(high, value));
}

}  // namespace

void CxImage::CopyPixelFrom(const CxImage& source, long sourceX, long sourceY, long x, long y) {
    if (IsIndexed()) {
        SetPixelIndex(x, y, source.GetPixelIndex(sourceX, sourceY));
    } else {
        SetPixelColor(x, y, source.GetPixelColor(sourceX, sourceY, false), false);
    }
    if (AlphaIsValid()) {
        AlphaSet(x, y, source.AlphaIsValid() ? source.AlphaGet(sourceX, sourceY) : 255);
    }
}

// left/top/right/bottom count y from the top, as the caller sees the picture.
bool CxImage::Crop(long left, long top, long right, long bottom, CxImage* destination) {
    if (!IsValid()) {
        return false;
    }
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    left = Clamp(left, 0, width);
    right = Clamp(right, 0, width);
    top = Clamp(top, 0, height);
    bottom = Clamp(bottom, 0, height);
    if (left == right || top == bottom) {
        return false;
    }
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    const long newWidth = right - left;
    const long newHeight = bottom - top;
    CxImage result;
    if (!PrepareSameDepth(result, newWidth, newHeight)) {
        return false;
    }
    result.SelectionDelete();
    const long firstRow = height - bottom;
    for (long y = 0; y < newHeight; y++) {
        ReportProgress(y, newHeight);
        if (GetBpp() >= 8) {
            const long bytesPerPixel = GetBpp() / 8;
            std::memcpy(result.RowPointer(y), RowPointer(firstRow + y) + left * bytesPerPixel,
                        static_cast<std::size_t>(newWidth * bytesPerPixel));
        } else {
            for (long x = 0; x < newWidth; x++) {
                result.SetPixelIndex(x, y, GetPixelIndex(left + x, firstRow + y));
            }
        }
        if (AlphaIsValid()) {
            std::memcpy(result.AlphaRowPointer(0, y), AlphaRowPointer(left, firstRow + y),
                        static_cast<std::size_t>(newWidth));
        }
    }
    return FinishResult(result, destination);
}

bool CxImage::CropRotated(long left, long top, long width, long height, float angle, CxImage* destination) {
    if (std::fabs(angle) < 0.0002f) {
        return Crop(left, top, left + width, top + height, destination);
    }
    if (!IsValid() || width <= 0 || height <= 0) {
        return false;
    }
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const double xs[4] = {static_cast<double>(left), left - height * s, left + width * c,
                          left + width * c - height * s};
    const double ys[4] = {static_cast<double>(top), top + height * c, top + width * s,
                          top + width * s + height * c};
    const double minX = *std::min_element(xs, xs + 4);
    const double maxX = *std::max_element(xs, xs + 4);
    const double minY = *std::min_element(ys, ys + 4);
    const double maxY = *std::max_element(ys, ys + 4);
    if (minX < 0 || minY < 0 || maxX > GetWidth() || maxY > GetHeight()) {
        return false;
    }
    CxImage box;
    if (!Crop(static_cast<long>(minX), static_cast<long>(minY), static_cast<long>(std::ceil(maxX)),
              static_cast<long>(std::ceil(maxY)), &box)) {
        return false;
    }
    if (!box.RotateAngle(static_cast<float>(-angle * kDegreesPerRadian))) {
        return false;
    }
    const long offsetX = (static_cast<long>(box.GetWidth()) - width) / 2;
    const long offsetY = (static_cast<long>(box.GetHeight()) - height) / 2;
    if (!box.Crop(offsetX, offsetY, offsetX + width, offsetY + height)) {
        return false;
    }
    CxImage& target = destination != nullptr ? *destination : *this;
    return target.TakeOver(box);
}

bool CxImage::Expand(long left, long top, long right, long bottom, RgbQuad canvas, CxImage* destination) {
    if (!IsValid() || left < 0 || top < 0 || right < 0 || bottom < 0) {
        return false;
    }
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    const long newWidth = width + left + right;
    const long newHeight = height + top + bottom;
    CxImage result;
    if (!PrepareResult(result, static_cast<DWORD>(newWidth), static_cast<DWORD>(newHeight), GetBpp())) {
        CopyLastError(result);
        return false;
    }
    if (GetBpp() < 8) {
        const BYTE canvasIndex = result.GetNearestIndex(canvas);
        for (long y = 0; y < newHeight; y++) {
            for (long x = 0; x < newWidth; x++) {
                const long sx = x - left;
                const long sy = y - bottom;
                result.SetPixelIndex(x, y, ContainsPoint(sx, sy) ? GetPixelIndex(sx, sy) : canvasIndex);
            }
        }
        return FinishResult(result, destination);
    }
    if (GetBpp() == 8) {
        result.FillBytes(result.GetNearestIndex(canvas));
    } else {
        for (long y = 0; y < newHeight; y++) {
            BYTE* row = result.RowPointer(y);
            for (long x = 0; x < newWidth; x++) {
                row[3 * x] = canvas.blue;
                row[3 * x + 1] = canvas.green;
                row[3 * x + 2] = canvas.red;
            }
        }
    }
    const long bytesPerPixel = GetBpp() / 8;
    for (long y = 0; y < height; y++) {
        std::memcpy(result.RowPointer(y + bottom) + left * bytesPerPixel, RowPointer(y),
                    static_cast<std::size_t>(width * bytesPerPixel));
    }
    return FinishResult(result, destination);
}

bool CxImage::ExpandTo(long newWidth, long newHeight, RgbQuad canvas, CxImage* destination) {
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    if (!IsValid() || newWidth < width || newHeight < height) {
        return false;
    }
    const long left = (newWidth - width) / 2;
    const long top = (newHeight - height) / 2;
    return Expand(left, top, newWidth - width - left, newHeight - height - top, canvas, destination);
}

bool CxImage::FitInto(long newWidth, long newHeight, RgbQuad canvas, CxImage* destination) {
    if (!IsValid() || newWidth <= 0 || newHeight <= 0) {
        return false;
    }
    CxImage copy(*this, true, true, true);
    const float width = static_cast<float>(GetWidth());
    const float height = static_cast<float>(GetHeight());
    if (width > newWidth || height > newHeight) {
        const float factor = static_cast<float>(newWidth) / newHeight * height > width
                                 ? static_cast<float>(newHeight) / height
                                 : static_cast<float>(newWidth) / width;
        const long fitWidth = std::max(1L, static_cast<long>(factor * width));
        const long fitHeight = std::max(1L, static_cast<long>(factor * height));
        if (!copy.ResampleSimple(fitWidth, fitHeight, 0, nullptr)) {
            return false;
        }
    }
    if (!copy.ExpandTo(newWidth, newHeight, canvas, nullptr)) {
        return false;
    }
    CxImage& target = destination != nullptr ? *destination : *this;
    return target.TakeOver(copy);
}

bool CxImage::Flip() {
    if (!IsValid()) {
        return false;
    }
    CxImage result(*this, true, true, true);
    if (!result.IsValid()) {
        return false;
    }
    const long height = static_cast<long>(GetHeight());
    for (long y = 0; y < height; y++) {
        std::memcpy(result.RowPointer(y), RowPointer(height - 1 - y), GetEffWidth());
    }
    result.AlphaFlip();
    return TakeOver(result);
}

bool CxImage::Mirror() {
    if (!IsValid()) {
        return false;
    }
    CxImage result(*this, true, true, true);
    if (!result.IsValid()) {
        return false;
    }
    const long width = static_cast<long>(GetWidth());
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        const BYTE* source = RowPointer(y);
        BYTE* target = result.RowPointer(y);
        if (GetBpp() == 24) {
            for (long x = 0; x < width; x++) {
                std::memcpy(target + 3 * (width - 1 - x), source + 3 * x, 3);
            }
        } else if (GetBpp() == 8) {
            std::reverse_copy(source, source + width, target);
        } else {
            for (long x = 0; x < width; x++) {
                result.SetPixelIndex(width - 1 - x, y, GetPixelIndex(x, y));
            }
        }
    }
    result.AlphaMirror();
    return TakeOver(result);
}

// Left maps source (x, y) to (height - 1 - y, x); right maps it to (y, width - 1 - x).
// The work goes tile by tile so that both images are read and written close together.
bool CxImage::RotateQuarter(bool left, CxImage* destination) {
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    CxImage result;
    if (!IsValid() || !PrepareSameDepth(result, height, width)) {
        return false;
    }
    for (long tileY = 0; tileY < height; tileY += kRotateTile) {
        ReportProgress(tileY, height);
        for (long tileX = 0; tileX < width; tileX += kRotateTile) {
            for (long y = tileY; y < std::min(height, tileY + kRotateTile); y++) {
                for (long x = tileX; x < std::min(width, tileX + kRotateTile); x++) {
                    const long tx = left ? height - 1 - y : y;
                    const long ty = left ? x : width - 1 - x;
                    if (IsIndexed()) {
                        result.SetPixelIndex(tx, ty, GetPixelIndexUnchecked(x, y));
                    } else {
                        std::memcpy(result.RowPointer(ty) + 3 * tx, RowPointer(y) + 3 * x, 3);
                    }
                    if (AlphaIsValid()) {
                        result.AlphaSet(tx, ty, AlphaGetUnchecked(x, y));
                    }
                }
            }
        }
    }
    return FinishResult(result, destination);
}

bool CxImage::RotateLeft(CxImage* destination) {
    return RotateQuarter(true, destination);
}

bool CxImage::RotateRight(CxImage* destination) {
    return RotateQuarter(false, destination);
}

bool CxImage::Rotate180(CxImage* destination) {
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    CxImage result;
    if (!IsValid() || !PrepareSameDepth(result, width, height)) {
        return false;
    }
    for (long y = 0; y < height; y++) {
        ReportProgress(y, height);
        for (long x = 0; x < width; x++) {
            result.CopyPixelFrom(*this, x, y, width - 1 - x, height - 1 - y);
        }
    }
    return FinishResult(result, destination);
}

bool CxImage::RotateAngle(float angle, CxImage* destination) {
    if (!IsValid() || !std::isfinite(angle)) {
        return false;
    }
    const double radians = -angle * kRadiansPerDegree;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double width = GetWidth();
    const double height = GetHeight();
    const double cornersX[4] = {0, width * c, -height * s, width * c - height * s};
    const double cornersY[4] = {0, width * s, height * c, width * s + height * c};
    double minX = 0;
    double maxX = 0;
    double minY = 0;
    double maxY = 0;
    for (int i = 0; i < 4; i++) {
        minX = std::min(minX, std::floor(cornersX[i]));
        maxX = std::max(maxX, std::floor(cornersX[i]));
        minY = std::min(minY, std::floor(cornersY[i]));
        maxY = std::max(maxY, std::floor(cornersY[i]));
    }
    const long newWidth = static_cast<long>(maxX - minX) + 2;
    const long newHeight = static_cast<long>(maxY - minY) + 2;
    CxImage result;
    if (!PrepareSameDepth(result, newWidth, newHeight)) {
        return false;
    }
    if (AlphaIsValid()) {
        result.AlphaClear();
    }
    for (long y = 0; y < newHeight; y++) {
        if (ProgressStops(y, newHeight)) {
            break;
        }
        for (long x = 0; x < newWidth; x++) {
            const double px = x + minX;
            const double py = y + minY;
            const long sx = static_cast<long>(px * c + py * s - 0.5);
            const long sy = static_cast<long>(-px * s + py * c - 0.5);
            if (IsIndexed()) {
                result.SetPixelIndex(x, y, GetPixelIndex(sx, sy));
            } else {
                result.SetPixelColor(x, y, GetPixelColor(sx, sy, false), false);
            }
            if (AlphaIsValid()) {
                result.AlphaSet(x, y, AlphaGet(sx, sy));
            }
        }
    }
    return FinishResult(result, destination);
}

bool CxImage::RotateAngleInterpolated(float angle,
                                      CxImage* destination,
                                      int method,
                                      int overflowMethod,
                                      const RgbQuad* replacement,
                                      bool optimiseRightAngles,
                                      bool keepSize) {
    if (!IsValid() || !std::isfinite(angle)) {
        return false;
    }
    const double radians = -angle * kRadiansPerDegree;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    if (optimiseRightAngles && !keepSize) {
        if (std::fabs(c - 1) * std::max(GetWidth(), GetHeight()) < kRightAngleTolerance) {
            if (destination != nullptr) {
                destination->CopyFrom(*this, true, true, true);
            }
            return true;
        }
        if (std::fabs(c + 1) * std::max(GetWidth(), GetHeight()) < kRightAngleTolerance) {
            return Rotate180(destination);
        }
        if (std::fabs(s - 1) * std::max(GetWidth(), GetHeight()) < kRightAngleTolerance) {
            return RotateLeft(destination);
        }
        if (std::fabs(s + 1) * std::max(GetWidth(), GetHeight()) < kRightAngleTolerance) {
            return RotateRight(destination);
        }
    }
    const double halfWidth = GetWidth() / 2.0;
    const double halfHeight = GetHeight() / 2.0;
    const double extentX = std::fabs(c) * GetWidth() + std::fabs(s) * GetHeight();
    const double extentY = std::fabs(s) * GetWidth() + std::fabs(c) * GetHeight();
    const long newWidth =
        keepSize ? static_cast<long>(GetWidth()) : static_cast<long>(std::floor(extentX + 0.5));
    const long newHeight =
        keepSize ? static_cast<long>(GetHeight()) : static_cast<long>(std::floor(extentY + 0.5));
    CxImage result;
    if (!PrepareSameDepth(result, std::max(1L, newWidth), std::max(1L, newHeight))) {
        return false;
    }
    const double newHalfWidth = result.GetWidth() / 2.0;
    const double newHalfHeight = result.GetHeight() / 2.0;
    for (long y = 0; y < static_cast<long>(result.GetHeight()); y++) {
        if (ProgressStops(y, static_cast<long>(result.GetHeight()))) {
            break;
        }
        for (long x = 0; x < static_cast<long>(result.GetWidth()); x++) {
            const double dx = x + 0.5 - newHalfWidth;
            const double dy = y + 0.5 - newHalfHeight;
            const float sx = static_cast<float>(dx * c + dy * s + halfWidth - 0.5);
            const float sy = static_cast<float>(-dx * s + dy * c + halfHeight - 0.5);
            result.SetPixelColor(x, y, InterpolatePixel(sx, sy, method, overflowMethod, replacement), true);
        }
    }
    return FinishResult(result, destination);
}

SelectionBox CxImage::SelectedOrWholeBox() const {
    if (m_selection != nullptr) {
        return m_info.selectionBox;
    }
    return SelectionBox{0, static_cast<std::int32_t>(GetHeight()), static_cast<std::int32_t>(GetWidth()), 0};
}

RgbQuad CxImage::SkewSample(float sourceX, float sourceY, BYTE* alpha) const {
    const RgbQuad color =
        InterpolatePixel(sourceX, sourceY, kInterpolationBilinear, kOverflowBackground, nullptr);
    *alpha = color.alpha;
    return color;
}

bool CxImage::Skew(float xGain, float yGain, long xPivot, long yPivot, bool interpolate) {
    if (!IsValid()) {
        return false;
    }
    CxImage result(*this, true, true, true);
    if (!result.IsValid()) {
        return false;
    }
    const SelectionBox box = SelectedOrWholeBox();
    for (long y = box.bottom; y < box.top; y++) {
        if (ProgressStops(y - box.bottom, box.top - box.bottom)) {
            break;
        }
        for (long x = box.left; x < box.right; x++) {
            if (!SelectionIsInside(x, y)) {
                continue;
            }
            const float sx = (y - yPivot) * xGain + x;
            const float sy = (x - xPivot) * yGain + y;
            if (!interpolate) {
                // Truncated coordinates far off the image read the outside fallback.
                const long ix = std::isfinite(sx) && std::fabs(sx) < 1e9f ? static_cast<long>(sx) : -1;
                const long iy = std::isfinite(sy) && std::fabs(sy) < 1e9f ? static_cast<long>(sy) : -1;
                result.CopyPixelFrom(*this, ix, iy, x, y);
                continue;
            }
            BYTE alpha = 0;
            const RgbQuad color = SkewSample(sx, sy, &alpha);
            result.SetPixelColor(x, y, color, false);
            result.AlphaSet(x, y, alpha);
        }
    }
    return TakeOver(result);
}

bool CxImage::CircleTransform(int type, long radius, float coefficient) {
    if (!IsValid()) {
        return false;
    }
    CxImage result(*this, true, true, true);
    if (!result.IsValid()) {
        return false;
    }
    const SelectionBox box = SelectedOrWholeBox();
    const long cx = static_cast<long>(GetWidth()) / 2;
    const long cy = static_cast<long>(GetHeight()) / 2;
    double limit = radius;
    if (radius == 0) {
        limit = std::hypot(static_cast<double>(box.right - cx), static_cast<double>(box.top - cy));
    }
    const double k = coefficient == 0 ? 1.0 : coefficient;
    for (long y = box.bottom; y < box.top; y++) {
        if (ProgressStops(y - box.bottom, box.top - box.bottom)) {
            break;
        }
        for (long x = box.left; x < box.right; x++) {
            if (!SelectionIsInside(x, y)) {
                continue;
            }
            const double dx = cx - x;
            const double dy = cy - y;
            const double r = std::sqrt(dx * dx + dy * dy);
            long sx = -1;
            long sy = -1;
            if (r < limit) {
                double angle = std::atan2(dy, dx);
                double newRadius = r;
                if (type == 0) {
                    newRadius = r * r / limit;
                } else if (type == 1) {
                    newRadius = std::sqrt(limit * r);
                } else if (type == 2) {
                    angle += r / k;
                }
                if (type <= 2) {
                    sx = cx + static_cast<long>(std::cos(angle) * newRadius);
                    sy = cy - static_cast<long>(newRadius * std::sin(angle));
                } else if (type == 3) {
                    sx = static_cast<long>(std::fabs(angle * box.right / kTwoPi));
                    sy = static_cast<long>(std::fabs(box.top * r / limit));
                } else {
                    sx = x % 32 + x - 16;
                    sy = y;
                }
            }
            result.CopyPixelFrom(*this, sx, sy, x, y);
        }
    }
    return TakeOver(result);
}
