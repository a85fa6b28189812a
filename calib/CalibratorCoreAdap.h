// The adaptive calibration of one map point from the OBD fuel trims: measures the
// mean trim at the percent in effect (base), moves the percent by it, measures again
// (exchange) and extrapolates the percent at which the trim would vanish.
// Stepped once per live-polling cycle by the adaptive calibration dialog; UI thread only.
#pragma once

#include "calib/CInjectionFilter.h"
#include "calib/CObdBlock.h"
#include "calib/CTrimSampleList.h"

class CDataHandler;
class IClock;
class ILiveValues;

class CalibratorCoreAdap {
public:
    static constexpr int kStateIdle = 0;
    static constexpr int kStateStart = 1;
    static constexpr int kStateWaitGas = 2;
    static constexpr int kStateBase = 3;
    static constexpr int kStateExchange = 4;
    static constexpr int kStateAborted = 5;
    static constexpr int kStateFinished = 6;

    static constexpr int kCodeNothing = 0;
    static constexpr int kCodeStarted = 1;
    static constexpr int kCodeGasLost = 2;
    static constexpr int kCodeTrimsInvalid = 3;
    static constexpr int kCodeNoClosedLoop = 4;
    static constexpr int kCodeRevsOutside = 5;
    static constexpr int kCodeInjectionOutside = 6;
    static constexpr int kCodeMeasuringBase = 7;
    static constexpr int kCodeMeasuringExchange = 8;
    static constexpr int kCodeFinished = 9;
    static constexpr int kCodeNewPercent = 10;
    static constexpr int kCodeNoReaction = 11;
    static constexpr int kCodeWrongReaction = 12;
    static constexpr int kCodeBelowMinimum = 13;
    static constexpr int kCodeAboveMaximum = 14;

    // Edited directly by the trim calibration settings dialog.
    struct Parameters {
        int revsAcceptRpm = 100;
        double injsAcceptPercent = 100.0;
        double injsStabilityDeg = 2.0;
        int timeOfMeasureMs = 4000;
    };

    // One measured stage.
    struct Measurement {
        int averageRpm = 0;
        double averageMs = 0.0;
        int percentUsed = 0;
        int trim = 0;
    };

    CalibratorCoreAdap();
    virtual ~CalibratorCoreAdap();
    CalibratorCoreAdap(const CalibratorCoreAdap&) = delete;
    CalibratorCoreAdap& operator=(const CalibratorCoreAdap&) = delete;

    // One step; percentInEffect is the correction the map gives at the current point.
    int Step(CDataHandler* dataHandler, int percentInEffect);
    int Step(ILiveValues& live, int percentInEffect);

    void SetState(int state) { m_state = state; }

    int GetState() const { return m_state; }

    void SetTargetRevs(int rpm);
    void SetTargetInjection(double ms);

    void SetUseLongTrim(int use) { m_useLongTrim = use; }

    int GetUseLongTrim() const { return m_useLongTrim; }

    void ClearSamples() { m_samples.Clear(); }

    // The element-50 value; kept, no step depends on it.
    void SetFilterValue(int value) { m_filterValue = value; }

    Parameters& GetParameters() { return m_parameters; }

    int GetFuelSystemMask() const { return m_fuelSystemMask; }

    double GetTargetInjection() const { return m_targetMs; }

    const Measurement& GetBase() const { return m_base; }

    const Measurement& GetExchange() const { return m_exchange; }

    int GetResultPercent() const { return m_resultPercent; }

    int GetResultRpm() const { return m_resultRpm; }

    double GetResultMs() const { return m_resultMs; }

    // The clock of the sample stamps (not owned; the system clock unless set).
    void SetClock(IClock& clock) { m_clock = &clock; }

private:
    struct LiveInputs {
        int fuelState;
        int speedRpm;
        double injectionMs;
        CObdBlock obd;
    };

    int StepMeasuring(const LiveInputs& in, int percentInEffect);
    int StepBase(int percentInEffect);
    int StepExchange(int percentInEffect);
    int Extrapolate();
    int Finish(int percentInEffect, const Measurement& at);
    int Abort(int code);

    bool IsClosedLoop(int status) const { return (status & m_fuelSystemMask) != 0; }

    double SampleTrim(const TrimSample& s) const;
    int SampleTrimWhole(const TrimSample& s) const;
    void DropBeyondWindow();

    int m_state = kStateIdle;
    int m_fuelSystemMask = CObdBlock::kClosedLoopMask;
    CTrimSampleList m_samples;
    int m_filterValue = 0;
    Measurement m_base;
    Measurement m_exchange;
    int m_targetRpm = 0;
    int m_targetLowRpm = 0;
    int m_targetHighRpm = 0;
    double m_targetMs = 0.0;
    double m_targetLowMs = 0.0;
    double m_targetHighMs = 0.0;
    int m_useLongTrim = 0;
    int m_resultPercent = 0;
    int m_resultRpm = 0;
    double m_resultMs = 0.0;
    Parameters m_parameters;
    CInjectionFilter m_injectionFilter;
    IClock* m_clock;  // not owned
};
