// The point calibration's steps: the petrol stage, the wait for gas, the gas stage
// and the result with its dead band and distortion.
#include "calib/CalibratorCore.h"

#include "calib/CDataHandlerLiveValues.h"
#include "calib/CalibrationMath.h"
#include "calib/LiveElementReads.h"
#include "link/CLogger.h"
#include "link/CSystemClock.h"
#include "link/ElementTable.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLogCalibration = 3000;
// The line of measurement counts runs between these speeds.
constexpr int kLineLowRpm = 600;
constexpr int kLineHighRpm = 4000;
// The gas stage measures this many samples beyond the counter before it judges the slope.
constexpr std::size_t kGasExtraSamples = 20;
// The voltage band of the gas stage around the petrol stage's probe voltages.
constexpr double kVoltageBandLow = 0.925;
constexpr double kVoltageBandHigh = 1.075;
constexpr int kLambdaModeVoltage = 4;
constexpr int kPercentLimit = 100;

}  // namespace

CalibratorCore::CalibratorCore() : m_clock(&CSystemClock::Instance()) {}

CalibratorCore::~CalibratorCore() = default;

int CalibratorCore::CycleStateMachine(CDataHandler* dataHandler, int percentInEffect) {
    return CDataHandlerLiveValues::StepOn(
        dataHandler, "CalibratorCore.CycleStateMachine()",
        [&](ILiveValues& live) { return CycleStateMachine(live, percentInEffect); });
}

int CalibratorCore::CycleStateMachine(ILiveValues& live, int percentInEffect) {
    const LiveInputs in = ReadInputs(live);
    switch (m_state) {
    case kStateStart:
        return StepInit();
    case kStatePetrol:
        return StepPetrol(in);
    case kStateWaitGas:
        return StepWaitGas(in);
    case kStateGas:
        return StepGas(in, percentInEffect);
    default:
        return kCodeNothing;
    }
}

void CalibratorCore::SetTargetRevs(int rpm) {
    m_target.SetRevs(rpm, m_parameters.revsAcceptRpm);
}

void CalibratorCore::SetTargetInjection(double ms) {
    m_target.SetInjection(ms, m_parameters.injsAcceptPercent);
}

int CalibratorCore::GetMeasurementCount(int rpm) const {
    const long long denominator = m_parameters.lineDenominator != 0 ? m_parameters.lineDenominator : 1;
    const long long onLine =
        (static_cast<long long>(m_parameters.lineSlope) * rpm + m_parameters.lineIntercept) / denominator;
    long long count = std::max<long long>(onLine, m_parameters.minMeasurements);
    count = std::min<long long>(count, m_parameters.maxMeasurements);
    // The settings dialog accepts any whole numbers; without a sample no average exists.
    return static_cast<int>(std::max<long long>(count, 1));
}

void CalibratorCore::UpdateMeasurementLine() {
    const int at600 = m_parameters.measurementsAt600;
    const int at4000 = m_parameters.measurementsAt4000;
    m_parameters.lineSlope = at4000 - at600;
    m_parameters.lineDenominator = kLineHighRpm - kLineLowRpm;
    m_parameters.lineIntercept = at600 * kLineHighRpm - at4000 * kLineLowRpm;
}

int CalibratorCore::ApplyDistortion(int percentInEffect, int rawPercent) const {
    switch (m_parameters.distortionMode) {
    case kDistortionTanhAbsolute:
        return TruncateToInt(std::tanh(rawPercent * 0.01 * m_parameters.tanhAbsoluteX) *
                             m_parameters.tanhAbsoluteY * 100.0);
    case kDistortionTanhRelative: {
        const double deviation = (static_cast<double>(rawPercent) - percentInEffect) * 0.01;
        const int distorted = TruncateToInt(std::tanh(deviation * m_parameters.tanhRelativeX) *
                                            m_parameters.tanhRelativeY * 100.0);
        return TruncateToInt(static_cast<double>(percentInEffect) + distorted);
    }
    default:
        return rawPercent;
    }
}

CalibratorCore::LiveInputs CalibratorCore::ReadInputs(ILiveValues& live) {
    LiveInputs in;
    in.fuelState = ReadLiveByte(live, DATA_STATUS_ENGINE_STATUS);
    in.temperatureC = static_cast<signed char>(ReadLiveByte(live, kElementTemperature));
    in.speedRpm = ReadLiveWord(live, kElementEngineSpeed);
    in.injectionMs = m_injectionFilter.Read(live);
    in.lambdaState = ReadLiveByte(live, kElementLambdaState);
    in.volts = ReadLiveWord(live, kElementProbeVoltage) * 0.001;
    in.lambdaMode = ReadLiveByte(live, kElementLambdaMode);
    return in;
}

int CalibratorCore::StepInit() {
    m_samples.clear();
    m_counter = GetMeasurementCount(m_target.GetRpm());
    m_state = kStatePetrol;
    m_stageStartMs = m_calibrationStartMs = m_clock->NowMs();
    CLogger::Instance().Log(
        kLogCalibration, "CalibratorCore.CycleStateMachine(): [INIT]. target revs: %d 1/min -> counter: %d.",
        m_target.GetRpm(), m_counter);
    return kCodeInitDone;
}

int CalibratorCore::RestartPetrolStage(int code) {
    m_samples.clear();
    m_stageStartMs = m_clock->NowMs();
    return code;
}

int CalibratorCore::StepPetrol(const LiveInputs& in) {
    if (in.fuelState != kFuelPetrol) {
        return RestartPetrolStage(kCodeNotOnPetrol);
    }
    if (in.temperatureC < m_parameters.minTemperatureC) {
        return RestartPetrolStage(kCodeTooCold);
    }
    const int revs = AverageRevs(in.speedRpm);
    if (m_target.IsRevsOutside(revs)) {
        return RestartPetrolStage(kCodeRevsOutside);
    }
    if (m_target.GetMs() > 0.0 && m_target.IsInjectionOutside(in.injectionMs)) {
        return RestartPetrolStage(kCodeInjectionOutside);
    }
    Append(in);
    if (IsLambdaTestOn() && !IsLambdaStateSettled()) {
        return kCodeLambdaUnsettled;
    }
    if (m_samples.size() < static_cast<std::size_t>(std::max(m_parameters.stabilityMeasurements, 0))) {
        return kCodeMeasuringPetrol;
    }
    if (!IsSpeedStable()) {
        TrimToMaximum();
        return kCodeRevsUnstable;
    }
    if (m_samples.size() < static_cast<std::size_t>(m_counter)) {
        return kCodeMeasuringPetrol;
    }
    TrimTo(static_cast<std::size_t>(m_counter));
    m_petrol = Summarise();
    m_toleranceMs = m_parameters.reckoningTolerance * m_petrol.averageMs;
    LogPetrolResult();
    m_stageStartMs = m_clock->NowMs();
    m_state = kStateWaitGas;
    return kCodePetrolDone;
}

int CalibratorCore::StepWaitGas(const LiveInputs& in) {
    if (in.fuelState != kFuelGas) {
        return kCodeNothing;
    }
    m_samples.clear();
    m_stageStartMs = m_clock->NowMs();
    m_state = kStateGas;
    return kCodeMeasuringGas;
}

int CalibratorCore::StepGas(const LiveInputs& in, int percentInEffect) {
    if (in.fuelState != kFuelGas) {
        m_samples.clear();
        m_stageStartMs = m_clock->NowMs();
        m_state = kStateStopped;
        return kCodeGasLost;
    }
    Append(in);
    if (IsLambdaTestOn() && !GasLambdaSettled(in.lambdaMode)) {
        m_samples.clear();
        m_stageStartMs = m_clock->NowMs();
        return kCodeLambdaUnsettled;
    }
    if (m_samples.size() < static_cast<std::size_t>(std::max(m_parameters.stabilityMeasurements, 0))) {
        return kCodeMeasuringGas;
    }
    if (!IsSpeedStable()) {
        TrimToMaximum();
        return kCodeRevsUnstable;
    }
    if (m_samples.size() < static_cast<std::size_t>(m_counter) + kGasExtraSamples) {
        return kCodeMeasuringGas;
    }
    const double slope = GasSlope();
    const double limit = std::tan(m_parameters.injsStabilityDeg * kRadiansPerDegree);
    if (!(-limit < slope && slope < limit)) {
        return kCodeMeasuringGas;
    }
    return FinishGas(percentInEffect, slope);
}

int CalibratorCore::FinishGas(int percentInEffect, double slope) {
    CString angle;
    angle.Format(" (%.02f\xB0) ", std::atan2(slope, 1.0) * kDegreesPerRadian);
    TrimTo(static_cast<std::size_t>(m_counter));
    m_gas = Summarise();
    CString line;
    line.Format(
        "CalibratorCore.CycleStateMachine(): [GAS]. result (at %d%% (original: %d%%)): %d 1/min <- [%d; %d], "
        "%.04f ms <- [%.04f; %.04f], %.04f V <- [%.04f; %.04f]. elapsed time: %.03f sec.",
        percentInEffect, m_rawPercent, m_gas.averageRpm, m_gas.minimumRpm, m_gas.maximumRpm, m_gas.averageMs,
        m_gas.minimumMs, m_gas.maximumMs, m_gas.averageVolts, m_gas.minimumVolts, m_gas.maximumVolts,
        SecondsSince(m_stageStartMs));
    line += angle;
    line += SampleList();
    CLogger::Instance().Log(kLogCalibration, "%s", line.GetString());
    m_stageStartMs = m_clock->NowMs();
    return ComputeResult(percentInEffect);
}

int CalibratorCore::ComputeResult(int percentInEffect) {
    const double difference = m_gas.averageMs - m_petrol.averageMs;
    if (-m_toleranceMs < difference && difference < m_toleranceMs) {
        m_resultPercent = percentInEffect;
    } else if (m_petrol.averageMs <= 0.0) {
        // No petrol injection time to compare with: the ratio has no value, so nothing
        // may be written into the map.
        CLogger::Instance().Log(kLogCalibration,
                                "CalibratorCore.CycleStateMachine(): [RESULT]. no petrol injection time.");
        m_state = kStateStopped;
        return kCodeAboveMaximum;
    } else {
        m_rawPercent = TruncateToInt(m_gas.averageMs / m_petrol.averageMs * 100.0 - 100.0 + percentInEffect);
        m_resultPercent = ApplyDistortion(percentInEffect, m_rawPercent);
    }
    if (m_resultPercent <= -kPercentLimit) {
        m_state = kStateStopped;
        return kCodeBelowMinimum;
    }
    if (m_resultPercent >= kPercentLimit) {
        m_state = kStateStopped;
        return kCodeAboveMaximum;
    }
    m_state = kStateFinished;
    CLogger::Instance().Log(
        kLogCalibration,
        "CalibratorCore.CycleStateMachine(): [RESULT]. result: %d 1/min, %.04f ms -> %d%%. "
        "elapsed time: %.03f sec.",
        m_petrol.averageRpm, m_petrol.averageMs, m_resultPercent, SecondsSince(m_calibrationStartMs));
    return kCodeResult;
}

void CalibratorCore::Append(const LiveInputs& in) {
    m_samples.push_back({in.speedRpm, in.lambdaState, in.injectionMs, in.volts});
}

// The current speed and the newest samples' speeds, up to the configured count.
int CalibratorCore::AverageRevs(int currentRpm) const {
    long long sum = currentRpm;
    int summed = 1;
    for (auto it = m_samples.rbegin(); it != m_samples.rend() && summed < m_parameters.revsAverageCount;
         ++it) {
        sum += it->speedRpm;
        ++summed;
    }
    return static_cast<int>(sum / summed);
}

// The newest three quarters of the counter (rounded up), or all samples when fewer.
int CalibratorCore::LambdaSampleCount() const {
    const int wanted = (3 * m_counter + 3) / 4;
    return std::min(wanted, static_cast<int>(m_samples.size()));
}

bool CalibratorCore::IsLambdaStateSettled() const {
    const int count = LambdaSampleCount();
    return std::all_of(m_samples.rbegin(), m_samples.rbegin() + count,
                       [](const Sample& s) { return s.lambdaState == kLambdaSettled; });
}

bool CalibratorCore::GasLambdaSettled(int lambdaMode) const {
    const int count = LambdaSampleCount();
    if (lambdaMode != kLambdaModeVoltage) {
        return IsLambdaStateSettled();
    }
    const double low = kVoltageBandLow * m_petrol.minimumVolts;
    const double high = kVoltageBandHigh * m_petrol.maximumVolts;
    return std::all_of(m_samples.rbegin(), m_samples.rbegin() + count,
                       [low, high](const Sample& s) { return s.volts >= low && s.volts <= high; });
}

bool CalibratorCore::IsSpeedStable() const {
    const int count =
        std::min(std::max(m_parameters.stabilityMeasurements, 0), static_cast<int>(m_samples.size()));
    if (count == 0) {
        return true;
    }
    const auto newest = m_samples.rbegin();
    const auto range = std::minmax_element(
        newest, newest + count, [](const Sample& a, const Sample& b) { return a.speedRpm < b.speedRpm; });
    return range.second->speedRpm - range.first->speedRpm <= m_parameters.revsStabilityRpm;
}

void CalibratorCore::TrimToMaximum() {
    TrimTo(static_cast<std::size_t>(std::max(m_parameters.maxMeasurements, 0)));
}

void CalibratorCore::TrimTo(std::size_t count) {
    while (m_samples.size() > count) {
        m_samples.pop_front();
    }
}

// Slope of the injection time over the newest counter samples, numbered from the
// newest: positive while the injection time has been falling. One sample has no slope.
double CalibratorCore::GasSlope() const {
    const int count = std::min(m_counter, static_cast<int>(m_samples.size()));
    const double middle = (count - 1) / 2.0;
    double weighted = 0.0;
    double squares = 0.0;
    for (int i = 0; i < count; ++i) {
        const double x = i - middle;
        weighted += x * m_samples[m_samples.size() - 1 - i].injectionMs;
        squares += x * x;
    }
    return squares > 0.0 ? weighted / squares : 0.0;
}

CalibratorCore::StageResult CalibratorCore::Summarise() const {
    StageResult r;
    if (m_samples.empty()) {
        return r;
    }
    long long rpmSum = 0;
    double msSum = 0.0;
    double voltSum = 0.0;
    r.minimumRpm = r.maximumRpm = m_samples.front().speedRpm;
    r.minimumMs = r.maximumMs = m_samples.front().injectionMs;
    r.minimumVolts = r.maximumVolts = m_samples.front().volts;
    for (const Sample& s : m_samples) {
        rpmSum += s.speedRpm;
        msSum += s.injectionMs;
        voltSum += s.volts;
        r.minimumRpm = std::min(r.minimumRpm, s.speedRpm);
        r.maximumRpm = std::max(r.maximumRpm, s.speedRpm);
        r.minimumMs = std::min(r.minimumMs, s.injectionMs);
        r.maximumMs = std::max(r.maximumMs, s.injectionMs);
        r.minimumVolts = std::min(r.minimumVolts, s.volts);
        r.maximumVolts = std::max(r.maximumVolts, s.volts);
    }
    const auto n = static_cast<long long>(m_samples.size());
    r.averageRpm = static_cast<int>(rpmSum / n);
    r.averageMs = msSum / static_cast<double>(n);
    r.averageVolts = voltSum / static_cast<double>(n);
    return r;
}

// " , { t0; t1; ... }" with the injection times, oldest first.
CString CalibratorCore::SampleList() const {
    CString list;
    for (std::size_t i = 0; i < m_samples.size(); ++i) {
        list.AppendFormat(i == 0 ? " , { %.04f" : "; %.04f", m_samples[i].injectionMs);
    }
    if (!m_samples.empty()) {
        list += " }";
    }
    return list;
}

double CalibratorCore::SecondsSince(DWORD startMs) const {
    return static_cast<DWORD>(m_clock->NowMs() - startMs) * 0.001;
}

void CalibratorCore::LogPetrolResult() const {
    CString line;
    line.Format(
        "CalibratorCore.CycleStateMachine(): [BENZIN]. result: %d 1/min <- [%d; %d], %.04f ms <- [%.04f; "
        "%.04f], "
        "%.04f V <- [%.04f; %.04f].",
        m_petrol.averageRpm, m_petrol.minimumRpm, m_petrol.maximumRpm, m_petrol.averageMs, m_petrol.minimumMs,
        m_petrol.maximumMs, m_petrol.averageVolts, m_petrol.minimumVolts, m_petrol.maximumVolts);
    line += SampleList();
    CLogger& log = CLogger::Instance();
    log.Log(kLogCalibration, "%s", line.GetString());
    log.Log(kLogCalibration,
            "CalibratorCore.CycleStateMachine(): [BENZIN]. tolerance: %.04f => [%.04f; %.04f].",
            m_toleranceMs, m_petrol.averageMs - m_toleranceMs, m_petrol.averageMs + m_toleranceMs);
    log.Log(kLogCalibration, "CalibratorCore.CycleStateMachine(): [BENZIN]. elapsed time: %.03f sec.",
            SecondsSince(m_stageStartMs));
}
