// The adaptive calibration's steps: base and exchange measurements of the trim and
// the extrapolation between them.
#include "calib/CalibratorCoreAdap.h"

#include "calib/CalibrationMath.h"
#include "calib/LiveElementReads.h"
#include "link/CLogger.h"
#include "link/ElementTable.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kLogCalibration = 3000;
// Mean trims within this many percent need no correction.
constexpr int kTrimDeadBand = 2;
// The unit's trims overshoot; only this share of the mean is taken.
constexpr int kTrimSharePercent = 95;
constexpr int kPercentMaximum = 99;

}  // namespace

CalibratorCoreAdap::CalibratorCoreAdap() : CalibratorCoreTrim("CALIB_CORE_ADAP") {}

CalibratorCoreAdap::~CalibratorCoreAdap() = default;

int CalibratorCoreAdap::Step(ILiveValues& live, int percentInEffect) {
    LiveInputs in;
    in.fuelState = ReadLiveByte(live, DATA_STATUS_ENGINE_STATUS);
    in.speedRpm = ReadLiveWord(live, kElementEngineSpeed);
    in.injectionMs = m_injectionFilter.Read(live);
    in.obd.Read(live);
    switch (m_state) {
    case kStateStart:
        m_state = kStateWaitGas;
        CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [INIT]. %d 1/min, %.3f ms, use long: %s.",
                                m_target.GetRpm(), m_target.GetMs(), m_useLongTrim != 0 ? "yes" : "no");
        return kCodeStarted;
    case kStateWaitGas:
        if (!BeginOnGas(in.fuelState, kStateBase)) {
            return kCodeNothing;
        }
        return StepMeasuring(in, percentInEffect);
    case kStateBase:
    case kStateExchange:
        return StepMeasuring(in, percentInEffect);
    default:
        return kCodeNothing;
    }
}

void CalibratorCoreAdap::SetTargetRevs(int rpm) {
    m_target.SetRevs(rpm, m_parameters.revsAcceptRpm);
}

void CalibratorCoreAdap::SetTargetInjection(double ms) {
    m_target.SetInjection(ms, m_parameters.injsAcceptPercent);
}

int CalibratorCoreAdap::StepMeasuring(const LiveInputs& in, int percentInEffect) {
    if (in.fuelState != kFuelGas) {
        CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [ABORT] gas mode lost.");
        return Abort(kCodeGasLost);
    }
    if (!in.obd.AreTrimsValid()) {
        CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [ABORT] elm lost.");
        return Abort(kCodeTrimsInvalid);
    }
    if (!IsClosedLoop(in.obd.status1) && !IsClosedLoop(in.obd.status2)) {
        m_samples.Clear();
        return kCodeNoClosedLoop;
    }
    AppendSample(in.speedRpm, in.injectionMs, in.obd);
    return m_state == kStateBase ? StepBase(percentInEffect) : StepExchange(percentInEffect);
}

int CalibratorCoreAdap::StepBase(int percentInEffect) {
    const int averageRpm = m_samples.AverageSpeed();
    if (m_target.IsRevsOutside(averageRpm)) {
        m_samples.Clear();
        return kCodeRevsOutside;
    }
    const double averageMs = m_samples.AverageInjection();
    if (m_target.IsInjectionOutside(averageMs)) {
        m_samples.Clear();
        return kCodeInjectionOutside;
    }
    if (m_samples.SpanMs() < m_parameters.timeOfMeasureMs) {
        return kCodeMeasuringBase;
    }
    long long sum = 0;
    for (std::size_t i = 0; i < m_samples.Size(); ++i) {
        sum += SampleTrims(m_samples[i]).WholeMean();
    }
    const auto n = static_cast<long long>(m_samples.Size());
    m_base.trim = static_cast<int>(sum / n * kTrimSharePercent / 100);
    m_base.percentUsed = percentInEffect;
    m_base.averageRpm = averageRpm;
    m_base.averageMs = averageMs;
    m_samples.Clear();
    CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [BASE] used: %d %%, trim: %d %%.",
                            percentInEffect, m_base.trim);
    if (std::abs(m_base.trim) <= kTrimDeadBand) {
        return Finish(percentInEffect, m_base);
    }
    m_resultPercent = percentInEffect + m_base.trim;
    CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [BASE] new: %d %%.", m_resultPercent);
    m_state = kStateExchange;
    return kCodeNewPercent;
}

int CalibratorCoreAdap::StepExchange(int percentInEffect) {
    if (m_samples.SpanMs() < m_parameters.timeOfMeasureMs) {
        return kCodeMeasuringExchange;
    }
    DropBeyondWindow();
    std::vector<double> seconds;
    std::vector<double> trims;
    double sum = 0.0;
    for (std::size_t i = 0; i < m_samples.Size(); ++i) {
        seconds.push_back(m_samples.SecondsFromOldest(i));
        trims.push_back(SampleTrims(m_samples[i]).Mean());
        sum += trims.back();
    }
    const double slope = LeastSquaresSlope(seconds, trims);
    const double limit = std::tan(m_parameters.injsStabilityDeg * kRadiansPerDegree);
    if (!(-limit < slope && slope < limit)) {
        return kCodeMeasuringExchange;
    }
    m_exchange.trim = TruncateToInt(sum / static_cast<double>(m_samples.Size()) * kTrimSharePercent * 0.01);
    m_exchange.percentUsed = percentInEffect;
    m_exchange.averageRpm = m_samples.AverageSpeed();
    m_exchange.averageMs = m_samples.AverageInjection();
    CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [XCHG] used: %d %%, trim: %d %%.",
                            percentInEffect, m_exchange.trim);
    m_samples.LogLists("CALIB_CORE_ADAP: [XCHG][LIST] ");
    m_samples.Clear();
    if (std::abs(m_exchange.trim) <= kTrimDeadBand) {
        return Finish(percentInEffect, m_exchange);
    }
    if (m_exchange.trim == m_base.trim) {
        CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [ABORT] no reaction.");
        return Abort(kCodeNoReaction);
    }
    return Extrapolate();
}

// The trim fell from the base to the exchange value while the percent moved; the
// percent at which it would reach zero lies K times that move from the base.
int CalibratorCoreAdap::Extrapolate() {
    const double k = static_cast<double>(m_base.trim) / (m_base.trim - m_exchange.trim);
    if (k < 0.0) {
        CLogger::Instance().Log(kLogCalibration,
                                "CALIB_CORE_ADAP: [ABORT] wrong reaction. %d %% => %d %% (K == %.3f)",
                                m_base.trim, m_exchange.trim, k);
        return Abort(kCodeWrongReaction);
    }
    m_resultPercent = TruncateToInt((m_exchange.percentUsed - m_base.percentUsed) * k + m_base.percentUsed);
    if (m_resultPercent < -kPercentMaximum) {
        CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [ABORT] less than min: %d %%.",
                                m_resultPercent);
        return Abort(kCodeBelowMinimum);
    }
    if (m_resultPercent > kPercentMaximum) {
        CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [ABORT] greater than max: %d %%.",
                                m_resultPercent);
        return Abort(kCodeAboveMaximum);
    }
    m_resultRpm = TruncateToInt((m_exchange.averageRpm - m_base.averageRpm) * k + m_base.averageRpm);
    m_resultMs = m_base.averageMs + k * (m_exchange.averageMs - m_base.averageMs);
    CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [FINISHED] %d %%.", m_resultPercent);
    m_state = kStateFinished;
    return kCodeFinished;
}

int CalibratorCoreAdap::Finish(int percentInEffect, const Measurement& at) {
    m_resultPercent = percentInEffect;
    m_resultRpm = at.averageRpm;
    m_resultMs = at.averageMs;
    m_state = kStateFinished;
    CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_ADAP: [FINISHED].");
    return kCodeFinished;
}

int CalibratorCoreAdap::Abort(int code) {
    m_samples.Clear();
    m_state = kStateAborted;
    return code;
}

BankTrimSum CalibratorCoreAdap::SampleTrims(const TrimSample& s) const {
    return SumBankTrims(s, IsClosedLoop(s.status1), IsClosedLoop(s.status2), m_useLongTrim != 0);
}

// Keeps the window of the newest time of measure, plus the youngest sample older than
// it as the window's start.
void CalibratorCoreAdap::DropBeyondWindow() {
    std::size_t youngestOld = 0;
    for (std::size_t i = 0; i < m_samples.Size(); ++i) {
        if (m_samples.AgeMs(i) >= m_parameters.timeOfMeasureMs) {
            youngestOld = i;
        }
    }
    m_samples.DropOldest(youngestOld);
}
