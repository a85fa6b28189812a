#include "forms/CHyperLink.h"

#include "classlib/win/CDC.h"
#include "classlib/win/CRect.h"
#include "forms/BrowserCommandLine.h"

#include <shellapi.h>
#include <string>
#include <vector>

namespace {

constexpr int kHelpCursorId = 106;
constexpr INT_PTR kShellSuccessAbove = 32;

// The default value of a key under HKEY_CLASSES_ROOT, of whatever length; FALSE when absent.
BOOL ReadClassesDefault(const std::string& keyName, std::string* value) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return FALSE;
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ::RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size);
    std::vector<char> buffer(size + 1, '\0');
    if (status == ERROR_SUCCESS) {
        status =
            ::RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return FALSE;
    }
    buffer.resize(size);
    *value = std::string(buffer.data());  // up to the terminator the value carries
    return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CHyperLink::~CHyperLink() {
    if (m_ownsCursor && m_cursor != nullptr) {
        ::DestroyCursor(m_cursor);
    }
}

void CHyperLink::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY);
    MakeFonts();
    LoadHandCursor();
    CStatic::PreSubclassWindow();
}

void CHyperLink::MakeFonts() {
    // A static outside a dialog has no font of its own and shows the system font.
    HFONT font = GetFont();
    if (font == nullptr) {
        font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    }
    LOGFONTA description = {};
    if (::GetObjectA(font, sizeof(description), &description) == 0) {
        return;
    }
    m_normalFont.DeleteObject();
    m_normalFont.CreateFontIndirect(&description);
    description.lfUnderline = 1;
    m_underlinedFont.DeleteObject();
    m_underlinedFont.CreateFontIndirect(&description);
}

void CHyperLink::LoadHandCursor() {
    m_cursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    if (m_cursor != nullptr) {
        return;
    }
    char directory[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(directory, sizeof(directory));
    if (length == 0 || length >= sizeof(directory)) {
        return;
    }
    const std::string helpProgram = std::string(directory) + "\\winhlp32.exe";
    const HMODULE module = ::LoadLibraryA(helpProgram.c_str());
    if (module == nullptr) {
        return;
    }
    const HCURSOR hand = ::LoadCursorA(module, MAKEINTRESOURCEA(kHelpCursorId));
    if (hand != nullptr) {
        m_cursor = static_cast<HCURSOR>(::CopyIcon(hand));
        m_ownsCursor = m_cursor != nullptr;
    }
    ::FreeLibrary(module);
}

HBRUSH CHyperLink::CtlColor(CDC* dc, UINT controlType) {
    dc->SetTextColor(m_hover ? m_hoverColor : m_linkColor);
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

BOOL CHyperLink::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (m_cursor == nullptr) {
        return FALSE;
    }
    ::SetCursor(m_cursor);
    return TRUE;
}

void CHyperLink::OnMouseMove(UINT flags, CPoint point) {
    if (!m_hover) {
        m_hover = TRUE;
        SetFont(m_underlinedFont, TRUE);
        Invalidate();
        m_hoverTimerId = SetTimer(kHoverTimerId, kHoverPollMs);
    }
    CStatic::OnMouseMove(flags, point);
}

void CHyperLink::StopHover() {
    m_hover = FALSE;
    KillTimer(m_hoverTimerId);
    SetFont(m_normalFont, TRUE);
    Invalidate();
    m_hoverTimerId = 0;
}

void CHyperLink::OnTimer(UINT_PTR id) {
    if (id == m_hoverTimerId && m_hoverTimerId != 0) {
        const DWORD position = ::GetMessagePos();
        POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ScreenToClient(&point);
        CRect client;
        GetClientRect(&client);
        if (!::PtInRect(&client, point)) {
            StopHover();
        }
    }
    CStatic::OnTimer(id);
}

void CHyperLink::OnClicked() {
    m_hover = FALSE;
    OpenTarget();
}

BOOL CHyperLink::DestroyWindow() {
    if (m_hoverTimerId != 0) {
        KillTimer(m_hoverTimerId);
        m_hoverTimerId = 0;
    }
    return CStatic::DestroyWindow();
}

INT_PTR CHyperLink::OpenTarget() {
    const INT_PTR shellResult = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", m_target.GetString(), nullptr, nullptr, SW_SHOW));
    if (shellResult > kShellSuccessAbove) {
        return shellResult;
    }
    std::string htmlClass;
    std::string command;
    if (!ReadClassesDefault(".htm", &htmlClass) ||
        !ReadClassesDefault(htmlClass + "\\shell\\open\\command", &command)) {
        return shellResult;
    }
    const std::string commandLine = BrowserCommandLine(command, m_target.GetString());
    return static_cast<INT_PTR>(::WinExec(commandLine.c_str(), SW_SHOW));
}
