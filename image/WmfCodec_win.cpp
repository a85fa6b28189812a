// Playing a metafile into a screen-compatible bitmap and reading its pixels back.
#include "image/WmfCodec.h"

#include "image/GdiOwners.h"
#include "image/ImageStream.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr long kExtentLimit = 6554;

struct EnhMetaFileDeleter {
    void operator()(HENHMETAFILE__* metafile) const { DeleteEnhMetaFile(metafile); }
};

using EnhMetaFile = std::unique_ptr<HENHMETAFILE__, EnhMetaFileDeleter>;

// A placeable metafile as an enhanced one, with its size in screen pixels.
EnhMetaFile FromPlaceable(const PlaceableMetafileHeader& header,
                          const std::vector<BYTE>& metafile,
                          long& width,
                          long& height) {
    CScreenDc screen;
    const long dpiX = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    const long dpiY = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    width = (header.right - header.left) * dpiX / header.unitsPerInch;
    height = (header.bottom - header.top) * dpiY / header.unitsPerInch;
    METAFILEPICT picture = {MM_ANISOTROPIC, width, height, nullptr};
    // Small extents lose precision in the conversion; scale them up by tens.
    while (picture.xExt < kExtentLimit && picture.yExt < kExtentLimit && picture.xExt != 0 &&
           picture.yExt != 0) {
        picture.xExt *= 10;
        picture.yExt *= 10;
        if (picture.xExt >= kExtentLimit - 1) {
            break;
        }
    }
    const UINT size = static_cast<UINT>(metafile.size());
    EnhMetaFile result(SetWinMetaFileBits(size, metafile.data(), nullptr, &picture));
    if (!result) {
        picture.mm = MM_TEXT;
        result.reset(SetWinMetaFileBits(size, metafile.data(), nullptr, &picture));
    }
    return result;
}

EnhMetaFile FromEnhanced(ImageStream* stream, long& width, long& height) {
    const std::int64_t remaining = stream->Size() - stream->Tell();
    if (remaining <= 0) {
        return nullptr;
    }
    std::vector<BYTE> bytes(static_cast<std::size_t>(remaining));
    if (stream->Read(bytes.data(), 1, bytes.size()) != bytes.size()) {
        return nullptr;
    }
    EnhMetaFile result(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
    ENHMETAHEADER header = {};
    if (!result || GetEnhMetaFileHeader(result.get(), sizeof(header), &header) == 0) {
        return nullptr;
    }
    width = header.rclBounds.right - header.rclBounds.left;
    height = header.rclBounds.bottom - header.rclBounds.top;
    return result;
}

struct PaletteDeleter {
    void operator()(HPALETTE__* palette) const { DeleteObject(palette); }
};

using Palette = std::unique_ptr<HPALETTE__, PaletteDeleter>;

// The metafile's own palette, or null when it has none; ok is false when it has one
// that could not be made.
Palette PaletteOf(HENHMETAFILE metafile, bool& ok) {
    ok = true;
    const UINT count = GetEnhMetaFilePaletteEntries(metafile, 0, nullptr);
    if (count == 0 || count == GDI_ERROR) {
        return nullptr;
    }
    std::vector<BYTE> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    LOGPALETTE* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    GetEnhMetaFilePaletteEntries(metafile, count, logical->palPalEntry);
    Palette palette(CreatePalette(logical));
    ok = palette != nullptr;
    return palette;
}

}  // namespace

bool WmfCodec::Decode(ImageStream* stream, long wantedWidth, long wantedHeight) {
    if (stream == nullptr) {
        SetLastError("corrupted WMF");
        return false;
    }
    const std::int64_t start = stream->Tell();
    long width = 0;
    long height = 0;
    PlaceableMetafileHeader placeable = {};
    std::vector<BYTE> metafile;
    EnhMetaFile picture;
    if (ReadPlaceable(stream, placeable, metafile)) {
        picture = FromPlaceable(placeable, metafile, width, height);
    }
    if (!picture) {
        stream->Seek(start, 0);
        picture = FromEnhanced(stream, width, height);
    }
    if (!picture) {
        SetLastError("corrupted WMF");
        return false;
    }
    if (GetEscape() != 0) {
        SetLastError("Cancelled");
        return false;
    }
    if (width <= 0 || height <= 0) {
        SetLastError("empty WMF");
        return false;
    }
    if (wantedWidth != 0) {
        width = wantedWidth;
    }
    if (wantedHeight != 0) {
        height = wantedHeight;
    }
    LimitSize(width, height);
    CScreenDc screen;
    MemoryDc memory(CreateCompatibleDC(screen.Get()));
    GdiBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!memory || !bitmap) {
        SetLastError("Cancelled");
        return false;
    }
    bool paletteOk = true;
    Palette palette = PaletteOf(picture.get(), paletteOk);
    if (!paletteOk) {
        SetLastError("Cancelled");
        return false;
    }
    {
        CGdiSelect select(memory.get(), bitmap.get());
        const RECT rect = {0, 0, width, height};
        FillRect(memory.get(), &rect, GetSysColorBrush(COLOR_WINDOW));
        HPALETTE previous = nullptr;
        if (palette) {
            previous = SelectPalette(memory.get(), palette.get(), FALSE);
            RealizePalette(memory.get());
        }
        PlayEnhMetaFile(memory.get(), picture.get(), &rect);
        if (palette) {
            SelectPalette(memory.get(), previous, FALSE);
        }
    }
    if (GetEscape() != 0) {
        SetLastError("Cancelled");
        return false;
    }
    if (Create(width, height, GetDeviceCaps(screen.Get(), BITSPIXEL), kImageFormatWmf) == nullptr) {
        return false;
    }
    // GetDIBits wants room for a palette behind the header.
    std::vector<BYTE> info(sizeof(DibHeader) + 256 * sizeof(RgbQuad));
    std::memcpy(info.data(), &m_header, sizeof(DibHeader));
    const int rows = GetDIBits(memory.get(), bitmap.get(), 0, height, m_info.pixels,
                               reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    if (GetNumColors() != 0) {
        SetPalette(reinterpret_cast<const RgbQuad*>(info.data() + sizeof(DibHeader)), GetNumColors());
    }
    return rows > 0;
}
