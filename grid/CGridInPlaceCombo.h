// The combo box a combo cell opens over itself, its list dropped down. It reports the chosen
// text to the grid like the in-place edit control (WM_NOTIFY -106, GridCellInfoRecord) and
// then closes; it deletes itself when its window is destroyed.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CComboBox.h"
#include "grid/CGridComboEditBox.h"

#include <windows.h>

#include <vector>

class CGridInPlaceCombo : public CComboBox {
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

    // Reports the text once and closes the combo.
    void EndEdit();

    // The subclassed edit field, null for a drop-down list.
    CGridComboEditBox* GetEditBox() { return m_editBox.GetSafeHwnd() != nullptr ? &m_editBox : nullptr; }

    // The text the edit ends with: the field's, or the initial text when a list has no choice.
    CString GetResultText() const;

protected:
    void PostNcDestroy() override;

    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* newWnd);
    UINT OnGetDlgCode();
    void OnDropDown();

    DECLARE_MESSAGE_MAP()

private:
    CGridInPlaceCombo(int row, int col, DWORD comboStyle, LPCSTR initialText);
    BOOL CreateCombo(CWnd* grid, CRect rect, UINT id, const std::vector<CString>& choices);
    void SelectInitialText();
    void ApplyFirstCharacter(UINT character);
    void UpdateDroppedWidth();
    void LeaveWithKey(UINT key);

    bool IsDropList() const { return (m_comboStyle & 0x3) == CBS_DROPDOWNLIST; }

    CGridComboEditBox m_editBox;
    int m_listLines = 4;
    CString m_initialText;
    int m_row;
    int m_col;
    UINT m_lastKey = 0;
    bool m_exitOnArrows = false;
    COLORREF m_textColour = 0;
    COLORREF m_backColour = 0;
    DWORD m_comboStyle;
    bool m_ended = false;       // the text goes to the grid once, whatever ends the edit
    bool m_ownsItself = false;  // set once the window exists
};
