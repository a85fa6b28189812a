// The data the simulated unit keeps: the blocks that its read commands answer
// with and its write commands change, the table banks, the event log and the
// other stored records. Starts with the data of a plausible running unit.
#pragma once

#include "tools/unitsim/CUnitTable.h"

#include <array>
#include <cstdint>
#include <map>
#include <vector>

// Fixed-size blocks of the unit's memory; the comment names the commands that
// read and write each and its size in bytes.
enum class UnitBlock {
    Settings,      // 30 / 60, 35
    SensorTypes,   // 31 / 61, 4
    BasePercent,   // 46 / 68, 1 (percent - 28, signed)
    EngineStatus,  // 24, 5: fuel state, flags, -, job state, live-cycle end
    LiveBlock1,    // 50, 44
    LiveBlock2,    // 52, 26 (51 answers the first 22)
    Identity,      // 2, 60 (32 answers the first 44)
    ObdBlock,      // 47, 16 (48 answers the first 10)
    FuelRequest,   // 25, 1
    Adaptation,    // 18, 1
    PatchStatus,   // 90 / 91 when idle, 1
    PatchVersion,  // 94 range 1, 4: version hi, lo, build hi, lo
    PatchDate,     // 94 range 2, 4: year lo, hi, month, day
    SupportedIds,  // 94 ranges 0, 32, ..., 32: one bit per patch record id
};

class CUnitMemory {
public:
    static constexpr int kBlockCount = static_cast<int>(UnitBlock::SupportedIds) + 1;
    static constexpr int kBankCount = 7;  // 0 map, 1-4 adaptive tables A-D, 5/6 trouble-code logs
    static constexpr std::size_t kPhaseBytes = 14;
    static constexpr std::size_t kIdentifierBytes = 16;
    static constexpr std::size_t kFirmwareVersionOffset = 18;  // in the identity: major, minor

    CUnitMemory();

    static std::size_t BlockSize(UnitBlock block);

    const std::vector<uint8_t>& Block(UnitBlock block) const { return m_blocks[Index(block)]; }

    // Replaces a block's bytes; false (and no change) when `bytes` has the wrong size.
    bool SetBlock(UnitBlock block, const std::vector<uint8_t>& bytes);

    uint8_t Byte(UnitBlock block, std::size_t offset) const;

    // Out-of-range offsets are ignored.
    void SetByte(UnitBlock block, std::size_t offset, uint8_t value);

    // Banks 0..6; out-of-range banks give an empty table that nothing reads.
    CUnitTable& Table(int bank);
    const CUnitTable& Table(int bank) const;

    // Records of the event log, each the record's id followed by its data.
    std::vector<std::vector<uint8_t>>& EventRecords() { return m_eventRecords; }

    const std::vector<std::vector<uint8_t>>& EventRecords() const { return m_eventRecords; }

    uint8_t EventAction(uint8_t index) const { return m_eventActions[index]; }

    void SetEventAction(uint8_t index, uint8_t value) { m_eventActions[index] = value; }

    // The 14 bytes of a phase of the phase test (lambda, gas, time lo, hi, ...).
    std::vector<uint8_t> Phase(uint8_t phase) const;
    void SetPhase(uint8_t phase, const std::vector<uint8_t>& bytes);

    // The records that patch packets delivered, by record id.
    std::map<uint8_t, std::vector<uint8_t>>& PatchRecords() { return m_patchRecords; }

    const std::map<uint8_t, std::vector<uint8_t>>& PatchRecords() const { return m_patchRecords; }

    // Puts the version into the identity's firmware bytes.
    void SetFirmwareVersion(uint8_t major, uint8_t minor);

    // The data that finalizing keeps and restoring brings back: settings, sensor
    // types, base percent, event actions and the map.
    void CopyFinalizedDataFrom(const CUnitMemory& other);

private:
    static std::size_t Index(UnitBlock block) { return static_cast<std::size_t>(block); }

    void FillDefaultBlocks();
    void FillDefaultTables();
    void FillDefaultEvents();

    std::array<std::vector<uint8_t>, kBlockCount> m_blocks;
    std::array<CUnitTable, kBankCount> m_tables;
    CUnitTable m_noTable;
    std::vector<std::vector<uint8_t>> m_eventRecords;
    std::array<uint8_t, 256> m_eventActions{};
    std::map<uint8_t, std::vector<uint8_t>> m_phases;
    std::map<uint8_t, std::vector<uint8_t>> m_patchRecords;
};
