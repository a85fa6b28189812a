// The cell class of the grid's four default cells (normal, fixed column, fixed row,
// corner): the default format, colours, font and margin, and the default row height and
// column width that follow from the font.
#pragma once

#include "classlib/win/CFont.h"
#include "grid/CGridCell.h"

class CGridDefaultCell : public CGridCell {
    DECLARE_DYNCREATE(CGridDefaultCell)

public:
    static constexpr DWORD kDefaultFormat =
        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;

    CGridDefaultCell();

    void SetData(LPARAM data) override {}

    void SetState(DWORD state) override {}

    void SetCoords(int row, int col) override {}

    DWORD GetState() const override { return CGridCell::GetState() | GRID_STATE_READONLY; }

    void SetFont(const LOGFONTA* logFont) override;
    const LOGFONTA* GetFont() const override;
    CFont* GetFontObject() const override;

    virtual DWORD GetStyle() const { return m_style; }

    virtual void SetStyle(DWORD style) { m_style = style; }

    virtual int GetWidth() const { return m_width; }

    virtual int GetHeight() const { return m_height; }

    virtual void SetWidth(int width) { m_width = width; }

    virtual void SetHeight(int height) { m_height = height; }

private:
    void MeasureFont();

    int m_width = 30;
    int m_height = 10;
    LOGFONTA m_logFont = {};
    bool m_hasFont = false;
    mutable CFont m_fontObject;
    DWORD m_style = 0;
};
