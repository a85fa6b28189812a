#include "diag/CObdAdaptationTexts.h"

namespace {

struct StateText {
    int bit;
    const char* text;
};

// Checked in this order; the first set bit names the state.
constexpr StateText kFuelSystemTexts[] = {
    {0x01, "Open loop\ninsufficient engine temperature"},
    {0x02, "Closed loop"},
    {0x04, "Open loop\nengine load"},
    {0x08, "Open loop\nsystem failure"},
    {0x10, "Closed loop\nfault in the feedback system"},
};

constexpr int kFailureBits = 0x08 | 0x10;

bool HasOneBit(int value) {
    return value != 0 && (value & (value - 1)) == 0;
}

}  // namespace

const char* CObdAdaptationTexts::LinkText(int code) {
    switch (code) {
    case 0:
        return "not connected ";
    case kLinkIoError:
        return "i/o error";
    case 2:
        return "not supported";
    case 3:
        return "internal error";
    case kLinkConnected:
        return "connected";
    default:
        return nullptr;
    }
}

CString CObdAdaptationTexts::FuelSystemText(int state) {
    if (!HasOneBit(state)) {
        return "Unused";
    }
    for (const StateText& entry : kFuelSystemTexts) {
        if ((state & entry.bit) != 0) {
            return entry.text;
        }
    }
    CString text;
    text.Format("Unknown (0x%02X)", state & 0xFF);
    return text;
}

CString CObdAdaptationTexts::FuelSystemTextOnOneLine(int state) {
    CString text = FuelSystemText(state);
    // A ")" only closes a " (" that a line break became.
    if (text.Replace("\n", " (") > 0) {
        text += ')';
    }
    return text;
}

bool CObdAdaptationTexts::IsFuelSystemFailure(int state) {
    return HasOneBit(state) && (state & kFailureBits) != 0;
}
