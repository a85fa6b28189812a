// A cell edited by choosing from a list: it shows a drop-down button while it may be edited
// and opens a combo box over itself for editing.
#pragma once

#include "grid/CGridCell.h"

#include <vector>

class CGridInPlaceCombo;

class CGridCellCombo : public CGridCell {
    DECLARE_DYNCREATE(CGridCellCombo)

public:
    CGridCellCombo() = default;

    // Replaces the choices with a copy; the number of choices.
    int SetOptions(const std::vector<CString>& options);

    const std::vector<CString>& GetOptions() const { return m_options; }

    // CBS_DROPDOWN (the default) or CBS_DROPDOWNLIST.
    void SetStyle(DWORD style) { m_style = style; }

    DWORD GetStyle() const { return m_style; }

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE) override;
    CSize GetCellExtent(CDC* dc) override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) override;
    void EndEdit() override;
    // The combo's edit field when it has one and is open, else null.
    CWnd* GetEditWindow() const override;

    // The open combo, or null.
    CGridInPlaceCombo* GetCombo() const;

private:
    std::vector<CString> m_options;
    DWORD m_style = CBS_DROPDOWN;
};
