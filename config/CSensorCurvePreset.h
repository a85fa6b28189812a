// The set-up of the sensor characteristic dialog for each of the settings page's three
// characteristic buttons (gas level, press and temperature sensors).
#pragma once

#include "classlib/core/WinTypes.h"

class CSensorCurvePreset {
public:
    static constexpr int kMaxPoints = 10;

    // The preset of the button with this control id, or null.
    static const CSensorCurvePreset* FindByButton(int buttonId);

    int buttonId;
    int pointCount;
    UINT measuredName;
    const char* measuredUnit;
    double measuredLower;
    double measuredUpper;
    int measuredDecimals;
    UINT calculatedName;
    const char* calculatedUnit;
    double calculatedLower;
    double calculatedUpper;
    int calculatedDecimals;
    double measured[kMaxPoints];
    double calculated[kMaxPoints];
    unsigned calculatedFixedMask;
    int liveElement;
};
