// Texts of the OBD adaptation block (element 95) that the adaptation panel and the data
// saver show: the OBD link state of the status byte's low nibble and the fuel-system state
// of one bank.
#pragma once

#include "classlib/core/CString.h"

class CObdAdaptationTexts {
public:
    static constexpr int kLinkConnected = 15;
    static constexpr int kLinkIoError = 1;

    // The text of a link code (low nibble of byte 6); null for the codes 4 to 14 and any
    // value outside 0..15.
    static const char* LinkText(int code);

    // The fuel-system text of one bank: an OBD fuel-system status with a single bit set;
    // 0 and values with more than one bit read "Unused". Two-line texts hold a '\n'.
    static CString FuelSystemText(int state);

    // The same on one line: the second line of a two-line text in brackets after the first.
    static CString FuelSystemTextOnOneLine(int state);

    // Whether the state is one of the two failure states (drawn in the warning colour).
    static bool IsFuelSystemFailure(int state);
};
