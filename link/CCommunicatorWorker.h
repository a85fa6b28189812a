// What the communicator's worker thread runs on: the port, the command table, the
// request queue and the loop that finds the unit, serves requests and polls. The
// communicator shares it with its thread, so that a thread that outlives the
// communicator still runs on living state. Queueing and the setters run on the
// owner's thread; everything else on the worker.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/WinTypes.h"
#include "link/CCommTrace.h"
#include "link/CCommandTable.h"
#include "link/CCompositeProcedures.h"
#include "link/CFrameExchange.h"
#include "link/CHeldLocks.h"
#include "link/CInterruptedLog.h"
#include "link/CRepeatedLines.h"
#include "link/CUpdateModeStep.h"
#include "link/CommRequest.h"
#include "link/IClock.h"
#include "link/ICompositeHost.h"
#include "link/IPort.h"
#include "link/IRequestQueue.h"
#include "link/IUpdateModeHost.h"
#include "link/LinkStatus.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <list>
#include <memory>
#include <vector>

class CWatchDog;
class ICommunicatorSink;

class CCommunicatorWorker : private ICompositeHost, private IUpdateModeHost {
public:
    static constexpr DWORD kScanDelayMs = 200;
    static constexpr DWORD kBaudRate = 9600;

    // Uses the system's serial port and clock.
    CCommunicatorWorker();
    ~CCommunicatorWorker() override;
    CCommunicatorWorker(const CCommunicatorWorker&) = delete;
    CCommunicatorWorker& operator=(const CCommunicatorWorker&) = delete;

    // As CCommunicator's.
    bool QueueRequest(CDataDescriptor* descriptor,
                      int kind,
                      int row,
                      const BYTE* source,
                      BYTE* destination,
                      std::size_t destinationSize);
    void ClearQueues();
    void SetDataHandler(ICommunicatorSink* sink);  // not owned
    void SetWatchDog(CWatchDog* watchDog);         // not owned

    void SetMode(int mode) { m_update.SetMode(mode); }

    int GetMode() const { return m_update.GetMode(); }

    bool SetFirmware(const std::vector<BYTE>& firmware) { return m_update.SetFirmware(firmware); }

    BOOL IsRowSupported(int row) const;

    BOOL HasTables() const { return m_tablesFlag ? TRUE : FALSE; }

    void SetWaitState(int waitState);

    int GetWaitState() const { return m_waitState; }

    void SetPort(IPort& port);
    void SetClock(IClock& clock);

    void SetInterruptedLogPath(const std::string& path) { m_interruptedLog = CInterruptedLog(path); }

    void AddTrace(const std::string& message) { m_trace.Add(message); }

    const CCommandTable& GetCommandTable() const { return m_table; }

    void BeginPasses();
    void RunPass();

    // The worker thread's body: passes while running is set, then the queues go.
    void CommunicatorThread();

    // Tells the worker thread to end after its pass.
    void Stop() { m_running = false; }

    // After the worker thread was ended from outside: the port, the locks it held and
    // the queues are freed, and the data handler hears of no link.
    void FreeAfterKill();

    void ReportKilled() { ResetLink(); }

    // For a worker that outlives its communicator: from now on it calls neither the data
    // handler nor the watchdog. False when a call to them did not end within waitMs. Told
    // to stop before, it serves no further request, but the one in hand still ends into
    // the data handler's memory.
    bool Detach(DWORD waitMs);

private:
    using RequestList = std::list<std::unique_ptr<CommRequest>>;
    using Holders = std::vector<std::unique_ptr<class CHeldLock>>;

    // Report on the worker's thread; ReportFromOwner on the owner's.
    void Report(int status, int portNumber);
    void ReportFromOwner(int status, int portNumber);
    // No link, normal mode, no wait state, and the data handler told so; on the owner's thread.
    void ResetLink();
    void SetStatus(int status);
    BYTE SenderId() const;
    void HandleClosedPort(BYTE senderId);
    void FailRequests(RequestList& list);
    bool ScanPorts(BYTE senderId);
    bool TryPort(int portNumber, BYTE senderId);
    int PingWithRepeats(BYTE senderId);
    // Counts a try for the pass: a first one, or a repeat.
    void CountTry(bool repeat);
    void ServeWorkingList();
    void RotateCyclicHead();
    Holders TakeLocks(CommRequest& request);
    std::vector<CDataDescriptor*> SettingDescriptors();
    // 1 served, 0 refused without sending, -1 the port was closed.
    int ServeRequest(CommRequest& request);
    FrameRequest FrameOf(const CommRequest& request) const;
    void MoveIncomingQueue();
    void FinishServingPass();
    void FreeCyclicPolls();
    // The data handler's word at the end of a live pass; true without a data handler.
    bool LiveCycleGoesOn();
    // Hands a finished one-shot request to the data handler while the worker runs.
    void NotifyFinished(CommRequest* request, int success);
    void Heartbeat();
    static int CapabilityIndex(int row);

    // ICompositeHost and IUpdateModeHost, on the worker thread.
    int Exchange(const FrameRequest& frame, bool repeat) override;
    void SleepMs(DWORD milliseconds) override;
    void ClosePort() override;
    void PostFullReadProgress(UINT_PTR wParam, LONG_PTR lParam) override;

    CCommandTable& CommandTable() override { return m_table; }

    void SetRowSupported(int row, bool supported) override;

    bool IsRowFlagSet(int row) const override { return IsRowSupported(row) != FALSE; }

    void SetTablesFlag(bool hasTables) override { m_tablesFlag = hasTables; }

    bool GetTablesFlag() const override { return m_tablesFlag; }

    void SetPortTimeouts(const PortTimeouts& timeouts) override;
    void ReportUpdateProgress(UINT_PTR code, LONG_PTR perMille) override;
    void ReportUpdateModeInfo(WORD word0, WORD word1, WORD word2) override;

    std::atomic<bool> m_running{false};
    std::unique_ptr<IPort> m_systemPort;
    IPort* m_port;                // worker only
    RequestList m_workingList;    // worker only
    RequestList m_incomingQueue;  // guarded by m_queueLock
    CCriticalSection m_queueLock;
    CCommandTable m_table;  // rewritten by the worker only
    std::atomic<int> m_status{kStatusNone};
    // Held while the data handler or the watchdog is called; the worker lists its holds
    // in m_heldLocks, so that a kill releases them.
    CCriticalSection m_outsideLock;
    ICommunicatorSink* m_sink = nullptr;  // guarded by m_outsideLock
    CWatchDog* m_watchDog = nullptr;      // guarded by m_outsideLock
    std::atomic<int> m_waitState{0};
    CHeldLocks m_heldLocks;
    std::atomic<bool> m_tablesFlag{false};
    IClock* m_clock;
    CCommTrace m_trace;  // worker only
    // Capability flags of the rows the full read probes; written by the worker, read anywhere.
    std::array<std::atomic<int>, 5> m_capabilities{};
    // The scan's failures by port number (0: the port listing) and the exchange's port
    // failures; worker only.
    CRepeatedLines m_failureLines{2000};
    CFrameExchange m_exchange;
    CInterruptedLog m_interruptedLog;
    CCompositeProcedures m_composites{*this};
    CUpdateModeStep m_update{*this};  // owns the mode word and the firmware image

    // Worker-loop state kept across passes.
    DWORD m_delayMs = 1;
    int m_portNumber = 0;
    int m_exchanges = 0;
    int m_repeatsUsed = 0;
};
