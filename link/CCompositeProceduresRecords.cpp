// The composite procedures' bank reads, the clearing of the record logs and the record chains.
#include "link/CCompositeProcedures.h"
#include "link/CLogger.h"
#include "link/CompositeCodes.h"
#include "link/ICompositeHost.h"

#include <array>
#include <cstring>

using namespace CompositeCodes;

CompositeOutcome CCompositeProcedures::ReadBankAxes(const std::vector<BYTE>& input, Span destination) {
    if (input.empty() || destination.data == nullptr) {
        return CompositeOutcome::Refused;
    }
    if (!m_host.GetTablesFlag()) {
        return CompositeOutcome::Done;
    }
    int count1 = 0;
    int count2 = 0;
    if (!SelectBank(input[0], Repeat::Stopping) || !ReadAxes(destination, TableProgress{}, count1, count2) ||
        !SelectBank(0, Repeat::Stopping)) {
        return CompositeOutcome::PortClosed;
    }
    return CompositeOutcome::Done;
}

CompositeOutcome CCompositeProcedures::ReadBankRow(const std::vector<BYTE>& input, Span destination) {
    if (input.size() < 3 || destination.data == nullptr || destination.size == 0) {
        return CompositeOutcome::Refused;
    }
    if (!m_host.GetTablesFlag()) {
        return CompositeOutcome::Done;
    }
    const BYTE row = input[1];
    std::size_t cells = input[2];
    if (1 + cells > destination.size) {
        // The count comes from a table the unit sent; the row buffer holds no more.
        CLogger::Instance().Log(kLogRefused, "CCommunicator: a row of %u cells cut to %u.",
                                static_cast<unsigned>(cells), static_cast<unsigned>(destination.size - 1));
        cells = destination.size - 1;
    }
    if (!SelectBank(input[0], Repeat::Stopping)) {
        return CompositeOutcome::PortClosed;
    }
    destination.data[0] = row;
    if (cells > 0 && !SendOrClose(kRowPart, {row, 0, static_cast<BYTE>(cells - 1)}, static_cast<int>(cells),
                                  destination.From(1))) {
        return CompositeOutcome::PortClosed;
    }
    return SelectBank(0, Repeat::Stopping) ? CompositeOutcome::Done : CompositeOutcome::PortClosed;
}

CompositeOutcome CCompositeProcedures::ClearRecordLogs() {
    if (!m_host.IsRowFlagSet(kRowObdStatus)) {
        return CompositeOutcome::Done;
    }
    for (BYTE bank : {BYTE{5}, BYTE{6}}) {
        if (!SelectBank(bank, Repeat::Stopping) ||
            !SendOrClose(kWriteRowPart, {0, 0, 2, 0, 0, kLogEndRecord}, 0, Span{})) {
            return CompositeOutcome::PortClosed;
        }
    }
    return SelectBank(0, Repeat::Stopping) ? CompositeOutcome::Done : CompositeOutcome::PortClosed;
}

CompositeOutcome CCompositeProcedures::ReadRecordChain(Span destination) {
    if (destination.data == nullptr) {
        return CompositeOutcome::Refused;
    }
    std::array<BYTE, kScratchBytes> reply{};
    std::size_t offset = 0;
    for (;;) {
        if (!SendOrClose(kNextRecord, {}, kCountedBytes, Span{reply.data(), reply.size()})) {
            return CompositeOutcome::PortClosed;
        }
        const std::size_t bytes = 1 + static_cast<std::size_t>(reply[0]);
        if (offset + bytes > destination.size) {
            Fail("the record chain passes its element");
            return CompositeOutcome::PortClosed;
        }
        std::memcpy(destination.data + offset, reply.data(), bytes);
        offset += bytes;
        if (reply[0] == 0) {
            return CompositeOutcome::Done;
        }
    }
}

// Reads a record log of bank 5 or 6: its axes, row 0 with the start position, then
// further rows only as far as the chain of records reaches.
bool CCompositeProcedures::ReadRecordLog(BYTE bank, Span destination, int firstProgress) {
    Progress(firstProgress);
    if (destination.size == 0) {
        return Fail("a record log has no room");
    }
    if (!SelectBank(bank, Repeat::Plain)) {
        return false;
    }
    int count1 = 0;
    int count2 = 0;
    if (!ReadAxes(destination, TableProgress{-1, 0, 0, 0}, count1, count2)) {
        return false;
    }
    Progress(firstProgress + 5);
    const std::size_t cellsOffset = 2 + 2 * static_cast<std::size_t>(count1 + count2);
    const std::size_t cellCount = static_cast<std::size_t>(count1 * count2);
    if (cellsOffset + cellCount > destination.size) {
        return Fail("a record log does not fit its element");
    }
    Progress(firstProgress + 10);
    if (count1 == 0 || count2 == 0) {
        return true;
    }
    BYTE* cells = destination.data + cellsOffset;
    const std::size_t rowCells = static_cast<std::size_t>(count1);
    int rowsRead = 0;
    auto readRow = [&]() {
        const Span target{cells + static_cast<std::size_t>(rowsRead) * rowCells, rowCells};
        const BYTE last = static_cast<BYTE>(count1 - 1);
        if (!SendOrClose(kRowPart, {static_cast<BYTE>(rowsRead), 0, last}, count1, target)) {
            return false;
        }
        ++rowsRead;
        return true;
    };
    if (!readRow()) {
        return false;
    }
    const int start = count1 >= 2 ? (cells[0] << 8) | cells[1] : -1;
    if (start == kLogEmpty) {
        return true;
    }
    const bool followChain = start == 0 || start == kLogFirstRecord;
    std::size_t position = kLogFirstRecord;
    // Makes sure cell `index` has been read; false when it lies past the table.
    auto reach = [&](std::size_t index, bool& ok) {
        while (ok && index >= static_cast<std::size_t>(rowsRead) * rowCells && rowsRead < count2) {
            ok = readRow();
        }
        return ok && index < static_cast<std::size_t>(rowsRead) * rowCells;
    };
    bool ok = true;
    if (!followChain) {
        reach(cellCount, ok);
        return ok;
    }
    while (reach(position, ok) && cells[position] != kLogEndRecord && reach(position + 4, ok)) {
        position += 5 + 2 * static_cast<std::size_t>(cells[position + 4] & 0x3F);
    }
    return ok;
}
