// Result codes of one exchange with the unit. Any value not listed here is the
// unit's own error code, sign-extended from its 8-bit error frame.
#pragma once

constexpr int kResultSuccess = 0;
constexpr int kResultWriteError = 1;
constexpr int kResultShortWrite = 2;
constexpr int kResultReadError = 3;
constexpr int kResultByteTimeout = 4;
constexpr int kResultWrongId = 5;
constexpr int kResultChecksumError = 6;
// The unit's answer to a command it does not support (0xE7 sign-extended).
constexpr int kResultUnitRefused = -25;

// Ping outcomes besides the failure codes above.
constexpr int kPingConnected = 0;
constexpr int kPingIncompatible = 16;
constexpr int kPingIncompatibleUpdate = 17;
constexpr int kPingUpdateMode = 32;

inline bool IsUnitPresent(int pingResult) {
    return pingResult == kPingConnected || pingResult == kPingIncompatible ||
           pingResult == kPingIncompatibleUpdate || pingResult == kPingUpdateMode;
}
