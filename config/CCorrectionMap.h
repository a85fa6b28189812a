// The adaptive correction map as the configurator holds it: the rpm axis (columns), the
// injection-time axis (rows), one correction per cell and a base percent for the whole
// map, with their encodings in unit elements 8 and 7, box writes, undo and redo of box
// edits, the copy taken when a calibration starts, the nearest-cell search and the
// bilinear interpolation. Cells and base are held in their stored form, percent - 28.
// Every change reaches the unit through the data handler.
#pragma once

#include "classlib/core/WinTypes.h"
#include "config/CMapMeasurement.h"
#include "link/MapBox.h"

#include <cstddef>
#include <vector>

class CDataHandler;

// The cells of a box before an edit, row by row in stored form.
struct CMapUndoRecord {
    int firstColumn = 0;
    int firstRow = 0;
    int lastColumn = 0;
    int lastRow = 0;
    std::vector<int> cells;
};

class CCorrectionMap {
public:
    static constexpr int kMaxBreakpoints = 32;
    static constexpr int kStoredOffset = 28;
    static constexpr int kMinPercent = -100;
    static constexpr int kMaxPercent = 100;

    CCorrectionMap();

    // Not owned; must outlive the map. Without one nothing is written.
    void SetDataHandler(CDataHandler* handler) { m_handler = handler; }

    // Decodes element 8. Data whose axes pass 32 breakpoints or the element's length is
    // refused (logged) and leaves the map empty.
    bool ParseElementData(const BYTE* data, std::size_t length);
    // Encodes the map into element 8's layout; the bytes used, 0 when they do not fit.
    std::size_t BuildElementData(BYTE* buffer, std::size_t length) const;
    // Element 7: the base in stored form.
    void ParseBaseElementData(BYTE value);

    int GetColumnCount() const { return m_columns; }

    int GetRowCount() const { return m_rows; }

    bool IsEmpty() const { return m_columns == 0 || m_rows == 0; }

    int GetRpm(int column) const;
    // Injection-time breakpoint in 0.001 ms.
    int GetTimeUs(int row) const;
    int GetCell(int row, int column) const;
    // Sets the cell's percent without writing; a percent whose stored form leaves a
    // signed byte is saturated (and logged) rather than wrapped.
    void SetCell(int row, int column, int percent);

    int GetBasePercent() const { return m_base + kStoredOffset; }

    bool CheckBaseAgainstCells(int percent) const;
    // Refuses (0) a percent outside -100..100 or one that fails CheckBaseAgainstCells;
    // else stores and writes element 7 and returns 1.
    int SetBasePercent(int percent);
    // Stores and writes the base without the checks, for putting back a base that was
    // in effect before.
    void RestoreBasePercent(int percent);

    bool IsValidBox(int firstColumn, int firstRow, int lastColumn, int lastRow) const;
    // Writes element 8 with the box record of these cells; false for a box outside the map.
    bool WriteBox(int firstColumn, int firstRow, int lastColumn, int lastRow);
    bool WriteWholeMap();
    // Sets every cell of the box and writes it; pushes no undo record.
    bool FillBox(int percent, int firstRow, int firstColumn, int lastRow, int lastColumn);

    // The box record of the last box write: corners, then the cells.
    const BYTE* GetBoxRecord() const { return m_box; }

    void PushUndoBox(int firstColumn, int firstRow, int lastColumn, int lastRow);
    bool Undo(int& firstColumn, int& firstRow, int& lastColumn, int& lastRow);
    bool Redo(int& firstColumn, int& firstRow, int& lastColumn, int& lastRow);

    void ClearUndo() { m_undo.clear(); }

    void ClearRedo() { m_redo.clear(); }

    // Drops the newest record of the redo list; false when it is empty.
    bool DropLastRedo();

    // The copy a calibration starts from.
    void SaveMatrix();

    int GetSavedBasePercent() const { return m_savedBase; }

    int GetSavedCell(int row, int column) const;
    // Puts the saved cells and base back and writes the whole map.
    void RestoreSavedMatrix();

    // False (and all zero) on an empty map.
    bool FindNearestCell(int rpm, double injectionMs, CMapCellBracket& bracket) const;
    // Bilinear between the bracketing cells, no extrapolation; 0 on an empty map.
    int GetInterpolatedValue(int rpm, double injectionMs) const;
    // Grid steps for the grouping of measurements; 0 with fewer than two breakpoints.
    double GetRpmStep() const;
    double GetTimeStep() const;

private:
    struct AxisSpan {
        int lower;
        int upper;
        double weight;
    };

    bool ValidCell(int row, int column) const;

    int& Cell(int row, int column) { return m_cells[row * m_columns + column]; }

    int Cell(int row, int column) const { return m_cells[row * m_columns + column]; }

    void Clear();
    void SwapBox(CMapUndoRecord& record);
    void FillBoxRecord(int firstColumn, int firstRow, int lastColumn, int lastRow);
    void LogRefusedBox(int firstColumn, int firstRow, int lastColumn, int lastRow) const;
    AxisSpan SpanOnRpm(int rpm) const;
    AxisSpan SpanOnTime(double injectionMs) const;
    void WriteBaseElement();

    CDataHandler* m_handler = nullptr;  // not owned
    int m_columns = 0;
    int m_rows = 0;
    int m_rpm[kMaxBreakpoints] = {};
    int m_timeUs[kMaxBreakpoints] = {};
    int m_cells[kMaxBreakpoints * kMaxBreakpoints] = {};
    int m_base = 0;
    int m_savedCells[kMaxBreakpoints * kMaxBreakpoints] = {};
    int m_savedBase = 0;  // a percent, not stored form
    int m_savedColumns = 0;
    int m_savedRows = 0;
    std::vector<BYTE> m_image;
    BYTE m_box[kBoxRecordBytes] = {};
    std::vector<CMapUndoRecord> m_undo;
    std::vector<CMapUndoRecord> m_redo;
};
