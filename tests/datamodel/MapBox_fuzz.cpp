// Feeds two correction maps from the wire to the box builder; it must stay within the
// element and the record whatever counts the bytes state.
#include "link/MapBox.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t half = size / 2;
    std::vector<BYTE> unit(data, data + half);
    std::vector<BYTE> working(data + half, data + 2 * half);
    BYTE record[kBoxRecordBytes];
    const std::size_t length = BuildChangedBox(unit.data(), working.data(), half, record);
    if (length > kBoxRecordBytes || (length > 0 && BoxRecordLength(record) != length)) {
        __builtin_trap();
    }
    return 0;
}
