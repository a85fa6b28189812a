// The simulated unit's memory and the data it starts with.
#include "tools/unitsim/CUnitMemory.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::array<std::size_t, CUnitMemory::kBlockCount> kBlockSizes = {35, 4, 1, 5, 44, 26, 60,
                                                                           16, 1, 1, 1, 4,  4,  32};

// A unit that runs on gas with settings inside every documented range; words
// are little-endian.
const std::vector<uint8_t> kDefaultSettings = {
    0x00, 0x31, 0x00, 0x00, 0x02, 0x00, 0x14, 0x23, 0xB0, 0x04, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0xDC, 0x05, 0x00, 0xC8, 0x00, 0xF4, 0x01, 0x2C,
    0x01, 0x00, 0x0A, 0x0A, 0x05, 0x04, 0x00, 0x03, 0x00, 0x00, 0x00,
};
const std::vector<uint8_t> kDefaultSensorTypes = {0x01, 0x00, 0x00, 0x00};
// Gas, no display flags, idle job, no live-cycle end.
const std::vector<uint8_t> kDefaultEngineStatus = {0xFF, 0x00, 0x00, 0xFF, 0x00};
// Trims, calibration and adaptive values, status "connected" with adaptation on.
const std::vector<uint8_t> kDefaultObdBlock = {0x02, 0xFD, 0x00, 0x00, 0x32, 0x3C, 0x8F, 0x02,
                                               0x02, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x00, 0x00};
const char kDefaultIdentifier[] = "SIM1A00000012345";
// Hardware 2.01, firmware (set from the version), made 2012-05-14, running
// times and contact stamps, build 12, no MIL time.
const std::vector<uint8_t> kDefaultIdentityTail = {
    0x02, 0x01, 0x01, 0x1E, 0xDC, 0x07, 0x05, 0x0E, 0x2A, 0x01, 0x10, 0x20, 0xC8, 0x00, 0x05,
    0x06, 0xDC, 0x07, 0x06, 0x01, 0xDC, 0x07, 0x05, 0x1F, 0xDC, 0x07, 0x05, 0x0E, 0x0C, 0x00,
    0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};
const std::vector<uint8_t> kDefaultPatchVersion = {0x01, 0x02, 0x00, 0x0C};
const std::vector<uint8_t> kDefaultPatchDate = {0xDC, 0x07, 0x05, 0x0E};
// Ids 1-32 partly supported; bit 0 of the fourth byte says that the next range
// of 32 ids is worth asking for, which holds id 33 only.
const std::vector<uint8_t> kDefaultSupportedIds = {0xBE, 0x1F, 0xA8, 0x13, 0x80};

constexpr int kMapColumns = 16;
constexpr int kMapRows = 18;
constexpr int kAdaptiveColumns = 16;
constexpr int kAdaptiveRows = 8;
constexpr int kLogColumns = 32;
constexpr int kLogRows = 24;
constexpr int kStoredLogBank = 5;
constexpr int kPendingLogBank = 6;

std::vector<uint8_t> Resized(std::vector<uint8_t> bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

}  // namespace

CUnitMemory::CUnitMemory() {
    FillDefaultBlocks();
    FillDefaultTables();
    FillDefaultEvents();
}

std::size_t CUnitMemory::BlockSize(UnitBlock block) {
    return kBlockSizes[Index(block)];
}

bool CUnitMemory::SetBlock(UnitBlock block, const std::vector<uint8_t>& bytes) {
    if (bytes.size() != BlockSize(block)) {
        return false;
    }
    m_blocks[Index(block)] = bytes;
    return true;
}

uint8_t CUnitMemory::Byte(UnitBlock block, std::size_t offset) const {
    const std::vector<uint8_t>& bytes = Block(block);
    return offset < bytes.size() ? bytes[offset] : 0;
}

void CUnitMemory::SetByte(UnitBlock block, std::size_t offset, uint8_t value) {
    std::vector<uint8_t>& bytes = m_blocks[Index(block)];
    if (offset < bytes.size()) {
        bytes[offset] = value;
    }
}

CUnitTable& CUnitMemory::Table(int bank) {
    if (bank < 0 || bank >= kBankCount) {
        m_noTable = CUnitTable();
        return m_noTable;
    }
    return m_tables[static_cast<std::size_t>(bank)];
}

const CUnitTable& CUnitMemory::Table(int bank) const {
    if (bank < 0 || bank >= kBankCount) {
        return m_noTable;
    }
    return m_tables[static_cast<std::size_t>(bank)];
}

std::vector<uint8_t> CUnitMemory::Phase(uint8_t phase) const {
    const auto found = m_phases.find(phase);
    return found != m_phases.end() ? found->second : std::vector<uint8_t>(kPhaseBytes, 0);
}

void CUnitMemory::SetPhase(uint8_t phase, const std::vector<uint8_t>& bytes) {
    m_phases[phase] = Resized(bytes, kPhaseBytes);
}

void CUnitMemory::SetFirmwareVersion(uint8_t major, uint8_t minor) {
    SetByte(UnitBlock::Identity, kFirmwareVersionOffset, major);
    SetByte(UnitBlock::Identity, kFirmwareVersionOffset + 1, minor);
}

void CUnitMemory::CopyFinalizedDataFrom(const CUnitMemory& other) {
    for (UnitBlock block : {UnitBlock::Settings, UnitBlock::SensorTypes, UnitBlock::BasePercent}) {
        m_blocks[Index(block)] = other.Block(block);
    }
    m_eventActions = other.m_eventActions;
    m_tables[0] = other.m_tables[0];
}

void CUnitMemory::FillDefaultBlocks() {
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        m_blocks[i].assign(kBlockSizes[i], 0);
    }
    m_blocks[Index(UnitBlock::Settings)] = kDefaultSettings;
    m_blocks[Index(UnitBlock::SensorTypes)] = kDefaultSensorTypes;
    m_blocks[Index(UnitBlock::BasePercent)] = {0x02};
    m_blocks[Index(UnitBlock::EngineStatus)] = kDefaultEngineStatus;
    m_blocks[Index(UnitBlock::ObdBlock)] = kDefaultObdBlock;
    m_blocks[Index(UnitBlock::FuelRequest)] = {0xAA};
    m_blocks[Index(UnitBlock::Adaptation)] = {0xFF};
    m_blocks[Index(UnitBlock::PatchVersion)] = kDefaultPatchVersion;
    m_blocks[Index(UnitBlock::PatchDate)] = kDefaultPatchDate;
    m_blocks[Index(UnitBlock::SupportedIds)] =
        Resized(kDefaultSupportedIds, BlockSize(UnitBlock::SupportedIds));
    std::vector<uint8_t> identity(kDefaultIdentifier, kDefaultIdentifier + kIdentifierBytes);
    identity.insert(identity.end(), kDefaultIdentityTail.begin(), kDefaultIdentityTail.end());
    m_blocks[Index(UnitBlock::Identity)] = identity;
}

// Cells are signed percents: the map holds a gentle slope, the adaptive tables
// start neutral.
void CUnitMemory::FillDefaultTables() {
    CUnitTable& map = m_tables[0];
    map = CUnitTable::Make(kMapColumns, kMapRows, 800, 400, 2000, 500);
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            map.SetCell(column, row, static_cast<uint8_t>((column + row) % 9 - 4));
        }
    }
    for (int bank = 1; bank <= 4; ++bank) {
        m_tables[static_cast<std::size_t>(bank)] =
            CUnitTable::Make(kAdaptiveColumns, kAdaptiveRows, 800, 400, 2000, 1000);
    }
    for (int bank : {kStoredLogBank, kPendingLogBank}) {
        m_tables[static_cast<std::size_t>(bank)] = CUnitTable::Make(kLogColumns, kLogRows, 0, 1, 0, 1);
    }
    m_tables[kStoredLogBank].SetRecordLog({{1520, 12, 30, true, {0x0171, 0x0300}}});
    m_tables[kPendingLogBank].SetRecordLog({});
}

// One record of each kind: an event with 10 data bytes (first time, counter,
// last time) and one with 20 (times with rpm, injection and temperature).
void CUnitMemory::FillDefaultEvents() {
    m_eventRecords = {
        {0x01, 0xE8, 0x05, 0x0C, 0x1E, 0x03, 0x00, 0xF0, 0x05, 0x2D, 0x10},
        {0x1C, 0xE8, 0x05, 0x0C, 0x1E, 0x20, 0x0B, 0xC4, 0x09, 0x50, 0x02,
         0x00, 0xF0, 0x05, 0x2D, 0x10, 0x40, 0x0C, 0x10, 0x0A, 0x55},
    };
}
