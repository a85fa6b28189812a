// The continuous calibration: while the car is driven on gas it collects live samples
// over a time window and, whenever speed and injection time have held steady and the
// OBD fuel trims are valid and in closed loop, turns the mean trim into a correction
// at the window's mean operating point; then it starts over for the next point.
// Stepped once per live-polling cycle by the continuous calibration dialog; UI thread only.
#pragma once

#include "calib/CalibratorCoreTrim.h"

class CalibratorCoreCont : public CalibratorCoreTrim {
public:
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
    ~CalibratorCoreCont() override;

    using CalibratorCoreTrim::Step;
    int Step(ILiveValues& live, int percentInEffect) override;

    Parameters& GetParameters() { return m_parameters; }

    int GetResultPercent() const { return m_resultPercent; }

    int GetPositionRpm() const { return m_positionRpm; }

    double GetPositionMs() const { return m_positionMs; }

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

    int m_resultPercent = 0;
    int m_positionRpm = 0;
    double m_positionMs = 0.0;
    Parameters m_parameters;
};
