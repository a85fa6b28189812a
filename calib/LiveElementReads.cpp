// Reads of the live elements in the unit's byte order (low byte first).
#include "calib/LiveElementReads.h"

#include "calib/ILiveValues.h"

namespace {

// Large enough for every element read here; the reader refuses longer ones.
constexpr int kBufferBytes = 16;

}  // namespace

BYTE ReadLiveByte(ILiveValues& live, int index) {
    BYTE bytes[kBufferBytes];
    live.ReadElement(index, bytes, kBufferBytes);
    return bytes[0];
}

int ReadLiveWord(ILiveValues& live, int index) {
    BYTE bytes[kBufferBytes];
    live.ReadElement(index, bytes, kBufferBytes);
    return bytes[0] | (bytes[1] << 8);
}

void ReadInjectionTimes(ILiveValues& live, int* timesUs) {
    BYTE bytes[kBufferBytes];
    live.ReadElement(kElementInjectionTimes, bytes, kBufferBytes);
    for (int i = 0; i < kInjectionCylinders; ++i) {
        timesUs[i] = bytes[2 * i] | (bytes[2 * i + 1] << 8);
    }
}
