// The 50 rows of the unit's command table as the program starts with them.
#include "link/CCommandTable.h"

namespace {

constexpr std::array<CommandRow, CCommandTable::kRowCount> kInitialRows{{
    {1, 0, 2},      {20, 0, 2},  {21, 0, 16}, {22, 0, 16},  {0x8028, 0, -1}, {0x8029, 4, -1}, {0x802A, -1, 0},
    {24, 0, 5},     {25, 1, 0},  {40, 0, -2}, {41, 0, -2},  {46, 0, 1},      {68, 1, 0},      {27, 0, 1},
    {26, 0, 2},     {28, 0, 4},  {30, 0, 35}, {60, 35, 0},  {0x8030, 0, -1}, {82, 1, 1},      {83, 2, 0},
    {31, 0, 4},     {61, 4, 0},  {76, 0, 0},  {75, 0, 0},   {80, 0, 0},      {0x8051, 0, -1}, {84, 0, 0},
    {85, 0, 0},     {50, 0, 44}, {51, 0, 22}, {32, 0, 44},  {19, 1, 0},      {0x8001, 1, -1}, {0x8002, 3, -1},
    {48, 0, 10},    {49, 0, 0},  {16, -1, 0}, {18, 1, 0},   {17, 0, -1},     {33, 1, 14},     {34, 15, 0},
    {90, 0, 1},     {91, 0, 1},  {92, 0, 1},  {93, -1, -1}, {94, -1, -1},    {42, 3, 18},     {64, 21, 0},
    {0x8003, 0, 0},
}};

constexpr int kLengthBits = 24;
constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << kLengthBits) - 1;

std::uint64_t Pack(const CommandRow& row) {
    return std::uint64_t{row.code} | (static_cast<std::uint64_t>(row.requestLength) & kLengthMask) << 16 |
           (static_cast<std::uint64_t>(row.replyLength) & kLengthMask) << (16 + kLengthBits);
}

int UnpackLength(std::uint64_t bits) {
    const auto length = static_cast<std::int32_t>(bits & kLengthMask);
    return length >= (1 << (kLengthBits - 1)) ? length - (1 << kLengthBits) : length;
}

}  // namespace

CCommandTable::CCommandTable() {
    for (int row = 0; row < kRowCount; ++row) {
        Set(row, kInitialRows[static_cast<std::size_t>(row)]);
    }
}

CommandRow CCommandTable::Get(int row) const {
    const std::uint64_t bits = m_rows[static_cast<std::size_t>(row)].load();
    return CommandRow{static_cast<WORD>(bits & 0xFFFF), UnpackLength(bits >> 16),
                      UnpackLength(bits >> (16 + kLengthBits))};
}

void CCommandTable::Set(int row, const CommandRow& value) {
    m_rows[static_cast<std::size_t>(row)].store(Pack(value));
}

int CCommandTable::DataBytes(int length, BYTE count) {
    if (length >= 0) {
        return length;
    }
    return 1 + static_cast<int>(count) * -length;
}
