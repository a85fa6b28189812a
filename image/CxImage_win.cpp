// Windows-only members of the image class: images from program resources, the
// rectangle form of Crop and the selection as a GDI region.
#include "image/CxImage.h"

#include "image/MemoryImageStream.h"

#include <windows.h>

bool CxImage::LoadImageResource(HRSRC resource, DWORD format, HMODULE module) {
    // A missing resource must not reach SizeofResource, which would look up nothing.
    if (resource == nullptr) {
        SetLastError("Unable to load resource!");
        return false;
    }
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL data = LoadResource(module, resource);
    if (data == nullptr) {
        SetLastError("Unable to load resource!");
        return false;
    }
    // Resource memory is read-only and needs no freeing; the stream only reads it.
    BYTE* bytes = static_cast<BYTE*>(LockResource(data));
    if (bytes == nullptr) {
        return false;
    }
    MemoryImageStream stream(bytes, size);
    return DecodeImage(&stream, format);
}

bool CxImage::Crop(const RECT& rect, CxImage* destination) {
    return Crop(rect.left, rect.top, rect.right, rect.bottom, destination);
}

bool CxImage::SelectionToRegion(HRGN* region) const {
    if (m_selection == nullptr || region == nullptr || *region == nullptr) {
        return false;
    }
    const long width = static_cast<long>(GetWidth());
    for (long y = 0; y < static_cast<long>(GetHeight()); y++) {
        const BYTE* mask = m_selection + static_cast<std::size_t>(y) * width;
        long x = 0;
        while (x < width) {
            if (mask[x] != 255) {
                x++;
                continue;
            }
            const long start = x;
            while (x < width && mask[x] == 255) {
                x++;
            }
            HRGN run = CreateRectRgn(start, y, x, y + 1);
            if (run == nullptr) {
                return false;
            }
            CombineRgn(*region, *region, run, RGN_OR);
            DeleteObject(run);
        }
    }
    return true;
}
