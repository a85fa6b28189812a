// The continuous calibration: while the car is driven on gas it collects live samples
// over a time window and, whenever speed and injection time have held steady and the
// OBD fuel trims are valid and in closed loop, turns the mean trim into a correction
// at the window's mean operating point; then it starts over for the next point.
// Stepped once per live-polling cycle by the continuous calibration dialog; UI thread only.
#pragma once

#include "calib/CInjectionFilter.h"
#include "calib/CObdBlock.h"
#include "calib/CTrimSampleList.h"

class CDataHandler;
class IClock;
class ILiveValues;

class CalibratorCoreCont {
public:
    static constexpr int kStateIdle = 0;
    static constexpr int kStateStart = 1;
    static constexpr int kStateWaitGas = 2;
    static constexpr int kStateMeasuring = 3;
    static constexpr int kStateStopped = 4;

    static constexpr int kCodeNothing = 0;
    static constexpr int kCodeStarted = 1;
    static constexpr int kCodeTrimsInvalid = 2;
    static constexpr int kCodeNoClosedLoop = 3;
    static constexpr int kCodeRevsTooLow = 4;
    static constexpr int kCodeMeasuring = 5;
    static constexpr int kCodePointFound = 6;
    static constexpr int kCodeGasLost = 7;
    static constexpr int kCodeTooCold = 8;
    static constexpr int kCodeBelowMinimum = 9;
    static constexpr int kCodeAboveMaximum = 10;

    // Edited directly by the trim calibration settings dialog.
    struct Parameters {
        int timeOfMeasureMs = 1000;
        double maxRevsChangePerSecond = 500.0;
        double maxInjsChangePerSecond = 1.0;  // ms per second
        double maxRevsDescentDeg = 0.0;
        double maxInjsDescentDeg = 2.0;
        int minimumRpm = 400;
        int minTemperatureC = 70;
    };

    CalibratorCoreCont();
    virtual ~CalibratorCoreCont();
    CalibratorCoreCont(const CalibratorCoreCont&) = delete;
    CalibratorCoreCont& operator=(const CalibratorCoreCont&) = delete;

    // One step; percentInEffect is the correction the map gives at the current point.
    int Step(CDataHandler* dataHandler, int percentInEffect);
    int Step(ILiveValues& live, int percentInEffect);

    void SetState(int state) { m_state = state; }

    int GetState() const { return m_state; }

    void SetUseLongTrim(int use) { m_useLongTrim = use; }

    int GetUseLongTrim() const { return m_useLongTrim; }

    void ClearSamples() { m_samples.Clear(); }

    // The element-50 value; kept, no step depends on it.
    void SetFilterValue(int value) { m_filterValue = value; }

    Parameters& GetParameters() { return m_parameters; }

    int GetFuelSystemMask() const { return m_fuelSystemMask; }

    int GetResultPercent() const { return m_resultPercent; }

    int GetPositionRpm() const { return m_positionRpm; }

    double GetPositionMs() const { return m_positionMs; }

    // The clock of the sample stamps (not owned; the system clock unless set).
    void SetClock(IClock& clock) { m_clock = &clock; }

private:
    struct LiveInputs {
        bool lambdaSettled;
        int fuelState;
        int speedRpm;
        int temperatureC;
        double injectionMs;
        CObdBlock obd;
    };

    LiveInputs ReadInputs(ILiveValues& live);
    int StepStart(const LiveInputs& in);
    int Measure(const LiveInputs& in, int percentInEffect);
    bool Qualifies(int bank, int status, const LiveInputs& in) const;
    bool IsSteady();
    bool IsSteadySpan(std::size_t first, std::size_t last) const;
    bool IsTrendRising() const;
    int Contribution(const TrimSample& s, const LiveInputs& in) const;
    int Finish(const LiveInputs& in, int percentInEffect);

    int m_state = kStateIdle;
    int m_fuelSystemMask = CObdBlock::kClosedLoopMask;
    CTrimSampleList m_samples;
    int m_filterValue = 0;
    int m_useLongTrim = 0;
    int m_resultPercent = 0;
    int m_positionRpm = 0;
    double m_positionMs = 0.0;
    Parameters m_parameters;
    CInjectionFilter m_injectionFilter;
    IClock* m_clock;  // not owned
};
