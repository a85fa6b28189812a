// A default-aware push button that draws its face in a colour of its own, an icon or a
// pair of bitmaps beside or instead of its caption, a black frame while it is the default
// button, an optional corner mark and the focus rectangle.
#pragma once

#include "forms/CDefPushButton.h"

#include <windows.h>

class CImageButton : public CDefPushButton {
public:
    CImageButton();
    // Deletes the icon and bitmaps that are set.
    ~CImageButton() override;

    // Takes ownership of icon. 0 for a null icon; else the icon replaces any bitmaps.
    BOOL SetIcon(HICON icon, int width, int height);
    // An icon of the program's resources at that size; 0 when it cannot be loaded.
    BOOL LoadIconResource(UINT resourceId, int width, int height);
    // Two bitmaps from a bitmap resource: mapColor (when given) becomes the button face in
    // the normal look and white in the disabled look. 0 unless both could be made.
    BOOL SetBitmap(UINT resourceId, int width, int height, const COLORREF* mapColor = nullptr);
    void SetCornerMark(COLORREF color);

    void SetImageOffset(int x, int y) {
        m_imageOffsetX = x;
        m_imageOffsetY = y;
    }

    void SetTextOffset(int x, int y) {
        m_textOffsetX = x;
        m_textOffsetY = y;
    }

    // side: on which side of the caption the image stands (0x100 left, 0x200 right);
    // alignment: where the image stands in the space the caption leaves.
    void SetImagePlacement(UINT side, UINT alignment) {
        m_imageSide = side;
        m_imageAlignment = alignment;
    }

    // The caller repaints after either.
    void SetTextColor(COLORREF color) { m_captionColor = color; }

    void SetBkColor(COLORREF color) { m_faceColor = color; }

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

private:
    void DeleteImages();
    void RepaintIfShown();
    void DrawCornerMark(HDC dc, const RECT& face, int offset) const;
    void DrawContent(HDC dc, const RECT& item, int offset, BOOL disabled) const;

    int m_imageOffsetX = 0;
    int m_imageOffsetY = 0;
    int m_textOffsetX = 0;
    int m_textOffsetY = 0;
    UINT m_imageSide = 0;
    UINT m_imageAlignment = 0;
    HICON m_icon = nullptr;
    HBITMAP m_bitmap = nullptr;
    HBITMAP m_disabledBitmap = nullptr;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    BOOL m_cornerMark = FALSE;
    COLORREF m_cornerMarkColor = 0;
    COLORREF m_faceColor;
    COLORREF m_captionColor;
    UINT m_lastAction = 0;
    UINT m_lastState = 0;
};
