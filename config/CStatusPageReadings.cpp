#include "config/CStatusPageReadings.h"

#include "link/CalibrationHelpers.h"

#include <array>
#include <cmath>

namespace {

// One live status strip exists; what it remembers outlives any one refresh.
std::array<int, CStatusPageReadings::kCylinders> g_petrolTimes{};
std::array<int, CStatusPageReadings::kCylinders> g_gasTimes{};

double MeanNonZeroMs(const std::array<int, CStatusPageReadings::kCylinders>& times) {
    return AverageNonZero(times.data(), static_cast<int>(times.size())) * 0.001;
}

}  // namespace

double GetLambdaThresholdVolts(int typeCode) {
    switch (typeCode) {
    case 0:
        return 0.5;
    case 3:
        return 1.2;
    case 4:
        return 2.45;
    case 5:
        return 0.45;
    default:
        return 2.5;
    }
}

bool IsLambdaInverted(int typeCode) {
    return typeCode == 2 || typeCode == 4;
}

void CStatusPageReadings::AddPressureSample(int enginePressure, int gasPressure) {
    m_samples.emplace_back(enginePressure, gasPressure);
    while (m_samples.size() > kPressureSamples) {
        m_samples.pop_front();
    }
}

double CStatusPageReadings::RoundHundredths(double value) {
    return std::floor(value * 100.0 + 0.5) * 0.01;
}

double CStatusPageReadings::GaugePressure(int raw) {
    return RoundHundredths(raw * 0.001 - 1.0);
}

double CStatusPageReadings::AverageEnginePressure() const {
    if (m_samples.empty()) {
        return 0.0;
    }
    double sum = 0;
    for (const auto& sample : m_samples) {
        sum += sample.first * 0.001 - 1.0;
    }
    return RoundHundredths(sum / static_cast<double>(m_samples.size()));
}

double CStatusPageReadings::AverageGasPressure() const {
    if (m_samples.empty()) {
        return 0.0;
    }
    double sum = 0;
    for (const auto& sample : m_samples) {
        sum += sample.second * 0.001 - 1.0;
    }
    return RoundHundredths(sum / static_cast<double>(m_samples.size()));
}

void CStatusPageReadings::RememberInjectionTimes(const WORD* petrol, const WORD* gas) {
    for (int i = 0; i < kCylinders; ++i) {
        if (petrol[i] == 0 || petrol[i] >= 1000) {
            g_petrolTimes[i] = petrol[i];
        }
        if (g_petrolTimes[i] == petrol[i]) {
            g_gasTimes[i] = gas[i];
        }
    }
}

double CStatusPageReadings::MeanRememberedPetrolMs() {
    return MeanNonZeroMs(g_petrolTimes);
}

double CStatusPageReadings::MeanRememberedGasMs() {
    return MeanNonZeroMs(g_gasTimes);
}

void CStatusPageReadings::ForgetInjectionTimes() {
    g_petrolTimes.fill(0);
    g_gasTimes.fill(0);
}

bool CStatusPageReadings::IsRich(double volts, int typeCode) {
    const double threshold = GetLambdaThresholdVolts(typeCode);
    return IsLambdaInverted(typeCode) ? volts < threshold : volts >= threshold;
}
