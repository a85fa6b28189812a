// Request and answer frames for in-process tests of the simulated unit.
#include "tests/unitsim/CUnitRequester.h"

#include "tools/unitsim/CUnitFrame.h"

#include <gtest/gtest.h>

CUnitRequester::Bytes CUnitRequester::Frame(uint8_t senderId, uint8_t code, const Bytes& data) {
    Bytes frame = {senderId, code};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(CUnitFrame::Checksum(frame.data(), frame.size()));
    return frame;
}

CUnitRequester::Bytes CUnitRequester::Exchange(uint8_t code, const Bytes& data, bool loader) {
    const Bytes frame = Frame(loader ? 0x99 : 0xAA, code, data);
    return engine.Feed(frame.data(), frame.size());
}

CUnitRequester::Bytes CUnitRequester::Ask(uint8_t code, const Bytes& data, bool loader) {
    const Bytes reply = Exchange(code, data, loader);
    if (reply.size() < 3 || reply[1] != (code | 0x80) || !CUnitFrame::HasValidChecksum(reply)) {
        ADD_FAILURE() << "no good answer to command " << int(code) << ": " << CUnitFrame::FormatHex(reply);
        return {};
    }
    return Bytes(reply.begin() + 2, reply.end() - 1);
}

void CUnitRequester::Tell(uint8_t code, const Bytes& data, bool loader) {
    EXPECT_TRUE(Ask(code, data, loader).empty()) << "command " << int(code);
}
