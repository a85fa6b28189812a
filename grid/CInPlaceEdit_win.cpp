#include "grid/CInPlaceEdit.h"

#include "classlib/win/CClientDC.h"
#include "classlib/win/CScopedSelect.h"
#include "grid/GridDefs.h"

#include <windows.h>

IMPLEMENT_DYNAMIC(CInPlaceEdit, CEdit)

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceEdit::CInPlaceEdit(int row, int col, LPCSTR initialText, UINT firstCharacter)
    : CGridInPlaceEditor(row, col, firstCharacter != VK_LBUTTON, Closing::AtOnce),
      m_initialText(initialText),
      m_firstCharacter(firstCharacter) {}

CInPlaceEdit* CInPlaceEdit::Open(CWnd* parent,
                                 CRect rect,
                                 DWORD style,
                                 UINT id,
                                 int row,
                                 int col,
                                 LPCSTR initialText,
                                 UINT firstCharacter) {
    CInPlaceEdit* editor = new CInPlaceEdit(row, col, initialText, firstCharacter);
    if (parent == nullptr || !editor->CreateEditor(parent, rect, style, id)) {
        delete editor;
        return nullptr;
    }
    editor->ApplyFirstCharacter();
    return editor;
}

BOOL CInPlaceEdit::CreateEditor(CWnd* parent, CRect rect, DWORD style, UINT id) {
    m_rect = CRect(rect.left - 1, rect.top - 1, rect.right + 1, rect.bottom + 1);
    if (!Create(style | WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, m_rect, parent, id)) {
        return FALSE;
    }
    OwnItself();
    SetFont(parent->GetFont(), FALSE);
    SetWindowText(m_initialText);
    SetFocus();
    return TRUE;
}

void CInPlaceEdit::ApplyFirstCharacter() {
    const UINT c = m_firstCharacter;
    const int length = GetWindowTextLength();
    if (c == VK_LBUTTON || c == VK_TAB || (c >= VK_SPACE && c <= VK_DOWN)) {
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
        return;
    }
    if (c == VK_RETURN) {
        SetSel(length, -1);
        SendMessage(EM_SCROLLCARET);
        return;
    }
    if (c == VK_BACK) {
        SetSel(length, -1);
        SendMessage(EM_SCROLLCARET);
        PostMessage(WM_CHAR, c);
        return;
    }
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
    PostMessage(c <= 127 ? WM_CHAR : WM_IME_CHAR, c);
}

void CInPlaceEdit::OnChar(UINT key, UINT repeat, UINT flags) {
    if (key == VK_TAB || key == VK_RETURN) {
        LeaveWithKey(key);
        return;
    }
    if (key == VK_ESCAPE) {
        SetWindowText(m_initialText);
        LeaveWithKey(key);
        return;
    }
    CEdit::OnChar(key, repeat, flags);
    WidenToText();
}

// Widens the editor while the text outgrows it, but never past the grid's client edge.
void CInPlaceEdit::WidenToText() {
    CString text;
    GetWindowText(text);
    text += "  ";
    int width = 0;
    {
        CClientDC dc(this);
        CScopedSelect select(dc, GetFont());
        width = dc.GetTextExtent(text).cx;
    }
    if (width <= m_rect.Width()) {
        return;
    }
    CRect parentClient;
    GetParent()->GetClientRect(parentClient);
    m_rect.right = std::min(static_cast<LONG>(m_rect.left + width), parentClient.right);
    MoveWindow(m_rect);
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_SYSCHAR) {
        return TRUE;
    }
    return CEdit::PreTranslateMessage(msg);
}

CString CInPlaceEdit::TakeResult() {
    CString text;
    GetWindowText(text);
    return text;
}

void CInPlaceEdit::CancelEdit() {
    SetWindowText(m_initialText);
    LeaveWithKey(VK_ESCAPE);
}
