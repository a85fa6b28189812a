#include "grid/CGridInPlaceCombo.h"

#include "classlib/win/CClientDC.h"
#include "classlib/win/CScopedSelect.h"
#include "grid/GridCellShapes.h"
#include "grid/GridDefs.h"

#include <windows.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CGridInPlaceCombo, CComboBox)

BEGIN_MESSAGE_MAP(CGridInPlaceCombo, CComboBox)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
    ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropDown)
END_MESSAGE_MAP()

namespace {

constexpr DWORD kComboWindowStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | CBS_AUTOHSCROLL;

}  // namespace

CGridInPlaceCombo::CGridInPlaceCombo(int row, int col, DWORD comboStyle, LPCSTR initialText)
    : CGridInPlaceEditor(row, col, false, Closing::Queued),
      m_initialText(initialText),
      m_comboStyle(comboStyle) {}

CGridInPlaceCombo* CGridInPlaceCombo::Open(CWnd* grid,
                                           CRect rect,
                                           DWORD comboStyle,
                                           UINT id,
                                           int row,
                                           int col,
                                           COLORREF textColour,
                                           COLORREF backColour,
                                           const std::vector<CString>& choices,
                                           LPCSTR initialText,
                                           UINT firstCharacter) {
    CGridInPlaceCombo* combo = new CGridInPlaceCombo(row, col, comboStyle, initialText);
    combo->m_textColour = textColour;
    combo->m_backColour = backColour;
    if (grid == nullptr || !combo->CreateCombo(grid, rect, id, choices)) {
        delete combo;
        return nullptr;
    }
    combo->ApplyFirstCharacter(firstCharacter);
    return combo;
}

BOOL CGridInPlaceCombo::CreateCombo(CWnd* grid, CRect rect, UINT id, const std::vector<CString>& choices) {
    const int cellHeight = rect.Height();
    CRect dropped(rect.left, rect.top, rect.right,
                  rect.bottom + m_listLines * cellHeight + GetSystemMetrics(SM_CYHSCROLL));
    if (!Create(m_comboStyle | kComboWindowStyle, dropped, grid, id)) {
        return FALSE;
    }
    OwnItself();
    for (const CString& choice : choices) {
        AddString(choice);
    }
    SetFont(grid->GetFont(), FALSE);
    SetItemHeight(-1, static_cast<UINT>(std::max(cellHeight, 1)));
    UpdateDroppedWidth();
    SetHorizontalExtent(0);
    // Dropping the list selects the first choice that merely starts with the field's text,
    // and closing it would write that choice back; so the initial text is settled after.
    ShowDropDown(TRUE);
    SelectInitialText();
    return TRUE;
}

// An exact choice is selected; a mere prefix match would replace the text on closing
// ("1" among "10" and "1" must stay "1"), so a field keeps a text that is no choice.
void CGridInPlaceCombo::SelectInitialText() {
    const int exact = FindStringExact(-1, m_initialText);
    SetCurSel(exact);
    if (exact == CB_ERR && !IsDropList()) {
        SetWindowText(m_initialText);
    }
}

void CGridInPlaceCombo::ApplyFirstCharacter(UINT character) {
    if (IsDropList()) {
        SetFocus();
        return;
    }
    HWND edit = ::GetDlgItem(m_hWnd, CGridComboEditBox::kEditId);
    if (edit != nullptr) {
        m_editBox.SubclassWindow(edit);
    }
    SetFocus();
    if (m_editBox.GetSafeHwnd() == nullptr) {
        return;
    }
    const int length = m_editBox.GetWindowTextLength();
    if (character == VK_LBUTTON || character == VK_RETURN || character == VK_BACK) {
        m_editBox.SetSel(length, length);
        if (character == VK_BACK) {
            SendMessage(WM_CHAR, character);
        }
        return;
    }
    m_editBox.SetSel(0, -1);
    const bool movementKey = character == VK_PRIOR || character == VK_NEXT || character == VK_END ||
                             character == VK_HOME || (character >= VK_LEFT && character <= VK_DOWN);
    if (!movementKey) {
        SendMessage(WM_CHAR, character);
    }
}

void CGridInPlaceCombo::UpdateDroppedWidth() {
    int widest = 0;
    {
        CClientDC dc(this);
        CScopedSelect select(dc, GetFont());
        for (int i = 0; i < GetCount(); ++i) {
            CString text;
            GetLBText(i, text);
            widest = std::max(widest, static_cast<int>(dc.GetTextExtent(text).cx));
        }
        const int zero = dc.GetTextExtent(CString("0")).cx;
        SetDroppedWidth(static_cast<UINT>(ComboDroppedWidth(widest, GetSystemMetrics(SM_CXVSCROLL), zero)));
    }
}

void CGridInPlaceCombo::OnDropDown() {
    UpdateDroppedWidth();
}

CString CGridInPlaceCombo::TakeResult() {
    if (IsDropList() && GetCurSel() == CB_ERR) {
        return m_initialText;
    }
    CString text;
    GetWindowText(text);
    return text;
}

// Escape brings the initial text back before the edit ends with it.
void CGridInPlaceCombo::OnKeyUp(UINT key, UINT repeat, UINT flags) {
    if (key == VK_ESCAPE) {
        const int exact = FindStringExact(-1, m_initialText);
        SetCurSel(exact);
        if (!IsDropList()) {
            SetWindowText(m_initialText);
        }
    }
    CGridInPlaceEditor::OnKeyUp(key, repeat, flags);
}

// A combo with a field hands the focus to the field, whose own loss of focus ends the edit.
void CGridInPlaceCombo::OnKillFocus(CWnd* newWnd) {
    CComboBox::OnKillFocus(newWnd);
    if (IsDropList()) {
        EndEdit();
    }
}
