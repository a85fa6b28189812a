// The simulated unit's command catalogue: for every command code the shape and
// length of its request and reply data, for the application (sender id 0xAA)
// and for the loader (sender id 0x99).
#pragma once

#include <cstdint>
#include <vector>

// How the data of a request or reply are sized on the wire.
enum class DataShape {
    Fixed,      // exactly `length` bytes
    Counted,    // a count byte c, then c items of `length` bytes
    CellRange,  // requests: line, first, last, then last - first + 1 cells;
                // replies: last - first + 1 cells of the request's range
};

struct UnitCommand {
    uint8_t code;
    DataShape requestShape;
    int requestLength;
    DataShape replyShape;
    int replyLength;
};

class CUnitCommandTable {
public:
    static constexpr uint8_t kApplicationSenderId = 0xAA;
    static constexpr uint8_t kLoaderSenderId = 0x99;
    static constexpr uint8_t kApplicationAnswerId = 0x55;
    static constexpr uint8_t kLoaderAnswerId = 0x66;
    static constexpr uint8_t kPingCode = 1;

    static bool IsSenderId(uint8_t byte) { return byte == kApplicationSenderId || byte == kLoaderSenderId; }

    // The command the given sender may send with this code; null when the code
    // is not in that sender's catalogue.
    static const UnitCommand* Find(uint8_t senderId, uint8_t code);

    // Reply data of the given size filled with zeros: a count of 0 for counted
    // replies, the request's cell range for range replies. `requestData` are the
    // request's data bytes (without id, code and checksum).
    static std::vector<uint8_t> ZeroReplyData(const UnitCommand& command,
                                              const std::vector<uint8_t>& requestData);
};
