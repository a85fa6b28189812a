#include "link/ReadElementBytes.h"

#include "link/CDataHandler.h"

#include <algorithm>

std::vector<BYTE> ReadElementBytes(CDataHandler& handler, int element, std::size_t minimum) {
    const int length = std::max(0, handler.GetElementLength(element));
    std::vector<BYTE> bytes(std::max(minimum, static_cast<std::size_t>(length)), 0);
    handler.ReadData(element, bytes.data());
    return bytes;
}
