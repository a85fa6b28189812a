#include "diag/CDataSaverSample.h"

#include "diag/UnitBytes.h"
#include "link/CDataHandler.h"

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

// The element's bytes, at least minimum long, so that a short descriptor never lets the
// decoding below read past the buffer.
std::vector<BYTE> Read(CDataHandler& handler, int element, int minimum) {
    const int length = std::max(handler.GetElementLength(element), minimum);
    std::vector<BYTE> bytes(static_cast<std::size_t>(length), 0);
    handler.ReadData(element, bytes.data());
    return bytes;
}

int Word(const std::vector<BYTE>& bytes, int offset) {
    return LittleEndianWord(bytes.data() + offset);
}

}  // namespace

CDataSaverSample CDataSaverSample::Take(CDataHandler& handler, LONG clockMs) {
    CDataSaverSample sample;
    sample.clockMs = clockMs;
    const std::vector<BYTE> status = Read(handler, kEngineStatusElement, 5);
    sample.fuelMode = status[0];
    sample.engineFlags = status[1];
    sample.speed = Word(Read(handler, kSpeedElement, 2), 0);
    const std::vector<BYTE> petrol = Read(handler, kPetrolTimesElement, 2 * kInjectors);
    const std::vector<BYTE> gas = Read(handler, kGasTimesElement, 2 * kInjectors);
    for (int i = 0; i < kInjectors; ++i) {
        sample.petrolTimes[i] = Word(petrol, 2 * i);
        sample.gasTimes[i] = Word(gas, 2 * i);
    }
    sample.lambdaControl = Read(handler, kLambdaControlElement, 1)[0];
    sample.engineTemperature = SignedByte(Read(handler, kEngineTemperatureElement, 1)[0]);
    sample.gasPressure = Word(Read(handler, kGasPressureElement, 2), 0);
    sample.manifoldPressure = Word(Read(handler, kManifoldPressureElement, 2), 0);
    sample.lambda = Word(Read(handler, kLambdaElement, 2), 0);
    sample.lambdaVoltage = Word(Read(handler, kLambdaVoltageElement, 2), 0);
    sample.gasTemperature = SignedByte(Read(handler, kGasTemperatureElement, 1)[0]);
    sample.gasCorrection = SignedByte(Read(handler, kGasCorrectionElement, 1)[0]);
    const std::vector<BYTE> obd = Read(handler, kObdBlockElement, kObdBlockLength);
    std::copy(obd.begin(), obd.begin() + kObdBlockLength, sample.obd.begin());
    return sample;
}
