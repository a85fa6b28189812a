// The adaptive calibration of one map point from the OBD fuel trims: measures the
// mean trim at the percent in effect (base), moves the percent by it, measures again
// (exchange) and extrapolates the percent at which the trim would vanish.
// Stepped once per live-polling cycle by the adaptive calibration dialog; UI thread only.
#pragma once

#include "calib/CTargetWindow.h"
#include "calib/CalibratorCoreTrim.h"

class CalibratorCoreAdap : public CalibratorCoreTrim {
public:
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
    ~CalibratorCoreAdap() override;

    using CalibratorCoreTrim::Step;
    int Step(ILiveValues& live, int percentInEffect) override;

    void SetTargetRevs(int rpm);
    void SetTargetInjection(double ms);

    Parameters& GetParameters() { return m_parameters; }

    double GetTargetInjection() const { return m_target.GetMs(); }

    const CTargetWindow& GetTarget() const { return m_target; }

    const Measurement& GetBase() const { return m_base; }

    const Measurement& GetExchange() const { return m_exchange; }

    int GetResultPercent() const { return m_resultPercent; }

    int GetResultRpm() const { return m_resultRpm; }

    double GetResultMs() const { return m_resultMs; }

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

    BankTrimSum SampleTrims(const TrimSample& s) const;
    void DropBeyondWindow();

    Measurement m_base;
    Measurement m_exchange;
    CTargetWindow m_target;
    int m_resultPercent = 0;
    int m_resultRpm = 0;
    double m_resultMs = 0.0;
    Parameters m_parameters;
};
