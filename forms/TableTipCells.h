// The table of a multi-column tooltip without the window: the cells of its text, their
// alignment codes, the column and row sizes, and where each cell's text goes. Text sizes
// come from a measurer, so the arithmetic is the same on and off Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TableTipExtent {
    int width = 0;
    int height = 0;
};

struct TableTipPoint {
    int x = 0;
    int y = 0;
};

struct TableTipMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class TableTipCells {
public:
    static constexpr uint8_t kAlignLeft = 0x01;
    static constexpr uint8_t kAlignRight = 0x02;
    static constexpr uint8_t kAlignTop = 0x08;
    static constexpr uint8_t kAlignBottom = 0x10;
    static const char* const kRowMarker;

    using Measurer = std::function<TableTipExtent(const std::string& text)>;

    // Rows at each "\n", cells at each "\t"; an empty text is one row of one empty cell.
    void SetText(const std::string& text);

    // The text a cell shows, with its alignment flags: "\" plus a horizontal letter (l, r,
    // else centred) plus a vertical letter (t, b, else middle) is a code; "\\" shows one
    // backslash. A short cell loses all the characters it has to the code.
    static std::string ShownText(const std::string& cell, uint8_t* alignment);

    // Lays the table out: column widths from the cells (no templates) or from the template
    // texts, each with the cell margins added; the tip adds the control's own margins.
    void Layout(const TableTipMargins& cellMargins,
                const std::vector<std::string>& templates,
                const TableTipMargins& controlMargins,
                const Measurer& measure);

    // The top-left of cell (column, row)'s text when the cell's box starts at x, y.
    TableTipPoint TextOrigin(int column, int row, int x, int y, const TableTipMargins& cellMargins) const;

    const std::vector<std::string>& Cells() const { return m_cells; }

    int WidestRowCells() const { return m_widestRowCells; }

    int RowCount() const { return m_rowCount; }

    int Columns() const { return m_columns; }

    int Rows() const { return m_rows; }

    const std::vector<unsigned>& ColumnWidths() const { return m_columnWidths; }

    const std::vector<unsigned>& RowHeights() const { return m_rowHeights; }

    TableTipExtent CellExtent(int column, int row) const { return m_extents[Index(column, row)]; }

    uint8_t CellAlignment(int column, int row) const { return m_alignments[Index(column, row)]; }

    int TipWidth() const { return m_tipWidth; }

    int TipHeight() const { return m_tipHeight; }

private:
    size_t Index(int column, int row) const { return static_cast<size_t>(row) * m_columns + column; }

    std::vector<std::string> m_cells;  // row after row, each row ended by a marker cell
    int m_widestRowCells = 0;
    int m_rowCount = 0;
    int m_rows = 0;
    int m_columns = 0;
    std::vector<unsigned> m_columnWidths;
    std::vector<unsigned> m_rowHeights;
    std::vector<TableTipExtent> m_extents;
    std::vector<uint8_t> m_alignments;
    int m_tipWidth = 0;
    int m_tipHeight = 0;
};
