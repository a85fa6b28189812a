// An owned GDI bitmap.
#pragma once

#include "classlib/win/CGdiObject.h"
#include "classlib/win/CSize.h"

class CDC;

class CBitmap : public CGdiObject {
public:
    // A bitmap in the format of dc's device (not of the bitmap selected into a memory DC).
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    // A bitmap resource of the resource module, converted to the screen's format.
    BOOL LoadBitmap(UINT resourceId);
    BOOL LoadBitmap(LPCSTR resourceName);
    // FALSE when empty.
    BOOL GetBitmap(BITMAP* bitmap) const;
    // (0, 0) when empty.
    CSize GetBitmapDimension() const;

    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
