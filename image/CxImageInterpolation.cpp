// Sampling of an image at positions that are outside it or not on a pixel: the
// overflow methods, the interpolation kernels and the area average that resampling,
// rotation and drawing are built on. Positions come from callers' arithmetic and may
// be huge or not numbers at all, so they are checked as floats before any conversion
// to an integer.
#include "image/CxImage.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLanczosRadius = 6;
// Far enough outside any image that every sample there is an overflow sample, and
// small enough to convert to an integer safely.
constexpr float kFarOutside = 1.0e9f;

BYTE ClampChannel(float value) {
    if (!(value > 0)) {
        return 0;
    }
    if (value > 255) {
        return 255;
    }
    return static_cast<BYTE>(value);
}

BYTE RoundChannel(float value) {
    return ClampChannel(value + 0.5f);
}

bool IsUsable(float value) {
    return std::isfinite(value) && std::fabs(value) < kFarOutside;
}

// The overflow methods that move an outside position back into the image.
bool MovesInside(int overflowMethod) {
    return overflowMethod == kOverflowWrap || overflowMethod == kOverflowRepeat ||
           overflowMethod == kOverflowMirror;
}

long Remainder(long value, long size) {
    return value % size;
}

float Remainder(float value, float size) {
    return std::fmod(value, size);
}

// One coordinate moved into [0, size) by a moving overflow method; the others leave it.
template <class T>
T MoveInside(T value, T size, int overflowMethod) {
    switch (overflowMethod) {
    case kOverflowWrap: {
        const T wrapped = Remainder(value, size);
        return wrapped < 0 ? wrapped + size : wrapped;
    }
    case kOverflowRepeat:
        return std::max(T(0), std::min(size - 1, value));
    case kOverflowMirror:
        if (value < 0) {
            return Remainder(-value, size);
        }
        return value >= size ? size - Remainder(value, size) - 1 : value;
    default:
        return value;
    }
}

long double BesselJ1(long double u) {
    if (u == 0) {
        return 0;
    }
    const long double magnitude = std::fabs(u);
    const long double value = std::cyl_bessel_j(1.0L, magnitude);
    return u < 0 ? -value : value;
}

long double CubicPart(long double u) {
    return u > 0 ? u * u * u : 0;
}

}  // namespace

float CxImage::KernelValue(int method, float t) {
    const long double x = t;
    const long double a = std::fabs(x);
    switch (method) {
    case kInterpolationBSpline:
        if (x > 2) {
            return 0;
        }
        return static_cast<float>(
            (CubicPart(x + 2) - 4 * CubicPart(x + 1) + 6 * CubicPart(x) - 4 * CubicPart(x - 1)) *
            0.16666667L);
    case kInterpolationCubic:
        if (a < 1) {
            return static_cast<float>(1 - 2 * x * x + a * a * a);
        }
        if (a < 2) {
            return static_cast<float>(4 - 8 * a + 5 * x * x - a * a * a);
        }
        return 0;
    case kInterpolationGeneralisedCubic: {
        const long double k = -0.5L;
        if (a < 1) {
            return static_cast<float>((k + 2) * a * a * a - (k + 3) * x * x + 1);
        }
        if (a < 2) {
            return static_cast<float>(k * a * a * a - 5 * k * x * x + 8 * k * a - 4 * k);
        }
        return 0;
    }
    case kInterpolationLanczos: {
        if (a > kLanczosRadius) {
            return 0;
        }
        if (x == 0) {
            return 1;
        }
        const long double p = kPi * x;
        const long double q = p / kLanczosRadius;
        return static_cast<float>(std::sin(q) / q * std::sin(p) / p);
    }
    case kInterpolationBox:
        return (x >= -0.5L && x < 0.5L) ? 1.0f : 0.0f;
    case kInterpolationHermite:
        if (x >= 0 && x < 1) {
            return static_cast<float>(2 * x * x * x - 3 * x * x + 1);
        }
        if (x >= -1 && x < 0) {
            return static_cast<float>(-2 * x * x * x - 3 * x * x + 1);
        }
        return 0;
    case kInterpolationHamming:
        if (x >= 0 && x < 1) {
            return static_cast<float>(0.92L * (2 * x * x * x - 3 * x * x) + 1);
        }
        if (x >= -1 && x < 0) {
            return static_cast<float>(0.92L * (-2 * x * x * x - 3 * x * x) + 1);
        }
        return 0;
    case kInterpolationSinc:
        if (x == 0) {
            return 1;
        }
        return static_cast<float>(std::sin(kPi * x) / (kPi * x));
    case kInterpolationBlackman:
        return static_cast<float>(0.42L + 0.5L * std::cos(kPi * x) + 0.08L * std::cos(2 * kPi * x));
    case kInterpolationBessel:
        if (x == 0) {
            return 0.7853982f;
        }
        return static_cast<float>(BesselJ1(kPi * x) / (2 * x));
    case kInterpolationGaussian:
        return static_cast<float>(std::exp(-2 * x * x) * 0.7978846L);
    case kInterpolationQuadratic:
        if (x >= -1.5L && x < -0.5L) {
            return static_cast<float>(0.5L * (x + 1.5L) * (x + 1.5L));
        }
        if (x >= -0.5L && x < 0.5L) {
            return static_cast<float>(0.75L - x * x);
        }
        if (x >= 0.5L && x < 1.5L) {
            return static_cast<float>(0.5L * (x - 1.5L) * (x - 1.5L));
        }
        return 0;
    case kInterpolationMitchell:
        if (x >= 1 && x < 2) {
            return static_cast<float>(x * (x * (2 - 0.3888889L * x) - 3.3333333L) + 1.7777778L);
        }
        if (x >= 0 && x < 1) {
            return static_cast<float>(x * x * (1.1666666L * x - 2) + 0.8888889L);
        }
        if (x >= -1 && x < 0) {
            return static_cast<float>(x * x * (-2 - 1.1666666L * x) + 0.8888889L);
        }
        if (x >= -2 && x < -1) {
            return static_cast<float>(1.7777778L + 3.3333333L * x + x * x * (2 + 0.3888889L * x));
        }
        return 0;
    case kInterpolationCatmullRom:
        if (x >= 1 && x < 2) {
            return static_cast<float>(0.5L * (-x * x * x + 5 * x * x - 8 * x + 4));
        }
        if (x >= 0 && x < 1) {
            return static_cast<float>(0.5L * (3 * x * x * x - 5 * x * x + 2));
        }
        if (x >= -1 && x < 0) {
            return static_cast<float>(0.5L * (-3 * x * x * x - 5 * x * x + 2));
        }
        if (x >= -2 && x < -1) {
            return static_cast<float>(0.5L * (x * x * x + 5 * x * x + 8 * x + 4));
        }
        return 0;
    default:
        return 0;
    }
}

void CxImage::ApplyOverflow(long& x, long& y, int overflowMethod) const {
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    if (width <= 0 || height <= 0 || ContainsPoint(x, y)) {
        return;
    }
    x = MoveInside(x, width, overflowMethod);
    y = MoveInside(y, height, overflowMethod);
}

void CxImage::ApplyOverflow(float& x, float& y, int overflowMethod) const {
    const float width = static_cast<float>(GetWidth());
    const float height = static_cast<float>(GetHeight());
    if (width <= 0 || height <= 0 || (x >= 0 && y >= 0 && x < width && y < height)) {
        return;
    }
    x = MoveInside(x, width, overflowMethod);
    y = MoveInside(y, height, overflowMethod);
}

RgbQuad CxImage::ReplacementOrWhite(const RgbQuad* replacement) const {
    if (replacement != nullptr) {
        return *replacement;
    }
    const RgbQuad white = {255, 255, 255, 0};
    return white;
}

RgbQuad CxImage::OverflowColor(int overflowMethod, const RgbQuad* replacement) const {
    RgbQuad color = ReplacementOrWhite(replacement);
    switch (overflowMethod) {
    case kOverflowBackground:
        if (IsTransparent()) {
            return GetBpp() >= 24 ? m_info.transparentColor
                                  : GetPaletteColor(static_cast<BYTE>(m_info.transparentIndex));
        }
        return color;
    case kOverflowTransparent:
        if (m_alpha != nullptr) {
            color.alpha = 0;
            return color;
        }
        if (IsTransparent()) {
            return GetTransColor();
        }
        return color;
    default:
        return color;
    }
}

RgbQuad CxImage::GetPixelColorOrOverflow(long x,
                                         long y,
                                         int overflowMethod,
                                         const RgbQuad* replacement) const {
    if (!IsValid()) {
        return ReplacementOrWhite(replacement);
    }
    if (ContainsPoint(x, y)) {
        return GetPixelColor(x, y, true);
    }
    if (MovesInside(overflowMethod)) {
        ApplyOverflow(x, y, overflowMethod);
        return GetPixelColor(x, y, true);
    }
    return OverflowColor(overflowMethod, replacement);
}

RgbQuad CxImage::InterpolatePixel(float x,
                                  float y,
                                  int method,
                                  int overflowMethod,
                                  const RgbQuad* replacement) const {
    if (!IsValid()) {
        return ReplacementOrWhite(replacement);
    }
    const bool moves = MovesInside(overflowMethod);
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return OverflowColor(moves ? kOverflowColor : overflowMethod, replacement);
    }
    if (!IsUsable(x) || !IsUsable(y)) {
        if (!moves) {
            return OverflowColor(overflowMethod, replacement);
        }
        ApplyOverflow(x, y, overflowMethod);
    }
    if (method == kInterpolationNearest) {
        return GetPixelColorOrOverflow(static_cast<long>(x + 0.5f), static_cast<long>(y + 0.5f),
                                       overflowMethod, replacement);
    }
    if (method >= kInterpolationBSpline && method <= kInterpolationCatmullRom) {
        return InterpolateKernel(x, y, method, overflowMethod, replacement);
    }
    return InterpolateBilinear(x, y, overflowMethod, replacement);
}

// Taps run from before pixels ahead of the floor of the position to after pixels past
// it. When none of them reaches the image the sample takes the overflow colour, or is
// moved back inside for the methods that move it.
std::optional<RgbQuad> CxImage::OverflowSample(float& x,
                                               float& y,
                                               long before,
                                               long after,
                                               int overflowMethod,
                                               const RgbQuad* replacement) const {
    const float width = static_cast<float>(GetWidth());
    const float height = static_cast<float>(GetHeight());
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    if (fx + after >= 0 && fx - before < width && fy + after >= 0 && fy - before < height) {
        return std::nullopt;
    }
    if (overflowMethod <= kOverflowTransparent) {
        return OverflowColor(overflowMethod, replacement);
    }
    ApplyOverflow(x, y, overflowMethod);
    return std::nullopt;
}

RgbQuad CxImage::InterpolateBilinear(float x, float y, int overflowMethod, const RgbQuad* replacement) const {
    if (const std::optional<RgbQuad> overflow = OverflowSample(x, y, 0, 1, overflowMethod, replacement)) {
        return *overflow;
    }
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const long ix0 = static_cast<long>(fx);
    const long iy0 = static_cast<long>(fy);
    const float dx = x - fx;
    const float dy = y - fy;
    RgbQuad result = {0, 0, 0, 0};
    const bool inside = ix0 >= 0 && iy0 >= 0 && ix0 + 1 < static_cast<long>(GetWidth()) &&
                        iy0 + 1 < static_cast<long>(GetHeight());
    if (!inside || IsIndexed()) {
        const RgbQuad c00 = GetPixelColorOrOverflow(ix0, iy0, overflowMethod, replacement);
        const RgbQuad c10 = GetPixelColorOrOverflow(ix0 + 1, iy0, overflowMethod, replacement);
        const RgbQuad c01 = GetPixelColorOrOverflow(ix0, iy0 + 1, overflowMethod, replacement);
        const RgbQuad c11 = GetPixelColorOrOverflow(ix0 + 1, iy0 + 1, overflowMethod, replacement);
        const float w11 = dx * dy;
        const float w10 = dx - w11;
        const float w01 = dy - w11;
        const float w00 = 1 - dx - w01;
        result.blue = ClampChannel(w00 * c00.blue + w10 * c10.blue + w01 * c01.blue + w11 * c11.blue);
        result.green = ClampChannel(w00 * c00.green + w10 * c10.green + w01 * c01.green + w11 * c11.green);
        result.red = ClampChannel(w00 * c00.red + w10 * c10.red + w01 * c01.red + w11 * c11.red);
        if (m_alpha != nullptr) {
            result.alpha =
                ClampChannel(w00 * c00.alpha + w10 * c10.alpha + w01 * c01.alpha + w11 * c11.alpha);
        }
        return result;
    }
    const int fixedX = static_cast<int>(dx * 256);
    const int fixedY = static_cast<int>(dy * 256);
    const int f11 = (fixedX * fixedY) >> 8;
    const int f10 = fixedX - f11;
    const int f01 = fixedY - f11;
    const int f00 = 256 - fixedX - fixedY + f11;
    const BYTE* p00 = RowPointer(iy0) + 3 * ix0;
    const BYTE* p01 = RowPointer(iy0 + 1) + 3 * ix0;
    BYTE* channels[3] = {&result.blue, &result.green, &result.red};
    for (int c = 0; c < 3; c++) {
        *channels[c] =
            static_cast<BYTE>((p00[c] * f00 + p00[c + 3] * f10 + p01[c] * f01 + p01[c + 3] * f11) >> 8);
    }
    if (m_alpha != nullptr) {
        const long width32 = static_cast<long>(GetWidth());
        const BYTE* a0 = m_alpha + iy0 * width32 + ix0;
        const BYTE* a1 = a0 + width32;
        result.alpha = static_cast<BYTE>((a0[0] * f00 + a0[1] * f10 + a1[0] * f01 + a1[1] * f11) >> 8);
    }
    return result;
}

RgbQuad CxImage::InterpolateKernel(float x,
                                   float y,
                                   int method,
                                   int overflowMethod,
                                   const RgbQuad* replacement) const {
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    const long before = method == kInterpolationLanczos ? kLanczosRadius - 1 : 1;
    const long after = method == kInterpolationLanczos ? kLanczosRadius : 2;
    if (const std::optional<RgbQuad> overflow =
            OverflowSample(x, y, before, after, overflowMethod, replacement)) {
        return *overflow;
    }
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const long ix = static_cast<long>(fx);
    const long iy = static_cast<long>(fy);
    const bool direct =
        !IsIndexed() && ix - before >= 0 && ix + after < width && iy - before >= 0 && iy + after < height;
    float weightsX[2 * kLanczosRadius];
    float weightsY[2 * kLanczosRadius];
    const long taps = before + after + 1;
    for (long i = 0; i < taps; i++) {
        weightsX[i] = KernelValue(method, static_cast<float>(ix - before + i) - x);
        weightsY[i] = KernelValue(method, static_cast<float>(iy - before + i) - y);
    }
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 0;
    for (long j = 0; j < taps; j++) {
        const long sy = iy - before + j;
        for (long i = 0; i < taps; i++) {
            const long sx = ix - before + i;
            const float weight = weightsX[i] * weightsY[j];
            const RgbQuad color = direct ? GetPixelColorUnchecked(sx, sy)
                                         : GetPixelColorOrOverflow(sx, sy, overflowMethod, replacement);
            AccumulateWeighted(color, weight, red, green, blue, alpha);
        }
    }
    RgbQuad result = {ClampChannel(blue), ClampChannel(green), ClampChannel(red), 0};
    if (m_alpha != nullptr) {
        result.alpha = ClampChannel(alpha);
    }
    return result;
}

void CxImage::AccumulateWeighted(RgbQuad color,
                                 float weight,
                                 float& red,
                                 float& green,
                                 float& blue,
                                 float& alpha) {
    red += weight * color.red;
    green += weight * color.green;
    blue += weight * color.blue;
    alpha += weight * color.alpha;
}

RgbQuad CxImage::InterpolateArea(float x,
                                 float y,
                                 float width,
                                 float height,
                                 int method,
                                 int overflowMethod,
                                 const RgbQuad* replacement) const {
    if (!(width > 1) && !(height > 1)) {
        return InterpolatePixel(x, y, method, overflowMethod, replacement);
    }
    if (!IsValid() || !IsUsable(x) || !IsUsable(y) || !IsUsable(width) || !IsUsable(height)) {
        return ReplacementOrWhite(replacement);
    }
    const FloatRect area(x - width / 2, y - height / 2, x + width / 2, y + height / 2);
    const long x1 = static_cast<long>(area.left + 0.5f);
    const long y1 = static_cast<long>(area.top + 0.5f);
    const long x2 = static_cast<long>(area.right + 0.5f);
    const long y2 = static_cast<long>(area.bottom + 0.5f);
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 0;
    float weights = 0;
    auto sample = [&](long px, long py, float weight) {
        AccumulateWeighted(GetPixelColorOrOverflow(px, py, overflowMethod, replacement), weight, red, green,
                           blue, alpha);
        weights += weight;
    };
    if (width > 1 && height > 1) {
        const FloatRect first = FloatRect(x1 - 0.5f, y1 - 0.5f, x1 + 0.5f, y1 + 0.5f).Intersect(area);
        const FloatRect last = FloatRect(x2 - 0.5f, y2 - 0.5f, x2 + 0.5f, y2 + 0.5f).Intersect(area);
        const float wl = first.Width();
        const float ht = first.Height();
        const float wr = last.Width();
        const float hb = last.Height();
        sample(x1, y1, wl * ht);
        sample(x2, y1, wr * ht);
        sample(x1, y2, wl * hb);
        sample(x2, y2, wr * hb);
        for (long px = x1 + 1; px < x2; px++) {
            sample(px, y1, ht);
            sample(px, y2, hb);
        }
        for (long py = y1 + 1; py < y2; py++) {
            sample(x1, py, wl);
            sample(x2, py, wr);
        }
        for (long py = y1 + 1; py < y2; py++) {
            for (long px = x1 + 1; px < x2; px++) {
                sample(px, py, 1);
            }
        }
    } else {
        for (long py = y1; py <= y2; py++) {
            for (long px = x1; px <= x2; px++) {
                const FloatRect part = FloatRect(px - 0.5f, py - 0.5f, px + 0.5f, py + 0.5f).Intersect(area);
                const FloatPoint centre = part.Centre();
                AccumulateWeighted(InterpolatePixel(centre.x, centre.y, method, overflowMethod, replacement),
                                   part.Surface(), red, green, blue, alpha);
                weights += part.Surface();
            }
        }
    }
    // Divided by the weights actually summed and rounded: the float parts of the area do
    // not add up to its surface exactly, and truncating would take a uniform picture one
    // level down (an opaque one to alpha 254, which lets the background show through).
    RgbQuad result = {RoundChannel(blue / weights), RoundChannel(green / weights),
                      RoundChannel(red / weights), 0};
    if (m_alpha != nullptr) {
        result.alpha = RoundChannel(alpha / weights);
    }
    return result;
}
