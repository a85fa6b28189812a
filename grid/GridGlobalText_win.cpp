#include "grid/GridGlobalText.h"

#include <cstring>
#include <memory>

namespace {

struct GlobalUnlocker {
    HGLOBAL block;

    void operator()(void*) const { GlobalUnlock(block); }
};

// The block stays locked while this lives: also when copying its text runs out of memory.
// Null when it cannot be locked.
std::unique_ptr<void, GlobalUnlocker> LockGlobal(HGLOBAL block) {
    return std::unique_ptr<void, GlobalUnlocker>(GlobalLock(block), GlobalUnlocker{block});
}

}  // namespace

bool ReadGlobalText(HGLOBAL block, CString& text) {
    const SIZE_T size = GlobalSize(block);
    const auto lock = LockGlobal(block);
    if (lock == nullptr) {
        return false;
    }
    const char* bytes = static_cast<const char*>(lock.get());
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
    const auto lock = LockGlobal(block);
    if (lock == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(lock.get(), text.GetString(), size);
    return block;
}
