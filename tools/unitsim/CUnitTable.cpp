// A table bank of the simulated unit.
#include "tools/unitsim/CUnitTable.h"

#include <algorithm>

namespace {

constexpr uint8_t kLogEnd = 0xFF;
constexpr uint16_t kLogStart = 2;  // the cells after the start position itself
constexpr uint8_t kMilBit = 0x80;
constexpr std::size_t kMaxCodesPerSnapshot = 0x3F;

std::vector<uint16_t> EvenAxis(int count, uint16_t first, uint16_t step) {
    std::vector<uint16_t> axis;
    for (int i = 0; i < count; ++i) {
        axis.push_back(static_cast<uint16_t>(first + i * step));
    }
    return axis;
}

void AppendBigEndian(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value >> 8));
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
}

}  // namespace

CUnitTable CUnitTable::Make(int columns,
                            int rows,
                            uint16_t columnFirst,
                            uint16_t columnStep,
                            uint16_t rowFirst,
                            uint16_t rowStep) {
    CUnitTable table;
    table.SetAxes(EvenAxis(columns, columnFirst, columnStep), EvenAxis(rows, rowFirst, rowStep));
    return table;
}

void CUnitTable::SetAxes(const std::vector<uint16_t>& columnAxis, const std::vector<uint16_t>& rowAxis) {
    CUnitTable resized;
    resized.m_columnAxis = columnAxis;
    resized.m_rowAxis = rowAxis;
    resized.m_cells.assign(columnAxis.size() * rowAxis.size(), 0);
    for (int row = 0; row < std::min(Rows(), resized.Rows()); ++row) {
        for (int column = 0; column < std::min(Columns(), resized.Columns()); ++column) {
            resized.SetCell(column, row, Cell(column, row));
        }
    }
    *this = std::move(resized);
}

uint8_t CUnitTable::Cell(int column, int row) const {
    return Contains(column, row) ? m_cells[Index(column, row)] : 0;
}

void CUnitTable::SetCell(int column, int row, uint8_t value) {
    if (Contains(column, row)) {
        m_cells[Index(column, row)] = value;
    }
}

void CUnitTable::Fill(uint8_t value) {
    std::fill(m_cells.begin(), m_cells.end(), value);
}

std::vector<uint8_t> CUnitTable::RowMajorCells() const {
    return m_cells;
}

bool CUnitTable::SetRowMajorCells(const std::vector<uint8_t>& bytes) {
    const std::size_t count = std::min(bytes.size(), m_cells.size());
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count), m_cells.begin());
    return count == bytes.size();
}

bool CUnitTable::SetRecordLog(const std::vector<DtcSnapshot>& snapshots) {
    std::vector<uint8_t> bytes;
    AppendBigEndian(bytes, kLogStart);
    for (const DtcSnapshot& snapshot : snapshots) {
        const std::size_t codes = std::min(snapshot.codes.size(), kMaxCodesPerSnapshot);
        AppendBigEndian(bytes, snapshot.hours);
        bytes.push_back(snapshot.minutes);
        bytes.push_back(snapshot.seconds);
        bytes.push_back(static_cast<uint8_t>((snapshot.milOn ? kMilBit : 0) | codes));
        for (std::size_t i = 0; i < codes; ++i) {
            AppendBigEndian(bytes, snapshot.codes[i]);
        }
    }
    bytes.push_back(kLogEnd);
    Fill(0);
    return SetRowMajorCells(bytes);
}

std::vector<uint8_t> CUnitTable::EncodeAxis(const std::vector<uint16_t>& axis) {
    std::vector<uint8_t> bytes;
    bytes.push_back(static_cast<uint8_t>(std::min<std::size_t>(axis.size(), 0xFF)));
    for (std::size_t i = 0; i < bytes[0]; ++i) {
        bytes.push_back(static_cast<uint8_t>(axis[i] & 0xFF));
        bytes.push_back(static_cast<uint8_t>(axis[i] >> 8));
    }
    return bytes;
}
