// The filtered, averaged injection time of one live cycle.
#include "calib/CInjectionFilter.h"

#include "link/CalibrationHelpers.h"

double CInjectionFilter::Update(const int* timesUs) {
    CopyZeroOrLargeValues(timesUs, m_slotsUs, kInjectionCylinders);
    return AverageNonZero(m_slotsUs, kInjectionCylinders) * 0.001;
}

double CInjectionFilter::Read(ILiveValues& live) {
    int timesUs[kInjectionCylinders];
    ReadInjectionTimes(live, timesUs);
    return Update(timesUs);
}
