// The composite procedures: series of plain table, record and probe commands.
#include "link/CCompositeProcedures.h"

#include "link/CCommandTable.h"
#include "link/CDataDescriptor.h"
#include "link/CLogger.h"
#include "link/ElementTable.h"
#include "link/ExchangeResult.h"
#include "link/ICompositeHost.h"
#include "link/MapBox.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr int kLogRefused = 2000;

// Composite codes.
constexpr WORD kReadTable = 0x8028;
constexpr WORD kReadBox = 0x8029;
constexpr WORD kWriteBox = 0x802A;
constexpr WORD kReadBankAxes = 0x8001;
constexpr WORD kReadBankRow = 0x8002;
constexpr WORD kClearRecordLogs = 0x8003;
constexpr WORD kReadRecordChain = 0x8051;
constexpr WORD kFullRead = 0x8030;

// Plain commands of the table banks, the records and the OBD forwarder.
constexpr BYTE kSelectBank = 19;
constexpr BYTE kFirstAxis = 40;
constexpr BYTE kSecondAxis = 41;
constexpr BYTE kRowPart = 42;
constexpr BYTE kColumnPart = 43;
constexpr BYTE kOneCell = 44;
constexpr BYTE kWriteRowPart = 64;
constexpr BYTE kWriteColumnPart = 65;
constexpr BYTE kWriteOneCell = 66;
constexpr BYTE kEndTableWrite = 70;
constexpr BYTE kNextRecord = 81;
constexpr BYTE kLongLiveBlock = 52;
constexpr BYTE kLongObdBlock = 47;
constexpr BYTE kLongIdentity = 2;
constexpr BYTE kObdStatus = 90;
constexpr BYTE kObdForward = 94;

constexpr int kCountedBytes = -1;
constexpr int kCountedWords = -2;

// Command-table rows that the probe reads or rewrites.
constexpr int kRowBasePercent = 11;
constexpr int kRowSettings = 16;
constexpr int kRowSensorTypes = 21;
constexpr int kRowLiveBlock2 = 30;
constexpr int kRowIdentity = 31;
constexpr int kRowObdBlock = 35;
constexpr int kRowPhase = 40;
constexpr int kRowObdStatus = 42;

constexpr CommandRow kLiveBlock2Long{kLongLiveBlock, 0, 26};
constexpr CommandRow kLiveBlock2Short{51, 0, 22};
constexpr CommandRow kObdBlockLong{kLongObdBlock, 0, 16};
constexpr CommandRow kObdBlockShort{48, 0, 10};
constexpr CommandRow kIdentityLong{kLongIdentity, 0, 60};
constexpr CommandRow kIdentityShort{32, 0, 44};

// Elements that the full read fills.
constexpr int kElementSettings = 44;
constexpr int kElementSensorTypes = 35;
constexpr int kElementLiveBlock2 = 31;
constexpr int kElementHasTables = 79;
constexpr int kElementObdBlock = 95;
constexpr int kElementObdSupport = 110;
constexpr int kElementPatchVersion = 111;
constexpr int kElementPatchDate = 112;
constexpr int kElementStoredLog = 119;
constexpr int kElementPendingLog = 120;

// OBD reading: ranges of 32 ids, at most eight, the progress counter rising by 960.
constexpr int kObdRangeIds = 32;
constexpr int kObdCounterStep = 960;
constexpr int kObdCounterEnd = 7680;
constexpr BYTE kObdSupportReplyCount = 6;
constexpr BYTE kObdBusy = 3;

// Record logs: the start position that marks an empty log, the end record.
constexpr int kLogEmpty = 1;
constexpr int kLogFirstRecord = 2;
constexpr BYTE kLogEndRecord = 255;

constexpr std::size_t kScratchBytes = 256;

bool IsUnitRefusal(int result) {
    return result == kResultUnitRefused;
}

}  // namespace

int CCompositeProcedures::SourceBytes(WORD code, const BYTE* source) {
    int bytes = 0;
    switch (code) {
    case kReadBox:
        bytes = 4;
        break;
    case kWriteBox:
        bytes = source != nullptr ? static_cast<int>(BoxRecordLength(source)) : 0;
        return bytes > 0 ? bytes : -1;
    case kReadBankAxes:
        bytes = 1;
        break;
    case kReadBankRow:
        bytes = 3;
        break;
    default:
        return 0;
    }
    return source != nullptr ? bytes : -1;
}

CompositeOutcome CCompositeProcedures::Run(const CommRequest& request) {
    const WORD code = m_host.CommandTable().Get(request.row).code;
    Span destination{request.destination, request.destination != nullptr ? request.destinationSize : 0};
    if (request.descriptor != nullptr && request.descriptor->GetLength() > 0) {
        destination.size =
            std::min(destination.size, static_cast<std::size_t>(request.descriptor->GetLength()));
    }
    switch (code) {
    case kReadTable:
        return ReadTableRequest(destination);
    case kReadBox:
        return ReadBox(request.payload, destination);
    case kWriteBox:
        return WriteBox(request.payload);
    case kReadBankAxes:
        return ReadBankAxes(request.payload, destination);
    case kReadBankRow:
        return ReadBankRow(request.payload, destination);
    case kClearRecordLogs:
        return ClearRecordLogs();
    case kReadRecordChain:
        return ReadRecordChain(destination);
    case kFullRead:
        return FullRead(destination);
    default:
        CLogger::Instance().Log(kLogRefused, "CCommunicator: no procedure for the code 0x%04X.", code);
        return CompositeOutcome::Refused;
    }
}

int CCompositeProcedures::Send(BYTE code,
                               const std::vector<BYTE>& data,
                               int replyLength,
                               Span destination,
                               Repeat repeat) {
    const FrameRequest frame = MakeFrameRequest(kSenderIdNormal, kAnswerIdNormal, code, data, replyLength,
                                                destination.data, destination.size);
    int result = m_host.Exchange(frame, false);
    for (int tries = 0; tries < kRepeats && result != kResultSuccess; ++tries) {
        if (repeat == Repeat::Stopping && IsUnitRefusal(result)) {
            break;
        }
        result = m_host.Exchange(frame, true);
    }
    return result;
}

bool CCompositeProcedures::SendOrClose(BYTE code,
                                       const std::vector<BYTE>& data,
                                       int replyLength,
                                       Span destination,
                                       Repeat repeat) {
    if (Send(code, data, replyLength, destination, repeat) == kResultSuccess) {
        return true;
    }
    m_host.ClosePort();
    return false;
}

bool CCompositeProcedures::SendRow(int row, const std::vector<BYTE>& data, Span destination, Repeat repeat) {
    const CommandRow command = m_host.CommandTable().Get(row);
    return SendOrClose(static_cast<BYTE>(command.code), data, command.replyLength, destination, repeat);
}

// The unit sent sizes that do not fit where they go: treated as a failed exchange.
bool CCompositeProcedures::Fail(const char* reason) {
    CLogger::Instance().Log(kLogRefused, "CCommunicator: %s.", reason);
    m_host.ClosePort();
    return false;
}

void CCompositeProcedures::Progress(int perMille) {
    m_host.PostFullReadProgress(1, perMille);
}

CCompositeProcedures::Span CCompositeProcedures::ElementSpan(Span image, int element, std::size_t bytes) {
    const ElementRow& row = GetElementRow(element);
    if (row.offset < 0 || static_cast<std::size_t>(row.offset) + bytes > image.size) {
        return Span{};
    }
    return Span{image.data + row.offset, bytes};
}

CCompositeProcedures::Span CCompositeProcedures::ElementSpan(Span image, int element) {
    return ElementSpan(image, element, static_cast<std::size_t>(GetElementRow(element).length));
}

bool CCompositeProcedures::SelectBank(BYTE bank, Repeat repeat) {
    return SendOrClose(kSelectBank, {bank}, 0, Span{}, repeat);
}

// ---- Tables ---------------------------------------------------------------------

bool CCompositeProcedures::ReadAxes(Span destination,
                                    const TableProgress& progress,
                                    int& count1,
                                    int& count2) {
    if (progress.beforeAxes >= 0) {
        Progress(progress.beforeAxes);
    }
    if (!SendOrClose(kFirstAxis, {}, kCountedWords, destination)) {
        return false;
    }
    count1 = destination.data[0];
    if (progress.beforeAxes >= 0) {
        Progress(progress.afterFirstAxis);
    }
    const std::size_t second = 1 + 2 * static_cast<std::size_t>(count1);
    if (second >= destination.size) {
        return Fail("the first axis fills its element");
    }
    if (!SendOrClose(kSecondAxis, {}, kCountedWords, destination.From(second))) {
        return false;
    }
    count2 = destination.data[second];
    if (progress.beforeAxes >= 0) {
        Progress(progress.afterSecondAxis);
    }
    return true;
}

bool CCompositeProcedures::ReadTable(Span destination, const TableProgress& progress) {
    int count1 = 0;
    int count2 = 0;
    if (destination.size == 0) {
        return Fail("a table has no room");
    }
    if (!ReadAxes(destination, progress, count1, count2)) {
        return false;
    }
    const std::size_t cellsOffset = 2 + 2 * static_cast<std::size_t>(count1 + count2);
    if (cellsOffset + static_cast<std::size_t>(count1 * count2) > destination.size) {
        return Fail("a table's cells do not fit its element");
    }
    const bool byColumns = count1 < count2;
    const int lines = byColumns ? count1 : count2;
    const int lineCells = byColumns ? count2 : count1;
    Span cells = destination.From(cellsOffset);
    for (int line = 0; line < lines; ++line) {
        const BYTE last = static_cast<BYTE>(lineCells - 1);
        const Span target{cells.data + static_cast<std::size_t>(line * lineCells),
                          static_cast<std::size_t>(lineCells)};
        if (!SendOrClose(byColumns ? kColumnPart : kRowPart, {static_cast<BYTE>(line), 0, last}, lineCells,
                         target)) {
            return false;
        }
        if (progress.beforeAxes >= 0) {
            Progress(progress.afterSecondAxis + progress.cellSpan * (line + 1) / lines);
        }
    }
    return true;
}

CompositeOutcome CCompositeProcedures::ReadTableRequest(Span destination) {
    if (destination.data == nullptr) {
        return CompositeOutcome::Refused;
    }
    return ReadTable(destination, TableProgress{}) ? CompositeOutcome::Done : CompositeOutcome::PortClosed;
}

// ---- Boxes ----------------------------------------------------------------------

CompositeOutcome CCompositeProcedures::ReadBox(const std::vector<BYTE>& record, Span destination) {
    if (record.size() < 4 || destination.data == nullptr) {
        return CompositeOutcome::Refused;
    }
    const BYTE column1 = record[0];
    const BYTE row1 = record[1];
    const BYTE column2 = record[2];
    const BYTE row2 = record[3];
    if (column1 > column2 || row1 > row2) {
        return CompositeOutcome::Refused;
    }
    const int width = column2 - column1 + 1;
    const int height = row2 - row1 + 1;
    if (4 + static_cast<std::size_t>(width * height) > destination.size) {
        CLogger::Instance().Log(kLogRefused, "CCommunicator: a box of %d x %d cells does not fit.", width,
                                height);
        return CompositeOutcome::Refused;
    }
    std::copy(record.begin(), record.begin() + 4, destination.data);
    BYTE* cells = destination.data + 4;
    bool sent = true;
    if (width == 1 && height == 1) {
        sent = SendOrClose(kOneCell, {column1, row1}, 1, Span{cells, 1});
    } else if (width < height) {
        for (int i = 0; sent && i < width; ++i) {
            const Span target{cells + i * height, static_cast<std::size_t>(height)};
            sent = SendOrClose(kColumnPart, {static_cast<BYTE>(column1 + i), row1, row2}, height, target);
        }
    } else {
        for (int i = 0; sent && i < height; ++i) {
            const Span target{cells + i * width, static_cast<std::size_t>(width)};
            sent = SendOrClose(kRowPart, {static_cast<BYTE>(row1 + i), column1, column2}, width, target);
        }
    }
    return sent ? CompositeOutcome::Done : CompositeOutcome::PortClosed;
}

CompositeOutcome CCompositeProcedures::WriteBox(const std::vector<BYTE>& record) {
    if (record.size() < 4 || BoxRecordLength(record.data()) != record.size()) {
        return CompositeOutcome::Refused;
    }
    const BYTE column1 = record[0];
    const BYTE row1 = record[1];
    const BYTE column2 = record[2];
    const BYTE row2 = record[3];
    const int width = column2 - column1 + 1;
    const int height = row2 - row1 + 1;
    const auto cells = record.begin() + 4;
    bool sent = true;
    if (width == 1 && height == 1) {
        sent = SendOrClose(kWriteOneCell, {column1, row1, *cells}, 0, Span{});
    } else if (width < height) {
        for (int i = 0; sent && i < width; ++i) {
            std::vector<BYTE> data = {static_cast<BYTE>(column1 + i), row1, row2};
            data.insert(data.end(), cells + i * height, cells + (i + 1) * height);
            sent = SendOrClose(kWriteColumnPart, data, 0, Span{});
        }
    } else {
        for (int i = 0; sent && i < height; ++i) {
            std::vector<BYTE> data = {static_cast<BYTE>(row1 + i), column1, column2};
            data.insert(data.end(), cells + i * width, cells + (i + 1) * width);
            sent = SendOrClose(kWriteRowPart, data, 0, Span{});
        }
    }
    if (!sent || !SendOrClose(kEndTableWrite, {}, 0, Span{})) {
        return CompositeOutcome::PortClosed;
    }
    return CompositeOutcome::Done;
}

// ---- Banks, record logs and chains ------------------------------------------------

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

// ---- The probe and the read of the whole unit --------------------------------------

CompositeOutcome CCompositeProcedures::FullRead(Span image) {
    if (image.data == nullptr) {
        return CompositeOutcome::Refused;
    }
    const bool probed = ProbeTables(image) != 0 && ProbeLiveBlock(image) != 0 &&
                        (!m_host.GetTablesFlag() || ProbeObdBlock(image) != 0) &&
                        ProbeRow(kRowPhase, {0}) != 0 && ProbeRow(kRowObdStatus, {}) != 0 &&
                        ProbeIdentity(image) != 0;
    if (!probed) {
        return CompositeOutcome::PortClosed;
    }
    const bool read = ReadFullData(image);
    if (read) {
        Progress(1000);
        m_host.SleepMs(50);
    }
    m_host.PostFullReadProgress(0, 0);
    return read ? CompositeOutcome::Done : CompositeOutcome::PortClosed;
}

// Probe steps: 1 when the step is done (the unit answered or refused), 0 when the
// port was closed.
int CCompositeProcedures::ProbeTables(Span image) {
    const int result = Send(kSelectBank, {0}, 0, Span{}, Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    const bool hasTables = result == kResultSuccess;
    const Span flag = ElementSpan(image, kElementHasTables, 1);
    if (flag.size == 1) {
        flag.data[0] = hasTables ? 1 : 0;
    }
    m_host.SetTablesFlag(hasTables);
    return 1;
}

int CCompositeProcedures::ProbeLiveBlock(Span image) {
    std::array<BYTE, kScratchBytes> reply{};
    const int result = Send(kLongLiveBlock, {}, kLiveBlock2Long.replyLength, Span{reply.data(), reply.size()},
                            Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    const bool supported = result == kResultSuccess;
    m_host.CommandTable().Set(kRowLiveBlock2, supported ? kLiveBlock2Long : kLiveBlock2Short);
    m_host.SetRowSupported(kRowLiveBlock2, supported);
    const Span live =
        ElementSpan(image, kElementLiveBlock2, static_cast<std::size_t>(kLiveBlock2Long.replyLength));
    std::fill(live.data, live.data + live.size, BYTE{0});
    return 1;
}

int CCompositeProcedures::ProbeObdBlock(Span image) {
    std::array<BYTE, kScratchBytes> reply{};
    const int result = Send(kLongObdBlock, {}, kObdBlockLong.replyLength, Span{reply.data(), reply.size()},
                            Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    const bool supported = result == kResultSuccess;
    m_host.CommandTable().Set(kRowObdBlock, supported ? kObdBlockLong : kObdBlockShort);
    m_host.SetRowSupported(kRowObdBlock, supported);
    const Span obd =
        ElementSpan(image, kElementObdBlock, static_cast<std::size_t>(kObdBlockLong.replyLength));
    std::fill(obd.data, obd.data + obd.size, BYTE{0});
    return 1;
}

int CCompositeProcedures::ProbeRow(int row, const std::vector<BYTE>& data) {
    std::array<BYTE, kScratchBytes> reply{};
    const CommandRow command = m_host.CommandTable().Get(row);
    const int result = Send(static_cast<BYTE>(command.code), data, command.replyLength,
                            Span{reply.data(), reply.size()}, Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    m_host.SetRowSupported(row, result == kResultSuccess);
    return 1;
}

int CCompositeProcedures::ProbeIdentity(Span image) {
    const Span identity =
        ElementSpan(image, kElementUnitId, static_cast<std::size_t>(kIdentityLong.replyLength));
    if (identity.size == 0) {
        Fail("the identity has no room");
        return 0;
    }
    std::fill(identity.data, identity.data + identity.size, BYTE{0});
    const int result = Send(kLongIdentity, {}, kIdentityLong.replyLength, identity, Repeat::Stopping);
    if (result != kResultSuccess && !IsUnitRefusal(result)) {
        m_host.ClosePort();
        return 0;
    }
    const bool supported = result == kResultSuccess;
    m_host.CommandTable().Set(kRowIdentity, supported ? kIdentityLong : kIdentityShort);
    m_host.SetRowSupported(kRowIdentity, supported);
    return 1;
}

bool CCompositeProcedures::ReadFullData(Span image) {
    Progress(0);
    if (!m_host.IsRowFlagSet(kRowIdentity) &&
        !SendRow(kRowIdentity, {},
                 ElementSpan(image, kElementUnitId, static_cast<std::size_t>(kIdentityShort.replyLength)),
                 Repeat::Plain)) {
        return false;
    }
    Progress(20);
    if (m_host.IsRowFlagSet(kRowObdStatus) && !ReadObdSupport(image)) {
        return false;
    }
    const CCommandTable& table = m_host.CommandTable();

    const struct {
        int perMille;
        int row;
        int element;
    } blocks[] = {{90, kRowSettings, kElementSettings},
                  {110, kRowSensorTypes, kElementSensorTypes},
                  {130, kRowBasePercent, kElementBasePercent}};

    for (const auto& block : blocks) {
        Progress(block.perMille);
        const std::size_t bytes = static_cast<std::size_t>(table.Get(block.row).replyLength);
        if (!SendRow(block.row, {}, ElementSpan(image, block.element, bytes), Repeat::Plain)) {
            return false;
        }
    }
    if (!ReadTable(ElementSpan(image, kElementCorrectionMap), TableProgress{150, 170, 190, 110})) {
        return false;
    }
    Progress(310);
    if (!m_host.GetTablesFlag()) {
        return true;
    }
    if (!ReadTableBanks(image)) {
        return false;
    }
    Progress(900);
    if (m_host.IsRowFlagSet(kRowObdStatus) && !ReadRecordLogs(image)) {
        return false;
    }
    return SelectBank(0, Repeat::Stopping);
}

bool CCompositeProcedures::ReadTableBanks(Span image) {
    const struct {
        BYTE bank;
        int element;
        TableProgress progress;
    } banks[] = {{1, 80, {320, 340, 370, 110}},
                 {2, 82, {490, 510, 540, 110}},
                 {3, 84, {660, 680, 710, 110}},
                 {4, 86, {830, 845, 860, 40}}};

    for (const auto& bank : banks) {
        if (!SelectBank(bank.bank, Repeat::Plain) ||
            !ReadTable(ElementSpan(image, bank.element), bank.progress)) {
            return false;
        }
    }
    return true;
}

bool CCompositeProcedures::ReadRecordLogs(Span image) {
    if (!ReadRecordLog(5, ElementSpan(image, kElementStoredLog), 910)) {
        return false;
    }
    Progress(950);
    if (!ReadRecordLog(6, ElementSpan(image, kElementPendingLog), 960)) {
        return false;
    }
    Progress(990);
    return true;
}

// ---- OBD support data --------------------------------------------------------------

bool CCompositeProcedures::WaitForObdReady() {
    for (int poll = 0; poll < kObdBusyPollLimit; ++poll) {
        BYTE status = 0;
        if (!SendOrClose(kObdStatus, {}, 1, Span{&status, 1})) {
            return false;
        }
        if ((status & 0x0F) != kObdBusy) {
            return true;
        }
    }
    return Fail("the OBD forwarder stays busy");
}

bool CCompositeProcedures::ReadObdRange(BYTE range, BYTE* reply) {
    return SendOrClose(kObdForward, {2, 1, range}, kCountedBytes, Span{reply, kScratchBytes});
}

bool CCompositeProcedures::ReadObdSupport(Span image) {
    const Span support = ElementSpan(image, kElementObdSupport);
    std::fill(support.data, support.data + support.size, BYTE{0});
    std::array<BYTE, kScratchBytes> reply{};
    int range = 0;
    for (int counter = 0; counter < kObdCounterEnd; counter += kObdCounterStep, range += kObdRangeIds) {
        if (!WaitForObdReady()) {
            return false;
        }
        Progress(counter / 256 + 30);
        if (!ReadObdRange(static_cast<BYTE>(range), reply.data())) {
            return false;
        }
        Progress((counter + 480) / 256 + 30);
        const std::size_t at = static_cast<std::size_t>(range / 8);
        if (reply[0] != kObdSupportReplyCount || at + 4 > support.size) {
            break;
        }
        std::memcpy(support.data + at, reply.data() + 3, 4);
        if ((reply[6] & 0x01) == 0) {
            break;
        }
    }
    Progress(60);

    const struct {
        BYTE range;
        int element;
        int before;
    } records[] = {{1, kElementPatchVersion, 65}, {2, kElementPatchDate, 75}};

    for (const auto& record : records) {
        if (!WaitForObdReady()) {
            return false;
        }
        Progress(record.before);
        if (!ReadObdRange(record.range, reply.data())) {
            return false;
        }
        Progress(record.before + 5);
        const Span target = ElementSpan(image, record.element, 4);
        if (reply[0] == kObdSupportReplyCount && target.size == 4) {
            std::memcpy(target.data, reply.data() + 3, 4);
        }
    }
    return true;
}
