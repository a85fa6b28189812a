// The interface of one cell of the grid window. The grid never draws, measures or edits
// a cell itself but calls these operations; the base carries the state bits and the
// drawing, printing and measuring of a text cell with an optional image, and leaves the
// storage of the attributes to the derived classes.
#pragma once

#include "classlib/core/CObject.h"
#include "classlib/core/CString.h"
#include "classlib/win/CPoint.h"
#include "classlib/win/CRect.h"
#include "classlib/win/CSize.h"
#include "grid/GridDefs.h"

#include <windows.h>

class CDC;
class CFont;
class CGridCtrl;
class CWnd;

class CGridCellBase : public CObject {
    DECLARE_DYNAMIC(CGridCellBase)

public:
    CGridCellBase() = default;
    ~CGridCellBase() override = default;

    virtual void SetText(LPCSTR text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetData(LPARAM data) = 0;

    virtual void SetState(DWORD state) { m_state = state; }

    virtual void SetFormat(DWORD format) = 0;
    virtual void SetTextColour(COLORREF colour) = 0;
    virtual void SetBackColour(COLORREF colour) = 0;
    // Null: use the default cell's font again.
    virtual void SetFont(const LOGFONTA* logFont) = 0;
    virtual void SetMargin(UINT margin) = 0;
    // grid is not owned.
    virtual void SetGrid(CGridCtrl* grid) = 0;
    virtual void SetCoords(int row, int col) = 0;

    // Never null.
    virtual LPCSTR GetText() const = 0;

    virtual LPCSTR GetTipText() const { return GetText(); }

    virtual int GetImage() const = 0;
    virtual LPARAM GetData() const = 0;

    virtual DWORD GetState() const { return m_state; }

    virtual DWORD GetFormat() const = 0;
    virtual COLORREF GetTextColour() const = 0;
    virtual COLORREF GetBackColour() const = 0;
    virtual const LOGFONTA* GetFont() const = 0;
    // Valid while the grid lives; null when there is no font to select.
    virtual CFont* GetFontObject() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual CWnd* GetEditWindow() const = 0;
    virtual UINT GetMargin() const = 0;
    virtual CGridCellBase* GetDefaultCell() const;
    virtual BOOL IsDefaultFont() const = 0;
    virtual BOOL IsEditing() const = 0;

    virtual BOOL IsFocused() const { return (GetState() & GRID_STATE_FOCUSED) != 0; }

    virtual BOOL IsFixed() const { return (GetState() & GRID_STATE_FIXED) != 0; }

    virtual BOOL IsFixedColumn() const { return (GetState() & GRID_STATE_FIXEDCOL) != 0; }

    virtual BOOL IsFixedRow() const { return (GetState() & GRID_STATE_FIXEDROW) != 0; }

    virtual BOOL IsSelected() const { return (GetState() & GRID_STATE_SELECTED) != 0; }

    virtual BOOL IsReadOnly() const { return (GetState() & GRID_STATE_READONLY) != 0; }

    virtual BOOL IsModified() const { return (GetState() & GRID_STATE_MODIFIED) != 0; }

    virtual BOOL IsDropHighlighted() const { return (GetState() & GRID_STATE_DROPHILITED) != 0; }

    virtual void CopyFrom(const CGridCellBase& source);

    virtual void Reset() { m_state = 0; }

    // rect holds inclusive right and bottom edges (the grid-line pixel).
    virtual BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBackground = TRUE);
    virtual BOOL GetTextRect(LPRECT rect);

    virtual BOOL GetTipTextRect(LPRECT rect) { return GetTextRect(rect); }

    // Without a DC the grid window's DC is borrowed.
    virtual CSize GetTextExtent(LPCSTR text, CDC* dc = nullptr);
    virtual CSize GetCellExtent(CDC* dc);

    virtual BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT character) { return FALSE; }

    virtual BOOL ValidateEdit(LPCSTR text) { return TRUE; }

    virtual void EndEdit() {}

    virtual BOOL PrintCell(CDC* dc, int row, int col, CRect rect);

    virtual void OnEndEdit() {}

    virtual void OnMouseEnter() {}

    virtual void OnMouseOver() {}

    virtual void OnMouseLeave() {}

    // Points are relative to the cell's top-left corner.
    virtual void OnClick(CPoint pointCellRelative) {}

    virtual void OnClickDown(CPoint pointCellRelative) {}

    virtual void OnRClick(CPoint pointCellRelative) {}

    virtual void OnDblClick(CPoint pointCellRelative) {}

    virtual BOOL OnSetCursor();

    // The grid's answer to a notification about this cell; 0 without a grid.
    LRESULT SendNotify(int row, int col, int code);

protected:
    // The image width when the grid's image list knows the cell's image, else -1.
    int GetKnownImageWidth(int* height = nullptr) const;
    void DrawSortArrow(CDC* dc, CRect& rect, BOOL vertical);
    void DrawFixedFrame(CDC* dc, int row, int col, CRect& rect);
    // The default cell when there is a grid, a DC and a rectangle to draw in; else null.
    CGridCellBase* GetDrawingDefaultCell(const CDC* dc, const CRect& rect) const;

    DWORD m_state = 0;
};
