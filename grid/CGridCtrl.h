// The grid window: a rectangle of cells whose first rows and columns may be fixed
// headers. It draws, scrolls, selects and edits its cells in place; the cells draw and
// measure themselves. Notifications go to the owner (else the parent) as WM_NOTIFY with
// a GridNotifyRecord. Dialog templates name its window class "MFCGridCtrl".
#pragma once

#include "classlib/core/CRuntimeClass.h"
#include "classlib/core/CString.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CSize.h"
#include "classlib/win/CWnd.h"
#include "forms/fonts/CFontCache.h"
#include "grid/CGridCellMap.h"
#include "grid/CGridLayout.h"
#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"
#include "grid/GridDefs.h"
#include "grid/GridRecords.h"

#include <windows.h>

#include <cstdarg>
#include <functional>
#include <memory>
#include <vector>

class CDC;
class CGridCell;
class CGridCellBase;
class CGridDefaultCell;
class CGridTipWnd;
class CImageList;

// Fills a cell's record in virtual mode instead of the -150 notification.
typedef BOOL (*GridCallback)(GridCellInfoRecord* record, LPARAM value);

// Orders two cells for sorting: below 0, 0 or above 0 as the first sorts before, with or
// after the second. value is passed through from the sort call.
typedef int (*GridCompareFunction)(const CGridCellBase* first, const CGridCellBase* second, LPARAM value);

class CCmdUI;
class CGridDropHandler;
class CPrintInfo;
struct IDataObject;

// Runs an OLE drag of data with the allowed effects and returns the effect it ended with.
typedef DWORD (*GridDragRunner)(IDataObject* data, DWORD allowedEffects);

class CGridCtrl : public CWnd {
    DECLARE_DYNCREATE(CGridCtrl)

public:
    static constexpr char kWindowClass[] = "MFCGridCtrl";
    static constexpr UINT kEditorId = 8;
    static constexpr UINT_PTR kSelectionTimerId = 513;

    explicit CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
    ~CGridCtrl() override;

    // Registers "MFCGridCtrl" once per program; throws the resource exception on failure.
    static void RegisterWindowClass();

    BOOL Create(const RECT& rect,
                CWnd* parent,
                UINT id,
                DWORD style = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);

    // --- Settings ------------------------------------------------------------------------
    int GetRowCount() const { return m_layout.Rows().GetCount(); }

    int GetColumnCount() const { return m_layout.Cols().GetCount(); }

    int GetFixedRowCount() const { return m_layout.Rows().GetFixedCount(); }

    int GetFixedColumnCount() const { return m_layout.Cols().GetFixedCount(); }

    void SetGridBkColor(COLORREF colour) { m_gridBkColour = colour; }

    COLORREF GetGridBkColor() const { return m_gridBkColour; }

    void SetGridLineColor(COLORREF colour) { m_gridLineColour = colour; }

    COLORREF GetGridLineColor() const { return m_gridLineColour; }

    void SetTitleTipBackClr(COLORREF colour) { m_titleTipBackColour = colour; }

    void SetTitleTipTextClr(COLORREF colour) { m_titleTipTextColour = colour; }

    COLORREF GetTitleTipBackClr() const { return m_titleTipBackColour; }

    COLORREF GetTitleTipTextClr() const { return m_titleTipTextColour; }

    void SetGridLines(int mode);

    int GetGridLines() const { return m_gridLines; }

    void SetEditable(BOOL editable) { m_editable = editable; }

    BOOL IsEditable() const { return m_editable; }

    void SetListMode(BOOL listMode);

    BOOL GetListMode() const { return m_listMode; }

    void SetSingleRowSelection(BOOL single) { m_singleRowSelection = single; }

    void SetSingleColSelection(BOOL single) { m_singleColSelection = single; }

    void EnableSelection(BOOL enable) {
        ClearSelection();
        m_enableSelection = enable;
    }

    BOOL IsSelectable() const { return m_enableSelection; }

    void SetFixedRowSelection(BOOL on) { m_fixedRowSelection = on; }

    void SetFixedColumnSelection(BOOL on) { m_fixedColumnSelection = on; }

    void SetHeaderSort(BOOL on) { m_sortOnClick = on; }

    void SetHandleTabKey(BOOL on) { m_handleTabKey = on; }

    void SetDoubleBuffering(BOOL on) { m_doubleBuffer = on; }

    void EnableTitleTips(BOOL on) { m_titleTips = on; }

    BOOL GetTitleTips() const { return m_titleTips; }

    void SetTrackFocusCell(BOOL on) { m_trackFocusCell = on; }

    BOOL GetTrackFocusCell() const { return m_trackFocusCell; }

    void SetFrameFocusCell(BOOL on) { m_frameFocusCell = on; }

    BOOL GetFrameFocusCell() const { return m_frameFocusCell; }

    void SetAutoSizeStyle(int style) { m_fitStyle = style; }

    int GetAutoSizeStyle() const { return m_fitStyle; }

    void EnableDragAndDrop(BOOL on) { m_allowDragAndDrop = on; }

    void SetRowResize(BOOL on) { m_allowRowResize = on; }

    void SetColumnResize(BOOL on) { m_allowColumnResize = on; }

    void EnableHiddenColUnhide(BOOL on) { m_hiddenColUnhide = on; }

    void EnableHiddenRowUnhide(BOOL on) { m_hiddenRowUnhide = on; }

    void EnableColumnHide(BOOL on) { m_allowColumnHide = on; }

    void EnableRowHide(BOOL on) { m_allowRowHide = on; }

    void SetImageList(CImageList* list) { m_imageList = list; }

    CImageList* GetImageList() const { return m_imageList; }

    // Repaints the old and the new sort column's header so that the arrow moves.
    void SetSortColumn(int col);

    int GetSortColumn() const { return m_sortColumn; }

    void SetSortAscending(BOOL ascending) { m_sortAscending = ascending; }

    BOOL GetSortAscending() const { return m_sortAscending; }

    void SetShadedPrintOut(BOOL on) { m_shadedPrintOut = on; }

    BOOL GetShadedPrintOut() const { return m_shadedPrintOut; }

    void SetCallbackFunc(GridCallback callback, LPARAM value) {
        m_callback = callback;
        m_callbackValue = value;
    }

    BOOL GetVirtualMode() const { return m_virtualMode; }

    int GetMouseWheelLines() const { return m_wheelLines; }

    // The default cell that a cell with these fixed bits falls back to.
    CGridCellBase* GetDefaultCell(BOOL fixedRow, BOOL fixedCol) const;

    // Fonts of cells that have their own; they live as long as the grid.
    CFontCache& GetFontCache() { return m_fontCache; }

    // --- Notifications -----------------------------------------------------------------------
    // The owner window, else the parent; null when neither exists.
    CWnd* GetNotifyTarget() const;
    LRESULT SendNotify(int row, int col, int code);
    LRESULT RequestCellInfo(GridCellInfoRecord* record);
    LRESULT SendCacheHint(const GridCellRange& range);

    // --- Rows, columns and cells ---------------------------------------------------------------
    BOOL SetRowCount(int rows);
    BOOL SetColumnCount(int cols);
    BOOL SetFixedRowCount(int fixedRows);
    BOOL SetFixedColumnCount(int fixedCols);
    int InsertColumn(LPCSTR heading, UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int col = -1);
    int InsertRow(LPCSTR heading, int row = -1);
    BOOL DeleteColumn(int col);
    BOOL DeleteRow(int row);
    BOOL DeleteNonFixedRows();
    BOOL DeleteAllItems();
    void FillClientArea();
    BOOL ChangeCellType(int row, int col, CRuntimeClass* cellClass);
    BOOL SetDefaultCellType(CRuntimeClass* cellClass);
    // Null for an invalid or missing cell; in virtual mode the shared cell, refilled per call.
    CGridCellBase* GetCell(int row, int col) const;

    BOOL ApplyItem(const GridCellItem* item);
    BOOL GetItem(GridCellItem* item);
    BOOL SetCellText(int row, int col, LPCSTR text);
    BOOL SetCellTextFormat(int row, int col, LPCSTR format, ...);
    // The same with the format taken from the program's string table; FALSE when it has
    // no text of that id.
    BOOL SetCellTextFormatId(int row, int col, UINT formatId, ...);
    CString GetCellText(int row, int col) const;
    BOOL SetCellData(int row, int col, LPARAM data);
    LPARAM GetCellData(int row, int col) const;
    BOOL SetCellImage(int row, int col, int image);
    int GetCellImage(int row, int col) const;
    BOOL SetCellState(int row, int col, UINT state);
    UINT GetCellState(int row, int col) const;
    BOOL SetCellFormat(int row, int col, UINT format);
    UINT GetCellFormat(int row, int col) const;
    BOOL SetCellBackColour(int row, int col, COLORREF colour);
    COLORREF GetCellBackColour(int row, int col) const;
    BOOL SetCellTextColour(int row, int col, COLORREF colour);
    COLORREF GetCellTextColour(int row, int col) const;
    BOOL SetCellFont(int row, int col, const LOGFONTA* font);
    const LOGFONTA* GetCellFont(int row, int col) const;
    BOOL IsCellEditing(int row, int col) const;

    void SetModified(BOOL modified = TRUE, int row = -1, int col = -1);
    BOOL GetModified(int row = -1, int col = -1) const;
    void SetVirtualMode(BOOL on);
    GridCellId GetNextCell(const GridCellId& start, int flags) const;
    // One line per row, the cells' texts joined by the separator. Errors are reported to
    // the user; FALSE then.
    BOOL SaveToFile(LPCSTR fileName, char separator = ',');
    BOOL LoadFromFile(LPCSTR fileName, char separator = ',');
    void Refresh();

    BOOL IsValid(int row, int col) const { return m_layout.IsValid(GridCellId(row, col)); }

    BOOL IsValid(const GridCellId& cell) const { return m_layout.IsValid(cell); }

    BOOL IsValid(const GridCellRange& range) const { return m_layout.IsValid(range); }

    BOOL IsValidRange(const GridCellRange& range) const { return IsValid(range); }

    BOOL IsFixedCell(int row, int col) const { return m_layout.IsFixed(row, col); }

    // --- Sizes -------------------------------------------------------------------------------
    int GetRowHeight(int row) const { return m_layout.Rows().GetSize(row); }

    int GetColumnWidth(int col) const { return m_layout.Cols().GetSize(col); }

    BOOL SetRowHeight(int row, int height);
    BOOL SetColumnWidth(int col, int width);

    int GetVirtualWidth() const { return m_layout.Cols().GetTotal(); }

    int GetVirtualHeight() const { return m_layout.Rows().GetTotal(); }

    int GetFixedRowHeight() const { return m_layout.Rows().GetFixedTotal(); }

    int GetFixedColumnWidth() const { return m_layout.Cols().GetFixedTotal(); }

    CSize GetCellTextExtent(int row, int col, LPCSTR text);
    BOOL FitColumnWidth(int col, int style = 0, BOOL resetScrollBars = TRUE);
    BOOL FitRowHeight(int row, BOOL resetScrollBars = TRUE);
    void FitAllColumns(int style = 0);
    void FitAllRows();
    void FitAll(int style = 0);
    void StretchColumnsToWidth(BOOL includeFixed);
    void StretchRowsToHeight(BOOL includeFixed);
    void StretchLastColumn();
    void StretchToWindow(BOOL includeFixed);

    // --- Painting and geometry -------------------------------------------------------------------
    virtual void OnDraw(CDC* dc);
    virtual BOOL RedrawCell(const GridCellId& cell, CDC* dc = nullptr);
    virtual BOOL RedrawCell(int row, int col, CDC* dc = nullptr);
    BOOL RedrawRow(int row);
    BOOL RedrawColumn(int col);
    void SetRedraw(BOOL allow, BOOL resetScrollBars = FALSE);
    GridCellId GetTopleftNonFixedCell(BOOL force = FALSE);
    GridCellRange GetVisibleNonFixedCellRange(LPRECT rect = nullptr, BOOL force = FALSE);
    GridCellRange GetUnobstructedNonFixedCellRange(BOOL force = FALSE);
    BOOL GetCellOrigin(int row, int col, LPPOINT point);
    BOOL GetCellRect(int row, int col, LPRECT rect);

    BOOL GetCellRect(const GridCellId& cell, LPRECT rect) { return GetCellRect(cell.row, cell.col, rect); }

    BOOL GetCellRangeRect(const GridCellRange& range, LPRECT rect);
    BOOL GetTextRect(int row, int col, LPRECT rect);
    GridCellId CellFromPoint(CPoint point, BOOL allowFixed = TRUE);
    int GetScrollPos32(int bar, BOOL getTrackPos = FALSE);
    BOOL SetScrollPos32(int bar, int position, BOOL redraw = TRUE);
    void EnableScrollBars(int bar, BOOL enable = TRUE);
    void ResetScrollBars();

    // --- Focus and selection -----------------------------------------------------------------------
    GridCellId SetFocusCell(GridCellId cell);

    GridCellId SetFocusRowCol(int row, int col) { return SetFocusCell(GridCellId(row, col)); }

    GridCellId GetFocusCell() const { return m_focusCell; }

    void SetSelectedRange(const GridCellRange& range, BOOL forceRepaint = FALSE, BOOL selectCells = TRUE);
    void SetSelectedRange(int minRow,
                          int minCol,
                          int maxRow,
                          int maxCol,
                          BOOL forceRepaint = FALSE,
                          BOOL selectCells = TRUE);
    void SelectAllCells();
    void SelectColumns(GridCellId cell, BOOL forceRepaint = FALSE, BOOL selectCells = TRUE);
    void SelectRows(GridCellId cell, BOOL forceRepaint = FALSE, BOOL selectCells = TRUE);
    void SelectCells(GridCellId cell, BOOL forceRepaint = FALSE, BOOL selectCells = TRUE);
    void OnSelecting(const GridCellId& cell);
    void ClearSelection();
    GridCellRange GetSelectionBounds() const;
    GridCellRange GetCellRange() const;
    // A change the user makes without the editor (Delete, cut, paste, drop): the parent may
    // refuse it before (-105) and, as after an edit, after the text is in (-106). FALSE when
    // it was refused after.
    BOOL SetCellTextByUser(int row, int col, LPCSTR text);
    void ClearCells(const GridCellRange& range);
    BOOL IsCellSelected(int row, int col) const;

    BOOL IsCellSelected(const GridCellId& cell) const { return IsCellSelected(cell.row, cell.col); }

    BOOL IsCellVisible(int row, int col);

    BOOL IsCellVisible(const GridCellId& cell) { return IsCellVisible(cell.row, cell.col); }

    BOOL IsCellEditable(int row, int col) const;

    BOOL IsCellEditable(const GridCellId& cell) const { return IsCellEditable(cell.row, cell.col); }

    void EnsureVisible(int row, int col);

    void EnsureVisible(const GridCellId& cell) { EnsureVisible(cell.row, cell.col); }

    BOOL InvalidateCellRect(int row, int col);

    BOOL InvalidateCellRect(const GridCellId& cell) { return InvalidateCellRect(cell.row, cell.col); }

    BOOL InvalidateCellRange(const GridCellRange& range, BOOL visibleOnly = TRUE);
    CPoint GetCellRelativePoint(int row, int col, CPoint point);

    // --- Sorting ---------------------------------------------------------------------------------
    // Null restores the text comparison.
    void SetSortCompareFunction(GridCompareFunction compare) { m_compareFunction = compare; }

    static int CompareCellText(const CGridCellBase* first, const CGridCellBase* second, LPARAM value);
    static int CompareCellNumber(const CGridCellBase* first, const CGridCellBase* second, LPARAM value);
    BOOL SortByColumn(int col, BOOL ascending = TRUE, LPARAM value = 0);
    BOOL SortByText(int col, BOOL ascending = TRUE, LPARAM value = 0);
    BOOL SortWithFunction(GridCompareFunction compare, int col, BOOL ascending, LPARAM value = 0);
    // Sorts rows low..high (-1: the last row) by the column; FALSE when there is nothing to sort.
    BOOL QuickSortRows(GridCompareFunction compare, int col, BOOL ascending, LPARAM value, int low, int high);

    // --- Clipboard ---------------------------------------------------------------------------------
    // The selection's bounding range as text (Tab-separated fields, CR LF lines; hidden rows
    // and columns left out, unselected cells empty). FALSE without a selection.
    virtual BOOL CreateClipboardText(CString& text);
    // Pastes text from (row, col) on through SetCellTextByUser; FALSE for a start cell that
    // does not exist or may not be edited.
    virtual BOOL PasteText(int row, int col, const CString& text, BOOL selectPasted = TRUE);
    // The clipboard's CF_TEXT, read no further than its memory block.
    BOOL ReadClipboardText(CString& text);
    BOOL WriteClipboardText(const CString& text);
    // Drag and drop (when enabled): dragging the selection out, dropping text onto cells.
    virtual void OnBeginDrag();
    virtual DWORD OnDragEnter(IDataObject* data, DWORD keyState, CPoint point);
    virtual DWORD OnDragOver(IDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(IDataObject* data, DWORD dropEffect, CPoint point);
    // Null restores the system's drag; tests script the user's drag with their own.
    static void SetDragRunner(GridDragRunner runner);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    void OnUpdateEditCut(CCmdUI* cmdUI);
    void OnUpdateEditCopy(CCmdUI* cmdUI);
    void OnUpdateEditPaste(CCmdUI* cmdUI);
    void OnUpdateSelectAll(CCmdUI* cmdUI);

    // --- Printing ----------------------------------------------------------------------------------
    // Prints on printerDC, or on the printer the print dialog gives when it is null.
    void Print(CDC* printerDC = nullptr);

    void SetWysiwygPrinting(BOOL on) { m_wysiwygPrinting = on; }

    BOOL GetWysiwygPrinting() const { return m_wysiwygPrinting; }

    // Heights in character heights, left and right in character widths; negative keeps a value.
    void SetPrintMargins(int header, int footer, int gap, int left, int right, int top, int bottom);
    void GetPrintMargins(int& header, int& footer, int& gap, int& left, int& right, int& top, int& bottom)
        const;
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    virtual void PrintRowCells(int firstCol, int endCol, int row, CRect& rect, CDC* dc, BOOL& firstColumn);
    virtual void PrintFixedRows(CDC* dc, CPrintInfo* info);
    virtual void PrintHeader(CDC* dc, CPrintInfo* info);
    virtual void PrintFooter(CDC* dc, CPrintInfo* info);
    virtual void PrintFixedColumns(CDC* dc, CPrintInfo* info);

    // --- Overridables --------------------------------------------------------------------------------
    virtual void ClearSelectedCells();
    virtual void OnSelectAll();
    virtual void OnFixedColumnClick(GridCellId& cell);
    virtual void OnFixedRowClick(GridCellId& cell);
    virtual void OnEditCell(int row, int col, CPoint point, UINT character);
    virtual void OnEndEditCell(int row, int col, CString text, BOOL apply);
    virtual BOOL ValidateEdit(int row, int col, LPCSTR text);
    virtual void EndEditing();
    virtual CGridCellBase* CreateCell(int row, int col);
    virtual void DestroyCell(int row, int col);

    // The title tip: shown over a clipped cell's text, hidden by the grid on scroll and click.
    void HideTitleTip();

    // --- Message handlers (subclasses chain to them) ------------------------------------------------
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int width, int height);
    void OnDestroy();
    void OnHScroll(UINT code, UINT position, CWnd* scrollBar);
    void OnVScroll(UINT code, UINT position, CWnd* scrollBar);
    void OnTimer(UINT_PTR id);
    UINT OnGetDlgCode();
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
    void OnImeChar(UINT key, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnSetFocus(CWnd* oldWnd);
    void OnCaptureChanged(CWnd* wnd);
    void OnSysColorChange();
    void OnSetFont(HFONT font, BOOL redraw);
    HFONT OnGetFont();
    void OnEndInPlaceEdit(NMHDR* header, LRESULT* result);

protected:
    void PreSubclassWindow() override;
    void EraseBkgnd(CDC* dc);
    BOOL MouseOverRowResizeArea(CPoint point);
    BOOL MouseOverColumnResizeArea(CPoint point);

    CGridLayout m_layout;
    int m_mouseMode = GRID_MOUSE_NOTHING;
    BOOL m_leftButtonDown = FALSE;
    BOOL m_rightButtonDown = FALSE;
    CPoint m_leftClickDownPoint;
    CPoint m_lastMousePoint;
    GridCellId m_leftClickDownCell;
    GridCellId m_selectionStartCell;
    GridCellId m_focusCell;
    BOOL m_titleTips = TRUE;
    std::unique_ptr<CGridTipWnd> m_titleTip;
    BOOL m_virtualMode = FALSE;
    // Set while a grid that tells its page of a whole paste at once pastes: no -106 per cell.
    bool m_pasteTellsPage = false;

    DECLARE_MESSAGE_MAP()

private:
    BOOL SetCellTextFormatV(int row, int col, LPCSTR format, va_list arguments);

    typedef std::vector<CGridCellBase*> GridRow;
    typedef std::function<void(CGridCellBase&)> CellChange;
    // Changes the cells of the rows or columns from an index or up to a count.
    typedef std::function<void(int)> AxisCellsChange;

    // The slots of m_defaultCells.
    enum DefaultCellSlot { kNormalCell, kFixedColumnCell, kFixedRowCell, kCornerCell, kDefaultCellCount };

    void ReadSystemColours();
    void ReadWheelLines();
    void SetUpDefaultCells();
    CGridDefaultCell* DefaultCellAt(int row, int col) const;
    GridClientMetrics GetClientMetrics();
    void InvalidateNonFixedArea(BOOL horizontal);
    void ScrollAxis(int bar, UINT code);
    BOOL ChangeCellLook(int row, int col, const CellChange& change);
    BOOL ChangeCellContent(int row, int col, const CellChange& change);
    void ApplyFixedBits(BOOL columns, int oldCount, int newCount);
    BOOL SetFixedCount(BOOL columns, int fixed);
    BOOL ChangeCount(BOOL columns, int count, const AxisCellsChange& resizeCells);
    int InsertEntry(BOOL columns, int at, const AxisCellsChange& insertCells);
    BOOL DeleteEntry(BOOL columns, int at, const AxisCellsChange& eraseCells);
    BOOL MouseOverDivider(CPoint point, BOOL columns);
    void StretchAxis(BOOL columns, BOOL includeFixed);
    BOOL FitToCells(BOOL columns, int index, int first, int last, BOOL resetScrollBars);
    void RedrawFixedHeaders(const GridCellId& cell, const GridCellId& other);
    void ReselectPreviousCells(const GridCellRange& visible, CDC* dc);
    void RedrawIfVisible(const GridCellId& cell, const GridCellRange& visible, CDC* dc);
    void DrawCellGridLines(CDC* dc, const CRect& rect);
    void DrawPass(CDC* dc, const CRect& clip, int firstRow, int lastRow, int firstCol, int lastCol);
    void DrawGridLines(CDC* dc, const GridCellRange& visible, const CRect& visibleRect);
    void FillVirtualCell(int row, int col) const;
    BOOL KeyMovesFocus(UINT key, GridCellId& next, BOOL& horzScroll, BOOL& vertScroll, BOOL& lineChange);
    void MoveFocusByKey(UINT key, const GridCellId& next, BOOL horzScroll, BOOL vertScroll, BOOL lineChange);
    void StartSizing(CPoint point, BOOL columns);
    void FinishSizing(CPoint point);
    void ReleaseCursorClip();
    void InvertTrackingLine(CPoint point, BOOL vertical);
    void ShowTitleTipAt(const GridCellId& cell);
    void StopSizingAfterCaptureLoss();
    void PostClickCommand();
    void UpdateDividerMode(CPoint point);
    void StartDragSelection();
    void ExtendMouseSelection(CPoint point);
    void ScrollLinesToShow(int bar, int from, int to);
    void ScrollUntilInside(int bar, int row, int col);
    void SwapRows(int first, int second);
    std::vector<int> BodyRowHeights() const;
    std::vector<int> BodyColumnWidths() const;
    void PrintLine(CDC* dc, int x1, int y1, int x2, int y2);
    void PrintBody(CDC* dc);
    GridCellId PasteStartCell();

    std::vector<GridRow> m_cells;
    std::unique_ptr<CGridDefaultCell> m_defaultCells[kDefaultCellCount];
    CRuntimeClass* m_defaultCellClass = nullptr;
    CFontCache m_fontCache;
    CGridCellMap m_selectedCells;
    CGridCellMap m_previousSelectedCells;
    mutable std::unique_ptr<CGridCell> m_virtualCell;
    mutable std::unique_ptr<GridCellInfoRecord> m_virtualRecord;
    GridCellId m_topLeftCell;
    CImageList* m_imageList = nullptr;  // not owned
    GridCallback m_callback = nullptr;
    LPARAM m_callbackValue = 0;

    COLORREF m_gridBkColour = 0;
    COLORREF m_gridLineColour = RGB(192, 192, 192);
    COLORREF m_windowTextColour = 0;
    COLORREF m_windowColour = 0;
    COLORREF m_faceColour = 0;
    COLORREF m_shadowColour = 0;
    COLORREF m_titleTipBackColour = GRID_COLOUR_DEFAULT;
    COLORREF m_titleTipTextColour = GRID_COLOUR_DEFAULT;
    int m_gridLines = GRID_LINES_BOTH;
    BOOL m_editable = TRUE;
    BOOL m_modified = FALSE;
    BOOL m_allowDragAndDrop = FALSE;
    BOOL m_listMode = FALSE;
    BOOL m_singleRowSelection = FALSE;
    BOOL m_singleColSelection = FALSE;
    BOOL m_allowDraw = TRUE;
    BOOL m_enableSelection = TRUE;
    BOOL m_fixedRowSelection = TRUE;
    BOOL m_fixedColumnSelection = TRUE;
    BOOL m_sortOnClick = FALSE;
    BOOL m_handleTabKey = TRUE;
    BOOL m_doubleBuffer = TRUE;
    int m_scrollBarState = 0;  // bit 1 horizontal shown, bit 2 vertical shown
    BOOL m_hiddenColUnhide = TRUE;
    BOOL m_hiddenRowUnhide = TRUE;
    BOOL m_allowColumnHide = TRUE;
    BOOL m_allowRowHide = TRUE;
    BOOL m_trackFocusCell = TRUE;
    BOOL m_frameFocusCell = TRUE;
    int m_fitStyle = 3;
    int m_vertScrollMax = 0;
    int m_horzScrollMax = 0;
    UINT_PTR m_timerId = 0;
    UINT m_timerIntervalMs = 25;
    int m_resizeCaptureRange = 3;
    BOOL m_allowRowResize = TRUE;
    BOOL m_allowColumnResize = TRUE;
    int m_wheelLines = 3;
    BOOL m_sortAscending = TRUE;
    int m_sortColumn = -1;
    GridCompareFunction m_compareFunction = nullptr;
    std::unique_ptr<CGridDropHandler> m_dropHandler;
    CGridCellMap m_pastedCells;  // the cells of the latest paste or drop
    GridCellId m_lastDragOverCell;

    std::unique_ptr<CFont> m_printerFont;
    CSize m_charSize;
    int m_pageHeight = 0;
    int m_pageWidth = 0;
    CSize m_logicalPageSize;
    CSize m_paperSize;
    int m_printRow = 0;
    int m_printCol = 0;
    int m_pageCount = 0;
    int m_pagesAcross = 1;
    BOOL m_wysiwygPrinting = FALSE;
    int m_headerHeight = 2;
    int m_footerHeight = 2;
    int m_gapHeight = 1;
    int m_leftMargin = 4;
    int m_rightMargin = 4;
    int m_topMargin = 1;
    int m_bottomMargin = 1;
    BOOL m_shadedPrintOut = TRUE;
    bool m_cursorClipped = false;     // the cursor is held inside the grid while sizing
    bool m_releasingCapture = false;  // our own release of the capture is no capture loss
    bool m_inSize = false;            // per grid: a nested WM_SIZE of this grid returns at once
    int m_sizingIndex = -1;           // the column or row being sized by the mouse
};
