// The in-place text editor of a grid cell: an edit control over the cell that reports
// its text to the grid (WM_NOTIFY -106 with a GridCellInfoRecord, control id 8) when it
// loses the focus, then closes. It deletes itself when its window is destroyed.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CEdit.h"

#include <windows.h>

class CInPlaceEdit : public CEdit {
    DECLARE_DYNAMIC(CInPlaceEdit)

public:
    // Opens an editor over rect (cell rectangle, inclusive edges) and gives it the focus.
    // The editor owns itself; null when its window could not be made.
    static CInPlaceEdit* Open(CWnd* parent,
                              CRect rect,
                              DWORD style,
                              UINT id,
                              int row,
                              int col,
                              LPCSTR initialText,
                              UINT firstCharacter);

    // Reports the text and closes the editor; the object is gone afterwards.
    void EndEdit();
    // Puts the initial text back and ends the edit as Escape does.
    void CancelEdit();

    BOOL PreTranslateMessage(MSG* msg) override;

    int GetRow() const { return m_row; }

    int GetColumn() const { return m_col; }

protected:
    void PostNcDestroy() override;

    void OnKillFocus(CWnd* newWnd);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
    UINT OnGetDlgCode();

    DECLARE_MESSAGE_MAP()

private:
    CInPlaceEdit(int row, int col, LPCSTR initialText, UINT firstCharacter);
    BOOL CreateEditor(CWnd* parent, CRect rect, DWORD style, UINT id);
    void ApplyFirstCharacter();
    void LeaveWithKey(UINT key);
    void WidenToText();

    int m_row;
    int m_col;
    CString m_initialText;
    UINT m_lastKey = 0;
    UINT m_firstCharacter;
    bool m_exitOnArrows;
    CRect m_rect;
    bool m_ownsItself = false;  // set once the window exists; before that the opener deletes
};
