// Library window classes, named after their attributes so that equal requests share
// one class.
#include "classlib/win/AfxRegisterWndClass.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace {

std::atomic<HINSTANCE> g_resourceHandle{nullptr};

}  // namespace

HINSTANCE AfxGetInstanceHandle() {
    return GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    const HINSTANCE module = g_resourceHandle.load();
    return module != nullptr ? module : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module) {
    g_resourceHandle = module;
}

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static std::mutex mutex;
    static std::set<std::string> names;  // guarded by mutex; stable storage for the names
    char name[96];
    std::snprintf(name, sizeof(name), "ZarvoWnd:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    std::lock_guard<std::mutex> guard(mutex);
    const auto known = names.find(name);
    if (known != names.end()) {
        return known->c_str();
    }
    WNDCLASSA windowClass = {};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = AfxGetInstanceHandle();
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        std::fprintf(stderr, "RegisterClass(%s): %lu\n", name, GetLastError());
        return nullptr;
    }
    return names.insert(name).first->c_str();
}
