// Storage, lifecycle and settings of the image class. The DIB block, the alpha
// plane and the selection mask come from calloc and are freed by Destroy, except in a
// view, which shares another image's memory and never frees it.
#include "image/CxImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr DWORD kDefaultDpi = 96;
constexpr BYTE kDefaultQuality = 90;
constexpr double kInchesPerMetre = 39.37007874015748;
constexpr double kMetresPerInch = 0.0254;

DWORD RoundBpp(DWORD bpp) {
    if (bpp <= 1) {
        return 1;
    }
    if (bpp <= 4) {
        return 4;
    }
    if (bpp <= 8) {
        return 8;
    }
    return 24;
}

DWORD PaletteEntriesFor(DWORD bpp) {
    switch (bpp) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

std::uint64_t StrideFor(std::uint64_t width, std::uint64_t bpp) {
    return ((width * bpp + 31) >> 5) << 2;
}

}  // namespace

CxImage::CxImage(DWORD format)
    : m_header(), m_info(), m_dib(nullptr), m_selection(nullptr), m_alpha(nullptr) {
    std::memset(&m_header, 0, sizeof(m_header));
    std::memset(&m_info, 0, sizeof(m_info));
    m_info.format = format;
    m_info.quality = kDefaultQuality;
    m_info.alphaMax = 255;
    m_info.transparentIndex = -1;
    m_info.enabled = 1;
    SetXDPI(kDefaultDpi);
    SetYDPI(kDefaultDpi);
}

CxImage::CxImage(DWORD width, DWORD height, DWORD bpp, DWORD format) : CxImage(format) {
    Create(width, height, bpp, format);
}

CxImage::CxImage(const CxImage& source, bool copyPixels, bool copySelection, bool copyAlpha)
    : CxImage(source.m_info.format) {
    CopyFrom(source, copyPixels, copySelection, copyAlpha);
}

CxImage::CxImage(const char* fileName, DWORD format) : CxImage(format) {
    // An image that fails to load is simply empty; the last error tells why.
    LoadFile(fileName, format);
}

CxImage::CxImage(std::FILE* file, DWORD format) : CxImage(format) {
    DecodeFile(file, format);
}

CxImage::CxImage(ImageStream* stream, DWORD format) : CxImage(format) {
    DecodeImage(stream, format);
}

CxImage::CxImage(const BYTE* buffer, DWORD size, DWORD format) : CxImage(format) {
    DecodeMemory(buffer, size, format);
}

CxImage& CxImage::operator=(const CxImage& source) {
    if (this != &source) {
        CopyFrom(source, true, true, true);
    }
    return *this;
}

CxImage::~CxImage() {
    // A view refuses to free; that is its whole point, not an error.
    Destroy();
}

bool CxImage::Destroy() {
    if (m_info.ghost != nullptr) {
        return false;
    }
    m_frames.clear();
    m_info.frameArrayLength = 0;
    std::free(m_selection);
    std::free(m_alpha);
    std::free(m_dib);
    m_selection = nullptr;
    m_alpha = nullptr;
    m_dib = nullptr;
    m_info.pixels = nullptr;
    return true;
}

bool CxImage::ExceedsMemoryLimit(DWORD width, DWORD height, DWORD bpp) {
    return (static_cast<std::uint64_t>(width) * height * RoundBpp(bpp)) >> 8 >
           static_cast<std::uint64_t>(CXIMAGE_MAX_MEMORY);
}

// The block is zeroed: rows a codec or an interrupted operation leaves unwritten must
// never carry old heap contents into an encoded file.
void* CxImage::Create(DWORD width, DWORD height, DWORD bpp, DWORD format) {
    if (!Destroy()) {
        return nullptr;
    }
    if (width == 0 || height == 0) {
        SetLastError("CxImage::Create : width and height must be greater than zero");
        return nullptr;
    }
    bpp = RoundBpp(bpp);
    if (ExceedsMemoryLimit(width, height, bpp)) {
        SetLastError("CXIMAGE_MAX_MEMORY exceeded");
        return nullptr;
    }
    const DWORD colors = PaletteEntriesFor(bpp);
    const std::uint64_t stride = StrideFor(width, bpp);
    const std::uint64_t imageBytes = stride * height;
    const std::uint64_t total = sizeof(DibHeader) + colors * sizeof(RgbQuad) + imageBytes;
    // The header's size field is 32 bits: a larger block could not describe itself.
    if (imageBytes > std::numeric_limits<std::uint32_t>::max() ||
        total > std::numeric_limits<std::size_t>::max()) {
        SetLastError("CxImage::Create can't allocate memory");
        return nullptr;
    }
    m_info.format = format;
    m_info.effectiveWidth = static_cast<DWORD>(stride);
    m_header.biSize = sizeof(DibHeader);
    m_header.biWidth = static_cast<std::int32_t>(width);
    m_header.biHeight = static_cast<std::int32_t>(height);
    m_header.biPlanes = 1;
    m_header.biBitCount = static_cast<std::uint16_t>(bpp);
    m_header.biCompression = 0;
    m_header.biSizeImage = static_cast<std::uint32_t>(imageBytes);
    m_header.biClrUsed = colors;
    m_header.biClrImportant = 0;
    m_dib = static_cast<BYTE*>(std::calloc(1, static_cast<std::size_t>(total)));
    if (m_dib == nullptr) {
        SetLastError("CxImage::Create can't allocate memory");
        return nullptr;
    }
    std::memcpy(m_dib, &m_header, sizeof(DibHeader));
    m_info.pixels = m_dib + sizeof(DibHeader) + GetPaletteSize();
    ClearNearestCache();
    return m_dib;
}

std::size_t CxImage::DibSize() const {
    return sizeof(DibHeader) + GetPaletteSize() + m_header.biSizeImage;
}

bool CxImage::CopyFrom(const CxImage& source, bool copyPixels, bool copySelection, bool copyAlpha) {
    if (&source == this || !Destroy()) {
        return false;
    }
    const ImageInfoBlock saved = source.m_info;
    m_info = saved;
    m_gif = source.m_gif;
    m_info.pixels = nullptr;
    m_info.ghost = nullptr;
    m_info.frameArrayLength = 0;
    m_header.biXPelsPerMeter = source.m_header.biXPelsPerMeter;
    m_header.biYPelsPerMeter = source.m_header.biYPelsPerMeter;
    if (!source.IsValid()) {
        return true;
    }
    if (Create(source.GetWidth(), source.GetHeight(), source.GetBpp(), source.GetType()) == nullptr) {
        return false;
    }
    if (copyPixels) {
        std::memcpy(m_dib, source.m_dib, source.DibSize());
        m_header = source.m_header;
    } else {
        SetPalette(source.GetPalette(), 256);
    }
    const std::size_t planeBytes = static_cast<std::size_t>(GetWidth()) * GetHeight();
    if (copySelection && source.m_selection != nullptr) {
        m_selection = static_cast<BYTE*>(std::malloc(planeBytes));
        if (m_selection != nullptr) {
            std::memcpy(m_selection, source.m_selection, planeBytes);
        }
    }
    if (copyAlpha && source.m_alpha != nullptr) {
        m_alpha = static_cast<BYTE*>(std::malloc(planeBytes));
        if (m_alpha != nullptr) {
            std::memcpy(m_alpha, source.m_alpha, planeBytes);
        }
    }
    return true;
}

// Only value settings travel: the pixel pointer, the view owner and the frame count
// describe the source's own memory and would make the copy a broken view.
void CxImage::CopySettings(const CxImage& source) {
    if (m_dib != nullptr) {
        return;
    }
    m_info = source.m_info;
    m_info.pixels = nullptr;
    m_info.ghost = nullptr;
    m_info.frameArrayLength = 0;
    m_gif = source.m_gif;
}

bool CxImage::TakeOver(CxImage& source) {
    if (&source == this || !Destroy()) {
        return false;
    }
    m_header = source.m_header;
    m_info = source.m_info;
    m_dib = source.m_dib;
    m_selection = source.m_selection;
    m_alpha = source.m_alpha;
    m_frames = std::move(source.m_frames);
    m_gif = std::move(source.m_gif);
    source.m_gif = GifState{};
    std::memset(&source.m_header, 0, sizeof(source.m_header));
    std::memset(&source.m_info, 0, sizeof(source.m_info));
    source.m_dib = nullptr;
    source.m_selection = nullptr;
    source.m_alpha = nullptr;
    source.m_frames.clear();
    return true;
}

void CxImage::AttachView(CxImage* source) {
    if (source == nullptr || source == this || !Destroy()) {
        return;
    }
    m_header = source->m_header;
    m_info = source->m_info;
    m_dib = source->m_dib;
    m_selection = source->m_selection;
    m_alpha = source->m_alpha;
    m_gif = source->m_gif;
    m_info.ghost = source;
}

CxImage* CxImage::GetFrame(long index) const {
    if (m_info.ghost != nullptr) {
        return m_info.ghost->GetFrame(index);
    }
    if (index < 0 || static_cast<std::size_t>(index) >= m_frames.size()) {
        return nullptr;
    }
    return m_frames[static_cast<std::size_t>(index)].get();
}

bool CxImage::CreateFromBuffer(const BYTE* pixels,
                               DWORD width,
                               DWORD height,
                               DWORD bpp,
                               DWORD bytesPerLine,
                               bool flip) {
    if (pixels == nullptr) {
        return false;
    }
    std::vector<const BYTE*> rows(height);
    for (DWORD i = 0; i < height; i++) {
        rows[i] = pixels + static_cast<std::size_t>(i) * bytesPerLine;
    }
    return CreateFromRows(height == 0 ? nullptr : rows.data(), width, height, bpp, bytesPerLine, flip);
}

bool CxImage::CreateFromRows(const BYTE* const* rows,
                             DWORD width,
                             DWORD height,
                             DWORD bpp,
                             DWORD bytesPerLine,
                             bool flip) {
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) {
        return false;
    }
    if (rows == nullptr || Create(width, height, bpp, kImageFormatNone) == nullptr) {
        return false;
    }
    if (bpp < 24) {
        SetGrayPalette();
    }
    if (bpp == 32 && !AlphaCreate()) {
        return false;
    }
    for (DWORD i = 0; i < height; i++) {
        const BYTE* source = rows[i];
        if (source == nullptr) {
            continue;
        }
        const long y = flip ? static_cast<long>(height - 1 - i) : static_cast<long>(i);
        BYTE* target = RowPointer(y);
        if (bpp == 32) {
            for (DWORD x = 0; x < width; x++) {
                std::memcpy(target + 3 * x, source + 4 * x, 3);
                m_alpha[x + static_cast<std::size_t>(y) * width] = source[4 * x + 3];
            }
            continue;
        }
        std::memcpy(target, source, std::min<DWORD>(m_info.effectiveWidth, bytesPerLine));
    }
    return true;
}

namespace {

// Where a mask's field lies: found once per picture, as a mask of many bits would
// otherwise be walked again for every pixel.
struct ChannelField {
    DWORD mask = 0;
    int shift = 0;
    int bits = 0;
};

ChannelField FieldOf(DWORD mask) {
    ChannelField field;
    field.mask = mask;
    if (mask == 0) {
        return field;
    }
    while (((mask >> field.shift) & 1) == 0) {
        field.shift++;
    }
    while (field.shift + field.bits < 32 && ((mask >> (field.shift + field.bits)) & 1) != 0) {
        field.bits++;
    }
    return field;
}

// Turns a masked field into 8 bits, whatever the mask's position and width.
BYTE ExtractChannel(DWORD pixel, const ChannelField& field) {
    if (field.mask == 0) {
        return 0;
    }
    const DWORD value = (pixel & field.mask) >> field.shift;
    if (field.bits >= 8) {
        return static_cast<BYTE>(value >> (field.bits - 8));
    }
    return static_cast<BYTE>(value << (8 - field.bits));
}

}  // namespace

// 16-bit rows are narrower than the 24-bit result, so they expand backwards; 32-bit
// rows are wider, so they shrink forwards. Either way an in-place source survives.
void CxImage::UnpackBitfields(const BYTE* source, DWORD redMask, DWORD greenMask, DWORD blueMask, DWORD bpp) {
    if (source == nullptr || !IsValid() || GetBpp() != 24) {
        return;
    }
    const long width = static_cast<long>(GetWidth());
    const long height = static_cast<long>(GetHeight());
    if (bpp == 16) {
        const std::size_t sourceStride = static_cast<std::size_t>((width + 1) / 2) * 4;
        const ChannelField red = FieldOf(redMask);
        const ChannelField green = FieldOf(greenMask);
        const ChannelField blue = FieldOf(blueMask);
        for (long y = height - 1; y >= 0; y--) {
            BYTE* target = RowPointer(y);
            const BYTE* row = source + sourceStride * static_cast<std::size_t>(y);
            for (long x = width - 1; x >= 0; x--) {
                const DWORD pixel = row[2 * x] | (row[2 * x + 1] << 8);
                target[3 * x] = ExtractChannel(pixel, blue);
                target[3 * x + 1] = ExtractChannel(pixel, green);
                target[3 * x + 2] = ExtractChannel(pixel, red);
            }
        }
        return;
    }
    if (bpp == 32) {
        const std::size_t sourceStride = static_cast<std::size_t>(width) * 4;
        for (long y = 0; y < height; y++) {
            BYTE* target = RowPointer(y);
            const BYTE* row = source + sourceStride * static_cast<std::size_t>(y);
            for (long x = 0; x < width; x++) {
                const BYTE blue = row[4 * x];
                const BYTE green = row[4 * x + 1];
                const BYTE red = row[4 * x + 2];
                target[3 * x] = blue;
                target[3 * x + 1] = green;
                target[3 * x + 2] = red;
            }
        }
    }
}

void CxImage::GetOffset(long* x, long* y) const {
    if (x != nullptr) {
        *x = m_info.xOffset;
    }
    if (y != nullptr) {
        *y = m_info.yOffset;
    }
}

void CxImage::SetOffset(long x, long y) {
    m_info.xOffset = static_cast<std::int32_t>(x);
    m_info.yOffset = static_cast<std::int32_t>(y);
}

void CxImage::SetSpareOptionWord(DWORD value, bool lowWordOnly) {
    m_info.spareOptionWord = static_cast<std::int32_t>(lowWordOnly ? (value & 0xFFFF) : value);
}

RgbQuad CxImage::GetTransColor() const {
    if (GetBpp() < 24 && m_info.transparentIndex >= 0) {
        return GetPaletteColor(static_cast<BYTE>(m_info.transparentIndex));
    }
    return m_info.transparentColor;
}

void CxImage::SetTransColor(RgbQuad color) {
    color.alpha = 0;
    m_info.transparentColor = color;
}

BYTE CxImage::GetColorType() const {
    if (m_alpha != nullptr) {
        return 4;
    }
    return GetBpp() <= 8 ? 1 : 2;
}

void CxImage::SetXDPI(long dpi) {
    SetDpi(dpi, m_info.xDpi, &DibHeader::biXPelsPerMeter);
}

void CxImage::SetYDPI(long dpi) {
    SetDpi(dpi, m_info.yDpi, &DibHeader::biYPelsPerMeter);
}

// The header inside the bitmap block keeps the same resolution as m_header.
void CxImage::SetDpi(long dpi, std::int32_t& infoDpi, std::int32_t DibHeader::*pelsPerMeter) {
    if (dpi < 1) {
        dpi = kDefaultDpi;
    }
    infoDpi = static_cast<std::int32_t>(dpi);
    m_header.*pelsPerMeter = static_cast<std::int32_t>(std::floor(dpi * kInchesPerMetre + 0.5));
    if (m_dib != nullptr) {
        reinterpret_cast<DibHeader*>(m_dib)->*pelsPerMeter = m_header.*pelsPerMeter;
    }
}

long DpiFromPelsPerMetre(double pelsPerMetre) {
    return static_cast<long>(std::floor(pelsPerMetre * kMetresPerInch + 0.5));
}

DWORD CxImage::GetCodecOption(DWORD format) const {
    if (format == kImageFormatNone) {
        format = m_info.format;
    }
    if (format > static_cast<DWORD>(kImageFormatMax)) {
        return 0;
    }
    return m_info.codecOptions[format];
}

bool CxImage::SetCodecOption(DWORD option, DWORD format) {
    if (format == kImageFormatNone) {
        format = m_info.format;
    }
    if (format > static_cast<DWORD>(kImageFormatMax)) {
        return false;
    }
    m_info.codecOptions[format] = option;
    return true;
}

const char* CxImage::GetVersion() {
    return "CxImage 5.99c";
}

float CxImage::GetVersionNumber() {
    return 5.99003f;
}

void CxImage::SetLastError(const char* text) {
    std::snprintf(m_info.lastError, sizeof(m_info.lastError), "%s", text == nullptr ? "" : text);
}

void CxImage::CopyLastError(const CxImage& other) {
    std::memmove(m_info.lastError, other.m_info.lastError, sizeof(m_info.lastError));
    m_info.lastError[kLastErrorChars - 1] = '\0';
}

bool CxImage::PrepareResult(CxImage& result, DWORD width, DWORD height, DWORD bpp) const {
    result.CopySettings(*this);
    if (result.Create(width, height, bpp, GetType()) == nullptr) {
        return false;
    }
    result.SetPalette(GetPalette(), 256);
    return true;
}

bool CxImage::PrepareSameDepth(CxImage& result, long width, long height) {
    if (!PrepareResult(result, static_cast<DWORD>(width), static_cast<DWORD>(height), GetBpp())) {
        CopyLastError(result);
        return false;
    }
    return !AlphaIsValid() || result.AlphaCreate();
}

bool CxImage::FinishResult(CxImage& result, CxImage* destination) {
    CxImage& target = destination != nullptr ? *destination : *this;
    return target.TakeOver(result);
}

void CxImage::ReportProgress(long done, long total) {
    if (total > 0) {
        m_info.progress = static_cast<std::int32_t>(done * 100 / total);
    }
}

bool CxImage::ProgressStops(long done, long total) {
    ReportProgress(done, total);
    return GetEscape() != 0;
}

DWORD RgbToColorref(DWORD color) {
    return (color & 0xFF00FF00u) | ((color & 0xFF) << 16) | ((color >> 16) & 0xFF);
}

DWORD ColorrefToRgb(DWORD color) {
    return RgbToColorref(color);
}

RgbQuad ColorrefToRgbQuad(ImageColorref color) {
    const RgbQuad quad = {static_cast<BYTE>((color >> 16) & 0xFF), static_cast<BYTE>((color >> 8) & 0xFF),
                          static_cast<BYTE>(color & 0xFF), 0};
    return quad;
}
