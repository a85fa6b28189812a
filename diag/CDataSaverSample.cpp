#include "diag/CDataSaverSample.h"

#include "diag/UnitBytes.h"
#include "link/ReadElementBytes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kSpeedElement = 26;
constexpr int kPetrolTimesElement = 27;
constexpr int kGasTimesElement = 28;
constexpr int kGasPressureElement = 29;
constexpr int kEngineStatusElement = 30;
constexpr int kEngineTemperatureElement = 31;
constexpr int kLambdaVoltageElement = 33;
constexpr int kLambdaElement = 34;
constexpr int kLambdaControlElement = 54;
constexpr int kManifoldPressureElement = 58;
constexpr int kGasTemperatureElement = 90;
constexpr int kGasCorrectionElement = 92;
constexpr int kObdBlockElement = 95;

int Word(const std::vector<BYTE>& bytes, int offset) {
    return LittleEndianWord(bytes.data() + offset);
}

}  // namespace

CDataSaverSample CDataSaverSample::Take(CDataHandler& handler, LONG clockMs) {
    CDataSaverSample sample;
    sample.clockMs = clockMs;
    const std::vector<BYTE> status = ReadElementBytes(handler, kEngineStatusElement, 5);
    sample.fuelMode = status[0];
    sample.engineFlags = status[1];
    sample.speed = Word(ReadElementBytes(handler, kSpeedElement, 2), 0);
    const std::vector<BYTE> petrol = ReadElementBytes(handler, kPetrolTimesElement, 2 * kInjectors);
    const std::vector<BYTE> gas = ReadElementBytes(handler, kGasTimesElement, 2 * kInjectors);
    for (int i = 0; i < kInjectors; ++i) {
        sample.petrolTimes[i] = Word(petrol, 2 * i);
        sample.gasTimes[i] = Word(gas, 2 * i);
    }
    sample.lambdaControl = ReadElementBytes(handler, kLambdaControlElement, 1)[0];
    sample.engineTemperature = SignedByte(ReadElementBytes(handler, kEngineTemperatureElement, 1)[0]);
    sample.gasPressure = Word(ReadElementBytes(handler, kGasPressureElement, 2), 0);
    sample.manifoldPressure = Word(ReadElementBytes(handler, kManifoldPressureElement, 2), 0);
    sample.lambda = Word(ReadElementBytes(handler, kLambdaElement, 2), 0);
    sample.lambdaVoltage = Word(ReadElementBytes(handler, kLambdaVoltageElement, 2), 0);
    sample.gasTemperature = SignedByte(ReadElementBytes(handler, kGasTemperatureElement, 1)[0]);
    sample.gasCorrection = SignedByte(ReadElementBytes(handler, kGasCorrectionElement, 1)[0]);
    const std::vector<BYTE> obd = ReadElementBytes(handler, kObdBlockElement, kObdBlockLength);
    std::copy(obd.begin(), obd.begin() + kObdBlockLength, sample.obd.begin());
    return sample;
}
