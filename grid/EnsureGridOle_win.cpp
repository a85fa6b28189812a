#include "grid/EnsureGridOle.h"

#include "classlib/win/AfxMessageBox.h"

#include <ole2.h>

#include <atomic>

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
    // The user hears of the failure once per program, not once per grid or thread.
    static std::atomic<bool> failureShown{false};
    if (FAILED(OleInitialize(nullptr))) {
        if (!failureShown.exchange(true)) {
            AfxMessageBox(kOleFailedText);
        }
        return false;
    }
    initialised = true;
    return true;
}
