// The ordinary text cell and the base of the other cell classes: it stores the
// attributes, lets each fall back to its default cell, and opens the in-place editor.
#pragma once

#include "grid/CGridCellBase.h"

#include <memory>

class CInPlaceEdit;

class CGridCell : public CGridCellBase {
    DECLARE_DYNCREATE(CGridCell)

public:
    CGridCell();
    ~CGridCell() override;

    void SetText(LPCSTR text) override { m_text = text == nullptr ? "" : text; }

    void SetImage(int image) override { m_image = image; }

    void SetData(LPARAM data) override { m_data = data; }

    void SetFormat(DWORD format) override { m_format = format; }

    void SetTextColour(COLORREF colour) override { m_textColour = colour; }

    void SetBackColour(COLORREF colour) override { m_backColour = colour; }

    void SetFont(const LOGFONTA* logFont) override;

    void SetMargin(UINT margin) override { m_margin = margin; }

    void SetGrid(CGridCtrl* grid) override { m_grid = grid; }

    void SetCoords(int row, int col) override {}

    LPCSTR GetText() const override { return m_text; }

    int GetImage() const override { return m_image; }

    LPARAM GetData() const override { return m_data; }

    DWORD GetFormat() const override;

    COLORREF GetTextColour() const override { return m_textColour; }

    COLORREF GetBackColour() const override { return m_backColour; }

    const LOGFONTA* GetFont() const override;
    CFont* GetFontObject() const override;

    CGridCtrl* GetGrid() const override { return m_grid; }

    CWnd* GetEditWindow() const override;
    UINT GetMargin() const override;

    BOOL IsDefaultFont() const override { return m_font == nullptr ? TRUE : FALSE; }

    BOOL IsEditing() const override { return m_editing ? TRUE : FALSE; }

    void Reset() override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) override;
    void EndEdit() override;
    void OnEndEdit() override;

protected:
    // Marks an editor opened by a derived cell class; the editor deletes itself.
    void SetEditor(CWnd* editor) {
        m_editWnd = editor;
        m_editing = editor != nullptr;
    }

private:
    CString m_text;
    LPARAM m_data = 0;
    int m_image = -1;
    DWORD m_format = GRID_FORMAT_DEFAULT;
    COLORREF m_textColour = GRID_COLOUR_DEFAULT;
    COLORREF m_backColour = GRID_COLOUR_DEFAULT;
    std::unique_ptr<LOGFONTA> m_font;  // own font, null = the default cell's
    UINT m_margin = GRID_MARGIN_DEFAULT;
    bool m_editing = false;
    CGridCtrl* m_grid = nullptr;  // not owned
    CWnd* m_editWnd = nullptr;    // not owned; deletes itself when its window goes
};
