// Bitmaps made for a device, from bits, or loaded from the resources.
#include "classlib/win/CBitmap.h"

#include "classlib/win/AfxRegisterWndClass.h"
#include "classlib/win/CDC.h"

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    if (dc == nullptr || dc->m_hDC == nullptr) {
        return FALSE;
    }
    return TakeCreated(::CreateCompatibleBitmap(dc->m_hDC, width, height), "CreateCompatibleBitmap");
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    return TakeCreated(::CreateBitmap(width, height, planes, bitsPerPixel, bits), "CreateBitmap");
}

BOOL CBitmap::LoadBitmap(UINT resourceId) {
    return LoadBitmap(MAKEINTRESOURCEA(resourceId));
}

BOOL CBitmap::LoadBitmap(LPCSTR resourceName) {
    return TakeCreated(::LoadImageA(AfxGetResourceHandle(), resourceName, IMAGE_BITMAP, 0, 0, 0),
                       "LoadImage(bitmap)");
}

BOOL CBitmap::GetBitmap(BITMAP* bitmap) const {
    if (bitmap == nullptr) {
        return FALSE;
    }
    return GetObject(sizeof(BITMAP), bitmap) != 0 ? TRUE : FALSE;
}

CSize CBitmap::GetBitmapDimension() const {
    BITMAP bitmap = {};
    if (!GetBitmap(&bitmap)) {
        return CSize();
    }
    return CSize(bitmap.bmWidth, bitmap.bmHeight);
}
