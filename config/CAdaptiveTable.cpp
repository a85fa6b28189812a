#include "config/CAdaptiveTable.h"

namespace {

int Word(const BYTE* data) {
    return data[0] | data[1] << 8;
}

void PutWord(BYTE* data, int value) {
    data[0] = static_cast<BYTE>(value & 0xFF);
    data[1] = static_cast<BYTE>(value >> 8 & 0xFF);
}

}  // namespace

void CAdaptiveTable::Clear() {
    m_rpm.clear();
    m_time.clear();
    m_cells.clear();
}

std::size_t CAdaptiveTable::EncodedLength() const {
    return 2 + 2 * (m_rpm.size() + m_time.size()) + m_cells.size();
}

bool CAdaptiveTable::Decode(const BYTE* data, std::size_t length) {
    Clear();
    if (data == nullptr || length < 1) {
        return false;
    }
    const std::size_t count1 = data[0];
    std::size_t at = 1;
    if (count1 > kMaxBreakpoints || length < at + 2 * count1 + 1) {
        return false;
    }
    std::vector<int> rpm;
    for (std::size_t i = 0; i < count1; ++i, at += 2) {
        rpm.push_back(Word(data + at));
    }
    const std::size_t count2 = data[at++];
    if (count2 > kMaxBreakpoints || length < at + 2 * count2 + count1 * count2) {
        return false;
    }
    std::vector<int> time;
    for (std::size_t i = 0; i < count2; ++i, at += 2) {
        time.push_back(Word(data + at));
    }
    m_rpm = std::move(rpm);
    m_time = std::move(time);
    m_cells.assign(count1 * count2, 0);
    const bool byColumn = count1 < count2;
    for (std::size_t i = 0; i < count1 * count2; ++i) {
        const std::size_t row = byColumn ? i % count2 : i / count1;
        const std::size_t column = byColumn ? i / count2 : i % count1;
        m_cells[row * count1 + column] = static_cast<signed char>(data[at + i]);
    }
    return true;
}

std::size_t CAdaptiveTable::Encode(BYTE* buffer, std::size_t length) const {
    const std::size_t needed = EncodedLength();
    if (buffer == nullptr || length < needed) {
        return 0;
    }
    const std::size_t count1 = m_rpm.size();
    const std::size_t count2 = m_time.size();
    std::size_t at = 0;
    buffer[at++] = static_cast<BYTE>(count1);
    for (const int rpm : m_rpm) {
        PutWord(buffer + at, rpm);
        at += 2;
    }
    buffer[at++] = static_cast<BYTE>(count2);
    for (const int time : m_time) {
        PutWord(buffer + at, time);
        at += 2;
    }
    const bool byColumn = count1 < count2;
    for (std::size_t i = 0; i < count1 * count2; ++i) {
        const std::size_t row = byColumn ? i % count2 : i / count1;
        const std::size_t column = byColumn ? i / count2 : i % count1;
        buffer[at + i] = static_cast<BYTE>(m_cells[row * count1 + column]);
    }
    return needed;
}

int CAdaptiveTable::StoreRowAnswer(const BYTE* answer, std::size_t length) {
    if (answer == nullptr || length < 1 + m_rpm.size()) {
        return -1;
    }
    const int row = answer[0];
    if (row >= GetRowCount()) {
        return -1;
    }
    for (std::size_t column = 0; column < m_rpm.size(); ++column) {
        m_cells[Index(row, static_cast<int>(column))] = static_cast<signed char>(answer[1 + column]);
    }
    return row;
}
