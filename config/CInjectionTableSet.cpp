#include "config/CInjectionTableSet.h"

namespace {

constexpr const char* kNames[CInjectionTableSet::kTableCount] = {"Benzin 1", "Benzin 2", "Gas 1", "Gas 2"};
constexpr int kRpm[CInjectionTableSet::kColumns] = {100,  650,  900,  1200, 1500, 1750, 2000, 2500, 3000,
                                                    3500, 4000, 4500, 5000, 5500, 6000, 6500, 7500, 8000};
constexpr int kTimeUs[CInjectionTableSet::kRows] = {1000, 1400, 1800,  2200,  2600,  3000,  4000,  5000,
                                                    6000, 8000, 10000, 12000, 14000, 16000, 20000, 25000};

bool InTable(int row, int column) {
    return row >= 0 && row < CInjectionTableSet::kRows && column >= 0 &&
           column < CInjectionTableSet::kColumns;
}

}  // namespace

const char* CInjectionTableSet::Name(int table) {
    return table >= 0 && table < kTableCount ? kNames[table] : "";
}

int CInjectionTableSet::Rpm(int column) {
    return kRpm[column];
}

int CInjectionTableSet::TimeUs(int row) {
    return kTimeUs[row];
}

const int* CInjectionTableSet::RpmAxis() {
    return kRpm;
}

const int* CInjectionTableSet::TimeAxis() {
    return kTimeUs;
}

void CInjectionTableSet::Select(int table) {
    if (table >= 0 && table < kTableCount) {
        m_selected = table;
    }
}

int CInjectionTableSet::GetCell(int row, int column) const {
    if (!InTable(row, column)) {
        return 0;
    }
    return m_tables[static_cast<std::size_t>(m_selected)][static_cast<std::size_t>(row * kColumns + column)];
}

bool CInjectionTableSet::SetCell(int row, int column, int value) {
    if (!InTable(row, column) || value < kLowest || value > kHighest) {
        return false;
    }
    m_tables[static_cast<std::size_t>(m_selected)][static_cast<std::size_t>(row * kColumns + column)] =
        static_cast<BYTE>(value);
    return true;
}
