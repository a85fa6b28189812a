// Colour depth of the image class: grey conversion, inversion, raising and lowering
// bits per pixel, and dithering to black and white. Errors are diffused on a working
// buffer of their own, never written back into the source image.
#include "image/CxImage.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kMonoThreshold = 129;

BYTE ClampByte(int value) {
    return static_cast<BYTE>(std::max(0, std::min(255, value)));
}

// One weight of an error-diffusion kernel: column offset, row offset (rows after the
// current one), weight.
struct DiffusionTap {
    int dx;
    int dy;
    int weight;
};

struct DiffusionKernel {
    std::vector<DiffusionTap> taps;
    int divisor;
};

DiffusionKernel KernelFor(long method) {
    switch (method) {
    case 2:
        return {{{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2}}, 32};
    case 3:
        return {{{1, 0, 8},
                 {2, 0, 4},
                 {-2, 1, 2},
                 {-1, 1, 4},
                 {0, 1, 8},
                 {1, 1, 4},
                 {2, 1, 2},
                 {-2, 2, 1},
                 {-1, 2, 2},
                 {0, 2, 4},
                 {1, 2, 2},
                 {2, 2, 1}},
                42};
    case 4:
        return {{{1, 0, 7},
                 {2, 0, 5},
                 {-2, 1, 3},
                 {-1, 1, 5},
                 {0, 1, 7},
                 {1, 1, 5},
                 {2, 1, 3},
                 {-2, 2, 1},
                 {-1, 2, 3},
                 {0, 2, 5},
                 {1, 2, 3},
                 {2, 2, 1}},
                48};
    case 5:
        return {{{1, 0, 5},
                 {2, 0, 3},
                 {-2, 1, 2},
                 {-1, 1, 4},
                 {0, 1, 5},
                 {1, 1, 4},
                 {2, 1, 2},
                 {-1, 2, 2},
                 {0, 2, 3},
                 {1, 2, 2}},
                32};
    case 6:
        return {{{2, 0, 32},
                 {-3, 1, 12},
                 {-1, 1, 26},
                 {1, 1, 30},
                 {3, 1, 16},
                 {-2, 2, 12},
                 {0, 2, 26},
                 {2, 2, 12},
                 {-3, 3, 5},
                 {-1, 3, 12},
                 {1, 3, 12},
                 {3, 3, 5}},
                200};
    default:
        return {{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}, 16};
    }
}

constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

}  // namespace

bool CxImage::GrayScale() {
    if (!IsValid()) {
        return false;
    }
    if (GetBpp() > 8) {
        CxImage result;
        result.CopySettings(*this);
        if (result.Create(GetWidth(), GetHeight(), 8, GetType()) == nullptr) {
            CopyLastError(result);
            return false;
        }
        result.SetGrayPalette();
        for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
            BYTE* target = result.RowPointer(y);
            for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
                target[x] = Luminance(GetPixelColorUnchecked(x, y));
            }
        }
        // Both refuse when this image has no plane or mask: then there is nothing to carry.
        result.AlphaCopy(*this);
        result.SelectionCopy(*this);
        return TakeOver(result);
    }
    RgbQuad* palette = GetPalette();
    std::vector<BYTE> levels(GetNumColors());
    for (DWORD i = 0; i < GetNumColors(); i++) {
        levels[i] = Luminance(palette[i]);
        palette[i].blue = palette[i].green = palette[i].red = levels[i];
    }
    ClearNearestCache();
    if (IsTransparent() && static_cast<DWORD>(GetTransIndex()) < GetNumColors()) {
        SetTransIndex(levels[static_cast<std::size_t>(GetTransIndex())]);
    }
    if (GetBpp() == 8) {
        for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
            BYTE* row = RowPointer(y);
            for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
                row[x] = levels[row[x]];
            }
        }
        SetGrayPalette();
        return true;
    }
    CxImage result;
    result.CopySettings(*this);
    if (result.Create(GetWidth(), GetHeight(), 8, GetType()) == nullptr) {
        CopyLastError(result);
        return false;
    }
    result.SetGrayPalette();
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
            result.SetPixelIndex(x, y, levels[GetPixelIndexUnchecked(x, y)]);
        }
    }
    // Both refuse when this image has no plane or mask: then there is nothing to carry.
    result.AlphaCopy(*this);
    result.SelectionCopy(*this);
    return TakeOver(result);
}

bool CxImage::Negative() {
    if (!IsValid()) {
        return false;
    }
    if (GetBpp() > 8) {
        const SelectionBox box = m_info.selectionBox;
        for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
            BYTE* row = RowPointer(y);
            for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
                if (m_selection != nullptr && (x < box.left || x >= box.right || y < box.bottom ||
                                               y >= box.top || !SelectionIsInside(x, y))) {
                    continue;
                }
                for (int c = 0; c < 3; c++) {
                    row[3 * x + c] = static_cast<BYTE>(255 - row[3 * x + c]);
                }
            }
        }
        m_info.transparentColor.blue = static_cast<BYTE>(255 - m_info.transparentColor.blue);
        m_info.transparentColor.green = static_cast<BYTE>(255 - m_info.transparentColor.green);
        m_info.transparentColor.red = static_cast<BYTE>(255 - m_info.transparentColor.red);
        return true;
    }
    if (!IsGrayScale()) {
        RgbQuad* palette = GetPalette();
        for (DWORD i = 0; i < GetNumColors(); i++) {
            palette[i].blue = static_cast<BYTE>(255 - palette[i].blue);
            palette[i].green = static_cast<BYTE>(255 - palette[i].green);
            palette[i].red = static_cast<BYTE>(255 - palette[i].red);
        }
        ClearNearestCache();
        return true;
    }
    const BYTE top = static_cast<BYTE>(GetNumColors() - 1);
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
            if (SelectionIsInside(x, y)) {
                SetPixelIndex(x, y, static_cast<BYTE>(top - GetPixelIndexUnchecked(x, y)));
            }
        }
    }
    return true;
}

bool CxImage::RaiseDepth(long bpp) {
    if (!IsValid()) {
        return false;
    }
    if (bpp == GetBpp()) {
        return true;
    }
    if (bpp < GetBpp() || (bpp != 4 && bpp != 8 && bpp != 24)) {
        return false;
    }
    CxImage result;
    if (!PrepareResult(result, GetWidth(), GetHeight(), static_cast<DWORD>(bpp))) {
        CopyLastError(result);
        return false;
    }
    // Both refuse when this image has no plane or mask: then there is nothing to carry.
    result.AlphaCopy(*this);
    result.SelectionCopy(*this);
    if (bpp == 24) {
        if (IsTransparent()) {
            result.SetTransColor(GetPaletteColor(static_cast<BYTE>(GetTransIndex())));
        }
        if (!AlphaIsValid() && AlphaPaletteIsValid() && !result.AlphaCreate()) {
            return false;
        }
    }
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        if (ProgressStops(y, static_cast<long>(GetHeight()))) {
            break;
        }
        for (long x = 0; x < static_cast<long>(GetWidth()); x++) {
            if (bpp == 24) {
                result.SetPixelColor(x, y, GetPixelColor(x, y, true), true);
            } else {
                result.SetPixelIndex(x, y, GetPixelIndexUnchecked(x, y));
            }
        }
    }
    return TakeOver(result);
}

bool CxImage::ReduceDepth(long bpp, bool errorDiffusion, const RgbQuad* palette, DWORD colorsImportant) {
    if (!IsValid() || bpp > GetBpp()) {
        return false;
    }
    if (bpp == GetBpp() &&
        (colorsImportant == 0 || (GetClrImportant() != 0 && GetClrImportant() < colorsImportant))) {
        return true;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8) {
        return false;
    }
    CxImage result;
    result.CopySettings(*this);
    if (result.Create(GetWidth(), GetHeight(), static_cast<DWORD>(bpp), GetType()) == nullptr) {
        CopyLastError(result);
        return false;
    }
    if (palette != nullptr) {
        result.SetPalette(palette, result.GetNumColors());
    } else if (bpp == 1) {
        result.SetPaletteColor(0, 0, 0, 0);
        result.SetPaletteColor(1, 255, 255, 255);
    } else {
        result.SetStdPalette();
    }
    if (colorsImportant != 0) {
        result.SetColorsImportant(colorsImportant);
    }
    // Both refuse when this image has no plane or mask: then there is nothing to carry.
    result.AlphaCopy(*this);
    result.SelectionCopy(*this);
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    // Wanted colours with the errors spread so far, one int per channel.
    std::vector<int> work(static_cast<std::size_t>(width) * height * 3);
    for (long y = 0; y < height; y++) {
        for (long x = 0; x < width; x++) {
            const RgbQuad color = GetPixelColor(x, y, false);
            int* cell = &work[(static_cast<std::size_t>(y) * width + x) * 3];
            cell[0] = color.blue;
            cell[1] = color.green;
            cell[2] = color.red;
        }
    }
    const DiffusionTap taps[] = {{1, 0, 7}, {-1, 1, 2}, {0, 1, 4}, {1, 1, 1}};
    for (long y = 0; y < height; y++) {
        ReportProgress(y, height);
        for (long x = 0; x < width; x++) {
            int* cell = &work[(static_cast<std::size_t>(y) * width + x) * 3];
            const RgbQuad wanted = {ClampByte(cell[0]), ClampByte(cell[1]), ClampByte(cell[2]), 0};
            const BYTE index = result.GetNearestIndex(wanted);
            result.SetPixelIndex(x, y, index);
            if (!errorDiffusion) {
                continue;
            }
            const RgbQuad stored = result.GetPaletteColor(index);
            const int errors[3] = {wanted.blue - stored.blue, wanted.green - stored.green,
                                   wanted.red - stored.red};
            for (const DiffusionTap& tap : taps) {
                const long nx = x + tap.dx;
                const long ny = y + tap.dy;
                if (nx < 0 || nx >= width || ny >= height) {
                    continue;
                }
                int* next = &work[(static_cast<std::size_t>(ny) * width + nx) * 3];
                for (int c = 0; c < 3; c++) {
                    next[c] = ClampByte(next[c] + errors[c] * tap.weight / 16);
                }
            }
        }
    }
    return TakeOver(result);
}

// Method 7 uses the 4 x 4 Bayer matrix spread over the byte range (16 n + 8), so that
// its sixteen thresholds sit in the middle of sixteen equal grey bands.
bool CxImage::DitherToMono(long method) {
    if (!IsValid()) {
        return false;
    }
    if (GetBpp() == 1) {
        return true;
    }
    CxImage grey(*this, true, false, false);
    if (!grey.IsValid() || !grey.GrayScale()) {
        return false;
    }
    CxImage result;
    result.CopySettings(*this);
    if (result.Create(GetWidth(), GetHeight(), 1, GetType()) == nullptr) {
        CopyLastError(result);
        return false;
    }
    result.SetPaletteColor(0, 0, 0, 0);
    result.SetPaletteColor(1, 255, 255, 255);
    // Both refuse when this image has no plane or mask: then there is nothing to carry.
    result.AlphaCopy(*this);
    result.SelectionCopy(*this);
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    std::vector<int> levels(static_cast<std::size_t>(width) * height);
    for (long y = 0; y < height; y++) {
        for (long x = 0; x < width; x++) {
            levels[static_cast<std::size_t>(y) * width + x] = grey.GetPixelIndexUnchecked(x, y);
        }
    }
    const DiffusionKernel kernel = KernelFor(method);
    for (long y = 0; y < height; y++) {
        ReportProgress(y, height);
        for (long x = 0; x < width; x++) {
            const int level = levels[static_cast<std::size_t>(y) * width + x];
            if (method == 1) {
                const int band = level * 16 / 255;
                result.SetPixelIndex(x, y, (band == 16 || kBayer4[y % 4][x % 4] < band) ? 1 : 0);
                continue;
            }
            if (method == 7) {
                result.SetPixelIndex(x, y, 16 * kBayer4[y % 4][x % 4] + 8 < level ? 1 : 0);
                continue;
            }
            const bool white = level >= kMonoThreshold;
            result.SetPixelIndex(x, y, white ? 1 : 0);
            const int error = white ? level - 255 : level;
            for (const DiffusionTap& tap : kernel.taps) {
                const long nx = x + tap.dx;
                const long ny = y + tap.dy;
                if (nx < 0 || nx >= width || ny >= height) {
                    continue;
                }
                int& next = levels[static_cast<std::size_t>(ny) * width + nx];
                next = ClampByte(next + error * tap.weight / kernel.divisor);
            }
        }
    }
    return TakeOver(result);
}
