// What the live status strip computes from the unit's live values, apart from any window:
// the pressures averaged over the last cycles, the injection times remembered per cylinder,
// and whether the lambda voltage means a rich mixture. Portable, so it is checked natively.
#pragma once

#include "classlib/core/WinTypes.h"

#include <deque>
#include <utility>

// Switching threshold of an oxygen sensor type code (element 35), in volts.
double GetLambdaThresholdVolts(int typeCode);
// True for sensors whose voltage falls when the mixture gets rich.
bool IsLambdaInverted(int typeCode);

class CStatusPageReadings {
public:
    static constexpr int kCylinders = 8;
    static constexpr std::size_t kPressureSamples = 20;

    // Keeps (element 58, element 29) and drops the oldest beyond the last 20.
    void AddPressureSample(int enginePressure, int gasPressure);

    void ClearPressureSamples() { m_samples.clear(); }

    std::size_t GetSampleCount() const { return m_samples.size(); }

    // Averages over the samples of raw x 0.001 - 1 bar, each rounded to hundredths.
    double AverageEnginePressure() const;
    double AverageGasPressure() const;

    // floor(x x 100 + 0.5) x 0.01.
    static double RoundHundredths(double value);
    // Raw 0.001 bar above vacuum to bar above the atmosphere, rounded.
    static double GaugePressure(int raw);

    // A petrol time of 0 or at least 1000 us is remembered; then, when the remembered petrol
    // time equals the current one, the gas time is remembered too.
    static void RememberInjectionTimes(const WORD* petrol, const WORD* gas);
    // Whole-us mean of the non-zero remembered times, in ms.
    static double MeanRememberedPetrolMs();
    static double MeanRememberedGasMs();
    static void ForgetInjectionTimes();

    static bool IsRich(double volts, int typeCode);

private:
    std::deque<std::pair<int, int>> m_samples;
};
