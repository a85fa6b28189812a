// The program's one link to the unit: owns the port, the command table, the request
// queue and the worker thread that finds the unit, serves requests and polls.
// Queueing and the setters run on the UI thread; everything else on the worker.
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
#include "link/IUpdateModeHost.h"
#include "link/LinkStatus.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <list>
#include <memory>
#include <vector>

class CWatchDog;
class CWinThread;
class ICommunicatorSink;

class CCommunicator : private ICompositeHost, private IUpdateModeHost {
public:
    static constexpr int kRepeats = 16;
    static constexpr DWORD kStopWaitMs = 5120;
    static constexpr DWORD kScanDelayMs = 200;
    static constexpr DWORD kBaudRate = 9600;
    // Destination size meaning "as the row's reply length says".
    static constexpr std::size_t kDestinationSizeFromRow = static_cast<std::size_t>(-1);

    // Uses the system's serial port and clock.
    CCommunicator();
    ~CCommunicator() override;
    CCommunicator(const CCommunicator&) = delete;
    CCommunicator& operator=(const CCommunicator&) = delete;

    // Appends a request at the tail of the incoming queue. Refuses (false, nothing
    // queued) a row outside the table, or a row whose data the source lacks. The data
    // to send are copied now, so the caller may reuse its buffer at once.
    bool QueueRequest(CDataDescriptor* descriptor,
                      int kind,
                      int row,
                      const BYTE* source,
                      BYTE* destination,
                      std::size_t destinationSize = kDestinationSizeFromRow);
    void ClearQueues();

    void SetDataHandler(ICommunicatorSink* sink) { m_sink = sink; }  // not owned

    void SetWatchDog(CWatchDog* watchDog) { m_watchDog = watchDog; }  // not owned

    void SetMode(int mode) { m_update.SetMode(mode); }

    int GetMode() const { return m_update.GetMode(); }

    // Refused (false) while an upload runs.
    bool SetFirmware(const std::vector<BYTE>& firmware) { return m_update.SetFirmware(firmware); }

    BOOL IsRowSupported(int row) const;

    BOOL HasTables() const { return m_tablesFlag ? TRUE : FALSE; }

    void SetWaitState(int waitState);

    int GetWaitState() const { return m_waitState; }

    void StartThread();
    // 1 when the worker ended within 5120 ms, else 0 (the thread is kept).
    int StopThread();
    // 0, 1 when the thread could not be terminated, 2 when its handle could not be closed.
    // Where threads cannot be terminated (POSIX) the result is 1 and the thread, told
    // to stop, is waited for at the next start (which starts none when it has not ended
    // within 5120 ms) or at destruction.
    int KillThread();

    // Replace the port and the clock (not owned); only while no worker runs.
    void SetPort(IPort& port);
    void SetClock(IClock& clock);

    void SetInterruptedLogPath(const std::string& path) { m_interruptedLog = CInterruptedLog(path); }

    void AddTrace(const std::string& message) { m_trace.Add(message); }

    const CCommandTable& GetCommandTable() const { return m_table; }

    // Resets the state for a new worker and sets running; StartThread begins with it.
    // Tests call it and then drive RunPass directly, without a thread.
    void BeginPasses();
    // One pass of the worker loop; the worker runs it while running is set.
    void RunPass();

private:
    using RequestList = std::list<std::unique_ptr<CommRequest>>;
    using Holders = std::vector<std::unique_ptr<class CHeldLock>>;

    static UINT ThreadEntry(LPVOID communicator);
    void CommunicatorThread();
    bool WaitForOldThread();
    void ReportKilled();
    void Report(int status, int portNumber);
    void SetStatus(int status);
    BYTE SenderId() const;
    void HandleClosedPort(BYTE senderId);
    void FailRequests(RequestList& list);
    bool ScanPorts(BYTE senderId);
    bool TryPort(int portNumber, BYTE senderId);
    int PingWithRepeats(BYTE senderId);
    void ServeWorkingList();
    void RotateCyclicHead();
    Holders TakeLocks(CommRequest& request);
    // 1 served, 0 refused without sending, -1 the port was closed.
    int ServeRequest(CommRequest& request);
    int Exchange(CommRequest& request);
    void MoveIncomingQueue();
    void FinishServingPass();
    void FreeCyclicPolls();
    void Heartbeat();
    static int CapabilityIndex(int row);

    // ICompositeHost and IUpdateModeHost, on the worker thread.
    int Exchange(const FrameRequest& frame, bool repeat) override;
    void ClosePort() override;
    void SleepMs(DWORD milliseconds) override;
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
    std::unique_ptr<CWinThread> m_thread;  // touched by the owner's thread only
    std::unique_ptr<IPort> m_systemPort;
    IPort* m_port;                // worker only
    RequestList m_workingList;    // worker only
    RequestList m_incomingQueue;  // guarded by m_queueLock
    CCriticalSection m_queueLock;
    CCommandTable m_table;  // rewritten by the worker only
    std::atomic<int> m_status{kStatusNone};
    ICommunicatorSink* m_sink = nullptr;
    CWatchDog* m_watchDog = nullptr;
    std::atomic<int> m_waitState{0};
    CHeldLocks m_heldLocks;
    std::atomic<bool> m_tablesFlag{false};
    IClock* m_clock;
    CCommTrace m_trace;  // worker only
    // Capability flags of rows 30, 35, 31, 40 and 42; written by the worker, read anywhere.
    std::array<std::atomic<int>, 5> m_capabilities{};
    CFrameExchange m_exchange;
    CInterruptedLog m_interruptedLog;
    // The scan's failures by port number (0: the port listing), worker only.
    CRepeatedLines m_scanFailures{2000};
    CCompositeProcedures m_composites{*this};
    CUpdateModeStep m_update{*this};  // owns the mode word and the firmware image

    // Worker-loop state kept across passes.
    DWORD m_delayMs = 1;
    int m_portNumber = 0;
    int m_exchanges = 0;
    int m_repeatsUsed = 0;
};
