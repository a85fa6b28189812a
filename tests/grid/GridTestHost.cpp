#include "GridTestHost.h"

#include "classlib/win/AfxMessageLoop.h"

#include <windows.h>

namespace {

constexpr char kHostClass[] = "GridTestHost";

// Wine 8 ties the cursor clipping of a thread to the first top-level window that the
// thread showed: once that window is gone, ClipCursor fails with an X error that ends
// the process. One window shown first and kept for the whole run avoids it.
void KeepFirstTopLevelWindow() {
    static const HWND anchor =
        CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "anchor", WS_POPUP | WS_VISIBLE, 0, 0,
                        1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    (void)anchor;
}

}  // namespace

GridTestHost::GridTestHost() {
    KeepFirstTopLevelWindow();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    m_hwnd = CreateWindowExA(0, kHostClass, "grid host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                             nullptr, windowClass.hInstance, this);
}

GridTestHost::~GridTestHost() {
    SetModifiers(false, false);
    DestroyWindow(m_hwnd);
}

bool GridTestHost::CreateGrid(CGridCtrl& grid, int width, int height) {
    return grid.Create(CRect(0, 0, width, height), CWnd::FromHandle(m_hwnd), kGridId) != FALSE;
}

std::vector<GridTestEvent> GridTestHost::EventsOf(std::initializer_list<int> codes) const {
    std::vector<GridTestEvent> picked;
    for (const GridTestEvent& event : m_events) {
        for (int code : codes) {
            if (event.code == code) {
                picked.push_back(event);
            }
        }
    }
    return picked;
}

void GridTestHost::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!AfxPumpMessage()) {
            return;
        }
    }
}

void GridTestHost::SetModifiers(bool ctrl, bool shift) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
}

LRESULT CALLBACK GridTestHost::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* host = reinterpret_cast<GridTestHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (host != nullptr && message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        const int code = static_cast<int>(header->code);
        int row = -1;
        int col = -1;
        if (code != GRIDN_CACHEHINT && code != GRIDN_CELLINFO) {
            const auto* record = reinterpret_cast<const GridNotifyRecord*>(lParam);
            row = record->row;
            col = record->col;
        } else if (code == GRIDN_CACHEHINT) {
            const auto* hint = reinterpret_cast<const GridCacheHintRecord*>(lParam);
            row = hint->minRow;
            col = hint->minCol;
        }
        host->m_events.push_back({code, row, col});
        const auto answer = host->m_answers.find(code);
        return answer == host->m_answers.end() ? 0 : answer->second;
    }
    if (host != nullptr && message == WM_COMMAND) {
        host->m_events.push_back({0, LOWORD(wParam), HIWORD(wParam)});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
