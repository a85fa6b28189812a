// The communicator's worker: request queue, connection loop and serving of requests.
#include "link/CCommunicatorWorker.h"

#include "classlib/core/CSingleLock.h"
#include "link/CDataDescriptor.h"
#include "link/CHeldLock.h"
#include "link/CLogger.h"
#include "link/CSerialException.h"
#include "link/CSerialPort.h"
#include "link/CSystemClock.h"
#include "link/CWatchDog.h"
#include "link/CompositeCodes.h"
#include "link/ElementTable.h"
#include "link/ExchangeRepeats.h"
#include "link/ExchangeResult.h"
#include "link/ICommunicatorSink.h"
#include "link/SystemInfo.h"

#include <cstring>
#include <string>

namespace {

constexpr int kListingKey = 0;
constexpr int kCounterRowsMaxReply = CFrameExchange::kFrameBufferBytes - 3;
constexpr std::array<int, 5> kCapabilityRows = {CompositeCodes::kRowLiveBlock2, CompositeCodes::kRowObdBlock,
                                                CompositeCodes::kRowIdentity, CompositeCodes::kRowPhase,
                                                CompositeCodes::kRowObdStatus};

// At most every setting element's lock, the outside lock and the queue lock are held at once.
static_assert(CHeldLocks::kReservedHolders >= kElementCount + 2,
              "the worker would allocate while holding locks");

}  // namespace

CCommunicatorWorker::CCommunicatorWorker()
    : m_systemPort(std::make_unique<CSerialPort>()),
      m_port(m_systemPort.get()),
      m_clock(&CSystemClock::Instance()),
      m_trace(*m_clock),
      m_exchange(*m_port, *m_clock, m_trace, m_failureLines),
      m_interruptedLog(ProgramFilePath("interrupted.log")) {
    m_exchange.SetHeartbeat([this] { Heartbeat(); });
}

CCommunicatorWorker::~CCommunicatorWorker() {
    ClearQueues();
    m_port->Close();
}

void CCommunicatorWorker::SetDataHandler(ICommunicatorSink* sink) {
    const CSingleLock outside(&m_outsideLock, TRUE);
    m_sink = sink;
}

void CCommunicatorWorker::SetWatchDog(CWatchDog* watchDog) {
    const CSingleLock outside(&m_outsideLock, TRUE);
    m_watchDog = watchDog;
}

bool CCommunicatorWorker::Detach(DWORD waitMs) {
    CSingleLock outside(&m_outsideLock);
    if (!outside.Lock(waitMs)) {
        return false;
    }
    m_sink = nullptr;
    m_watchDog = nullptr;
    return true;
}

void CCommunicatorWorker::SetPort(IPort& port) {
    m_port = &port;
    m_exchange.SetPort(port);
}

void CCommunicatorWorker::SetClock(IClock& clock) {
    m_clock = &clock;
    m_trace.SetClock(clock);
    m_exchange.SetClock(clock);
}

bool CCommunicatorWorker::QueueRequest(CDataDescriptor* descriptor,
                                       int kind,
                                       int row,
                                       const BYTE* source,
                                       BYTE* destination,
                                       std::size_t destinationSize) {
    if (!CCommandTable::IsValidRow(row)) {
        return false;
    }
    const CommandRow& command = m_table.Get(row);
    auto request = std::make_unique<CommRequest>();
    request->descriptor = descriptor;
    request->kind = kind;
    request->row = row;
    request->destination = destination;
    // The bytes are taken now: the caller may reuse its buffer before the worker sends.
    int dataBytes = 0;
    if ((command.code & kCompositeCodeBit) != 0) {
        dataBytes = CCompositeProcedures::SourceBytes(command.code, source);
    } else if (command.requestLength != 0) {
        dataBytes = source != nullptr ? CCommandTable::DataBytes(command.requestLength, source[0]) : -1;
    }
    if (dataBytes < 0) {
        return false;
    }
    if (dataBytes > 0) {
        request->payload.assign(source, source + dataBytes);
    }
    if (destinationSize == IRequestQueue::kSizeFromRow) {
        destinationSize = command.replyLength >= 0 ? static_cast<std::size_t>(command.replyLength)
                                                   : static_cast<std::size_t>(kCounterRowsMaxReply);
    }
    request->destinationSize = destinationSize;
    request->withdrawals = descriptor != nullptr ? descriptor->GetWithdrawals() : 0;
    CSingleLock guard(&m_queueLock, TRUE);
    m_incomingQueue.push_back(std::move(request));
    return true;
}

void CCommunicatorWorker::ClearQueues() {
    m_workingList.clear();
    m_incomingQueue.clear();
    m_trace.Clear();
}

int CCommunicatorWorker::CapabilityIndex(int row) {
    for (std::size_t i = 0; i < kCapabilityRows.size(); ++i) {
        if (kCapabilityRows[i] == row) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

BOOL CCommunicatorWorker::IsRowSupported(int row) const {
    const int index = CapabilityIndex(row);
    return index >= 0 && m_capabilities[static_cast<std::size_t>(index)] != 0 ? TRUE : FALSE;
}

void CCommunicatorWorker::SetRowSupported(int row, bool supported) {
    const int index = CapabilityIndex(row);
    if (index >= 0) {
        m_capabilities[static_cast<std::size_t>(index)] = supported ? 1 : 0;
    }
}

void CCommunicatorWorker::SetWaitState(int waitState) {
    CLogger::Instance().Log(3000, "Communicator: wait state is setted to %d.", waitState);
    m_waitState = waitState;
}

void CCommunicatorWorker::Heartbeat() {
    const CHeldLock outside(m_outsideLock, m_heldLocks);
    if (m_watchDog != nullptr) {
        m_watchDog->Heartbeat();
    }
}

void CCommunicatorWorker::Report(int status, int portNumber) {
    const CHeldLock outside(m_outsideLock, m_heldLocks);
    if (m_sink != nullptr) {
        m_sink->DataHandler(status, portNumber);
    }
}

// The owner's thread is never killed, so its hold is not listed with the worker's.
void CCommunicatorWorker::ReportFromOwner(int status, int portNumber) {
    const CSingleLock outside(&m_outsideLock, TRUE);
    if (m_sink != nullptr) {
        m_sink->DataHandler(status, portNumber);
    }
}

void CCommunicatorWorker::SetStatus(int status) {
    m_status = status;
    Report(status, m_portNumber);
}

BYTE CCommunicatorWorker::SenderId() const {
    return m_update.GetMode() == kModeNormal ? kSenderIdNormal : kSenderIdUpdate;
}

void CCommunicatorWorker::BeginPasses() {
    ResetLink();
    m_tablesFlag = false;
    m_running = true;
}

void CCommunicatorWorker::FreeAfterKill() {
    m_port->Close();
    // Before the report: the dead worker may have held the outside lock it takes.
    m_heldLocks.ReleaseAll();
    ReportKilled();
    ClearQueues();
}

void CCommunicatorWorker::ResetLink() {
    m_status = kStatusNone;
    m_update.SetMode(kModeNormal);
    m_waitState = 0;
    ReportFromOwner(kStatusNone, 0);
}

// Runs on the worker thread.
void CCommunicatorWorker::CommunicatorThread() {
    CLogger::Instance().Log(3000, "CommunicatorThread: started.");
    while (m_running) {
        RunPass();
    }
    {
        CHeldLock queueGuard(m_queueLock, m_heldLocks);
        ClearQueues();
    }
    m_failureLines.EndAll();
    CLogger::Instance().Log(3000, "CommunicatorThread: finished.");
}

void CCommunicatorWorker::RunPass() {
    Heartbeat();
    m_exchanges = 0;
    m_repeatsUsed = 0;
    m_clock->SleepMs(m_delayMs);
    m_delayMs = 1;
    const BYTE senderId = SenderId();
    if (!m_port->IsOpen()) {
        HandleClosedPort(senderId);
        if (!m_port->IsOpen()) {
            return;
        }
    }
    const int ping = PingWithRepeats(senderId);
    if (!IsUnitPresent(ping)) {
        ClosePort();
        return;
    }
    if (m_waitState == 1) {
        if (ping == kPingUpdateMode) {
            m_update.SetMode(kModeNormal);
        }
        const int status = ping == kPingConnected            ? kStatusConnected
                           : ping == kPingIncompatible       ? kStatusIncompatible
                           : ping == kPingIncompatibleUpdate ? kStatusIncompatibleUpdate
                                                             : kStatusNotConnected;
        SetStatus(status);
        return;
    }
    if (ping == kPingIncompatible) {
        SetStatus(kStatusIncompatible);
        return;
    }
    if (ping == kPingIncompatibleUpdate) {
        SetStatus(kStatusIncompatibleUpdate);
        return;
    }
    if (ping == kPingUpdateMode) {
        m_update.Run();
        if (m_port->IsOpen()) {
            SetStatus(kStatusUpdateMode);
        } else {
            m_update.SetMode(kModeNormal);
            SetStatus(kStatusNotConnected);
        }
        return;
    }
    SetStatus(kStatusConnected);
    ServeWorkingList();
    MoveIncomingQueue();
    FinishServingPass();
}

void CCommunicatorWorker::HandleClosedPort(BYTE senderId) {
    const bool dropped = m_status > kStatusNotConnected;
    m_status = kStatusNotConnected;
    m_update.SetMode(kModeNormal);
    m_waitState = 0;
    m_tablesFlag = false;
    m_portNumber = 0;
    if (dropped) {
        // A unit found again by this very scan must still be seen to have gone, so that
        // its data are read and polled anew.
        Report(kStatusNotConnected, 0);
    }
    FailRequests(m_workingList);
    {
        // Requests queued for the unit that went away must not reach the next one.
        CHeldLock queueGuard(m_queueLock, m_heldLocks);
        m_workingList.splice(m_workingList.end(), m_incomingQueue);
    }
    FailRequests(m_workingList);
    if (!ScanPorts(senderId)) {
        m_delayMs = kScanDelayMs;
        Report(kStatusNotConnected, 0);
    }
}

void CCommunicatorWorker::FailRequests(RequestList& list) {
    while (!list.empty()) {
        std::unique_ptr<CommRequest> request = std::move(list.front());
        list.pop_front();
        if (!request->IsCyclic()) {
            NotifyFinished(request.get(), 0);
        }
    }
}

bool CCommunicatorWorker::ScanPorts(BYTE senderId) {
    std::vector<int> ports;
    try {
        m_port->ListPorts(ports);
    } catch (const CSerialException& e) {
        m_failureLines.Log(kListingKey, "CCommunicator: listing the COM ports failed: " +
                                            std::to_string(static_cast<unsigned long>(e.GetError())) + ".");
        return false;
    }
    m_failureLines.End(kListingKey);
    for (int portNumber : ports) {
        if (TryPort(portNumber, senderId)) {
            m_portNumber = portNumber;
            return true;
        }
    }
    return false;
}

bool CCommunicatorWorker::TryPort(int portNumber, BYTE senderId) {
    try {
        m_port->Open(portNumber, kBaudRate, kParityNone, 8, kStopBitsOne, kFlowNone, false);
        m_port->SetTimeouts(kNormalTimeouts);
        m_failureLines.End(portNumber);
        m_exchange.SetPortNumber(portNumber);
        if (IsUnitPresent(m_exchange.Ping(senderId))) {
            return true;
        }
    } catch (const CSerialException& e) {
        // A port that cannot be opened or set up is skipped; the scan goes on.
        m_failureLines.Log(portNumber,
                           "CCommunicator: COM" + std::to_string(portNumber) + " skipped: " + e.what() + ".");
    }
    m_port->Close();
    return false;
}

int CCommunicatorWorker::PingWithRepeats(BYTE senderId) {
    return ExchangeWithRepeats(
        [&](bool repeat) {
            CountTry(repeat);
            return m_exchange.Ping(senderId);
        },
        [](int result) { return !IsUnitPresent(result); });
}

// Brings the run of cyclic polls at the head behind the one-shot requests, so that
// a pass begins with what was queued since the last one.
void CCommunicatorWorker::RotateCyclicHead() {
    if (m_workingList.empty() || !m_workingList.front()->IsCyclic()) {
        return;
    }
    const CommRequest* first = m_workingList.front().get();
    do {
        m_workingList.splice(m_workingList.end(), m_workingList, m_workingList.begin());
    } while (m_workingList.front()->IsCyclic() && m_workingList.front().get() != first);
}

CCommunicatorWorker::Holders CCommunicatorWorker::TakeLocks(CommRequest& request) {
    Holders holders;
    if (request.descriptor != nullptr) {
        holders.push_back(std::make_unique<CHeldLock>(request.descriptor->GetLock(), m_heldLocks));
        return holders;
    }
    for (CDataDescriptor* descriptor : SettingDescriptors()) {
        holders.push_back(std::make_unique<CHeldLock>(descriptor->GetLock(), m_heldLocks));
    }
    return holders;
}

// The elements' locks are taken after the outside lock is let go, so that waiting for
// them never keeps a detach waiting.
std::vector<CDataDescriptor*> CCommunicatorWorker::SettingDescriptors() {
    const CHeldLock outside(m_outsideLock, m_heldLocks);
    return m_sink != nullptr ? m_sink->GetSettingDescriptors() : std::vector<CDataDescriptor*>{};
}

void CCommunicatorWorker::ServeWorkingList() {
    RotateCyclicHead();
    // A worker told to stop serves no further request: one that outlives its
    // communicator must not write into the data handler's memory.
    for (auto it = m_workingList.begin(); m_running && it != m_workingList.end();) {
        const auto next = std::next(it);
        CommRequest& request = **it;
        Holders holders = TakeLocks(request);
        if (request.IsCyclic() && request.row == CompositeCodes::kRowObdBlock && !m_tablesFlag) {
            m_workingList.erase(it);
            it = next;
            continue;
        }
        // Checked with the element's lock held, so a withdrawal either waits for this
        // exchange to end or is seen here.
        if (!request.IsCyclic() && request.IsWithdrawn()) {
            std::unique_ptr<CommRequest> withdrawn = std::move(*it);
            m_workingList.erase(it);
            NotifyFinished(withdrawn.get(), 0);
            it = next;
            continue;
        }
        const int served = ServeRequest(request);
        if (served < 0) {
            break;
        }
        if (!request.IsCyclic()) {
            std::unique_ptr<CommRequest> done = std::move(*it);
            m_workingList.erase(it);
            NotifyFinished(done.get(), served);
        }
        for (auto& holder : holders) {
            holder.reset();
        }
        it = next;
    }
}

int CCommunicatorWorker::ServeRequest(CommRequest& request) {
    const CommandRow& command = m_table.Get(request.row);
    if ((command.code & kCompositeCodeBit) != 0) {
        const CompositeOutcome outcome = m_composites.Run(request);
        if (outcome == CompositeOutcome::PortClosed || !m_port->IsOpen()) {
            return -1;
        }
        return outcome == CompositeOutcome::Done ? 1 : 0;
    }
    const FrameRequest frame = FrameOf(request);
    const int result = ExchangeWithRepeats([&](bool repeat) { return Exchange(frame, repeat); },
                                           [](int tried) { return tried != kResultSuccess; });
    if (result != kResultSuccess) {
        ClosePort();
    }
    return m_port->IsOpen() ? 1 : -1;
}

FrameRequest CCommunicatorWorker::FrameOf(const CommRequest& request) const {
    const CommandRow& command = m_table.Get(request.row);
    FrameRequest frame;
    frame.senderId = kSenderIdNormal;
    frame.answerId = kAnswerIdNormal;
    frame.code = command.code;
    frame.requestLength = command.requestLength;
    frame.replyLength = command.replyLength;
    frame.source = request.payload.data();
    frame.sourceSize = request.payload.size();
    frame.destination = request.destination;
    frame.destinationSize = request.destinationSize;
    return frame;
}

void CCommunicatorWorker::MoveIncomingQueue() {
    CHeldLock queueGuard(m_queueLock, m_heldLocks);
    m_workingList.splice(m_workingList.end(), m_incomingQueue);
}

void CCommunicatorWorker::FinishServingPass() {
    if (m_port->IsOpen()) {
        if (m_repeatsUsed > m_exchanges) {
            SetStatus(kStatusJammed);
        }
        if (!LiveCycleGoesOn()) {
            m_update.SetMode(kModeNormal);
            // The data handler queues a new set of polls when the link comes back;
            // the old set must go, or every such pulse would add one more.
            FreeCyclicPolls();
            SetStatus(kStatusNotConnected);
        }
        return;
    }
    m_update.SetMode(kModeNormal);
    SetStatus(kStatusNotConnected);
    if (!m_trace.IsEmpty() && !m_interruptedLog.AppendBlock(m_trace.Lines())) {
        CLogger::Instance().Log(2000, "CCommunicator: %s could not be written.",
                                m_interruptedLog.Path().c_str());
    }
}

bool CCommunicatorWorker::LiveCycleGoesOn() {
    const CHeldLock outside(m_outsideLock, m_heldLocks);
    return m_sink == nullptr || m_sink->OnLiveCycleEnd();
}

void CCommunicatorWorker::NotifyFinished(CommRequest* request, int success) {
    const CHeldLock outside(m_outsideLock, m_heldLocks);
    if (m_running && m_sink != nullptr) {
        m_sink->OnTaskFinished(request, success);
    }
}

void CCommunicatorWorker::FreeCyclicPolls() {
    m_workingList.remove_if([](const std::unique_ptr<CommRequest>& r) { return r->IsCyclic(); });
}

void CCommunicatorWorker::CountTry(bool repeat) {
    ++(repeat ? m_repeatsUsed : m_exchanges);
}

int CCommunicatorWorker::Exchange(const FrameRequest& frame, bool repeat) {
    CountTry(repeat);
    return m_exchange.TransmitReceive(frame);
}

void CCommunicatorWorker::SleepMs(DWORD milliseconds) {
    m_clock->SleepMs(milliseconds);
}

void CCommunicatorWorker::ClosePort() {
    m_port->Close();
}

void CCommunicatorWorker::PostFullReadProgress(UINT_PTR wParam, LONG_PTR lParam) {
    const CHeldLock outside(m_outsideLock, m_heldLocks);
    if (m_sink != nullptr) {
        m_sink->OnFullReadProgress(wParam, lParam);
    }
}

void CCommunicatorWorker::SetPortTimeouts(const PortTimeouts& timeouts) {
    try {
        m_port->SetTimeouts(timeouts);
    } catch (const CSerialException& e) {
        CLogger::Instance().Log(2000, "CCommunicator: setting the port's time-outs failed: %lu.",
                                static_cast<unsigned long>(e.GetError()));
    }
}

void CCommunicatorWorker::ReportUpdateProgress(UINT_PTR code, LONG_PTR perMille) {
    const CHeldLock outside(m_outsideLock, m_heldLocks);
    if (m_sink != nullptr) {
        m_sink->PostUpdateProgress(code, perMille);
    }
}

void CCommunicatorWorker::ReportUpdateModeInfo(WORD word0, WORD word1, WORD word2) {
    const CHeldLock outside(m_outsideLock, m_heldLocks);
    if (m_sink != nullptr) {
        m_sink->OnUpdateModeInfo(word0, word1, word2);
    }
}
