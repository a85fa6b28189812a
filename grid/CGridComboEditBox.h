// The edit field of a grid's in-place combo: hands the leaving keys to the combo and ends
// the edit when it loses the focus.
#pragma once

#include "classlib/win/CEdit.h"

class CGridComboEditBox : public CEdit {
    DECLARE_DYNAMIC(CGridComboEditBox)

public:
    static constexpr UINT kEditId = 1001;

    CGridComboEditBox() = default;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* newWnd);

    DECLARE_MESSAGE_MAP()
};
