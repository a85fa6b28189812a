// What the two calibrations from the OBD fuel trims share: the state, the time-stamped
// samples, the fuel-system states counted as closed loop, the use of the long trims, and
// the step on a data handler's live elements. UI thread only.
#pragma once

#include "calib/CInjectionFilter.h"
#include "calib/CObdBlock.h"
#include "calib/CTrimSampleList.h"

class CDataHandler;
class IClock;
class ILiveValues;

class CalibratorCoreTrim {
public:
    static constexpr int kStateIdle = 0;

    virtual ~CalibratorCoreTrim();
    CalibratorCoreTrim(const CalibratorCoreTrim&) = delete;
    CalibratorCoreTrim& operator=(const CalibratorCoreTrim&) = delete;

    // One step; percentInEffect is the correction the map gives at the current point.
    int Step(CDataHandler* dataHandler, int percentInEffect);
    virtual int Step(ILiveValues& live, int percentInEffect) = 0;

    void SetState(int state) { m_state = state; }

    int GetState() const { return m_state; }

    void SetUseLongTrim(int use) { m_useLongTrim = use; }

    int GetUseLongTrim() const { return m_useLongTrim; }

    void ClearSamples() { m_samples.Clear(); }

    // The element-50 value; kept, no step depends on it.
    void SetFilterValue(int value) { m_filterValue = value; }

    int GetFuelSystemMask() const { return m_fuelSystemMask; }

    // The clock of the sample stamps (not owned; the system clock unless set).
    void SetClock(IClock& clock) { m_clock = &clock; }

protected:
    // logName starts the core's log lines.
    explicit CalibratorCoreTrim(const char* logName);

    bool IsClosedLoop(int status) const { return (status & m_fuelSystemMask) != 0; }

    // Waiting for gas: once the unit runs on it, the samples start afresh in measuringState.
    bool BeginOnGas(int fuelState, int measuringState);
    // Appends the sample of the current step, stamped now.
    void AppendSample(int speedRpm, double injectionMs, const CObdBlock& obd);

    int m_state = 0;
    CTrimSampleList m_samples;
    int m_useLongTrim = 0;
    CInjectionFilter m_injectionFilter;

private:
    const char* m_logName;
    int m_fuelSystemMask = CObdBlock::kClosedLoopMask;
    int m_filterValue = 0;
    IClock* m_clock;  // not owned
};
