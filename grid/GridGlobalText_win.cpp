#include "grid/GridGlobalText.h"

#include <cstring>

bool ReadGlobalText(HGLOBAL block, CString& text) {
    const SIZE_T size = GlobalSize(block);
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    if (bytes == nullptr) {
        return false;
    }
    SIZE_T length = 0;
    while (length < size && bytes[length] != '\0') {
        ++length;
    }
    text = CString(bytes, static_cast<int>(length));
    GlobalUnlock(block);
    return true;
}

HGLOBAL MakeGlobalText(const CString& text) {
    const SIZE_T size = static_cast<SIZE_T>(text.GetLength()) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (block == nullptr) {
        return nullptr;
    }
    void* bytes = GlobalLock(block);
    if (bytes == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(bytes, text.GetString(), size);
    GlobalUnlock(block);
    return block;
}
