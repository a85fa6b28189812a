// Live values of the simulated unit.
#include "tools/unitsim/CUnitLiveData.h"

#include <algorithm>

namespace {

constexpr uint32_t kSwingSteps = 40;  // one rise and fall of the revolutions
constexpr int kIdleRpm = 800;
constexpr int kRpmPerSwingStep = 100;
constexpr int kBasePetrolUs = 2500;
constexpr int kPetrolUsPerSwingStep = 60;
constexpr int kCylinders = 8;
constexpr uint8_t kGasFuelState = 0xFF;
constexpr uint8_t kLambdaSettled = 0xFF;
constexpr int kColdEngineC = 20;
constexpr int kWarmEngineC = 85;
constexpr uint32_t kSecondsPerStep = 1;

void PutWord(std::vector<uint8_t>& bytes, std::size_t offset, int value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Hours as a word, then minutes and seconds.
void PutRunningTime(std::vector<uint8_t>& bytes, std::size_t offset, uint32_t seconds) {
    PutWord(bytes, offset, static_cast<int>(std::min<uint32_t>(seconds / 3600, 0xFFFF)));
    bytes[offset + 2] = static_cast<uint8_t>(seconds / 60 % 60);
    bytes[offset + 3] = static_cast<uint8_t>(seconds % 60);
}

int SwingStep(uint32_t step) {
    const auto phase = static_cast<int>(step % kSwingSteps);
    const int half = static_cast<int>(kSwingSteps / 2);
    return phase < half ? phase : static_cast<int>(kSwingSteps) - phase;
}

}  // namespace

void CUnitLiveData::Step(CUnitMemory& memory) {
    FillLiveBlock1(memory);
    FillLiveBlock2(memory);
    ++m_step;
}

void CUnitLiveData::FillLiveBlock1(CUnitMemory& memory) const {
    std::vector<uint8_t> bytes(CUnitMemory::BlockSize(UnitBlock::LiveBlock1), 0);
    const int swing = SwingStep(m_step);
    const bool onGas = memory.Byte(UnitBlock::EngineStatus, 0) == kGasFuelState;
    PutWord(bytes, 0, kIdleRpm + swing * kRpmPerSwingStep);
    for (int cylinder = 0; cylinder < kCylinders; ++cylinder) {
        const int petrolUs = kBasePetrolUs + swing * kPetrolUsPerSwingStep + cylinder * 10;
        PutWord(bytes, 2 + 2 * static_cast<std::size_t>(cylinder), petrolUs);
        PutWord(bytes, 18 + 2 * static_cast<std::size_t>(cylinder), onGas ? petrolUs * 6 / 5 : 0);
    }
    bytes[34] = m_step % 10 < 2 ? 0 : kLambdaSettled;
    const uint32_t seconds = m_step * kSecondsPerStep;
    PutRunningTime(bytes, 36, 1000 * 3600 + seconds);
    PutRunningTime(bytes, 40, 800 * 3600 + (onGas ? seconds : 0));
    memory.SetBlock(UnitBlock::LiveBlock1, bytes);
}

void CUnitLiveData::FillLiveBlock2(CUnitMemory& memory) const {
    std::vector<uint8_t> bytes(CUnitMemory::BlockSize(UnitBlock::LiveBlock2), 0);
    const int swing = SwingStep(m_step);
    const int temperature = std::min(kColdEngineC + static_cast<int>(m_step), kWarmEngineC);
    bytes[0] = static_cast<uint8_t>(temperature);
    PutWord(bytes, 1, 2100 + swing * 5);
    PutWord(bytes, 3, 2200 + swing * 10);  // gas pressure, 0.001 bar absolute
    PutWord(bytes, 5, 1800);
    PutWord(bytes, 7, 1000 - swing * 20);  // engine pressure
    PutWord(bytes, 9, 1000);
    bytes[11] = 3;  // gas level
    PutWord(bytes, 12, 1200);
    PutWord(bytes, 14, 950 + static_cast<int>(m_step % 7) * 15);   // lambda x 0.001
    PutWord(bytes, 16, 450 + static_cast<int>(m_step % 5) * 100);  // probe mV
    bytes[22] = static_cast<uint8_t>(std::min(15 + static_cast<int>(m_step / 2), 40));
    PutWord(bytes, 23, 0);
    bytes[25] = static_cast<uint8_t>(swing % 5 - 2);
    memory.SetBlock(UnitBlock::LiveBlock2, bytes);
}
