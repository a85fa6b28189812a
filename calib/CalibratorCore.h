// The point calibration: finds the gas correction percent of one operating point by
// measuring the injection time first on petrol, then on gas, and turning the ratio of
// the two averages into a percent. Stepped once per live-polling cycle by the point
// calibration dialog; UI thread only. The map page owns one core for the program run,
// so the parameters edited in the settings dialog hold for every later calibration.
#pragma once

#include "calib/CInjectionFilter.h"
#include "calib/CTargetWindow.h"
#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <deque>

class CDataHandler;
class IClock;
class ILiveValues;

class CalibratorCore {
public:
    // States.
    static constexpr int kStateIdle = 0;
    static constexpr int kStateStart = 1;
    static constexpr int kStatePetrol = 2;
    static constexpr int kStateWaitGas = 4;
    static constexpr int kStateGas = 5;
    static constexpr int kStateFinished = 7;
    static constexpr int kStateStopped = 8;

    // Codes returned by CycleStateMachine.
    static constexpr int kCodeNothing = 0;
    static constexpr int kCodeGasLost = 1;
    static constexpr int kCodeBelowMinimum = 2;
    static constexpr int kCodeAboveMaximum = 3;
    static constexpr int kCodeResult = 4;
    static constexpr int kCodePetrolDone = 5;
    static constexpr int kCodeRevsOutside = 6;
    static constexpr int kCodeRevsUnstable = 7;
    static constexpr int kCodeMeasuringGas = 8;
    static constexpr int kCodeInitDone = 9;
    static constexpr int kCodeNotOnPetrol = 10;
    static constexpr int kCodeTooCold = 11;
    static constexpr int kCodeInjectionOutside = 12;
    static constexpr int kCodeMeasuringPetrol = 13;
    static constexpr int kCodeLambdaUnsettled = 15;

    static constexpr int kDistortionOff = 0;
    static constexpr int kDistortionTanhAbsolute = 1;
    static constexpr int kDistortionTanhRelative = 2;

    // Edited directly by the settings dialog; UpdateMeasurementLine recomputes the line.
    struct Parameters {
        int minMeasurements = 10;
        int maxMeasurements = 256;  // also the most samples kept while the speed is unstable
        int measurementsAt600 = 40;
        int measurementsAt4000 = 10;
        int lineSlope = -30;
        int lineDenominator = 3400;
        int lineIntercept = 154000;
        int revsAcceptRpm = 100;         // half width of the speed window
        int stabilityMeasurements = 10;  // samples over which the speed must be stable
        int revsStabilityRpm = 100;      // largest max - min speed over them
        int revsAverageCount = 3;        // readings averaged for the speed-window test
        double weightTolerance = 0.000001;
        int minTemperatureC = 70;
        double injsAcceptPercent = 100.0;
        double reckoningTolerance = 0.0125;  // relative dead band of the result
        int distortionMode = kDistortionOff;
        double tanhAbsoluteX = 1.0;
        double tanhAbsoluteY = 1.0;
        double tanhRelativeX = 1.0;
        double tanhRelativeY = 1.0;
        int injsStabilityDeg = 2;  // largest slope angle of the gas injection time
    };

    // Averages, minima and maxima of one stage.
    struct StageResult {
        int averageRpm = 0;
        int minimumRpm = 0;
        int maximumRpm = 0;
        double averageMs = 0.0;
        double minimumMs = 0.0;
        double maximumMs = 0.0;
        double averageVolts = 0.0;
        double minimumVolts = 0.0;
        double maximumVolts = 0.0;
    };

    CalibratorCore();
    virtual ~CalibratorCore();
    CalibratorCore(const CalibratorCore&) = delete;
    CalibratorCore& operator=(const CalibratorCore&) = delete;

    // One step on the data handler's live elements; percentInEffect is the correction
    // the unit applies at the operating point during the gas stage.
    int CycleStateMachine(CDataHandler* dataHandler, int percentInEffect);
    int CycleStateMachine(ILiveValues& live, int percentInEffect);

    void SetState(int state) { m_state = state; }

    int GetState() const { return m_state; }

    void SetTargetRevs(int rpm);
    void SetTargetInjection(double ms);

    void SetLambdaCheck(int check) { m_lambdaCheck = check; }

    void SetLambdaIgnore(int ignore) { m_lambdaIgnore = ignore; }

    int GetMeasurementCount(int rpm) const;
    void UpdateMeasurementLine();

    void ClearSamples() { m_samples.clear(); }

    // The element-79 flag; kept, no step depends on it.
    void SetExtendedMode(int flag) { m_extendedMode = flag; }

    // The element-50 value; kept, no step depends on it.
    void SetFilterValue(int value) { m_filterValue = value; }

    int ApplyDistortion(int percentInEffect, int rawPercent) const;

    Parameters& GetParameters() { return m_parameters; }

    const StageResult& GetPetrolResult() const { return m_petrol; }

    const StageResult& GetGasResult() const { return m_gas; }

    int GetResultPercent() const { return m_resultPercent; }

    int GetRawPercent() const { return m_rawPercent; }

    double GetTargetInjection() const { return m_target.GetMs(); }

    const CTargetWindow& GetTarget() const { return m_target; }

    int GetCounter() const { return m_counter; }

    // The clock of the stage times (not owned; the system clock unless set).
    void SetClock(IClock& clock) { m_clock = &clock; }

private:
    struct Sample {
        int speedRpm;
        int lambdaState;
        double injectionMs;
        double volts;
    };

    // What one step reads.
    struct LiveInputs {
        int fuelState;
        int temperatureC;
        int speedRpm;
        double injectionMs;
        int lambdaState;
        double volts;
        int lambdaMode;
    };

    LiveInputs ReadInputs(ILiveValues& live);
    int StepInit();
    int StepPetrol(const LiveInputs& in);
    int StepWaitGas(const LiveInputs& in);
    int StepGas(const LiveInputs& in, int percentInEffect);
    int FinishGas(int percentInEffect, double slope);
    int ComputeResult(int percentInEffect);
    int RestartPetrolStage(int code);
    void Append(const LiveInputs& in);
    int AverageRevs(int currentRpm) const;
    int LambdaSampleCount() const;

    bool IsLambdaTestOn() const { return m_lambdaCheck == 1 && m_lambdaIgnore == 0; }

    bool IsLambdaStateSettled() const;
    bool GasLambdaSettled(int lambdaMode) const;
    bool IsSpeedStable() const;
    void TrimToMaximum();
    void TrimTo(std::size_t count);
    double GasSlope() const;
    StageResult Summarise() const;
    CString SampleList() const;
    double SecondsSince(DWORD startMs) const;
    void LogPetrolResult() const;

    int m_state = kStateIdle;
    int m_counter = 0;
    std::deque<Sample> m_samples;
    StageResult m_petrol;
    StageResult m_gas;
    double m_toleranceMs = 0.0;
    int m_lambdaCheck = 1;
    int m_lambdaIgnore = 0;
    CTargetWindow m_target;
    int m_filterValue = 0;
    int m_resultPercent = 0;
    int m_rawPercent = 0;
    DWORD m_stageStartMs = 0;
    DWORD m_calibrationStartMs = 0;
    Parameters m_parameters;
    int m_extendedMode = 0;
    CInjectionFilter m_injectionFilter;
    IClock* m_clock;  // not owned
};
