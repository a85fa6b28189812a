// Owners for the GDI handles the image library's Windows half creates, so that every
// DC, bitmap, region and lock is released on every path, and the 24-bit DIB section
// the drawing and text code render into. Windows-only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};

using MemoryDc = std::unique_ptr<HDC__, MemoryDcDeleter>;
using GdiBitmap = std::unique_ptr<HBITMAP__, GdiObjectDeleter>;
using GdiRegion = std::unique_ptr<HRGN__, GdiObjectDeleter>;
using GdiFont = std::unique_ptr<HFONT__, GdiObjectDeleter>;

// Selects an object into a DC and puts the previous one back.
class CGdiSelect {
public:
    CGdiSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}

    ~CGdiSelect() { SelectObject(m_dc, m_previous); }

    CGdiSelect(const CGdiSelect&) = delete;
    CGdiSelect& operator=(const CGdiSelect&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// The screen's DC, released when done.
class CScreenDc {
public:
    CScreenDc() : m_dc(GetDC(nullptr)) {}

    ~CScreenDc() { ReleaseDC(nullptr, m_dc); }

    CScreenDc(const CScreenDc&) = delete;
    CScreenDc& operator=(const CScreenDc&) = delete;

    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// Saves a DC's state (colours, modes, clip region, selections) and restores it.
class CSavedDcState {
public:
    explicit CSavedDcState(HDC dc) : m_dc(dc), m_id(SaveDC(dc)) {}

    ~CSavedDcState() { RestoreDC(m_dc, m_id); }

    CSavedDcState(const CSavedDcState&) = delete;
    CSavedDcState& operator=(const CSavedDcState&) = delete;

private:
    HDC m_dc;
    int m_id;
};

// Row size in bytes of a 24-bit DIB (rows padded to four bytes).
inline std::size_t Dib24Stride(long width) {
    return ((static_cast<std::size_t>(width) * 24 + 31) / 32) * 4;
}

// The header of a 24-bit bottom-up RGB DIB.
inline BITMAPINFO Dib24Info(long width, long height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 24-bit DIB section described by info (see Dib24Info); bits receives its pixels,
// null when the section could not be made.
inline GdiBitmap CreateDib24(HDC dc, const BITMAPINFO& info, BYTE*& bits) {
    void* pixels = nullptr;
    GdiBitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    bits = bitmap ? static_cast<BYTE*>(pixels) : nullptr;
    return bitmap;
}
