// CRC-32 with a table built at compile time.
#include "link/CalcCrc32.h"

#include <array>

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) ? (kPolynomial ^ (c >> 1)) : (c >> 1);
        }
        table[i] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();
static_assert(kTable[1] == 0x77073096u, "CRC table entry 1");
static_assert(kTable[255] == 0x2D02EF8Du, "CRC table entry 255");

}  // namespace

DWORD CalcCrc32(const BYTE* data, int length, DWORD* result) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (int i = 0; i < length; ++i) {
        c = (c >> 8) ^ kTable[(c ^ data[i]) & 0xFFu];
    }
    const DWORD crc = ~c;
    if (result != nullptr) {
        *result = crc;
    }
    return crc;
}
