// Frame helpers of the simulated unit.
#include "tools/unitsim/CUnitFrame.h"

namespace {

constexpr uint8_t kReplyBit = 0x80;
constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

uint8_t CUnitFrame::Checksum(const uint8_t* bytes, std::size_t count) {
    uint8_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum ^= bytes[i];
    }
    return sum;
}

bool CUnitFrame::HasValidChecksum(const std::vector<uint8_t>& frame) {
    if (frame.empty()) {
        return false;
    }
    return Checksum(frame.data(), frame.size() - 1) == frame.back();
}

std::vector<uint8_t> CUnitFrame::BuildReply(uint8_t answerId,
                                            uint8_t code,
                                            const std::vector<uint8_t>& data) {
    std::vector<uint8_t> frame;
    frame.reserve(data.size() + 3);
    frame.push_back(answerId);
    frame.push_back(static_cast<uint8_t>(code | kReplyBit));
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(Checksum(frame.data(), frame.size()));
    return frame;
}

std::string CUnitFrame::FormatHex(const uint8_t* bytes, std::size_t count) {
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += kHexDigits[bytes[i] >> 4];
        text += kHexDigits[bytes[i] & 0x0F];
    }
    return text;
}
