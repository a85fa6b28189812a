// The live elements the calibration cores use, and how their bytes are read.
#pragma once

#include "classlib/core/WinTypes.h"

class ILiveValues;

constexpr int kElementEngineSpeed = 26;     // 16 bits, 1/min
constexpr int kElementInjectionTimes = 27;  // eight 16-bit values, µs
constexpr int kElementTemperature = 31;     // signed byte, °C
constexpr int kElementProbeVoltage = 33;    // 16 bits, mV
constexpr int kElementLambdaMode = 35;      // oxygen sensor type
constexpr int kElementLambdaState = 54;     // kLambdaSettled when lambda control has settled
constexpr int kElementObdBlock = 95;        // fuel trims and fuel-system states

constexpr int kInjectionCylinders = 8;
constexpr BYTE kLambdaSettled = 255;
// First byte of the engine status.
constexpr BYTE kFuelPetrol = 0;
constexpr BYTE kFuelGas = 255;

// The first byte of an element.
BYTE ReadLiveByte(ILiveValues& live, int index);
// The first two bytes of an element, low byte first.
int ReadLiveWord(ILiveValues& live, int index);
// The eight injection times of element 27, µs.
void ReadInjectionTimes(ILiveValues& live, int* timesUs);
