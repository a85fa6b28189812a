// The injection time of one live cycle: the eight cylinder readings of element 27 pass
// a filter that ignores implausible short readings (1 to 999 µs) by keeping the
// cylinder's previous value, and the non-zero cylinders are averaged.
// Each core and each calibration display keeps a filter of its own.
#pragma once

#include "calib/LiveElementReads.h"

class ILiveValues;

class CInjectionFilter {
public:
    // Takes one cycle's readings (µs) and returns the averaged injection time, ms.
    double Update(const int* timesUs);
    // Reads element 27 and updates.
    double Read(ILiveValues& live);

private:
    int m_slotsUs[kInjectionCylinders] = {};
};
