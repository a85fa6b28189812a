// A cell holding a point in time, shown as the locale's time ("%X") or short date ("%x");
// editing opens a date-time picker over the cell.
#pragma once

#include "grid/CGridCell.h"

#include <cstdint>

class CGridInPlaceDatePicker;

class CGridCellDateTime : public CGridCell {
    DECLARE_DYNCREATE(CGridCellDateTime)

public:
    // DTS_SHORTDATEFORMAT (0) and DTS_TIMEFORMAT (9) are the styles with a text of their own.
    static constexpr DWORD kShortDateStyle = 0x0000;
    static constexpr DWORD kTimeStyle = 0x0009;

    CGridCellDateTime();
    explicit CGridCellDateTime(DWORD style);

    // Stores the style, takes the current time and centres the text.
    void Init(DWORD style);
    // Stores the time; the time and short-date styles also make it the cell's text.
    void SetTime(std::int32_t time);

    std::int32_t GetTime() const { return m_time; }

    DWORD GetStyle() const { return m_style; }

    // The text the style gives a time; false for a style without one.
    static bool FormatTime(std::int32_t time, DWORD style, CString& text);

    CSize GetCellExtent(CDC* dc) override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) override;
    void EndEdit() override;

    CGridInPlaceDatePicker* GetPicker() const;

private:
    std::int32_t m_time = 0;
    DWORD m_style = kShortDateStyle;
};
