// The procedures behind the command-table rows whose codes have bit 15 set: table,
// box and record-chain reads, box writes, bank reads, clearing the record logs, and
// the capability probe with the read of the whole unit. Each sends a series of plain
// commands through the host and assembles the replies. Every size that comes from the
// unit is checked against the element that receives it.
// Runs on the communicator's worker thread only.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CommRequest.h"

#include <cstddef>
#include <vector>

class ICompositeHost;

// How a composite procedure ended.
enum class CompositeOutcome {
    Done,        // completed; the destination holds what was read
    Refused,     // the request itself was unusable; nothing was sent, the port stays open
    PortClosed,  // an exchange failed for good, or the unit sent sizes that do not fit
};

class CCompositeProcedures {
public:
    // Status polls of the OBD forwarder before a unit that stays busy counts as failed.
    static constexpr int kObdBusyPollLimit = 200;

    explicit CCompositeProcedures(ICompositeHost& host) : m_host(host) {}

    CompositeOutcome Run(const CommRequest& request);

    // Bytes of input that the composite of a code takes from its source: fixed for the
    // box read and the bank reads, the record and its cells for a box write. 0 for
    // composites without input; -1 when the source cannot be used.
    static int SourceBytes(WORD code, const BYTE* source);

private:
    enum class Repeat {
        Plain,     // up to 16 repeats whatever the failure
        Stopping,  // as plain, but the unit's refusal ends the repeating at once
    };

    // Where replies may go: a pointer and the bytes it can take.
    struct Span {
        BYTE* data = nullptr;
        std::size_t size = 0;

        Span From(std::size_t offset) const {
            return offset <= size ? Span{data + offset, size - offset} : Span{};
        }
    };

    // Per-mille values of a table read: before the axes, after each axis, and the span
    // that the rows or columns share.
    struct TableProgress {
        int beforeAxes = -1;  // -1: no progress posted
        int afterFirstAxis = 0;
        int afterSecondAxis = 0;
        int cellSpan = 0;
    };

    int Send(BYTE code, const std::vector<BYTE>& data, int replyLength, Span destination, Repeat repeat);
    bool SendOrClose(BYTE code,
                     const std::vector<BYTE>& data,
                     int replyLength,
                     Span destination,
                     Repeat repeat = Repeat::Plain);
    bool SendRow(int row, const std::vector<BYTE>& data, Span destination, Repeat repeat);
    bool Fail(const char* reason);
    void Progress(int perMille);

    CompositeOutcome ReadTableRequest(Span destination);
    CompositeOutcome ReadBox(const std::vector<BYTE>& record, Span destination);
    CompositeOutcome WriteBox(const std::vector<BYTE>& record);
    CompositeOutcome ReadBankAxes(const std::vector<BYTE>& input, Span destination);
    CompositeOutcome ReadBankRow(const std::vector<BYTE>& input, Span destination);
    CompositeOutcome ClearRecordLogs();
    CompositeOutcome ReadRecordChain(Span destination);
    CompositeOutcome FullRead(Span image);

    bool SelectBank(BYTE bank, Repeat repeat);
    bool ReadAxes(Span destination, const TableProgress& progress, int& count1, int& count2);
    bool ReadTable(Span destination, const TableProgress& progress);
    bool ReadRecordLog(BYTE bank, Span destination, int firstProgress);

    // Steps of the full read.
    int ProbeTables(Span image);
    int ProbeLiveBlock(Span image);
    int ProbeObdBlock(Span image);
    int ProbeRow(int row, const std::vector<BYTE>& data);
    int ProbeIdentity(Span image);
    bool ReadFullData(Span image);
    bool ReadObdSupport(Span image);
    bool WaitForObdReady();
    bool ReadObdRange(BYTE range, BYTE* reply);
    bool ReadTableBanks(Span image);
    bool ReadRecordLogs(Span image);

    static Span ElementSpan(Span image, int element, std::size_t bytes);
    static Span ElementSpan(Span image, int element);

    ICompositeHost& m_host;
};
