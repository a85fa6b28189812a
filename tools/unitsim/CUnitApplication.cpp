// The simulated unit's application firmware.
#include "tools/unitsim/CUnitApplication.h"

#include <algorithm>

namespace {

// Byte positions in the engine status.
constexpr std::size_t kFuelStateByte = 0;
constexpr std::size_t kJobStateByte = 3;
constexpr std::size_t kLiveCycleByte = 4;

constexpr uint8_t kFuelPetrol = 0x00;
constexpr uint8_t kFuelGas = 0xFF;
constexpr uint8_t kFuelChangingToPetrol = 85;
constexpr uint8_t kFuelChangingToGas = 170;
constexpr int kFuelChangePolls = 2;
constexpr uint8_t kJobIdle = 0xFF;
constexpr uint8_t kLiveCycleEnd = 253;
const std::vector<uint8_t> kFinalizeJob = {0, 50, 100, 150, 200, 254};

constexpr std::size_t kObdStatusByte = 6;
constexpr uint8_t kObdAdaptationBit = 0x80;

constexpr uint8_t kPatchBusy = 0x03;
constexpr uint8_t kPatchReadCount = 2;
constexpr uint8_t kPatchVersionRange = 1;
constexpr uint8_t kPatchDateRange = 2;
constexpr uint8_t kPatchIdsPerRange = 32;
constexpr uint8_t kObdNotReady = 0;

constexpr std::size_t kMaxCountedItems = 0xFF;

std::vector<uint8_t> Counted(const std::vector<uint8_t>& items) {
    const std::size_t count = std::min(items.size(), kMaxCountedItems);
    std::vector<uint8_t> bytes(count + 1);
    bytes[0] = static_cast<uint8_t>(count);
    std::copy(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(count), bytes.begin() + 1);
    return bytes;
}

}  // namespace

CUnitApplication::CUnitApplication(CUnitMemory& memory) : m_memory(memory), m_finalized(memory) {}

std::vector<uint8_t> CUnitApplication::Answer(const UnitCommand& command, const std::vector<uint8_t>& data) {
    bool handled = false;
    Bytes reply = AnswerBlocks(command, data, handled);
    if (!handled) {
        reply = AnswerTables(command, data, handled);
    }
    if (!handled) {
        reply = AnswerCommands(command, data, handled);
    }
    if (!handled) {
        reply = AnswerPatch(command, data, handled);
    }
    return handled ? reply : CUnitCommandTable::ZeroReplyData(command, data);
}

void CUnitApplication::StartBusyJob(const std::vector<uint8_t>& jobStates) {
    m_busyJob.assign(jobStates.begin(), jobStates.end());
}

// Reads and writes of whole blocks; the short forms answer a block's start.
std::vector<uint8_t> CUnitApplication::AnswerBlocks(const UnitCommand& command,
                                                    const Bytes& data,
                                                    bool& handled) {
    handled = true;
    switch (command.code) {
    case 2:
    case 32:
        return Prefix(UnitBlock::Identity, static_cast<std::size_t>(command.replyLength));
    case 24:
        return ReadEngineStatus();
    case 30:
        return m_memory.Block(UnitBlock::Settings);
    case 60:
        m_memory.SetBlock(UnitBlock::Settings, data);
        return {};
    case 31:
        return m_memory.Block(UnitBlock::SensorTypes);
    case 61:
        m_memory.SetBlock(UnitBlock::SensorTypes, data);
        return {};
    case 46:
        return m_memory.Block(UnitBlock::BasePercent);
    case 68:
        m_memory.SetBlock(UnitBlock::BasePercent, data);
        return {};
    case 47:
    case 48:
        return Prefix(UnitBlock::ObdBlock, static_cast<std::size_t>(command.replyLength));
    case 50:
        if (m_liveMotion) {
            m_live.Step(m_memory);
        }
        return m_memory.Block(UnitBlock::LiveBlock1);
    case 51:
    case 52:
        return Prefix(UnitBlock::LiveBlock2, static_cast<std::size_t>(command.replyLength));
    default:
        handled = false;
        return {};
    }
}

// Bank selection, axes and cells of the selected bank.
std::vector<uint8_t> CUnitApplication::AnswerTables(const UnitCommand& command,
                                                    const Bytes& data,
                                                    bool& handled) {
    handled = true;
    const CUnitTable& table = m_memory.Table(m_bank);
    switch (command.code) {
    case 19:
        m_bank = data[0];
        return {};
    case 40:
        return CUnitTable::EncodeAxis(table.ColumnAxis());
    case 41:
        return CUnitTable::EncodeAxis(table.RowAxis());
    case 42:
        return ReadCellRange(true, data);
    case 43:
        return ReadCellRange(false, data);
    case 44:
        return {table.Cell(data[0], data[1])};
    case 64:
        WriteCellRange(true, data);
        return {};
    case 65:
        WriteCellRange(false, data);
        return {};
    case 66:
        m_memory.Table(m_bank).SetCell(data[0], data[1], data[2]);
        return {};
    case 49:
        for (int bank = 1; bank <= 4; ++bank) {
            m_memory.Table(bank).Fill(0);
        }
        return {};
    default:
        handled = false;
        return {};
    }
}

// Commands that change the unit's state rather than one block.
std::vector<uint8_t> CUnitApplication::AnswerCommands(const UnitCommand& command,
                                                      const Bytes& data,
                                                      bool& handled) {
    handled = true;
    switch (command.code) {
    case 16:
        m_obdRequest.assign(data.begin() + 1, data.end());
        m_obdAnswerPending = true;
        m_obdAnswerReady = false;
        return {};
    case 17:
        return AnswerObdText();
    case 18: {
        m_memory.SetBlock(UnitBlock::Adaptation, data);
        const uint8_t status = m_memory.Byte(UnitBlock::ObdBlock, kObdStatusByte);
        m_memory.SetByte(
            UnitBlock::ObdBlock, kObdStatusByte,
            static_cast<uint8_t>(data[0] != 0 ? status | kObdAdaptationBit : status & ~kObdAdaptationBit));
        return {};
    }
    case 25:
        RequestFuel(data[0]);
        return {};
    case 33:
        return m_memory.Phase(data[0]);
    case 34:
        m_memory.SetPhase(data[0], Bytes(data.begin() + 1, data.end()));
        return {};
    case 75:
        m_memory.CopyFinalizedDataFrom(m_finalized);
        return {};
    case 76:
        m_finalized = m_memory;
        StartBusyJob(kFinalizeJob);
        return {};
    case 80:
        m_nextEvent = 0;
        return {};
    case 81:
        return NextEventRecord();
    case 82:
        return {m_memory.EventAction(data[0])};
    case 83:
        m_memory.SetEventAction(data[0], data[1]);
        return {};
    case 84:
        m_memory.EventRecords().clear();
        m_nextEvent = 0;
        return {};
    default:
        handled = false;
        return {};
    }
}

std::vector<uint8_t> CUnitApplication::AnswerPatch(const UnitCommand& command,
                                                   const Bytes& data,
                                                   bool& handled) {
    handled = true;
    switch (command.code) {
    case 90:
        return PatchStatus();
    case 91:
        m_patchBusyLeft = m_patchBusyPolls;
        return PatchStatus();
    case 92:
        return m_memory.Block(UnitBlock::PatchStatus);
    case 94:
        return AnswerPatchPacket(data);
    default:
        handled = false;
        return {};
    }
}

std::vector<uint8_t> CUnitApplication::Prefix(UnitBlock block, std::size_t count) const {
    const Bytes& bytes = m_memory.Block(block);
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(count, bytes.size())));
}

// Each status read moves the busy job and a change of fuel one step on; the
// live-cycle end shows in one read only.
std::vector<uint8_t> CUnitApplication::ReadEngineStatus() {
    if (!m_busyJob.empty()) {
        m_memory.SetByte(UnitBlock::EngineStatus, kJobStateByte, m_busyJob.front());
        m_busyJob.pop_front();
    } else {
        m_memory.SetByte(UnitBlock::EngineStatus, kJobStateByte, kJobIdle);
    }
    if (m_fuelChangePolls > 0 && --m_fuelChangePolls == 0) {
        m_memory.SetByte(UnitBlock::EngineStatus, kFuelStateByte, m_fuelTarget);
    }
    m_memory.SetByte(UnitBlock::EngineStatus, kLiveCycleByte, m_pulseLiveCycleEnd ? kLiveCycleEnd : 0);
    m_pulseLiveCycleEnd = false;
    return m_memory.Block(UnitBlock::EngineStatus);
}

// 0 asks for petrol; any other value for gas (0xBB with the calibration's
// correction). The fuel state shows "changing" for a few status reads.
void CUnitApplication::RequestFuel(uint8_t request) {
    m_memory.SetBlock(UnitBlock::FuelRequest, {request});
    const bool toPetrol = request == kFuelPetrol;
    m_fuelTarget = toPetrol ? kFuelPetrol : kFuelGas;
    if (m_memory.Byte(UnitBlock::EngineStatus, kFuelStateByte) == m_fuelTarget) {
        return;
    }
    m_memory.SetByte(UnitBlock::EngineStatus, kFuelStateByte,
                     toPetrol ? kFuelChangingToPetrol : kFuelChangingToGas);
    m_fuelChangePolls = kFuelChangePolls + 1;
}

// The chain ends with an empty record and starts over at the next request.
std::vector<uint8_t> CUnitApplication::NextEventRecord() {
    const auto& records = m_memory.EventRecords();
    if (m_nextEvent >= records.size() && m_endlessEvents && !records.empty()) {
        m_nextEvent = 0;
    }
    if (m_nextEvent >= records.size()) {
        m_nextEvent = 0;
        return {0};
    }
    return Counted(records[m_nextEvent++]);
}

// Along a row: (row, first column, last column); along a column: (column,
// first row, last row). Cells outside the table read as 0.
std::vector<uint8_t> CUnitApplication::ReadCellRange(bool alongRow, const Bytes& data) const {
    const CUnitTable& table = m_memory.Table(m_bank);
    Bytes cells;
    for (int i = data[1]; i <= data[2]; ++i) {
        cells.push_back(alongRow ? table.Cell(i, data[0]) : table.Cell(data[0], i));
    }
    return cells;
}

void CUnitApplication::WriteCellRange(bool alongRow, const Bytes& data) {
    CUnitTable& table = m_memory.Table(m_bank);
    for (int i = data[1]; i <= data[2]; ++i) {
        const uint8_t value = data[3 + static_cast<std::size_t>(i - data[1])];
        if (alongRow) {
            table.SetCell(i, data[0], value);
        } else {
            table.SetCell(data[0], i, value);
        }
    }
}

std::vector<uint8_t> CUnitApplication::PatchStatus() {
    if (m_patchBusyLeft > 0) {
        --m_patchBusyLeft;
        return {kPatchBusy};
    }
    return m_memory.Block(UnitBlock::PatchStatus);
}

// A count of 2 reads a range: [2, 1, range] -> [6, 1, range, four bytes]. A
// longer packet delivers a record: [n + 2, 1, id, n bytes] -> [3, 1, id, status].
std::vector<uint8_t> CUnitApplication::AnswerPatchPacket(const Bytes& data) {
    if (data.size() < 3) {
        return {0};
    }
    const uint8_t echo = data[1];
    const uint8_t id = data[2];
    if (data[0] == kPatchReadCount) {
        Bytes items = {echo, id};
        const Bytes range = ReadPatchRange(id);
        items.insert(items.end(), range.begin(), range.end());
        return Counted(items);
    }
    const Bytes record(data.begin() + 3, data.end());
    if (id == kPatchVersionRange || id == kPatchDateRange) {
        m_memory.SetBlock(id == kPatchVersionRange ? UnitBlock::PatchVersion : UnitBlock::PatchDate, record);
    } else {
        m_memory.PatchRecords()[id] = record;
    }
    Bytes items = {echo, id, m_patchWriteStatus};
    items.resize(m_patchReplyCount, 0);
    return Counted(items);
}

std::vector<uint8_t> CUnitApplication::ReadPatchRange(uint8_t range) const {
    if (range == kPatchVersionRange) {
        return m_memory.Block(UnitBlock::PatchVersion);
    }
    if (range == kPatchDateRange) {
        return m_memory.Block(UnitBlock::PatchDate);
    }
    Bytes bytes(4, 0);
    if (range % kPatchIdsPerRange != 0) {
        return bytes;
    }
    const std::size_t first = range / 8;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = m_memory.Byte(UnitBlock::SupportedIds, first + i);
    }
    return bytes;
}

// The adapter needs one poll to answer; until then, and when nothing was
// asked, the answer is the one-byte status "not ready".
std::vector<uint8_t> CUnitApplication::AnswerObdText() {
    if (!m_obdAnswerPending || !m_obdAnswerReady) {
        m_obdAnswerReady = m_obdAnswerPending;
        return Counted({kObdNotReady});
    }
    m_obdAnswerPending = false;
    m_obdAnswerReady = false;
    return Counted(Bytes(m_obdReply.begin(), m_obdReply.end()));
}
