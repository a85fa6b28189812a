// The in-place text editor of a grid cell: an edit control over the cell that reports
// its text to the grid (WM_NOTIFY -106 with a GridCellInfoRecord, control id 8) when it
// loses the focus, then closes. It deletes itself when its window is destroyed.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CEdit.h"
#include "grid/CGridInPlaceEditor.h"

#include <windows.h>

class CInPlaceEdit : public CGridInPlaceEditor<CEdit> {
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

    // Puts the initial text back and ends the edit as Escape does.
    void CancelEdit();

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // The window's text.
    CString TakeResult() override;

    void OnChar(UINT key, UINT repeat, UINT flags);

    DECLARE_MESSAGE_MAP()

private:
    CInPlaceEdit(int row, int col, LPCSTR initialText, UINT firstCharacter);
    BOOL CreateEditor(CWnd* parent, CRect rect, DWORD style, UINT id);
    void ApplyFirstCharacter();
    void WidenToText();

    CString m_initialText;
    UINT m_firstCharacter;
    CRect m_rect;
};
