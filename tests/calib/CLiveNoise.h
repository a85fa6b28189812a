// Plausible but restless live values for the soak tests: mostly near an operating
// point, with occasional dropouts, fuel changes and bad readings.
#pragma once

#include "tests/calib/CFakeLiveValues.h"

#include <random>
#include <vector>

class CLiveNoise {
public:
    explicit CLiveNoise(unsigned seed) : m_random(seed) {}

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    bool Chance(int percent) { return Uniform(0, 99) < percent; }

    // Writes one cycle of values into live.
    void Fill(CFakeLiveValues& live) {
        if (Chance(3)) {
            m_fuel = Chance(50) ? kFuelGas : (Chance(50) ? kFuelPetrol : 170);
        }
        live.SetFuel(m_fuel);
        live.SetByte(kElementTemperature, Chance(2) ? 40 : 80);
        live.SetWord(kElementEngineSpeed, Chance(2) ? Uniform(0, 65535) : 2000 + Uniform(-40, 40));
        std::vector<int> times;
        for (int i = 0; i < kInjectionCylinders; ++i) {
            times.push_back(Chance(3) ? Uniform(0, 999) : 4000 + Uniform(-30, 30));
        }
        live.SetInjectionUs(times);
        live.SetByte(kElementLambdaState, Chance(5) ? 0 : kLambdaSettled);
        live.SetWord(kElementProbeVoltage, 500 + Uniform(-50, 50));
        live.SetByte(kElementLambdaMode, Chance(50) ? 4 : 0);
        const int trim = Uniform(-12, 12);
        live.SetBytes(
            kElementObdBlock,
            {static_cast<BYTE>(trim), static_cast<BYTE>(Uniform(-128, 127)), static_cast<BYTE>(trim), 0, 0, 0,
             static_cast<BYTE>(Chance(3) ? 0x07 : 0x0F), static_cast<BYTE>(Chance(50) ? 2 : 0),
             static_cast<BYTE>(Chance(5) ? Uniform(0, 255) : 2), 0, 0, static_cast<BYTE>(Uniform(0, 255)),
             static_cast<BYTE>(Uniform(0, 255)), static_cast<BYTE>(Uniform(-20, 20)),
             static_cast<BYTE>(Uniform(-20, 20)), 0});
        live.SetObdLongForm(Chance(50));
    }

private:
    std::mt19937 m_random;
    int m_fuel = kFuelPetrol;
};
