// PNG codec over libpng. libpng reports errors by calling our error callback, which
// records the text and jumps back to the recovery point in Decode or Encode: nothing
// that needs a destructor may be created between that point and a libpng call, so
// every buffer and both libpng structures live in objects declared before it.
#include "image/PngCodec.h"

#include "image/DecodeBudget.h"
#include "image/ImageStream.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include <png.h>

namespace {

constexpr int kGreyBackground = 192;
constexpr std::size_t kRowSlackBytes = 10;
constexpr std::size_t kSmallImagePixels = 65536;
// Deflate's best case: a 258-byte match in two bits.
constexpr std::uint64_t kDeflateLargestExpansion = 1032;

// Runs inside libpng (C code): it must not throw, so it records and jumps.
void OnPngError(png_structp png, png_const_charp message) {
    char* lastError = static_cast<char*>(png_get_error_ptr(png));
    if (lastError != nullptr) {
        std::snprintf(lastError, kLastErrorChars, "%s", message != nullptr ? message : "");
    }
    png_longjmp(png, 1);
}

// libpng's warnings are about files it can still read; by default it would print
// them to the console, which a GUI program does not have.
void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromStream(png_structp png, png_bytep data, std::size_t length) {
    ImageStream* stream = static_cast<ImageStream*>(png_get_io_ptr(png));
    if (stream == nullptr || stream->Read(data, 1, length) != length) {
        png_error(png, "Read Error");
    }
}

void WriteToStream(png_structp png, png_bytep data, std::size_t length) {
    ImageStream* stream = static_cast<ImageStream*>(png_get_io_ptr(png));
    if (stream == nullptr || stream->Write(data, 1, length) != length) {
        png_error(png, "Write Error");
    }
}

void FlushStream(png_structp png) {
    ImageStream* stream = static_cast<ImageStream*>(png_get_io_ptr(png));
    if (stream == nullptr || !stream->Flush()) {
        png_error(png, "Flush Error");
    }
}

// Owns a libpng read or write structure and its info structure.
class PngHandle {
public:
    explicit PngHandle(bool forWriting) : m_writing(forWriting) {}

    PngHandle(const PngHandle&) = delete;
    PngHandle& operator=(const PngHandle&) = delete;

    ~PngHandle() {
        if (m_png == nullptr) {
            return;
        }
        if (m_writing) {
            png_destroy_write_struct(&m_png, m_info != nullptr ? &m_info : nullptr);
        } else {
            png_destroy_read_struct(&m_png, m_info != nullptr ? &m_info : nullptr, nullptr);
        }
    }

    // Returns the failure text, or null when both structures exist.
    const char* Create(char* lastError) {
        m_png = m_writing
                    ? png_create_write_struct(PNG_LIBPNG_VER_STRING, lastError, OnPngError, OnPngWarning)
                    : png_create_read_struct(PNG_LIBPNG_VER_STRING, lastError, OnPngError, OnPngWarning);
        if (m_png == nullptr) {
            return "Failed to create PNG structure";
        }
        m_info = png_create_info_struct(m_png);
        if (m_info == nullptr) {
            return "Failed to initialize PNG info structure";
        }
        return nullptr;
    }

    png_structp png() const { return m_png; }

    png_infop info() const { return m_info; }

private:
    bool m_writing;
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

// Widens packed 2-bit pixels to 4-bit nibbles in place, last pixel first.
void Widen2To4(BYTE* row, png_uint_32 width) {
    for (png_uint_32 i = width; i-- > 0;) {
        const BYTE value = static_cast<BYTE>((row[i >> 2] >> (6 - 2 * (i & 3))) & 3);
        BYTE& target = row[i >> 1];
        if ((i & 1) == 0) {
            target = static_cast<BYTE>((target & 0x0F) | (value << 4));
        } else {
            target = static_cast<BYTE>((target & 0xF0) | value);
        }
    }
}

BYTE PackedIndex(const BYTE* row, long x, int bpp) {
    switch (bpp) {
    case 1:
        return static_cast<BYTE>((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4:
        return (x & 1) == 0 ? static_cast<BYTE>(row[x >> 1] >> 4) : static_cast<BYTE>(row[x >> 1] & 0x0F);
    default:
        return row[x];
    }
}

void SetPackedIndex(BYTE* row, long x, int bpp, BYTE index) {
    switch (bpp) {
    case 1: {
        const BYTE mask = static_cast<BYTE>(0x80 >> (x & 7));
        row[x >> 3] =
            (index & 1) != 0 ? static_cast<BYTE>(row[x >> 3] | mask) : static_cast<BYTE>(row[x >> 3] & ~mask);
        break;
    }
    case 4:
        row[x >> 1] = (x & 1) == 0 ? static_cast<BYTE>((row[x >> 1] & 0x0F) | (index << 4))
                                   : static_cast<BYTE>((row[x >> 1] & 0xF0) | (index & 0x0F));
        break;
    default:
        row[x] = index;
        break;
    }
}

// Everything Encode decides before it talks to libpng, so that the caller's image is
// only ever read: the palette with the transparent entry moved to 0, the index swap
// applied to rows as they are written, and how alpha is produced.
struct PngEncodePlan {
    std::vector<png_color> palette;
    std::vector<png_byte> transparency;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    BYTE swapIndex = 0;  // 0: no swap; else entries 0 and swapIndex trade places
    bool keyedAlpha = false;
    png_color_16 background = {};
};

}  // namespace

bool PngCodec::Decode(ImageStream* stream) {
    PngHandle handle(false);
    if (const char* failure = handle.Create(m_info.lastError)) {
        SetLastError(failure);
        return false;
    }
    png_structp png = handle.png();
    png_infop info = handle.info();
    std::vector<BYTE> row;
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_read_fn(png, stream, ReadFromStream);
    png_read_info(png, info);
    return DecodeRows(png, info, row);
}

// Called below Decode's recovery point: a libpng error jumps straight back there, so
// nothing here may own memory; the row buffer belongs to Decode's frame.
bool PngCodec::DecodeRows(void* pngPointer, void* infoPointer, std::vector<BYTE>& row) {
    png_structp png = static_cast<png_structp>(pngPointer);
    png_infop info = static_cast<png_infop>(infoPointer);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const int colorType = png_get_color_type(png, info);
    const int pixelDepth = bitDepth * png_get_channels(png, info);

    png_color_16p fileBackground = nullptr;
    const bool hasBackground = png_get_bKGD(png, info, &fileBackground) != 0 && fileBackground != nullptr;
    // Palette files keep their transparency as palette alpha; compositing them as
    // well would blend twice, and a palette bKGD would turn the rows into RGB.
    if (pixelDepth != 32 && colorType != PNG_COLOR_TYPE_PALETTE) {
        if (hasBackground) {
            png_set_background(png, fileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
        } else {
            png_color_16 grey = {};
            grey.red = grey.green = grey.blue = grey.gray = kGreyBackground;
            png_set_background(png, &grey, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
        }
    } else if (pixelDepth == 32 && hasBackground) {
        const RgbQuad color = {static_cast<BYTE>(fileBackground->blue),
                               static_cast<BYTE>(fileBackground->green),
                               static_cast<BYTE>(fileBackground->red), 0};
        SetTransColor(color);
    }
    if (bitDepth == 16) {
        png_set_strip_16(png);
    }
    const DWORD depth = pixelDepth == 16 ? 8 : (pixelDepth < 17 ? static_cast<DWORD>(pixelDepth) : 24);
    // Every row is a filter byte and the row's bytes, deflated. A picture the rest of the
    // file could not fill would end in a read error anyway; it is refused before a few
    // header bytes allocate it. A size over the memory limit is Create's to report.
    const std::uint64_t fileRowBytes = (static_cast<std::uint64_t>(width) * pixelDepth + 7) / 8;
    if (!ExceedsMemoryLimit(width, height, depth) &&
        !StreamCanFill(static_cast<ImageStream*>(png_get_io_ptr(png)), height * (1 + fileRowBytes),
                       kDeflateLargestExpansion)) {
        SetLastError("Read Error");
        return false;
    }
    if (Create(width, height, depth, kImageFormatPng) == nullptr) {
        return false;
    }

    png_uint_32 xPixels = 0;
    png_uint_32 yPixels = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &xPixels, &yPixels, &unit) != 0) {
        if (unit == PNG_RESOLUTION_METER) {
            SetXDPI(DpiFromPelsPerMetre(xPixels));
            SetYDPI(DpiFromPelsPerMetre(yPixels));
        } else {
            SetXDPI(static_cast<long>(xPixels));
            SetYDPI(static_cast<long>(yPixels));
        }
    }

    png_colorp palette = nullptr;
    int paletteEntries = 0;
    if (png_get_PLTE(png, info, &palette, &paletteEntries) != 0 && palette != nullptr) {
        const int n = std::min<int>(paletteEntries, static_cast<int>(GetNumColors()));
        for (int i = 0; i < n; i++) {
            SetPaletteColor(static_cast<BYTE>(i), palette[i].red, palette[i].green, palette[i].blue, 0);
        }
    } else if (bitDepth == 2) {
        for (int i = 0; i < 4; i++) {
            SetPaletteColor(static_cast<BYTE>(i), static_cast<BYTE>(85 * i), static_cast<BYTE>(85 * i),
                            static_cast<BYTE>(85 * i), 0);
        }
    } else {
        SetGrayPalette();
    }

    // Grey files also get a palette here, but their tRNS holds a grey sample, not
    // alphas; only a palette file's tRNS describes palette entries.
    png_bytep trans = nullptr;
    int transEntries = 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_tRNS(png, info, &trans, &transEntries, nullptr) != 0 &&
        trans != nullptr && transEntries > 0) {
        RgbQuad* entries = GetPalette();
        const int n = std::min<int>(static_cast<int>(GetNumColors()), transEntries);
        for (int i = 0; i < n; i++) {
            entries[i].alpha = trans[i];
        }
        if (transEntries == 1 && entries[0].alpha == 0) {
            SetTransIndex(0);
        } else {
            AlphaPaletteEnable(true);
            for (DWORD i = static_cast<DWORD>(n); i < GetNumColors(); i++) {
                entries[i].alpha = 255;
            }
        }
    }

    if (colorType == PNG_COLOR_TYPE_RGB_ALPHA ||
        (colorType == PNG_COLOR_TYPE_GRAY_ALPHA && pixelDepth == 32)) {
        if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
            png_set_gray_to_rgb(png);
            png_set_expand(png);
        }
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        if (!AlphaCreate()) {
            SetLastError("CxImage::Create can't allocate memory");
            return false;
        }
    }
    if ((colorType & PNG_COLOR_MASK_COLOR) != 0) {
        png_set_bgr(png);
    }
    if (GetEscape() != 0) {
        return false;
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = std::max<std::size_t>(
        static_cast<std::size_t>((pixelDepth + 7) / 8) * width + kRowSlackBytes, png_get_rowbytes(png, info));
    try {
        row.assign(rowBytes, 0);
    } catch (const std::bad_alloc&) {
        SetLastError("CxImage::Create can't allocate memory");
        return false;
    }
    const std::size_t stride = GetEffWidth();
    for (int pass = 0; pass < passes; pass++) {
        for (png_uint_32 y = 0; y < height; y++) {
            if (GetEscape() != 0) {
                return false;
            }
            const long imageRow = static_cast<long>(height - 1 - y);
            BYTE* target = RowPointer(imageRow);
            if (AlphaIsValid()) {
                BYTE* alpha = AlphaRowPointer(0, imageRow);
                if (pass > 0) {
                    for (png_uint_32 x = 0; x < width; x++) {
                        std::memcpy(row.data() + 4 * x, target + 3 * x, 3);
                        row[4 * x + 3] = alpha[x];
                    }
                }
                png_read_row(png, row.data(), nullptr);
                for (png_uint_32 x = 0; x < width; x++) {
                    std::memcpy(target + 3 * x, row.data() + 4 * x, 3);
                    alpha[x] = row[4 * x + 3];
                }
                continue;
            }
            if (pass > 0) {
                std::memcpy(row.data(), target, stride);
            }
            png_read_row(png, row.data(), nullptr);
            if (bitDepth == 2 && pass == passes - 1) {
                Widen2To4(row.data(), width);
            }
            std::memcpy(target, row.data(), stride);
        }
    }
    png_read_end(png, nullptr);
    return true;
}

namespace {

BYTE NearestWhiteIndex(const CxImage& image) {
    long best = 1L << 30;
    BYTE result = 0;
    for (DWORD i = 0; i < image.GetNumColors(); i++) {
        const RgbQuad entry = image.GetPaletteColor(static_cast<BYTE>(i));
        const long distance = (255 - entry.red) * (255 - entry.red) +
                              (255 - entry.green) * (255 - entry.green) +
                              (255 - entry.blue) * (255 - entry.blue);
        if (distance < best) {
            best = distance;
            result = static_cast<BYTE>(i);
        }
    }
    return result;
}

BYTE MapSwap(BYTE index, BYTE swapIndex) {
    if (swapIndex == 0) {
        return index;
    }
    if (index == 0) {
        return swapIndex;
    }
    return index == swapIndex ? 0 : index;
}

void PlanPalette(const CxImage& image, PngEncodePlan& plan) {
    const DWORD entries = image.GetNumColors();
    plan.colorType = PNG_COLOR_TYPE_PALETTE;
    plan.bitDepth = image.GetBpp();
    const long transparent = image.GetTransIndex();
    if (transparent > 0 && static_cast<DWORD>(transparent) < entries) {
        plan.swapIndex = static_cast<BYTE>(transparent);
    }
    DWORD used = entries;
    const std::uint64_t pixels = static_cast<std::uint64_t>(image.GetWidth()) * image.GetHeight();
    if (entries > 2 && pixels < kSmallImagePixels) {
        used = 0;
        for (long y = 0; y < static_cast<long>(image.GetHeight()); y++) {
            for (long x = 0; x < static_cast<long>(image.GetWidth()); x++) {
                const DWORD index = MapSwap(image.GetPixelIndex(x, y), plan.swapIndex);
                used = std::max<DWORD>(used, index + 1);
            }
        }
    }
    for (DWORD i = 0; i < used; i++) {
        const RgbQuad entry = image.GetPaletteColor(MapSwap(static_cast<BYTE>(i), plan.swapIndex));
        plan.palette.push_back(png_color{entry.red, entry.green, entry.blue});
        if (image.AlphaPaletteIsEnabled()) {
            plan.transparency.push_back(entry.alpha);
        }
    }
    if (transparent >= 0 && !image.AlphaPaletteIsEnabled()) {
        plan.transparency.assign(1, 0);
    } else if (transparent >= 0 && !plan.transparency.empty()) {
        plan.transparency[0] = 0;
    }
    plan.background.index = transparent >= 0 ? 0 : MapSwap(NearestWhiteIndex(image), plan.swapIndex);
}

PngEncodePlan PlanEncode(const CxImage& image) {
    PngEncodePlan plan;
    if (image.IsTransparent()) {
        const RgbQuad trans = image.GetTransColor();
        plan.background.red = trans.red;
        plan.background.green = trans.green;
        plan.background.blue = trans.blue;
    } else {
        plan.background.red = plan.background.green = plan.background.blue = 255;
    }
    // A true-colour picture's transparent colour is keyed to alpha 0, over its alpha plane
    // when it has one.
    plan.keyedAlpha = !image.IsIndexed() && image.IsTransparent();
    if (image.AlphaIsValid()) {
        plan.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
        return plan;
    }
    if (image.IsIndexed()) {
        PlanPalette(image, plan);
        return plan;
    }
    plan.colorType = plan.keyedAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    return plan;
}

// Builds one output row (top-down row number y) from the image without touching it.
void BuildRow(const CxImage& image, const PngEncodePlan& plan, long y, BYTE* out) {
    const long imageRow = static_cast<long>(image.GetHeight()) - 1 - y;
    const long width = static_cast<long>(image.GetWidth());
    if (plan.colorType == PNG_COLOR_TYPE_RGB_ALPHA) {
        const RgbQuad trans = image.GetTransColor();
        const unsigned alphaMax = image.AlphaGetMax();
        for (long x = 0; x < width; x++) {
            const RgbQuad color = image.GetPixelColor(x, imageRow, false);
            unsigned alpha = image.AlphaIsValid() ? image.AlphaGet(x, imageRow) : 255;
            if (plan.keyedAlpha && color.blue == trans.blue && color.green == trans.green &&
                color.red == trans.red) {
                alpha = 0;
            }
            out[4 * x] = color.red;
            out[4 * x + 1] = color.green;
            out[4 * x + 2] = color.blue;
            out[4 * x + 3] = static_cast<BYTE>(alpha * alphaMax / 255);
        }
        return;
    }
    std::memcpy(out, image.RowPointer(imageRow), image.GetEffWidth());
    if (plan.colorType == PNG_COLOR_TYPE_RGB) {
        image.SwapRedBlue(out, image.GetEffWidth());
        return;
    }
    if (plan.swapIndex != 0) {
        for (long x = 0; x < width; x++) {
            SetPackedIndex(out, x, plan.bitDepth,
                           MapSwap(PackedIndex(out, x, plan.bitDepth), plan.swapIndex));
        }
    }
}

}  // namespace

bool PngCodec::Encode(ImageStream* stream) {
    if (!EncodeCheck(stream)) {
        return false;
    }
    PngEncodePlan plan;
    std::vector<BYTE> row;
    try {
        plan = PlanEncode(*this);
        row.resize(static_cast<std::size_t>(GetWidth()) * 4 + GetEffWidth() + kRowSlackBytes);
    } catch (const std::bad_alloc&) {
        SetLastError("Error saving PNG file");
        return false;
    }
    PngHandle handle(true);
    if (const char* failure = handle.Create(m_info.lastError)) {
        SetLastError(failure);
        return false;
    }
    png_structp png = handle.png();
    png_infop info = handle.info();
    if (setjmp(png_jmpbuf(png))) {
        SetLastError("Error saving PNG file");
        return false;
    }
    png_set_write_fn(png, stream, WriteToStream, FlushStream);
    const int interlace = GetCodecOption(kImageFormatPng) == 1 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE;
    png_set_IHDR(png, info, GetWidth(), GetHeight(), plan.bitDepth, plan.colorType, interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (plan.colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, plan.palette.data(), static_cast<int>(plan.palette.size()));
        if (!plan.transparency.empty()) {
            png_set_tRNS(png, info, plan.transparency.data(), static_cast<int>(plan.transparency.size()),
                         nullptr);
        }
    }
    png_set_bKGD(png, info, &plan.background);
    png_set_pHYs(png, info, static_cast<png_uint_32>(m_header.biXPelsPerMeter),
                 static_cast<png_uint_32>(m_header.biYPelsPerMeter), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; pass++) {
        for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
            BuildRow(*this, plan, y, row.data());
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    return true;
}
