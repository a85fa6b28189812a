// Adaptive correction map model.
#include "config/CCorrectionMap.h"

#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/ElementTable.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLogMapEdits = 2000;

// The bisection of the map's axes: the last index probed (0 for an empty axis).
template <typename At>
int SearchAxis(int count, At at, double value) {
    int low = 0;
    int high = count - 1;
    int mid = 0;
    while (high >= low) {
        mid = (low + high) / 2;
        if (at(mid) < value) {
            low = mid + 1;
        } else if (at(mid) > value) {
            high = mid - 1;
        } else {
            break;
        }
    }
    return mid;
}

// Nearest index and bracket of a value on an axis of at least one breakpoint.
template <typename At>
void NearestOnAxis(int count, At at, double value, int& nearest, int& lower, int& upper) {
    const int mid = SearchAxis(count, at, value);
    nearest = lower = upper = mid;
    if (at(mid) < value) {
        if (mid == count - 1) {
            return;
        }
        upper = mid + 1;
        if (at(mid + 1) - value < value - at(mid)) {
            nearest = mid + 1;
        }
    } else if (at(mid) > value) {
        if (mid == 0) {
            return;
        }
        lower = mid - 1;
        if (value - at(mid - 1) < at(mid) - value) {
            nearest = mid - 1;
        }
    }
}

// Bracketing indices and the weight of the upper one; 1 at and beyond the ends.
template <typename At>
void SpanOnAxis(int count, At at, double value, int& lower, int& upper, double& weight) {
    const int mid = SearchAxis(count, at, value);
    lower = upper = mid;
    weight = 1;
    int from = mid;
    int to = mid;
    if (at(mid) < value && mid < count - 1) {
        to = mid + 1;
    } else if (at(mid) > value && mid > 0) {
        from = mid - 1;
    } else {
        return;
    }
    const double width = at(to) - at(from);
    lower = from;
    upper = to;
    // Equal neighbouring breakpoints leave no width to weigh by.
    weight = width != 0 ? (value - at(from)) / width : 1;
}

BYTE ToByte(int stored) {
    return static_cast<BYTE>(static_cast<signed char>(stored));
}

}  // namespace

CCorrectionMap::CCorrectionMap()
    : m_image(static_cast<std::size_t>(GetElementRow(kElementCorrectionMap).length)) {}

void CCorrectionMap::Clear() {
    m_columns = 0;
    m_rows = 0;
}

bool CCorrectionMap::ParseElementData(const BYTE* data, std::size_t length) {
    Clear();
    length = std::min(length, m_image.size());
    MapLayout layout;
    if (data == nullptr || !ReadMapLayout(data, length, layout)) {
        CLogger::Instance().Log(kLogMapEdits,
                                "CConfigDynamic::ParseElementData(): map does not fit %d bytes.",
                                static_cast<int>(length));
        return false;
    }
    if (layout.count1 > kMaxBreakpoints || layout.count2 > kMaxBreakpoints) {
        CLogger::Instance().Log(kLogMapEdits,
                                "CConfigDynamic::ParseElementData(): %d x %d breakpoints refused.",
                                layout.count1, layout.count2);
        return false;
    }
    std::copy(data, data + length, m_image.begin());
    m_columns = layout.count1;
    m_rows = layout.count2;
    for (int c = 0; c < m_columns; ++c) {
        m_rpm[c] = data[1 + 2 * c] | data[2 + 2 * c] << 8;
    }
    const int timeStart = 2 + 2 * m_columns;
    for (int r = 0; r < m_rows; ++r) {
        m_timeUs[r] = data[timeStart + 2 * r] | data[timeStart + 1 + 2 * r] << 8;
    }
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            Cell(r, c) = static_cast<signed char>(data[layout.CellOffset(c, r)]);
        }
    }
    return true;
}

std::size_t CCorrectionMap::BuildElementData(BYTE* buffer, std::size_t length) const {
    const std::size_t needed = 2 + 2 * static_cast<std::size_t>(m_columns + m_rows) +
                               static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows);
    if (needed > length) {
        return 0;
    }
    buffer[0] = static_cast<BYTE>(m_columns);
    for (int c = 0; c < m_columns; ++c) {
        buffer[1 + 2 * c] = static_cast<BYTE>(m_rpm[c]);
        buffer[2 + 2 * c] = static_cast<BYTE>(m_rpm[c] >> 8);
    }
    const int timeStart = 2 + 2 * m_columns;
    buffer[timeStart - 1] = static_cast<BYTE>(m_rows);
    for (int r = 0; r < m_rows; ++r) {
        buffer[timeStart + 2 * r] = static_cast<BYTE>(m_timeUs[r]);
        buffer[timeStart + 1 + 2 * r] = static_cast<BYTE>(m_timeUs[r] >> 8);
    }
    MapLayout layout;
    layout.count1 = m_columns;
    layout.count2 = m_rows;
    layout.cellsOffset = timeStart + 2 * m_rows;
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            buffer[layout.CellOffset(c, r)] = ToByte(Cell(r, c));
        }
    }
    return needed;
}

void CCorrectionMap::ParseBaseElementData(BYTE value) {
    m_base = static_cast<signed char>(value);
}

bool CCorrectionMap::ValidCell(int row, int column) const {
    return row >= 0 && row < m_rows && column >= 0 && column < m_columns;
}

int CCorrectionMap::GetRpm(int column) const {
    return column >= 0 && column < m_columns ? m_rpm[column] : 0;
}

int CCorrectionMap::GetTimeUs(int row) const {
    return row >= 0 && row < m_rows ? m_timeUs[row] : 0;
}

int CCorrectionMap::GetCell(int row, int column) const {
    return ValidCell(row, column) ? Cell(row, column) + kStoredOffset : 0;
}

void CCorrectionMap::SetCell(int row, int column, int percent) {
    if (!ValidCell(row, column)) {
        return;
    }
    const int stored = percent - kStoredOffset;
    const int saturated = std::clamp(stored, -128, 127);
    if (saturated != stored) {
        CLogger::Instance().Log(kLogMapEdits, "CConfigDynamic: cell [%d; %d] of %d%% saturated to %d%%.",
                                column, row, percent, saturated + kStoredOffset);
    }
    Cell(row, column) = saturated;
}

bool CCorrectionMap::CheckBaseAgainstCells(int percent) const {
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            const int total = Cell(r, c) + kStoredOffset + percent;
            if (total < kMinPercent || total > kMaxPercent) {
                return false;
            }
        }
    }
    return true;
}

int CCorrectionMap::SetBasePercent(int percent) {
    if (percent < kMinPercent || percent > kMaxPercent || !CheckBaseAgainstCells(percent)) {
        return 0;
    }
    m_base = percent - kStoredOffset;
    WriteBaseElement();
    return 1;
}

void CCorrectionMap::RestoreBasePercent(int percent) {
    m_base = std::clamp(percent - kStoredOffset, -128, 127);
    WriteBaseElement();
}

void CCorrectionMap::WriteBaseElement() {
    if (m_handler == nullptr) {
        return;
    }
    const BYTE value = ToByte(m_base);
    m_handler->WriteData(kElementBasePercent, &value);
}

bool CCorrectionMap::IsValidBox(int firstColumn, int firstRow, int lastColumn, int lastRow) const {
    return ValidCell(firstRow, firstColumn) && ValidCell(lastRow, lastColumn) && firstColumn <= lastColumn &&
           firstRow <= lastRow;
}

void CCorrectionMap::FillBoxRecord(int firstColumn, int firstRow, int lastColumn, int lastRow) {
    m_box[0] = static_cast<BYTE>(firstColumn);
    m_box[1] = static_cast<BYTE>(firstRow);
    m_box[2] = static_cast<BYTE>(lastColumn);
    m_box[3] = static_cast<BYTE>(lastRow);
    std::size_t at = 4;
    if (lastColumn - firstColumn >= lastRow - firstRow) {
        for (int r = firstRow; r <= lastRow; ++r) {
            for (int c = firstColumn; c <= lastColumn; ++c) {
                m_box[at++] = ToByte(Cell(r, c));
            }
        }
        return;
    }
    for (int c = firstColumn; c <= lastColumn; ++c) {
        for (int r = firstRow; r <= lastRow; ++r) {
            m_box[at++] = ToByte(Cell(r, c));
        }
    }
}

void CCorrectionMap::LogRefusedBox(int firstColumn, int firstRow, int lastColumn, int lastRow) const {
    CLogger::Instance().Log(kLogMapEdits,
                            "CConfigDynamic: box(%d, %d, %d, %d) outside the %d x %d map refused.",
                            firstColumn, firstRow, lastColumn, lastRow, m_columns, m_rows);
}

bool CCorrectionMap::WriteBox(int firstColumn, int firstRow, int lastColumn, int lastRow) {
    if (!IsValidBox(firstColumn, firstRow, lastColumn, lastRow)) {
        LogRefusedBox(firstColumn, firstRow, lastColumn, lastRow);
        return false;
    }
    BuildElementData(m_image.data(), m_image.size());
    FillBoxRecord(firstColumn, firstRow, lastColumn, lastRow);
    if (m_handler != nullptr) {
        m_handler->WriteData(kElementCorrectionMap, m_image.data(), m_box);
    }
    return true;
}

bool CCorrectionMap::WriteWholeMap() {
    return WriteBox(0, 0, m_columns - 1, m_rows - 1);
}

bool CCorrectionMap::FillBox(int percent, int firstRow, int firstColumn, int lastRow, int lastColumn) {
    if (!IsValidBox(firstColumn, firstRow, lastColumn, lastRow)) {
        LogRefusedBox(firstColumn, firstRow, lastColumn, lastRow);
        return false;
    }
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c) {
            SetCell(r, c, percent);
        }
    }
    return WriteBox(firstColumn, firstRow, lastColumn, lastRow);
}

void CCorrectionMap::PushUndoBox(int firstColumn, int firstRow, int lastColumn, int lastRow) {
    m_redo.clear();
    if (!IsValidBox(firstColumn, firstRow, lastColumn, lastRow)) {
        return;
    }
    CMapUndoRecord record{firstColumn, firstRow, lastColumn, lastRow, {}};
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c) {
            record.cells.push_back(Cell(r, c));
        }
    }
    m_undo.push_back(std::move(record));
}

void CCorrectionMap::SwapBox(CMapUndoRecord& record) {
    auto value = record.cells.begin();
    for (int r = record.firstRow; r <= record.lastRow; ++r) {
        for (int c = record.firstColumn; c <= record.lastColumn; ++c) {
            std::swap(Cell(r, c), *value++);
        }
    }
}

namespace {

// Moves the newest record from one list to the other, swapping its cells with the map's.
template <typename Swap, typename Valid>
bool MoveRecord(std::vector<CMapUndoRecord>& from,
                std::vector<CMapUndoRecord>& to,
                Swap swap,
                Valid valid,
                int& firstColumn,
                int& firstRow,
                int& lastColumn,
                int& lastRow) {
    if (from.empty()) {
        return false;
    }
    CMapUndoRecord record = std::move(from.back());
    from.pop_back();
    if (!valid(record)) {
        CLogger::Instance().Log(kLogMapEdits, "CConfigDynamic: box(%d, %d, %d, %d) no longer fits the map.",
                                record.firstColumn, record.firstRow, record.lastColumn, record.lastRow);
        return false;
    }
    swap(record);
    firstColumn = record.firstColumn;
    firstRow = record.firstRow;
    lastColumn = record.lastColumn;
    lastRow = record.lastRow;
    to.push_back(std::move(record));
    return true;
}

}  // namespace

bool CCorrectionMap::Undo(int& firstColumn, int& firstRow, int& lastColumn, int& lastRow) {
    return MoveRecord(
        m_undo, m_redo, [this](CMapUndoRecord& r) { SwapBox(r); },
        [this](const CMapUndoRecord& r) {
            return IsValidBox(r.firstColumn, r.firstRow, r.lastColumn, r.lastRow);
        },
        firstColumn, firstRow, lastColumn, lastRow);
}

bool CCorrectionMap::Redo(int& firstColumn, int& firstRow, int& lastColumn, int& lastRow) {
    return MoveRecord(
        m_redo, m_undo, [this](CMapUndoRecord& r) { SwapBox(r); },
        [this](const CMapUndoRecord& r) {
            return IsValidBox(r.firstColumn, r.firstRow, r.lastColumn, r.lastRow);
        },
        firstColumn, firstRow, lastColumn, lastRow);
}

bool CCorrectionMap::DropLastRedo() {
    if (m_redo.empty()) {
        return false;
    }
    m_redo.pop_back();
    return true;
}

void CCorrectionMap::SaveMatrix() {
    std::copy(std::begin(m_cells), std::end(m_cells), std::begin(m_savedCells));
    m_savedBase = GetBasePercent();
    m_savedColumns = m_columns;
    m_savedRows = m_rows;
}

int CCorrectionMap::GetSavedCell(int row, int column) const {
    if (!ValidCell(row, column) || m_savedColumns != m_columns || m_savedRows != m_rows) {
        return 0;
    }
    return m_savedCells[row * m_columns + column] + kStoredOffset;
}

void CCorrectionMap::RestoreSavedMatrix() {
    if (m_savedColumns != m_columns || m_savedRows != m_rows) {
        CLogger::Instance().Log(kLogMapEdits,
                                "CConfigDynamic::RestoreSavedMatrix(): saved %d x %d, map %d x %d.",
                                m_savedColumns, m_savedRows, m_columns, m_rows);
        return;
    }
    std::copy(std::begin(m_savedCells), std::end(m_savedCells), std::begin(m_cells));
    // The saved map may hold folded values beyond the edit limits; the base that went
    // with it is put back all the same.
    RestoreBasePercent(m_savedBase);
    WriteWholeMap();
}

bool CCorrectionMap::FindNearestCell(int rpm, double injectionMs, CMapCellBracket& bracket) const {
    bracket = CMapCellBracket();
    if (IsEmpty()) {
        return false;
    }
    NearestOnAxis(
        m_columns, [this](int i) { return static_cast<double>(m_rpm[i]); }, rpm, bracket.nearestColumn,
        bracket.lowerColumn, bracket.upperColumn);
    NearestOnAxis(
        m_rows, [this](int i) { return m_timeUs[i] * 0.001; }, injectionMs, bracket.nearestRow,
        bracket.lowerRow, bracket.upperRow);
    return true;
}

CCorrectionMap::AxisSpan CCorrectionMap::SpanOnRpm(int rpm) const {
    AxisSpan span{};
    SpanOnAxis(
        m_columns, [this](int i) { return static_cast<double>(m_rpm[i]); }, rpm, span.lower, span.upper,
        span.weight);
    return span;
}

CCorrectionMap::AxisSpan CCorrectionMap::SpanOnTime(double injectionMs) const {
    AxisSpan span{};
    SpanOnAxis(
        m_rows, [this](int i) { return m_timeUs[i] * 0.001; }, injectionMs, span.lower, span.upper,
        span.weight);
    return span;
}

int CCorrectionMap::GetInterpolatedValue(int rpm, double injectionMs) const {
    if (IsEmpty() || !std::isfinite(injectionMs)) {
        return 0;
    }
    const AxisSpan cols = SpanOnRpm(rpm);
    const AxisSpan rows = SpanOnTime(injectionMs);
    const double u = cols.weight;
    const double v = rows.weight;
    const double a = GetCell(rows.lower, cols.lower);
    const double b = GetCell(rows.lower, cols.upper);
    const double c = GetCell(rows.upper, cols.lower);
    const double d = GetCell(rows.upper, cols.upper);
    return static_cast<int>(u * v * d + v * (1 - u) * c + u * (1 - v) * b + (1 - u) * (1 - v) * a + 0.5);
}

double CCorrectionMap::GetRpmStep() const {
    if (m_columns < 2) {
        return 0;
    }
    return static_cast<double>(m_rpm[m_columns - 1] - m_rpm[0]) / (m_columns - 1);
}

double CCorrectionMap::GetTimeStep() const {
    if (m_rows < 2) {
        return 0;
    }
    return static_cast<double>(m_timeUs[m_rows - 1] - m_timeUs[0]) / ((m_rows - 1) * 1000.0);
}
