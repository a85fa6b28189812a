// The connection statuses the communicator reports to the data handler, which passes
// them on to every window (WM_DH_STATUS_CHANGED).
#pragma once

constexpr int kStatusNone = 0;
constexpr int kStatusNotConnected = 1;
constexpr int kStatusConnected = 2;
constexpr int kStatusIncompatible = 3;
constexpr int kStatusJammed = 4;  // connected, but the last pass needed more repeats than exchanges
constexpr int kStatusUpdateMode = 5;
constexpr int kStatusIncompatibleUpdate = 6;

// Whether the unit answers in its normal link, so that requests may be queued.
constexpr bool IsLinkUp(int status) {
    return status == kStatusConnected || status == kStatusJammed;
}
