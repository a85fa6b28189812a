// One sample of the unit's live values as the data saver records it, taken on every live
// cycle from the working image, with the program clock time at which it was taken.
#pragma once

#include "classlib/core/WinTypes.h"

#include <array>

class CDataHandler;

struct CDataSaverSample {
    static constexpr int kInjectors = 8;
    static constexpr int kObdBlockLength = 16;

    LONG clockMs = 0;
    BYTE fuelMode = 0;     // element 30 byte 0: 0xFF gas, 0 petrol, else changing to gas
    BYTE engineFlags = 0;  // element 30 byte 1: bit 0 cut-off, bit 1 petrol, bit 2 gas valve open
    int speed = 0;         // element 26, 1/min
    std::array<int, kInjectors> petrolTimes{};  // element 27, µs
    std::array<int, kInjectors> gasTimes{};     // element 28, µs
    BYTE lambdaControl = 0;                     // element 54: 0xFF on
    int engineTemperature = 0;                  // element 31, signed °C
    int gasPressure = 0;                        // element 29, 0.001 bar absolute
    int manifoldPressure = 0;                   // element 58, same scale
    int lambda = 0;                             // element 34, lambda × 1000
    int lambdaVoltage = 0;                      // element 33, mV
    int gasTemperature = 0;                     // element 90, signed °C
    int gasCorrection = 0;                      // element 92, signed %
    std::array<BYTE, kObdBlockLength> obd{};    // element 95

    // Reads the live elements out of the data handler's working image.
    static CDataSaverSample Take(CDataHandler& handler, LONG clockMs);
};
