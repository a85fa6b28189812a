#include "shell/CSplashWnd.h"

#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CPaintDC.h"

#include <memory>
#include <vector>

namespace {

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

struct ObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};

using ScopedDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using ScopedRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, ObjectDeleter>;

constexpr int kPaletteEntries = 256;

}  // namespace

IMPLEMENT_DYNCREATE(CSplashWnd, CPopupWnd)

BEGIN_MESSAGE_MAP(CSplashWnd, CPopupWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

CSplashWnd::CSplashWnd() {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 != nullptr) {
        // Through the generic function type, which any function pointer may be cast from.
        const auto entry = reinterpret_cast<void (*)()>(GetProcAddress(user32, "SetLayeredWindowAttributes"));
        m_setLayeredAttributes = reinterpret_cast<SetLayeredAttributesProc>(entry);
    }
}

CSplashWnd::~CSplashWnd() {
    if (m_bitmap != nullptr) {
        DeleteObject(m_bitmap);
    }
    if (m_palette != nullptr) {
        DeleteObject(m_palette);
    }
    if (m_classIcon != nullptr) {
        DestroyIcon(m_classIcon);
    }
}

void CSplashWnd::SetBitmapResource(WORD id) {
    m_loadFromFile = FALSE;
    m_resourceId = id;
}

void CSplashWnd::SetBitmapFile(LPCSTR path) {
    m_loadFromFile = TRUE;
    m_path = path;
}

void CSplashWnd::SetTransparentColor(COLORREF color) {
    m_transparentColor = color;
    m_transparent = TRUE;
}

void CSplashWnd::SetClassIcon(HICON icon) {
    if (m_classIcon != nullptr && m_classIcon != icon) {
        DestroyIcon(m_classIcon);
    }
    m_classIcon = icon;
}

BOOL CSplashWnd::LoadBitmap() {
    const UINT flags = LR_CREATEDIBSECTION | LR_DEFAULTSIZE;
    const HANDLE image = m_loadFromFile
                             ? LoadImageA(nullptr, m_path, IMAGE_BITMAP, 0, 0, flags | LR_LOADFROMFILE)
                             : LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_resourceId), IMAGE_BITMAP,
                                          0, 0, flags);
    if (image == nullptr) {
        return FALSE;
    }
    if (m_bitmap != nullptr) {
        DeleteObject(m_bitmap);
    }
    m_bitmap = static_cast<HBITMAP>(image);
    BITMAP info = {};
    GetObjectA(m_bitmap, sizeof(info), &info);
    m_bitmapWidth = info.bmWidth;
    m_bitmapHeight = info.bmHeight;
    return TRUE;
}

BOOL CSplashWnd::Create() {
    LoadBitmap();
    m_width = m_bitmapWidth;
    m_height = m_bitmapHeight;
    if (!CreatePopup(m_dropShadow ? CS_DROPSHADOW : 0, m_classIcon)) {
        return FALSE;
    }
    if (m_transparent) {
        MakeTransparent();
    }
    MakePalette();
    RealizeOwnPalette(FALSE, FALSE);
    return TRUE;
}

void CSplashWnd::MakeTransparent() {
    if (m_setLayeredAttributes != nullptr) {
        ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
        m_setLayeredAttributes(m_hWnd, m_transparentColor, 0, LWA_COLORKEY);
        return;
    }
    ShapeByRegion();
}

// One rectangle per run of pixels that are not the see-through colour, row by row.
void CSplashWnd::ShapeByRegion() {
    if (m_bitmap == nullptr || m_bitmapWidth <= 0 || m_bitmapHeight <= 0) {
        return;
    }
    ScopedDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_bitmapWidth;
    info.bmiHeader.biHeight = -m_bitmapHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(m_bitmapWidth) * static_cast<size_t>(m_bitmapHeight));
    if (dc == nullptr ||
        GetDIBits(dc.get(), m_bitmap, 0, static_cast<UINT>(m_bitmapHeight), pixels.data(), &info, DIB_RGB_COLORS) == 0) {
        return;
    }
    // DIB pixels are 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
    const DWORD key = (GetRValue(m_transparentColor) << 16) | (GetGValue(m_transparentColor) << 8) |
                      GetBValue(m_transparentColor);
    ScopedRegion shape(CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < m_bitmapHeight; ++y) {
        const DWORD* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_bitmapWidth);
        int x = 0;
        while (x < m_bitmapWidth) {
            while (x < m_bitmapWidth && (row[x] & 0xFFFFFF) == key) {
                ++x;
            }
            const int start = x;
            while (x < m_bitmapWidth && (row[x] & 0xFFFFFF) != key) {
                ++x;
            }
            if (x > start) {
                ScopedRegion run(CreateRectRgn(start, y, x, y + 1));
                CombineRgn(shape.get(), shape.get(), run.get(), RGN_OR);
            }
        }
    }
    // The window owns the region from here on.
    SetWindowRgn(shape.release(), TRUE);
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - m_width / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - m_height / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSplashWnd::MakePalette() {
    if (m_bitmap == nullptr) {
        return;
    }
    BITMAP info = {};
    GetObjectA(m_bitmap, sizeof(info), &info);
    ScopedDc dc(CreateCompatibleDC(nullptr));
    if (dc == nullptr) {
        return;
    }
    if (info.bmPlanes * info.bmBitsPixel > 8) {
        m_palette = CreateHalftonePalette(dc.get());
        return;
    }
    RGBQUAD colours[kPaletteEntries] = {};
    const HGDIOBJ previous = SelectObject(dc.get(), m_bitmap);
    const UINT count = GetDIBColorTable(dc.get(), 0, kPaletteEntries, colours);
    SelectObject(dc.get(), previous);
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * kPaletteEntries);
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = kPaletteEntries;
    for (UINT i = 0; i < kPaletteEntries; ++i) {
        const RGBQUAD colour = i < count ? colours[i] : RGBQUAD{0, 0, 0, 0};
        palette->palPalEntry[i] = {colour.rgbRed, colour.rgbGreen, colour.rgbBlue, 0};
    }
    m_palette = CreatePalette(palette);
}

BOOL CSplashWnd::RealizeOwnPalette(BOOL background, BOOL repaint) {
    if (m_palette == nullptr || m_hWnd == nullptr) {
        return FALSE;
    }
    const HDC dc = ::GetDC(m_hWnd);
    const HPALETTE previous = SelectPalette(dc, m_palette, background);
    const UINT changed = RealizePalette(dc);
    SelectPalette(dc, previous, TRUE);
    ::ReleaseDC(m_hWnd, dc);
    if (changed > 0 || repaint) {
        Invalidate(TRUE);
    }
    return changed > 0 ? TRUE : FALSE;
}

void CSplashWnd::OnPaint() {
    CPaintDC dc(this);
    if (m_bitmap == nullptr) {
        return;
    }
    ScopedDc memory(CreateCompatibleDC(dc.GetSafeHdc()));
    if (memory == nullptr) {
        return;
    }
    HPALETTE previousPalette = nullptr;
    if (m_palette != nullptr) {
        previousPalette = SelectPalette(dc.GetSafeHdc(), m_palette, FALSE);
        RealizePalette(dc.GetSafeHdc());
    }
    const HGDIOBJ previous = SelectObject(memory.get(), m_bitmap);
    BitBlt(dc.GetSafeHdc(), 0, 0, m_bitmapWidth, m_bitmapHeight, memory.get(), 0, 0, SRCCOPY);
    SelectObject(memory.get(), previous);
    if (previousPalette != nullptr) {
        SelectPalette(dc.GetSafeHdc(), previousPalette, FALSE);
    }
}

void CSplashWnd::OnLButtonDown(UINT flags, CPoint point) {
    if (!m_draggable) {
        Default();
        return;
    }
    SendMessage(WM_LBUTTONUP, 0, 0);
    SendMessage(WM_SYSCOMMAND, 0xF012, 0);
}

BOOL CSplashWnd::OnQueryNewPalette() {
    return RealizeOwnPalette(FALSE, TRUE);
}

void CSplashWnd::OnPaletteChanged(CWnd* focusWnd) {
    if (focusWnd != this) {
        RealizeOwnPalette(TRUE, FALSE);
    }
}
