#include "forms/CImageButton.h"

#include "classlib/core/CString.h"
#include "classlib/win/AfxRegisterWndClass.h"
#include "forms/ButtonContentPlacement.h"

#include <algorithm>
#include <commctrl.h>

namespace {

constexpr int kCornerMarkLines = 8;
constexpr int kLargeFocusInset = 3;
constexpr int kSmallFocusLimit = 15;

}  // namespace

CImageButton::CImageButton()
    : m_faceColor(::GetSysColor(COLOR_BTNFACE)), m_captionColor(::GetSysColor(COLOR_BTNTEXT)) {}

CImageButton::~CImageButton() {
    DeleteImages();
}

void CImageButton::DeleteImages() {
    if (m_icon != nullptr) {
        ::DestroyIcon(m_icon);
        m_icon = nullptr;
    }
    if (m_bitmap != nullptr) {
        ::DeleteObject(m_bitmap);
        m_bitmap = nullptr;
    }
    if (m_disabledBitmap != nullptr) {
        ::DeleteObject(m_disabledBitmap);
        m_disabledBitmap = nullptr;
    }
}

void CImageButton::RepaintIfShown() {
    if (IsWindow()) {
        Invalidate();
    }
}

BOOL CImageButton::SetIcon(HICON icon, int width, int height) {
    // Setting the icon it holds already must not destroy it.
    if (icon != m_icon) {
        DeleteImages();
    }
    m_icon = icon;
    if (icon == nullptr) {
        return FALSE;
    }
    m_imageWidth = width;
    m_imageHeight = height;
    RepaintIfShown();
    return TRUE;
}

BOOL CImageButton::LoadIconResource(UINT resourceId, int width, int height) {
    const HANDLE icon = ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), IMAGE_ICON, width,
                                     height, LR_DEFAULTCOLOR);
    if (icon == nullptr) {
        return FALSE;
    }
    return SetIcon(static_cast<HICON>(icon), width, height);
}

BOOL CImageButton::SetBitmap(UINT resourceId, int width, int height, const COLORREF* mapColor) {
    COLORMAP normalMap = {mapColor != nullptr ? *mapColor : 0, ::GetSysColor(COLOR_BTNFACE)};
    COLORMAP disabledMap = {normalMap.from, RGB(255, 255, 255)};
    const int mapCount = mapColor != nullptr ? 1 : 0;
    const HINSTANCE module = AfxGetResourceHandle();
    HBITMAP normal =
        ::CreateMappedBitmap(module, resourceId, 0, mapCount != 0 ? &normalMap : nullptr, mapCount);
    HBITMAP disabled =
        ::CreateMappedBitmap(module, resourceId, 0, mapCount != 0 ? &disabledMap : nullptr, mapCount);
    if (normal != nullptr) {
        normal = static_cast<HBITMAP>(::CopyImage(normal, IMAGE_BITMAP, width, height, LR_COPYDELETEORG));
    }
    if (disabled != nullptr) {
        disabled = static_cast<HBITMAP>(::CopyImage(disabled, IMAGE_BITMAP, width, height, LR_COPYDELETEORG));
    }
    if (normal == nullptr || disabled == nullptr) {
        if (normal != nullptr) {
            ::DeleteObject(normal);
        }
        if (disabled != nullptr) {
            ::DeleteObject(disabled);
        }
        return FALSE;
    }
    DeleteImages();
    m_bitmap = normal;
    m_disabledBitmap = disabled;
    m_imageWidth = width;
    m_imageHeight = height;
    RepaintIfShown();
    return TRUE;
}

void CImageButton::SetCornerMark(COLORREF color) {
    m_cornerMark = TRUE;
    m_cornerMarkColor = color;
    RepaintIfShown();
}

void CImageButton::DrawCornerMark(HDC dc, const RECT& face, int offset) const {
    const HPEN pen = ::CreatePen(PS_SOLID, 1, m_cornerMarkColor);
    const HGDIOBJ previous = ::SelectObject(dc, pen);
    const int x0 = face.left + 1 + offset;
    const int y0 = face.top + 1 + offset;
    for (int k = 0; k < kCornerMarkLines; ++k) {
        ::MoveToEx(dc, x0, y0 + k, nullptr);
        ::LineTo(dc, x0 + 7 - k, y0 + k);
    }
    ::SelectObject(dc, previous);
    ::DeleteObject(pen);
}

void CImageButton::DrawContent(HDC dc, const RECT& item, int offset, BOOL disabled) const {
    CString caption;
    GetWindowText(caption);
    const bool hasImage = m_icon != nullptr || m_bitmap != nullptr;
    ButtonContentInput input;
    input.left = item.left;
    input.top = item.top;
    input.right = item.right;
    input.bottom = item.bottom;
    input.style = GetStyle();
    input.imageSide = m_imageSide;
    input.imageAlignment = m_imageAlignment;
    input.hasImage = hasImage;
    input.hasCaption = !caption.IsEmpty();
    input.imageWidth = m_imageWidth;
    input.imageHeight = m_imageHeight;
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, caption.GetString(), caption.GetLength(), &extent);
    input.captionWidth = extent.cx;
    input.captionHeight = extent.cy;
    input.imageOffsetX = m_imageOffsetX;
    input.imageOffsetY = m_imageOffsetY;
    input.textOffsetX = m_textOffsetX;
    input.textOffsetY = m_textOffsetY;
    input.contentOffset = offset;
    const ButtonContentPlacement place = PlaceButtonContent(input);
    const UINT state = disabled ? DSS_DISABLED : DSS_NORMAL;
    if (input.hasCaption) {
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption.GetString()), caption.GetLength(),
                     place.captionX, place.captionY, extent.cx, extent.cy, DST_PREFIXTEXT | state);
    }
    if (m_icon != nullptr) {
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_icon), 0, place.imageX, place.imageY,
                     m_imageWidth, m_imageHeight, DST_ICON | state);
    } else if (m_bitmap != nullptr) {
        const HBITMAP bitmap = disabled ? m_disabledBitmap : m_bitmap;
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, place.imageX, place.imageY,
                     m_imageWidth, m_imageHeight, DST_BITMAP | state);
    }
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
    const HDC dc = drawItem->hDC;
    const COLORREF previousBk = ::SetBkColor(dc, m_faceColor);
    const COLORREF previousText = ::SetTextColor(dc, m_captionColor);
    const HBRUSH faceBrush = ::CreateSolidBrush(m_faceColor);
    const BOOL pressed = (drawItem->itemState & ODS_SELECTED) != 0;
    const BOOL disabled = (drawItem->itemState & ODS_DISABLED) != 0;
    const int offset = (pressed ? 1 : 0) + (disabled ? 1 : 0);
    RECT area = drawItem->rcItem;
    if (drawItem->itemAction != ODA_FOCUS) {
        if (IsDefault()) {
            const HGDIOBJ previousPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
            const HGDIOBJ previousBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(dc, area.left, area.top, area.right, area.bottom);
            ::SelectObject(dc, previousBrush);
            ::SelectObject(dc, previousPen);
            ::InflateRect(&area, -1, -1);
        }
        UINT frame =
            DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0);
        if ((GetStyle() & BS_FLAT) != 0) {
            frame |= DFCS_FLAT | DFCS_MONO;
        }
        RECT face = area;
        ::DrawFrameControl(dc, &face, DFC_BUTTON, frame);
        ::FillRect(dc, &face, faceBrush);
        if (m_cornerMark) {
            DrawCornerMark(dc, face, offset);
        }
        DrawContent(dc, drawItem->rcItem, offset, disabled);
    }
    ::SetTextColor(dc, previousText);
    if (!disabled && (drawItem->itemState & ODS_FOCUS) != 0) {
        const int smaller = std::min(area.right - area.left, area.bottom - area.top);
        const int inset = smaller <= kSmallFocusLimit ? smaller / 4 : kLargeFocusInset;
        RECT focus = area;
        ::InflateRect(&focus, -inset, -inset);
        ::DrawFocusRect(dc, &focus);
    }
    m_lastAction = drawItem->itemAction;
    m_lastState = drawItem->itemState;
    ::SetBkColor(dc, previousBk);
    ::DeleteObject(faceBrush);
}
