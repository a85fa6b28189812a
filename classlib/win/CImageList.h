// Owner of an image list: destroyed with this object unless detached (the system's
// shared lists are attached and must be detached before the owner goes).
#pragma once

#include "classlib/win/CPoint.h"

#include <windows.h>

#include <commctrl.h>

class CBitmap;
class CDC;

class CImageList {
public:
    CImageList() = default;
    virtual ~CImageList();

    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // flags: ILC_COLOR* and ILC_MASK.
    BOOL Create(int width, int height, UINT flags, int initialCount, int growBy);
    BOOL DeleteImageList();
    // FALSE when this object holds a list already or list is null.
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    operator HIMAGELIST() const { return m_hImageList; }

    // Index of the first new image, or -1. The list copies the bitmaps.
    int Add(const CBitmap* bitmap, const CBitmap* mask);
    int Add(const CBitmap* bitmap, COLORREF maskColor);
    int Add(HICON icon);
    BOOL Remove(int index);
    int GetImageCount() const;
    BOOL GetImageInfo(int index, IMAGEINFO* info) const;
    // style: ILD_NORMAL, ILD_TRANSPARENT, ...
    BOOL Draw(CDC* dc, int index, POINT point, UINT style) const;
    COLORREF SetBkColor(COLORREF color);

    HIMAGELIST m_hImageList = nullptr;
};
