// The date-time picker a date-time cell opens over itself. It reports its text to the grid
// like the in-place edit control (WM_NOTIFY -106) and closes; it deletes itself when its
// window is destroyed.
#pragma once

#include "classlib/win/CDateTimeCtrl.h"
#include "grid/CGridInPlaceEditor.h"

#include <windows.h>

#include <cstdint>

class CGridInPlaceDatePicker : public CGridInPlaceEditor<CDateTimeCtrl> {
    DECLARE_DYNAMIC(CGridInPlaceDatePicker)

public:
    // cellStyle: the cell's picker style (the up-down arrows are added). time is the cell's
    // and outlives the picker. Null when no window could be made.
    static CGridInPlaceDatePicker* Open(CWnd* grid,
                                        CRect rect,
                                        DWORD cellStyle,
                                        UINT id,
                                        int row,
                                        int col,
                                        COLORREF textColour,
                                        COLORREF backColour,
                                        std::int32_t* time,
                                        UINT firstCharacter);

protected:
    CString TakeResult() override;

    DECLARE_MESSAGE_MAP()

private:
    CGridInPlaceDatePicker(int row, int col, DWORD cellStyle, std::int32_t* time);
    BOOL CreatePicker(CWnd* grid, CRect rect, UINT id);

    std::int32_t* m_time;  // the cell's, not owned
    COLORREF m_textColour = 0;
    COLORREF m_backColour = 0;
    DWORD m_cellStyle;
};
