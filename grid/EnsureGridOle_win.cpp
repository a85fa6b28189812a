#include "grid/EnsureGridOle.h"

#include "classlib/win/AfxMessageBox.h"

#include <ole2.h>

namespace {

constexpr const char* kOleFailedText =
    "OLE initialization failed. Make sure that the OLE libraries are the correct version";

}  // namespace

bool EnsureGridOle() {
    // Once per thread: OLE stays initialised until the thread ends.
    thread_local bool initialised = false;
    if (initialised) {
        return true;
    }
    if (FAILED(OleInitialize(nullptr))) {
        AfxMessageBox(kOleFailedText);
        return false;
    }
    initialised = true;
    return true;
}
