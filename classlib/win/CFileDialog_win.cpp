#include "classlib/win/CFileDialog.h"

#include "classlib/win/AfxRegisterWndClass.h"

#include <cstring>

namespace {

constexpr size_t kPathChars = MAX_PATH * 4;

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog,
                         LPCSTR defaultExtension,
                         LPCSTR fileName,
                         DWORD flags,
                         LPCSTR filter,
                         CWnd* parent)
    : m_ofn(), m_open(openFileDialog), m_filter(ToSystemFilter(filter)), m_path(kPathChars, '\0') {
    if (fileName != nullptr) {
        std::strncpy(m_path.data(), fileName, kPathChars - 1);
    }
    if (defaultExtension != nullptr) {
        m_defaultExtension = defaultExtension;
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
}

std::vector<char> CFileDialog::ToSystemFilter(LPCSTR filter) {
    std::vector<char> result;
    if (filter != nullptr) {
        for (const char* c = filter; *c != '\0'; ++c) {
            result.push_back(*c == '|' ? '\0' : *c);
        }
    }
    // Two terminators end the list whatever the text ended with.
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.lpstrFilter = m_filter.size() > 2 ? m_filter.data() : nullptr;
    m_ofn.lpstrFile = m_path.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_path.size());
    m_ofn.lpstrDefExt = m_defaultExtension.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_defaultExtension);
    m_ofn.lpstrInitialDir = m_initialFolder.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_initialFolder);
    const BOOL chosen = m_open ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

void CFileDialog::EnableHook(LPCSTR templateName) {
    // Sizing lets the common dialog lay its controls out again when a derived class resizes it.
    m_ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLESIZING;
    m_ofn.lpfnHook = &CFileDialog::HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    if (templateName != nullptr) {
        m_ofn.Flags |= OFN_ENABLETEMPLATE;
        m_ofn.hInstance = AfxGetResourceHandle();
        m_ofn.lpTemplateName = templateName;
    }
}

HWND CFileDialog::GetCommonDialog() const {
    return m_hookWnd.GetSafeHwnd() != nullptr ? ::GetParent(m_hookWnd.GetSafeHwnd()) : nullptr;
}

BOOL CFileDialog::OnHookMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return FALSE;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    static constexpr char kProperty[] = "CFileDialog";
    if (message == WM_INITDIALOG) {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        SetPropA(hwnd, kProperty, reinterpret_cast<HANDLE>(ofn->lCustData));
    }
    auto* dialog = static_cast<CFileDialog*>(GetPropA(hwnd, kProperty));
    if (dialog == nullptr) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(hwnd, kProperty);
    }
    return dialog->HandleHookMessage(hwnd, message, wParam, lParam);
}

UINT_PTR CFileDialog::HandleHookMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        m_hookWnd.Attach(hwnd);
        return OnInitDialog();
    case WM_NOTIFY:
        HandleNotify(*reinterpret_cast<const OFNOTIFYA*>(lParam));
        return 0;
    case WM_NCDESTROY:
        m_hookWnd.Detach();
        return 0;
    default:
        break;
    }
    LRESULT result = 0;
    if (!OnHookMessage(message, wParam, lParam, result)) {
        return 0;
    }
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void CFileDialog::HandleNotify(const OFNOTIFYA& notify) {
    switch (notify.hdr.code) {
    case CDN_FOLDERCHANGE:
        OnFolderChange();
        break;
    case CDN_SELCHANGE:
        OnFileNameChange();
        break;
    default:
        break;
    }
}
