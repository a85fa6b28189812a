#include "forms/TableTipCells.h"

#include <algorithm>

const char* const TableTipCells::kRowMarker = "\n";

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

uint8_t HorizontalFlag(char letter) {
    if (letter == 'l') {
        return TableTipCells::kAlignLeft;
    }
    return letter == 'r' ? TableTipCells::kAlignRight : 0;
}

uint8_t VerticalFlag(char letter) {
    if (letter == 't') {
        return TableTipCells::kAlignTop;
    }
    return letter == 'b' ? TableTipCells::kAlignBottom : 0;
}

}  // namespace

void TableTipCells::SetText(const std::string& text) {
    m_cells.clear();
    m_widestRowCells = 0;
    m_rowCount = 0;
    for (const std::string& row : Split(text, '\n')) {
        const std::vector<std::string> cells = Split(row, '\t');
        m_cells.insert(m_cells.end(), cells.begin(), cells.end());
        m_cells.push_back(kRowMarker);
        m_widestRowCells = std::max(m_widestRowCells, static_cast<int>(cells.size()));
        ++m_rowCount;
    }
}

std::string TableTipCells::ShownText(const std::string& cell, uint8_t* alignment) {
    *alignment = 0;
    if (cell.empty() || cell[0] != '\\') {
        return cell;
    }
    if (cell.size() >= 2 && cell[1] == '\\') {
        return cell.substr(1);
    }
    if (cell.size() >= 2) {
        *alignment |= HorizontalFlag(cell[1]);
    }
    if (cell.size() >= 3) {
        *alignment |= VerticalFlag(cell[2]);
    }
    return cell.size() > 3 ? cell.substr(3) : std::string();
}

void TableTipCells::Layout(const TableTipMargins& cellMargins,
                           const std::vector<std::string>& templates,
                           const TableTipMargins& controlMargins,
                           const Measurer& measure) {
    const bool fromContent = templates.empty();
    m_rows = m_rowCount;
    m_columns = fromContent ? m_widestRowCells : static_cast<int>(templates.size());
    m_rowHeights.assign(static_cast<size_t>(m_rows), 0);
    m_columnWidths.assign(static_cast<size_t>(m_columns), 0);
    if (!fromContent) {
        for (int column = 0; column < m_columns; ++column) {
            m_columnWidths[column] = static_cast<unsigned>(
                std::max(0, cellMargins.left + cellMargins.right + measure(templates[column]).width));
        }
    }
    m_extents.assign(static_cast<size_t>(m_rows) * m_columns, TableTipExtent());
    m_alignments.assign(static_cast<size_t>(m_rows) * m_columns, 0);
    int column = 0;
    int row = 0;
    for (const std::string& cell : m_cells) {
        if (cell == kRowMarker) {
            column = 0;
            ++row;
            continue;
        }
        if (column >= m_columns || row >= m_rows) {
            continue;
        }
        if (!cell.empty()) {
            uint8_t alignment = 0;
            const TableTipExtent extent = measure(ShownText(cell, &alignment));
            m_alignments[Index(column, row)] = alignment;
            m_extents[Index(column, row)] = extent;
            if (fromContent) {
                m_columnWidths[column] = std::max(
                    m_columnWidths[column],
                    static_cast<unsigned>(std::max(0, extent.width + cellMargins.left + cellMargins.right)));
            }
            m_rowHeights[row] = std::max(
                m_rowHeights[row],
                static_cast<unsigned>(std::max(0, extent.height + cellMargins.top + cellMargins.bottom)));
        }
        ++column;
    }
    unsigned width = 0;
    for (const unsigned columnWidth : m_columnWidths) {
        width += columnWidth;
    }
    unsigned height = 0;
    for (const unsigned rowHeight : m_rowHeights) {
        height += rowHeight;
    }
    m_tipWidth = static_cast<int>(width) + controlMargins.left + controlMargins.right;
    m_tipHeight = static_cast<int>(height) + controlMargins.top + controlMargins.bottom;
}

TableTipPoint TableTipCells::TextOrigin(int column,
                                        int row,
                                        int x,
                                        int y,
                                        const TableTipMargins& cellMargins) const {
    const TableTipExtent extent = CellExtent(column, row);
    const uint8_t alignment = CellAlignment(column, row);
    const int columnWidth = static_cast<int>(m_columnWidths[column]);
    const int rowHeight = static_cast<int>(m_rowHeights[row]);
    TableTipPoint origin;
    if ((alignment & kAlignLeft) != 0) {
        origin.x = x + cellMargins.left;
    } else if ((alignment & kAlignRight) != 0) {
        origin.x = x + columnWidth - cellMargins.right - extent.width;
    } else {
        origin.x = x + (columnWidth - extent.width) / 2;
    }
    if ((alignment & kAlignTop) != 0) {
        origin.y = y + cellMargins.top;
    } else if ((alignment & kAlignBottom) != 0) {
        origin.y = y + rowHeight - cellMargins.bottom - extent.height;
    } else {
        origin.y = y + (rowHeight - extent.height) / 2;
    }
    return origin;
}
