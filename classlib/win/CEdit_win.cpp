// Edit boxes: thin wrappers of the EM_* messages.
#include "classlib/win/CEdit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("EDIT", "", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    if (!noScroll) {
        ::SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
    }
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD first = 0;
    DWORD last = 0;
    ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void CEdit::ReplaceSel(LPCSTR text, BOOL canUndo) {
    ::SendMessageA(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
}

BOOL CEdit::Undo() {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_UNDO, 0, 0));
}

BOOL CEdit::CanUndo() const {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_CANUNDO, 0, 0));
}

void CEdit::EmptyUndoBuffer() {
    ::SendMessageA(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0);
}

void CEdit::LimitText(int maxChars) {
    ::SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

UINT CEdit::GetLimitText() const {
    return static_cast<UINT>(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0));
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETREADONLY, static_cast<WPARAM>(readOnly), 0));
}

void CEdit::Clear() {
    ::SendMessageA(m_hWnd, WM_CLEAR, 0, 0);
}

void CEdit::Copy() {
    ::SendMessageA(m_hWnd, WM_COPY, 0, 0);
}

void CEdit::Cut() {
    ::SendMessageA(m_hWnd, WM_CUT, 0, 0);
}

void CEdit::Paste() {
    ::SendMessageA(m_hWnd, WM_PASTE, 0, 0);
}

int CEdit::GetLineCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, EM_GETLINECOUNT, 0, 0));
}
