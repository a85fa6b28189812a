// Resampling of the image class: the general resampler over the interpolation
// methods, the simple resampler and the integer box shrink. Each builds its result in
// a temporary image and moves it over the destination (or this image) at the end.
#include "image/CxImage.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float kScaleThousandths = 1000.0f;

BYTE TruncateChannel(float value) {
    if (!(value > 0)) {
        return 0;
    }
    return value >= 255 ? 255 : static_cast<BYTE>(value);
}

}  // namespace

// A resample to the image's own size is a plain copy into destination (or nothing).
bool CxImage::CopiesWhenSameSize(long newWidth, long newHeight, CxImage* destination) const {
    if (newWidth != static_cast<long>(GetWidth()) || newHeight != static_cast<long>(GetHeight())) {
        return false;
    }
    if (destination != nullptr) {
        destination->CopyFrom(*this, true, true, true);
    }
    return true;
}

bool CxImage::ResampleImage(long newWidth,
                            long newHeight,
                            int method,
                            int overflowMethod,
                            CxImage* destination,
                            bool noAveraging) {
    if (newWidth <= 0 || newHeight < 1 || !IsValid()) {
        return false;
    }
    if (CopiesWhenSameSize(newWidth, newHeight, destination)) {
        return true;
    }
    const float xScale = static_cast<float>(GetWidth()) / static_cast<float>(newWidth);
    const float yScale = static_cast<float>(GetHeight()) / static_cast<float>(newHeight);
    CxImage result;
    if (!PrepareSameDepth(result, newWidth, newHeight)) {
        return false;
    }
    const bool averaging = (xScale > 1 || yScale > 1) && !noAveraging;
    for (long y = 0; y < newHeight; y++) {
        if (ProgressStops(y, newHeight)) {
            break;
        }
        const float sourceY = (y + 0.5f) * yScale - 0.5f;
        for (long x = 0; x < newWidth; x++) {
            const float sourceX = (x + 0.5f) * xScale - 0.5f;
            const RgbQuad color =
                averaging ? InterpolateArea(sourceX, sourceY, xScale, yScale, method, overflowMethod, nullptr)
                          : InterpolatePixel(sourceX, sourceY, method, overflowMethod, nullptr);
            result.SetPixelColor(x, y, color, true);
        }
    }
    return FinishResult(result, destination);
}

bool CxImage::ResampleSimple(long newWidth, long newHeight, int mode, CxImage* destination) {
    if (newWidth <= 0 || newHeight <= 0 || !IsValid()) {
        return false;
    }
    if (CopiesWhenSameSize(newWidth, newHeight, destination)) {
        return true;
    }
    const float xScale = static_cast<float>(GetWidth()) / static_cast<float>(newWidth);
    const float yScale = static_cast<float>(GetHeight()) / static_cast<float>(newHeight);
    CxImage result;
    if (!PrepareResult(result, static_cast<DWORD>(newWidth), static_cast<DWORD>(newHeight), GetBpp())) {
        CopyLastError(result);
        return false;
    }
    bool done = false;
    if (mode == 1) {
        done = ResampleNearest(result, xScale, yScale);
    } else if (mode == 2) {
        done = ResampleBicubic(result, xScale, yScale);
    } else if (GetBpp() == 24 && newWidth < static_cast<long>(GetWidth()) &&
               newHeight < static_cast<long>(GetHeight())) {
        done = ResampleAreaAverage(result, xScale, yScale);
    } else {
        done = ResampleBilinear(result, xScale, yScale);
    }
    return done && FinishResult(result, destination);
}

bool CxImage::ResampleNearest(CxImage& result, float xScale, float yScale) {
    const long newHeight = static_cast<long>(result.GetHeight());
    for (long y = 0; y < newHeight; y++) {
        if (ProgressStops(y, newHeight)) {
            break;
        }
        for (long x = 0; x < static_cast<long>(result.GetWidth()); x++) {
            const long sx = static_cast<long>(x * xScale);
            const long sy = static_cast<long>(y * yScale);
            result.SetPixelColor(x, y, GetPixelColor(sx, sy, false), false);
        }
    }
    return true;
}

bool CxImage::ResampleBicubic(CxImage& result, float xScale, float yScale) {
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    const long newHeight = static_cast<long>(result.GetHeight());
    for (long y = 0; y < newHeight; y++) {
        if (ProgressStops(y, newHeight)) {
            break;
        }
        const float fy = y * yScale - 0.5f;
        const long iy = static_cast<long>(std::floor(fy));
        const float dy = fy - static_cast<float>(iy);
        for (long x = 0; x < static_cast<long>(result.GetWidth()); x++) {
            const float fx = x * xScale - 0.5f;
            const long ix = static_cast<long>(std::floor(fx));
            const float dx = fx - static_cast<float>(ix);
            float red = 0;
            float green = 0;
            float blue = 0;
            float alpha = 0;
            for (long m = -1; m <= 2; m++) {
                const float wy = KernelValue(kInterpolationBSpline, static_cast<float>(m) - dy);
                const long sy = std::max(0L, std::min(height - 1, iy + m));
                for (long n = -1; n <= 2; n++) {
                    const float wx = KernelValue(kInterpolationBSpline, static_cast<float>(n) - dx);
                    const long sx = std::max(0L, std::min(width - 1, ix + n));
                    AccumulateWeighted(GetPixelColor(sx, sy, false), wx * wy, red, green, blue, alpha);
                }
            }
            const RgbQuad color = {TruncateChannel(blue), TruncateChannel(green), TruncateChannel(red), 0};
            result.SetPixelColor(x, y, color, false);
        }
    }
    return true;
}

// Each destination pixel sums the source pixels it covers, every one weighted by the
// share of it inside the destination pixel, in thousandths, with integer arithmetic.
bool CxImage::ResampleAreaAverage(CxImage& result, float xScale, float yScale) {
    const long newWidth = static_cast<long>(result.GetWidth());
    const long newHeight = static_cast<long>(result.GetHeight());
    const long divisor = std::max(1L, static_cast<long>(xScale * yScale * kScaleThousandths));
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    for (long y = 0; y < newHeight; y++) {
        if (ProgressStops(y, newHeight)) {
            break;
        }
        const float top = y * yScale;
        const float bottom = (y + 1) * yScale;
        BYTE* target = result.RowPointer(y);
        for (long x = 0; x < newWidth; x++) {
            const float left = x * xScale;
            const float right = (x + 1) * xScale;
            long sums[3] = {0, 0, 0};
            for (long sy = static_cast<long>(top); sy < height && sy < bottom; sy++) {
                const float shareY = std::min<float>(bottom, sy + 1) - std::max<float>(top, sy);
                const BYTE* row = RowPointer(sy);
                for (long sx = static_cast<long>(left); sx < width && sx < right; sx++) {
                    const float shareX = std::min<float>(right, sx + 1) - std::max<float>(left, sx);
                    const long weight = static_cast<long>(shareX * shareY * kScaleThousandths);
                    for (int c = 0; c < 3; c++) {
                        sums[c] += row[3 * sx + c] * weight;
                    }
                }
            }
            for (int c = 0; c < 3; c++) {
                target[3 * x + c] = static_cast<BYTE>(std::min(255L, sums[c] / divisor));
            }
        }
    }
    return true;
}

bool CxImage::ResampleBilinear(CxImage& result, float xScale, float yScale) {
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    const long newHeight = static_cast<long>(result.GetHeight());
    for (long y = 0; y < newHeight; y++) {
        if (ProgressStops(y, newHeight)) {
            break;
        }
        const float fy = y * yScale;
        const long y0 = std::min(height - 1, static_cast<long>(fy));
        const long y1 = std::min(y0 + 1, height - 1);
        const float dy = fy - static_cast<float>(y0);
        for (long x = 0; x < static_cast<long>(result.GetWidth()); x++) {
            const float fx = x * xScale;
            const long x0 = std::min(width - 1, static_cast<long>(fx));
            const long x1 = std::min(x0 + 1, width - 1);
            const float dx = fx - static_cast<float>(x0);
            const RgbQuad c00 = GetPixelColor(x0, y0, false);
            const RgbQuad c10 = GetPixelColor(x1, y0, false);
            const RgbQuad c01 = GetPixelColor(x0, y1, false);
            const RgbQuad c11 = GetPixelColor(x1, y1, false);
            auto mix = [&](BYTE a, BYTE b, BYTE c, BYTE d) {
                return TruncateChannel((1 - dy) * ((1 - dx) * a + dx * b) + dy * ((1 - dx) * c + dx * d));
            };
            const RgbQuad color = {mix(c00.blue, c10.blue, c01.blue, c11.blue),
                                   mix(c00.green, c10.green, c01.green, c11.green),
                                   mix(c00.red, c10.red, c01.red, c11.red), 0};
            result.SetPixelColor(x, y, color, false);
        }
    }
    return true;
}

namespace {

struct ShrinkCell {
    std::uint32_t blue;
    std::uint32_t green;
    std::uint32_t red;
    std::uint32_t count;
    std::uint32_t alpha;
};

}  // namespace

// A source column moves on to the next destination cell once the column counter
// reaches the source width, as rows do with the row counter; advancing only when it
// passed the width would give the first cell one column more than the others.
bool CxImage::QIShrink(long newWidth, long newHeight, CxImage* destination) {
    if (!IsValid() || newWidth <= 0 || newHeight <= 0) {
        return false;
    }
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    if (newWidth > width || newHeight > height) {
        SetLastError("QIShrink can't enlarge image");
        return false;
    }
    if (newWidth == width && newHeight == height) {
        return true;
    }
    CxImage result;
    if (!PrepareSameDepth(result, newWidth, newHeight)) {
        return false;
    }
    const bool withAlpha = AlphaIsValid();
    std::vector<ShrinkCell> cells(static_cast<std::size_t>(newWidth));
    long rowCounter = 0;
    long targetRow = 0;
    for (long sy = 0; sy < height && targetRow < newHeight; sy++) {
        if (ProgressStops(sy, height)) {
            break;
        }
        long columnCounter = 0;
        std::size_t cell = 0;
        for (long sx = 0; sx < width; sx++) {
            const RgbQuad color = GetPixelColor(sx, sy, true);
            ShrinkCell& entry = cells[cell];
            entry.blue += color.blue;
            entry.green += color.green;
            entry.red += color.red;
            entry.alpha += withAlpha ? color.alpha : 0;
            entry.count++;
            columnCounter += newWidth;
            if (columnCounter >= width) {
                columnCounter -= width;
                cell = std::min(cell + 1, cells.size() - 1);
            }
        }
        rowCounter += newHeight;
        if (rowCounter < height) {
            continue;
        }
        rowCounter -= height;
        for (long x = 0; x < newWidth; x++) {
            const ShrinkCell& entry = cells[static_cast<std::size_t>(x)];
            const std::uint32_t count = std::max<std::uint32_t>(1, entry.count);
            const RgbQuad color = {
                static_cast<BYTE>(entry.blue / count), static_cast<BYTE>(entry.green / count),
                static_cast<BYTE>(entry.red / count), static_cast<BYTE>(entry.alpha / count)};
            result.SetPixelColor(x, targetRow, color, withAlpha);
        }
        targetRow++;
        std::fill(cells.begin(), cells.end(), ShrinkCell{0, 0, 0, 0, 0});
    }
    return FinishResult(result, destination);
}
