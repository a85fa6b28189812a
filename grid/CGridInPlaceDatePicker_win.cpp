#include "grid/CGridInPlaceDatePicker.h"

#include "classlib/core/CTime.h"
#include "grid/CGridCellDateTime.h"
#include "grid/GridDefs.h"

#include <windows.h>

#include <commctrl.h>
#include <cstdint>
#include <limits>

IMPLEMENT_DYNAMIC(CGridInPlaceDatePicker, CDateTimeCtrl)

BEGIN_MESSAGE_MAP(CGridInPlaceDatePicker, CDateTimeCtrl)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

namespace {

constexpr DWORD kPickerWindowStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

SYSTEMTIME ToSystemTime(std::int32_t time) {
    const CTime local(static_cast<std::time_t>(time));
    SYSTEMTIME result = {};
    result.wYear = static_cast<WORD>(local.GetYear());
    result.wMonth = static_cast<WORD>(local.GetMonth());
    result.wDay = static_cast<WORD>(local.GetDay());
    result.wHour = static_cast<WORD>(local.GetHour());
    result.wMinute = static_cast<WORD>(local.GetMinute());
    result.wSecond = static_cast<WORD>(local.GetSecond());
    return result;
}

}  // namespace

CGridInPlaceDatePicker::CGridInPlaceDatePicker(int row, int col, DWORD cellStyle, std::int32_t* time)
    : CGridInPlaceEditor(row, col, false, Closing::Queued), m_time(time), m_cellStyle(cellStyle) {}

CGridInPlaceDatePicker* CGridInPlaceDatePicker::Open(CWnd* grid,
                                                     CRect rect,
                                                     DWORD cellStyle,
                                                     UINT id,
                                                     int row,
                                                     int col,
                                                     COLORREF textColour,
                                                     COLORREF backColour,
                                                     std::int32_t* time,
                                                     UINT firstCharacter) {
    CGridInPlaceDatePicker* picker = new CGridInPlaceDatePicker(row, col, cellStyle, time);
    picker->m_textColour = textColour;
    picker->m_backColour = backColour;
    if (grid == nullptr || time == nullptr || !picker->CreatePicker(grid, rect, id)) {
        delete picker;
        return nullptr;
    }
    const bool passOn = firstCharacter != VK_LBUTTON && firstCharacter != VK_RETURN &&
                        firstCharacter != VK_PRIOR && firstCharacter != VK_NEXT && firstCharacter != VK_END &&
                        firstCharacter != VK_HOME &&
                        !(firstCharacter >= VK_LEFT && firstCharacter <= VK_DOWN);
    if (passOn) {
        picker->SendMessage(WM_CHAR, firstCharacter);
    }
    return picker;
}

BOOL CGridInPlaceDatePicker::CreatePicker(CWnd* grid, CRect rect, UINT id) {
    if (!Create(m_cellStyle | DTS_UPDOWN | kPickerWindowStyle, rect, grid, id)) {
        return FALSE;
    }
    OwnItself();
    // The cell's time is a signed 32-bit count of seconds; the picker must not leave it.
    const SYSTEMTIME earliest = ToSystemTime(0);
    const SYSTEMTIME latest = ToSystemTime(std::numeric_limits<std::int32_t>::max());
    SetRange(&earliest, &latest);
    SetTime(ToSystemTime(*m_time));
    SetFont(grid->GetFont(), FALSE);
    SetFocus();
    return TRUE;
}

// An applied edit writes the picker's time to the cell and reports the text the cell's own
// style gives it; Escape leaves the time alone, as the grid keeps the old text then.
CString CGridInPlaceDatePicker::TakeResult() {
    CString text;
    GetWindowText(text);
    if (LastKey() == VK_ESCAPE) {
        return text;
    }
    SYSTEMTIME picked = {};
    if (GetTime(picked) != GDT_VALID) {
        return text;
    }
    const CTime local(picked.wYear, picked.wMonth, picked.wDay, picked.wHour, picked.wMinute, picked.wSecond);
    *m_time = static_cast<std::int32_t>(local.GetTime());
    CString formatted;
    return CGridCellDateTime::FormatTime(*m_time, m_cellStyle, formatted) ? formatted : text;
}
