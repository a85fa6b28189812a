#include "grid/GridGlobalText.h"

#include "classlib/win/CGlobalLock.h"

#include <cstring>

bool ReadGlobalText(HGLOBAL block, CString& text) {
    const SIZE_T size = GlobalSize(block);
    // Locked while the text is copied out, also when that runs out of memory.
    const CGlobalLock lock(block);
    if (lock.Data() == nullptr) {
        return false;
    }
    const char* bytes = reinterpret_cast<const char*>(lock.Data());
    SIZE_T length = 0;
    while (length < size && bytes[length] != '\0') {
        ++length;
    }
    text = CString(bytes, static_cast<int>(length));
    return true;
}

HGLOBAL MakeGlobalText(const CString& text) {
    const SIZE_T size = static_cast<SIZE_T>(text.GetLength()) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (block == nullptr) {
        return nullptr;
    }
    const CGlobalLock lock(block);
    if (lock.Data() == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(lock.Data(), text.GetString(), size);
    return block;
}
