#include "grid/CGridCellDateTime.h"

#include "classlib/core/CTime.h"
#include "grid/CGridCtrl.h"
#include "grid/CGridInPlaceDatePicker.h"

#include <windows.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CGridCellDateTime, CGridCell)

CGridCellDateTime::CGridCellDateTime()
    : m_time(static_cast<std::int32_t>(CTime::GetCurrentTime().GetTime())) {}

CGridCellDateTime::CGridCellDateTime(DWORD style) {
    Init(style);
}

void CGridCellDateTime::Init(DWORD style) {
    m_style = style;
    SetTime(static_cast<std::int32_t>(CTime::GetCurrentTime().GetTime()));
    SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool CGridCellDateTime::FormatTime(std::int32_t time, DWORD style, CString& text) {
    if (style != kTimeStyle && style != kShortDateStyle) {
        return false;
    }
    text = CTime(static_cast<std::time_t>(time)).Format(style == kTimeStyle ? "%X" : "%x");
    return true;
}

void CGridCellDateTime::SetTime(std::int32_t time) {
    m_time = time;
    CString text;
    if (FormatTime(time, m_style, text)) {
        SetText(text);
    }
}

CSize CGridCellDateTime::GetCellExtent(CDC* dc) {
    CSize size = CGridCell::GetCellExtent(dc);
    size.cx += GetSystemMetrics(SM_CXVSCROLL);
    size.cy = std::max(static_cast<int>(size.cy), GetSystemMetrics(SM_CYHSCROLL));
    return size;
}

CGridInPlaceDatePicker* CGridCellDateTime::GetPicker() const {
    return dynamic_cast<CGridInPlaceDatePicker*>(GetEditWindow());
}

BOOL CGridCellDateTime::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) {
    if (IsEditing() && GetEditWindow() != nullptr) {
        return TRUE;
    }
    CGridInPlaceDatePicker* picker = CGridInPlaceDatePicker::Open(
        GetGrid(), rect, m_style, id, row, col, GetTextColour(), GetBackColour(), &m_time, character);
    SetEditor(picker);
    return picker != nullptr ? TRUE : FALSE;
}

void CGridCellDateTime::EndEdit() {
    CGridInPlaceDatePicker* picker = GetPicker();
    if (picker != nullptr) {
        picker->EndEdit();
    }
}
