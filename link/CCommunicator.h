// The program's one link to the unit: owns the worker thread that finds the unit, serves
// requests and polls, and the state that thread runs on. Queueing and the setters run
// on the UI thread. A worker that does not end when told is given up on after a bound:
// it keeps its state, calls the data handler no more, serves no request after the one in
// hand, and ends on its own.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CCommunicatorWorker.h"
#include "link/IRequestQueue.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class CWinThread;

class CCommunicator {
public:
    static constexpr DWORD kStopWaitMs = 5120;

    // Uses the system's serial port and clock. stopWaitMs bounds every wait for the
    // worker's end; tests shorten it.
    explicit CCommunicator(DWORD stopWaitMs = kStopWaitMs);
    ~CCommunicator();
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
                      std::size_t destinationSize = IRequestQueue::kSizeFromRow) {
        return m_worker->QueueRequest(descriptor, kind, row, source, destination, destinationSize);
    }

    void ClearQueues() { m_worker->ClearQueues(); }

    void SetDataHandler(ICommunicatorSink* sink) { m_worker->SetDataHandler(sink); }  // not owned

    void SetWatchDog(CWatchDog* watchDog) { m_worker->SetWatchDog(watchDog); }  // not owned

    void SetMode(int mode) { m_worker->SetMode(mode); }

    int GetMode() const { return m_worker->GetMode(); }

    // Refused (false) while an upload runs.
    bool SetFirmware(const std::vector<BYTE>& firmware) { return m_worker->SetFirmware(firmware); }

    BOOL IsRowSupported(int row) const { return m_worker->IsRowSupported(row); }

    BOOL HasTables() const { return m_worker->HasTables(); }

    void SetWaitState(int waitState) { m_worker->SetWaitState(waitState); }

    int GetWaitState() const { return m_worker->GetWaitState(); }

    void StartThread();
    // 1 when the worker ended within the stop wait, else 0 (the thread is kept).
    int StopThread();
    // 0, 1 when the thread could not be terminated, 2 when its handle could not be closed.
    // Where threads cannot be terminated (POSIX) the result is 1 and the thread, told
    // to stop, is waited for at the next start (which starts none when it has not ended
    // within the stop wait) or at destruction.
    int KillThread();

    // Replace the port and the clock (not owned); only while no worker runs.
    void SetPort(IPort& port) { m_worker->SetPort(port); }

    void SetClock(IClock& clock) { m_worker->SetClock(clock); }

    void SetInterruptedLogPath(const std::string& path) { m_worker->SetInterruptedLogPath(path); }

    void AddTrace(const std::string& message) { m_worker->AddTrace(message); }

    const CCommandTable& GetCommandTable() const { return m_worker->GetCommandTable(); }

    // Resets the state for a new worker and sets running; StartThread begins with it.
    // Tests call it and then drive RunPass directly, without a thread.
    void BeginPasses() { m_worker->BeginPasses(); }

    // One pass of the worker loop; the worker runs it while running is set.
    void RunPass() { m_worker->RunPass(); }

private:
    static UINT ThreadEntry(LPVOID worker);
    // False when a thread is still there after the stop wait.
    bool WaitForOldThread();

    // Shared with the running thread, which holds its own reference.
    const std::shared_ptr<CCommunicatorWorker> m_worker;
    std::unique_ptr<CWinThread> m_thread;  // touched by the owner's thread only
    DWORD m_stopWaitMs;
};
