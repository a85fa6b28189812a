// A single- or multi-line edit box.
#pragma once

#include "classlib/win/CWnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)

public:
    using CWnd::Create;
    // style: WS_* and ES_* flags (WS_CHILD is added).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // end -1 selects to the end; start -1 removes the selection.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
    BOOL Undo();
    BOOL CanUndo() const;
    void EmptyUndoBuffer();
    // At most maxChars characters may be typed; 0 restores the system's limit.
    void LimitText(int maxChars = 0);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    int GetLineCount() const;
};
