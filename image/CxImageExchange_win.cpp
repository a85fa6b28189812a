// Exchange of images with Windows: global-memory DIB blocks (the clipboard's form),
// bitmaps and icons.
#include "classlib/win/CGlobalLock.h"
#include "image/BitmapInfoBlock.h"
#include "image/CxImage.h"
#include "image/GdiOwners.h"
#include "image/ImageHandleError.h"
#include "image/MemoryImageStream.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kCoreHeaderBytes = 12;

// Raises for the compressions the block cannot be read with; the depth decides which text.
void CheckCompression(const BYTE* block, std::size_t size) {
    if (size < sizeof(DibHeader)) {
        return;
    }
    DibHeader header;
    std::memcpy(&header, block, sizeof(header));
    if (header.biSize == kCoreHeaderBytes) {
        return;
    }
    const DWORD compression = header.biCompression;
    const WORD bpp = header.biBitCount;
    if (bpp == 32 && compression != BI_RGB && compression != BI_BITFIELDS) {
        throw ImageHandleError("unknown compression");
    }
    const bool readable = compression == BI_RGB || (compression == BI_RLE8 && bpp == 8) ||
                          (compression == BI_RLE4 && bpp == 4) ||
                          (compression == BI_BITFIELDS && (bpp == 16 || bpp == 32));
    if (!readable) {
        throw ImageHandleError("compression type not supported");
    }
}

}  // namespace

void* CxImage::CopyToHandle() const {
    if (!IsValid()) {
        return nullptr;
    }
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, DibSize());
    if (handle == nullptr) {
        return nullptr;
    }
    CGlobalLock lock(handle);
    if (lock.Data() == nullptr) {
        GlobalFree(handle);
        return nullptr;
    }
    std::memcpy(lock.Data(), &m_header, sizeof(DibHeader));
    std::memcpy(lock.Data() + sizeof(DibHeader), GetPalette(), GetPaletteSize());
    std::memcpy(lock.Data() + sizeof(DibHeader) + GetPaletteSize(), m_info.pixels, m_header.biSizeImage);
    return handle;
}

// The block is read as a bare DIB through the BMP decoder, bounded by the block's real
// size: a header that claims more than the block holds must not read past it.
bool CxImage::CreateFromHandle(void* handle) {
    if (!Destroy() || handle == nullptr) {
        return false;
    }
    const SIZE_T size = GlobalSize(handle);
    if (size == 0) {
        return false;
    }
    CGlobalLock lock(handle);
    if (lock.Data() == nullptr) {
        return false;
    }
    CheckCompression(lock.Data(), size);
    MemoryImageStream stream(lock.Data(), static_cast<DWORD>(size));
    if (!DecodeImage(&stream, kImageFormatBmp)) {
        return false;
    }
    m_info.format = kImageFormatNone;
    SetXDPI(DpiFromPelsPerMetre(m_header.biXPelsPerMeter));
    SetYDPI(DpiFromPelsPerMetre(m_header.biYPelsPerMeter));
    return true;
}

HBITMAP CxImage::MakeBitmap(HDC dc) const {
    if (!IsValid()) {
        return nullptr;
    }
    std::vector<BYTE> info = BitmapInfoBlock(m_header, GetPalette());
    BITMAPINFO* bitmapInfo = reinterpret_cast<BITMAPINFO*>(info.data());
    if (dc != nullptr) {
        return CreateDIBitmap(dc, &bitmapInfo->bmiHeader, CBM_INIT, m_info.pixels, bitmapInfo,
                              DIB_RGB_COLORS);
    }
    CScreenDc screen;
    MemoryDc memory(CreateCompatibleDC(screen.Get()));
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory.get(), bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        std::memcpy(bits, m_info.pixels, m_header.biSizeImage);
    }
    return bitmap;
}

bool CxImage::CreateFromBitmap(HBITMAP bitmap, HPALETTE palette) {
    if (!Destroy() || bitmap == nullptr) {
        return false;
    }
    BITMAP object = {};
    if (GetObject(bitmap, sizeof(object), &object) == 0) {
        return false;
    }
    if (Create(object.bmWidth, object.bmHeight, object.bmBitsPixel, kImageFormatNone) == nullptr) {
        return false;
    }
    CScreenDc screen;
    HPALETTE previous = nullptr;
    if (palette != nullptr) {
        previous = SelectPalette(screen.Get(), palette, FALSE);
        RealizePalette(screen.Get());
    }
    // Room for a full palette: GetDIBits fills it for the depths that have one.
    std::vector<BYTE> info(sizeof(DibHeader) + 256 * sizeof(RgbQuad));
    std::memcpy(info.data(), &m_header, sizeof(DibHeader));
    const int rows = GetDIBits(screen.Get(), bitmap, 0, GetHeight(), m_info.pixels,
                               reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    if (palette != nullptr) {
        SelectPalette(screen.Get(), previous, FALSE);
    }
    if (rows == 0) {
        SetLastError("GetDIBits failed");
        return false;
    }
    if (GetNumColors() != 0) {
        SetPalette(reinterpret_cast<const RgbQuad*>(info.data() + sizeof(DibHeader)), GetNumColors());
    }
    return true;
}

bool CxImage::CreateFromIcon(HICON icon) {
    if (!Destroy() || icon == nullptr) {
        return false;
    }
    ICONINFO parts = {};
    if (!GetIconInfo(icon, &parts)) {
        return false;
    }
    GdiBitmap color(parts.hbmColor);
    GdiBitmap mask(parts.hbmMask);
    if (!CreateFromBitmap(color.get(), nullptr)) {
        return false;
    }
    CxImage alpha;
    if (alpha.CreateFromBitmap(mask.get(), nullptr) && alpha.GrayScale() && alpha.Negative()) {
        AlphaFromGray(alpha);
    }
    return true;
}
