// Dialogs from templates: the modal run with its own loop and the modeless form.
#include "classlib/win/CDialog.h"

#include "classlib/win/AfxMessageLoop.h"
#include "classlib/win/AfxRegisterWndClass.h"
#include "classlib/win/CWinApp.h"
#include "classlib/win/CWndCreateHook.h"

#include <algorithm>
#include <cstdio>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The library's window procedure sees every message first; what reaches the
    // system's dialog procedure gets its default handling.
    return FALSE;
}

BOOL CDialog::CreateFromTemplate(HWND parent) {
    CWndCreateHook hook(this);
    if (!hook.IsInstalled()) {
        std::fprintf(stderr, "SetWindowsHookEx(WH_CBT): %lu\n", GetLastError());
        return FALSE;
    }
    const HWND hwnd = CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), parent,
                                         &CDialog::DialogProc, 0);
    if (hwnd == nullptr) {
        std::fprintf(stderr, "CreateDialogParam(%u): %lu\n", m_templateId, GetLastError());
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    m_templateId = templateId;
    m_pParentWnd = parent;
    return CreateFromTemplate(parent != nullptr ? parent->m_hWnd : nullptr);
}

HWND CDialog::ModalOwner() const {
    CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    if (owner == nullptr || owner == this || owner->m_hWnd == nullptr) {
        return nullptr;
    }
    // A window of another thread cannot own this thread's modal run.
    if (GetWindowThreadProcessId(owner->m_hWnd, nullptr) != GetCurrentThreadId()) {
        return nullptr;
    }
    return GetAncestor(owner->m_hWnd, GA_ROOT);
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr) {
        return -1;
    }
    const HWND owner = ModalOwner();
    const bool disabledOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disabledOwner) {
        ::EnableWindow(owner, FALSE);
    }
    m_modalResult = -1;
    m_inModalLoop = true;
    if (CreateFromTemplate(owner)) {
        // OnInitDialog may have ended the run already.
        if (m_inModalLoop && (GetStyle() & WS_VISIBLE) == 0) {
            ShowWindow(SW_SHOWNORMAL);
        }
        RunModalLoop();
    }
    m_inModalLoop = false;
    // The owner is enabled before the dialog goes, so that it becomes active again.
    if (disabledOwner) {
        ::EnableWindow(owner, TRUE);
    }
    if (m_hWnd != nullptr) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow();
    }
    return m_modalResult;
}

void CDialog::RunModalLoop() {
    while (m_inModalLoop && m_hWnd != nullptr) {
        if (!AfxPumpMessage()) {
            // The program is ending: the outer loops must see WM_QUIT too.
            PostQuitMessage(AfxGetQuitCode());
            return;
        }
    }
}

void CDialog::EndDialog(int result) {
    if (m_inModalLoop) {
        m_modalResult = result;
        m_inModalLoop = false;
        // Wakes the loop when the call came from outside a message of this thread.
        PostMessage(WM_NULL);
        return;
    }
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        if (m_inModalLoop) {
            CentreOverOwner();
        }
        *result = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

void CDialog::CentreOverOwner() {
    // A child stays in its parent; a DS_CENTER template was centred on the screen already.
    if ((GetStyle() & (WS_CHILD | DS_CENTER)) != 0) {
        return;
    }
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT area = work;
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    }
    RECT own = {};
    ::GetWindowRect(m_hWnd, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG left = (area.left + area.right) / 2 - width / 2;
    LONG top = (area.top + area.bottom) / 2 - height / 2;
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange* exchange) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return exchange.HasFailed() ? FALSE : TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // Keys get the dialog manager's handling: Tab, arrows, Enter, Escape, mnemonics.
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) {
        return FALSE;
    }
    return ::IsDialogMessageA(m_hWnd, msg);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control != nullptr) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
    }
}

void CDialog::NextDlgCtrl() const {
    ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const {
    ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::SetDefID(UINT id) {
    SendMessage(DM_SETDEFID, id, 0);
}

DWORD CDialog::GetDefID() const {
    return static_cast<DWORD>(::SendMessage(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::MapDialogRect(LPRECT rect) const {
    ::MapDialogRect(m_hWnd, rect);
}
