#include "shell/CFileDialogPreview.h"

#include "link/CDataHandler.h"
#include "shell/CResourceManager.h"

#include <cstring>

namespace {

constexpr int kPathChars = 260;

}  // namespace

CFileDialogPreview::CFileDialogPreview(BOOL openFileDialog,
                                       LPCSTR defaultExtension,
                                       LPCSTR fileName,
                                       DWORD flags,
                                       LPCSTR filter,
                                       CWnd* parent)
    : CFileDialogExt2(openFileDialog, defaultExtension, fileName, flags, filter, parent) {
    EnableHook(MAKEINTRESOURCEA(kTemplateId));
}

BOOL CFileDialogPreview::OnInitDialog() {
    const BOOL result = CFileDialogExt2::OnInitDialog();
    CWnd& hook = GetHookWnd();
    m_label.Attach(::GetDlgItem(hook, kLabelId));
    m_description.Attach(::GetDlgItem(hook, kDescriptionId));
    SetUpLabel();
    return result;
}

void CFileDialogPreview::SetUpLabel() {
    if (m_label.GetSafeHwnd() == nullptr) {
        return;
    }
    LOGFONTA font = {};
    const HFONT current = m_label.GetFont();
    GetObjectA(current != nullptr ? static_cast<HGDIOBJ>(current) : GetStockObject(DEFAULT_GUI_FONT),
               sizeof(font), &font);
    std::strncpy(font.lfFaceName, "MS Shell Dlg", LF_FACESIZE - 1);
    if (m_labelFont.CreateFontIndirect(&font)) {
        m_label.SetFont(m_labelFont);
    }
    if (m_resources != nullptr) {
        m_label.SetWindowText(m_resources->GetString(kIdsDescription));
    }
}

void CFileDialogPreview::OnFileNameChange() {
    if (m_description.GetSafeHwnd() != nullptr) {
        m_description.SetWindowText(DescribeSelection());
    }
    CFileDialogExt2::OnFileNameChange();
}

// Folders and files that are not readable update files have no description.
CString CFileDialogPreview::DescribeSelection() {
    char path[kPathChars] = {};
    const LRESULT length =
        ::SendMessageA(GetCommonDialog(), CDM_GETFILEPATH, kPathChars, reinterpret_cast<LPARAM>(path));
    if (length <= 0 || length > kPathChars || m_dataHandler == nullptr || m_resources == nullptr) {
        return CString();
    }
    CString version;
    CString build;
    CString branch;
    if (!m_dataHandler->ReadUpdateFileInfo(path, version, build, branch)) {
        return CString();
    }
    CString text;
    m_resources->GetVersionHistory(version, build, branch, text);
    return text;
}

BOOL CFileDialogPreview::OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_SIZE) {
        StretchPane();
    } else if (message == WM_DESTROY) {
        // The controls go with the dialog; the objects must not outlive their windows.
        m_label.Detach();
        m_description.Detach();
        m_labelFont.DeleteObject();
    }
    return CFileDialogExt2::OnHookMessage(message, wParam, lParam, result);
}

void CFileDialogPreview::StretchPane() {
    RECT client = {};
    GetHookWnd().GetClientRect(&client);
    StretchToRight(m_label, client.right);
    StretchToRight(m_description, client.right);
}

// The right margin mirrors the left one, with room for the list's scroll bar.
void CFileDialogPreview::StretchToRight(CWnd& control, int clientWidth) {
    if (control.GetSafeHwnd() == nullptr) {
        return;
    }
    CRect rect;
    control.GetWindowRect(&rect);
    GetHookWnd().ScreenToClient(&rect);
    const int right = clientWidth - rect.left - GetSystemMetrics(SM_CXVSCROLL);
    control.SetWindowPos(nullptr, rect.left, rect.top, right - rect.left, rect.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
}
