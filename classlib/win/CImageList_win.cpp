// Image lists: creation, adding images and drawing them.
#include "classlib/win/CImageList.h"

#include "classlib/win/AttachHandle.h"
#include "classlib/win/CBitmap.h"
#include "classlib/win/CDC.h"

#include <cstdio>
#include <utility>

CImageList::~CImageList() {
    DeleteImageList();
}

BOOL CImageList::Create(int width, int height, UINT flags, int initialCount, int growBy) {
    if (m_hImageList != nullptr) {
        return FALSE;
    }
    m_hImageList = ImageList_Create(width, height, flags, initialCount, growBy);
    if (m_hImageList == nullptr) {
        std::fprintf(stderr, "ImageList_Create: %lu\n", GetLastError());
        return FALSE;
    }
    return TRUE;
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == nullptr) {
        return FALSE;
    }
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Attach(HIMAGELIST list) {
    return AttachHandle(m_hImageList, list);
}

HIMAGELIST CImageList::Detach() {
    return std::exchange(m_hImageList, nullptr);
}

int CImageList::Add(const CBitmap* bitmap, const CBitmap* mask) {
    if (bitmap == nullptr) {
        return -1;
    }
    return ImageList_Add(m_hImageList, *bitmap, mask != nullptr ? static_cast<HBITMAP>(*mask) : nullptr);
}

int CImageList::Add(const CBitmap* bitmap, COLORREF maskColor) {
    if (bitmap == nullptr) {
        return -1;
    }
    return ImageList_AddMasked(m_hImageList, *bitmap, maskColor);
}

int CImageList::Add(HICON icon) {
    return ImageList_AddIcon(m_hImageList, icon);
}

BOOL CImageList::Remove(int index) {
    return ImageList_Remove(m_hImageList, index);
}

int CImageList::GetImageCount() const {
    return ImageList_GetImageCount(m_hImageList);
}

BOOL CImageList::GetImageInfo(int index, IMAGEINFO* info) const {
    return ImageList_GetImageInfo(m_hImageList, index, info);
}

BOOL CImageList::Draw(CDC* dc, int index, POINT point, UINT style) const {
    if (dc == nullptr) {
        return FALSE;
    }
    return ImageList_Draw(m_hImageList, index, dc->m_hDC, point.x, point.y, style);
}

COLORREF CImageList::SetBkColor(COLORREF color) {
    return ImageList_SetBkColor(m_hImageList, color);
}
