// The continuous calibration's steps: the time window, its steadiness and trend
// tests, and the correction from the qualifying banks' trims.
#include "calib/CalibratorCoreCont.h"

#include "calib/CalibrationMath.h"
#include "calib/LiveElementReads.h"
#include "link/CLogger.h"
#include "link/ElementTable.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kLogCalibration = 3000;
// Steadiness is judged over sub-windows of this length.
constexpr int kSubWindowMs = 500;
constexpr int kPercentLimit = 100;

int StampDifference(const TrimSample& later, const TrimSample& earlier) {
    return static_cast<int>(static_cast<DWORD>(later.timeMs - earlier.timeMs));
}

}  // namespace

CalibratorCoreCont::CalibratorCoreCont() : CalibratorCoreTrim("CALIB_CORE_CONT") {}

CalibratorCoreCont::~CalibratorCoreCont() = default;

int CalibratorCoreCont::Step(ILiveValues& live, int percentInEffect) {
    const LiveInputs in = ReadInputs(live);
    switch (m_state) {
    case kStateStart:
        return StepStart(in);
    case kStateWaitGas:
        if (!BeginOnGas(in.fuelState, kStateMeasuring)) {
            return kCodeNothing;
        }
        return Measure(in, percentInEffect);
    case kStateMeasuring:
        if (in.fuelState != kFuelGas) {
            m_samples.Clear();
            m_state = kStateStopped;
            return kCodeGasLost;
        }
        return Measure(in, percentInEffect);
    default:
        return kCodeNothing;
    }
}

CalibratorCoreCont::LiveInputs CalibratorCoreCont::ReadInputs(ILiveValues& live) {
    LiveInputs in;
    in.lambdaSettled = ReadLiveByte(live, kElementLambdaState) == kLambdaSettled;
    in.fuelState = ReadLiveByte(live, DATA_STATUS_ENGINE_STATUS);
    in.speedRpm = ReadLiveWord(live, kElementEngineSpeed);
    in.temperatureC = static_cast<signed char>(ReadLiveByte(live, kElementTemperature));
    in.injectionMs = m_injectionFilter.Read(live);
    in.obd.Read(live);
    return in;
}

int CalibratorCoreCont::StepStart(const LiveInputs& in) {
    if (in.temperatureC < m_parameters.minTemperatureC) {
        m_samples.Clear();
        return kCodeTooCold;
    }
    m_state = kStateWaitGas;
    CLogger::Instance().Log(kLogCalibration, "CALIB_CORE_CONT: [INIT]. use long: %s.",
                            m_useLongTrim != 0 ? "yes" : "no");
    return kCodeStarted;
}

// A bank counts by its fuel-system status, or, when its option bit says so, by the
// lambda state of the current step.
bool CalibratorCoreCont::Qualifies(int bank, int status, const LiveInputs& in) const {
    const int byLambda = bank == 1 ? CObdBlock::kOptionBank1ByLambda : CObdBlock::kOptionBank2ByLambda;
    if ((in.obd.options & byLambda) != 0) {
        return in.lambdaSettled;
    }
    return IsClosedLoop(status);
}

int CalibratorCoreCont::Measure(const LiveInputs& in, int percentInEffect) {
    if (!in.obd.AreTrimsValid()) {
        m_samples.Clear();
        return kCodeTrimsInvalid;
    }
    if (!Qualifies(1, in.obd.status1, in) && !Qualifies(2, in.obd.status2, in)) {
        m_samples.Clear();
        return kCodeNoClosedLoop;
    }
    if (in.speedRpm <= m_parameters.minimumRpm) {
        m_samples.Clear();
        return kCodeRevsTooLow;
    }
    AppendSample(in.speedRpm, in.injectionMs, in.obd);
    if (m_samples.SpanMs() < m_parameters.timeOfMeasureMs) {
        return kCodeMeasuring;
    }
    while (m_samples.Size() > 1 && m_samples.SpanMs() > m_parameters.timeOfMeasureMs) {
        m_samples.DropOldest(1);
    }
    if (!IsSteady() || !IsTrendRising()) {
        return kCodeMeasuring;
    }
    return Finish(in, percentInEffect);
}

// Walks the window from the oldest sample with a sub-window of the last 500 ms; each
// time the sub-window spans 500 ms its changes per second must stay below the limits.
// On the first failure the samples up to the walked one are dropped.
bool CalibratorCoreCont::IsSteady() {
    std::size_t first = 0;
    bool tested = false;
    for (std::size_t walked = 0; walked < m_samples.Size(); ++walked) {
        if (StampDifference(m_samples[walked], m_samples[first]) < kSubWindowMs) {
            continue;
        }
        tested = true;
        if (!IsSteadySpan(first, walked)) {
            m_samples.DropOldest(walked + 1);
            return false;
        }
        while (first < walked && StampDifference(m_samples[walked], m_samples[first]) >= kSubWindowMs) {
            ++first;
        }
    }
    if (!tested && !IsSteadySpan(first, m_samples.Size() - 1)) {
        m_samples.Clear();
        return false;
    }
    return true;
}

bool CalibratorCoreCont::IsSteadySpan(std::size_t first, std::size_t last) const {
    const double seconds = StampDifference(m_samples[last], m_samples[first]) * 0.001;
    // Samples without a time between them show no rate of change to judge.
    if (!(seconds > 0.0)) {
        return false;
    }
    int minRpm = m_samples[first].speedRpm;
    int maxRpm = minRpm;
    double minMs = m_samples[first].injectionMs;
    double maxMs = minMs;
    for (std::size_t i = first; i <= last; ++i) {
        minRpm = std::min(minRpm, m_samples[i].speedRpm);
        maxRpm = std::max(maxRpm, m_samples[i].speedRpm);
        minMs = std::min(minMs, m_samples[i].injectionMs);
        maxMs = std::max(maxMs, m_samples[i].injectionMs);
    }
    return (maxRpm - minRpm) / seconds < m_parameters.maxRevsChangePerSecond &&
           (maxMs - minMs) / seconds < m_parameters.maxInjsChangePerSecond;
}

// Neither speed (in thousands of 1/min) nor injection time may fall faster than the
// descent slopes allow.
bool CalibratorCoreCont::IsTrendRising() const {
    std::vector<double> seconds;
    std::vector<double> kiloRpm;
    std::vector<double> ms;
    for (std::size_t i = 0; i < m_samples.Size(); ++i) {
        seconds.push_back(m_samples.SecondsFromOldest(i));
        kiloRpm.push_back(m_samples[i].speedRpm * 0.001);
        ms.push_back(m_samples[i].injectionMs);
    }
    const double revsSlope = LeastSquaresSlope(seconds, kiloRpm);
    const double injsSlope = LeastSquaresSlope(seconds, ms);
    return revsSlope > -std::tan(m_parameters.maxRevsDescentDeg * kRadiansPerDegree) &&
           injsSlope > -std::tan(m_parameters.maxInjsDescentDeg * kRadiansPerDegree);
}

int CalibratorCoreCont::Contribution(const TrimSample& s, const LiveInputs& in) const {
    TrimOffsets offsets;
    offsets.shortSign = (in.obd.options & CObdBlock::kOptionInvertShort) != 0 ? -1 : 1;
    offsets.longSign = (in.obd.options & CObdBlock::kOptionInvertLong) != 0 ? -1 : 1;
    offsets.shortReference = in.obd.shortReference;
    offsets.longReference = in.obd.longReference;
    // A sample may lose its banks when an option ties them to the current lambda state.
    return SumBankTrims(s, Qualifies(1, s.status1, in), Qualifies(2, s.status2, in), m_useLongTrim != 0,
                        offsets)
        .WholeMean();
}

int CalibratorCoreCont::Finish(const LiveInputs& in, int percentInEffect) {
    const auto n = static_cast<long long>(m_samples.Size());
    long long sum = 0;
    for (std::size_t i = 0; i < m_samples.Size(); ++i) {
        sum += Contribution(m_samples[i], in);
    }
    const int value = static_cast<int>(sum / n * in.obd.GetScalePercent() / 100);
    m_positionRpm = m_samples.AverageSpeed();
    m_positionMs = m_samples.AverageInjection();
    CLogger::Instance().Log(kLogCalibration,
                            "CALIB_CORE_CONT: [FINISHED] pos: %d 1/min, %.2f ms value: %d%%.", m_positionRpm,
                            m_positionMs, value);
    m_resultPercent = percentInEffect + value;
    m_samples.LogLists("CALIB_CORE_CONT: [XCHG][LIST] ");
    m_samples.Clear();
    if (m_resultPercent < -(kPercentLimit - 1)) {
        m_state = kStateStopped;
        return kCodeBelowMinimum;
    }
    if (m_resultPercent < kPercentLimit) {
        m_state = kStateStart;
        return kCodePointFound;
    }
    m_state = kStateStopped;
    return kCodeAboveMaximum;
}
