// Frame checksum shared by requests, replies and error replies.
#include "link/FrameChecksum.h"

namespace {

BYTE XorOf(const BYTE* buffer, int count) {
    BYTE x = 0;
    for (int i = 0; i < count; ++i) {
        x ^= buffer[i];
    }
    return x;
}

}  // namespace

void SetChecksum(BYTE* buffer, int length) {
    if (length < 1) {
        return;
    }
    buffer[length - 1] = XorOf(buffer, length - 1);
}

bool CheckChecksum(const BYTE* buffer, int length) {
    if (length < 1) {
        return false;
    }
    return buffer[length - 1] == XorOf(buffer, length - 1);
}
