// Frame helpers of the simulated unit: the XOR checksum, reply frames and the
// hexadecimal form used in the transcript.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CUnitFrame {
public:
    // XOR of all bytes, the checksum over a frame's bytes before its last.
    static uint8_t Checksum(const uint8_t* bytes, std::size_t count);

    // True when the frame's last byte is the XOR of all bytes before it.
    static bool HasValidChecksum(const std::vector<uint8_t>& frame);

    // Answer id, code with bit 7 set, data, checksum.
    static std::vector<uint8_t> BuildReply(uint8_t answerId, uint8_t code, const std::vector<uint8_t>& data);

    // "AA 01 1E 01 B4": two upper-case digits per byte, one blank between bytes.
    static std::string FormatHex(const uint8_t* bytes, std::size_t count);

    static std::string FormatHex(const std::vector<uint8_t>& bytes) {
        return FormatHex(bytes.data(), bytes.size());
    }
};
