// A tooltip that shows a small table instead of a line of text: rows at "\n", cells at
// "\t", columns as wide as their widest cell (or a template text), each cell aligned by an
// optional code. The control's own text is hidden and the table drawn after it.
#pragma once

#include "classlib/win/CToolTipCtrl.h"
#include "forms/TableTipCells.h"

#include <windows.h>

#include <string>
#include <vector>

class CTableToolTipCtrl : public CToolTipCtrl {
public:
    CTableToolTipCtrl() = default;

    void SetTableText(LPCSTR text);
    // Cell margins in pixels; a negative value leaves that margin as it is.
    void SetMargins(int left, int top, int right, int bottom);
    // Tab-separated template texts give the column widths; an empty text lets the cells do.
    void SetColumnTemplates(LPCSTR text);

    // 0 at the cursor, 1 above left, 2 above right, 3 below left, 4 below right of the
    // window under the cursor.
    void SetPlacement(int mode) { m_placement = mode; }

    // The tip's size after the last layout.
    int GetTipWidth() const { return m_table.TipWidth(); }

    int GetTipHeight() const { return m_table.TipHeight(); }

protected:
    void OnShow(NMHDR* header, LRESULT* result);
    void OnCustomDraw(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    TableTipMargins ControlMargins() const;
    void LayOut(HDC dc);
    void LayOutIfDirty();
    void DrawTable(HDC dc);

    TableTipCells m_table;
    TableTipMargins m_cellMargins;
    std::vector<std::string> m_templates;  // empty: widths from the cells
    BOOL m_layoutDirty = TRUE;
    int m_placement = 0;
};
