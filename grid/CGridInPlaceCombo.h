// The combo box a combo cell opens over itself, its list dropped down. It reports the chosen
// text to the grid like the in-place edit control (WM_NOTIFY -106, GridCellInfoRecord) and
// then closes; it deletes itself when its window is destroyed.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CComboBox.h"
#include "grid/CGridComboEditBox.h"
#include "grid/CGridInPlaceEditor.h"

#include <windows.h>

#include <vector>

class CGridInPlaceCombo : public CGridInPlaceEditor<CComboBox> {
    DECLARE_DYNAMIC(CGridInPlaceCombo)

public:
    // Opens the combo over rect (the cell) with the focus; null when no window could be made.
    static CGridInPlaceCombo* Open(CWnd* grid,
                                   CRect rect,
                                   DWORD comboStyle,
                                   UINT id,
                                   int row,
                                   int col,
                                   COLORREF textColour,
                                   COLORREF backColour,
                                   const std::vector<CString>& choices,
                                   LPCSTR initialText,
                                   UINT firstCharacter);

    // The subclassed edit field, null for a drop-down list.
    CGridComboEditBox* GetEditBox() { return m_editBox.GetSafeHwnd() != nullptr ? &m_editBox : nullptr; }

protected:
    // The field's text, or the initial text when a list has no choice.
    CString TakeResult() override;

    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* newWnd);
    void OnDropDown();

    DECLARE_MESSAGE_MAP()

private:
    CGridInPlaceCombo(int row, int col, DWORD comboStyle, LPCSTR initialText);
    BOOL CreateCombo(CWnd* grid, CRect rect, UINT id, const std::vector<CString>& choices);
    void SelectInitialText();
    void ApplyFirstCharacter(UINT character);
    void UpdateDroppedWidth();

    bool IsDropList() const { return (m_comboStyle & 0x3) == CBS_DROPDOWNLIST; }

    CGridComboEditBox m_editBox;
    int m_listLines = 4;
    CString m_initialText;
    COLORREF m_textColour = 0;
    COLORREF m_backColour = 0;
    DWORD m_comboStyle;
};
