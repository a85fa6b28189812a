// One COM port: open with line settings, blocking reads and writes, time-outs.
// Every failure of the system throws CSerialException with the system's error code.
// Used by the communicator's worker thread only. On Windows the port also offers the
// rest of the system's communications calls (overlapped and completion-routine
// transfers, line state, events, buffers), which the communicator does not use.
#pragma once

#include "link/IPort.h"

#include <vector>

#ifdef _WIN32
// The system's records, declared as the system headers name them: this header keeps
// windows.h and its macros out of the files that include it.
struct _OVERLAPPED;
struct _COMMCONFIG;
struct _COMSTAT;
struct _DCB;
struct _COMMPROP;
#endif

class CSerialPort : public IPort {
public:
    CSerialPort() = default;
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    void Open(int portNumber,
              DWORD baudRate,
              int parity,
              BYTE dataBits,
              int stopBits,
              int flow,
              bool overlapped) override;
    // Closing a closed port does nothing.
    void Close() override;
    bool IsOpen() const override;
    DWORD Read(void* buffer, DWORD count) override;
    DWORD Write(const void* buffer, DWORD count) override;
    void SetTimeouts(const PortTimeouts& timeouts) override;
    void ListPorts(std::vector<int>& ports) override;

    PortTimeouts GetTimeouts();
    // Reads return at once; writes have no time-out.
    void SetImmediateTimeouts();
    // Keeps the read time-outs and removes the write time-outs.
    void ClearWriteTimeouts();
    // Keeps the write time-outs and makes reads return at once.
    void MakeReadsImmediate();

#ifdef _WIN32
    // A port opened for overlapped transfers: start one; 0 bytes while it is pending,
    // which is no failure.
    DWORD Read(void* buffer, DWORD count, _OVERLAPPED& overlapped);
    DWORD Write(const void* buffer, DWORD count, _OVERLAPPED& overlapped);
    // Start a transfer that ends in OnCompletion, on this thread, while it waits
    // alertably (SleepEx, WaitFor...Ex). The buffer must live until then.
    void ReadWithCompletion(void* buffer, DWORD count);
    void WriteWithCompletion(const void* buffer, DWORD count);
    // ERROR_SUCCESS (0) with the bytes transferred, or ERROR_IO_PENDING while pending.
    DWORD GetTransferResult(_OVERLAPPED& overlapped, DWORD& transferred, BOOL wait);
    // Cancels this thread's pending transfers; throws with error 120 where the system lacks it.
    void CancelTransfers();

    void TransmitChar(char character);
    void GetConfig(_COMMCONFIG& config);
    void SetConfig(_COMMCONFIG& config);
    void SetBreak();
    void ClearBreak();
    void ClearError(DWORD& errors);
    void ClearError(DWORD& errors, _COMSTAT& status);
    void GetState(_DCB& dcb);
    void SetState(_DCB& dcb);
    // EscapeCommFunction, and its six functions.
    void Escape(DWORD function);
    void ClearDTR();
    void ClearRTS();
    void SetDTR();
    void SetRTS();
    void SetXOFF();
    void SetXON();
    void GetProperties(_COMMPROP& properties);
    void GetModemStatus(DWORD& status);
    void SetMask(DWORD mask);
    void GetMask(DWORD& mask);
    void Flush();
    // PurgeComm, and its four functions.
    void Purge(DWORD flags);
    void TerminateOutstandingWrites();
    void TerminateOutstandingReads();
    void ClearWriteBuffer();
    void ClearReadBuffer();
    void Setup(DWORD inputQueue, DWORD outputQueue);
    // Waits for one of the masked events.
    void WaitEvent(DWORD& events);
    // Starts the wait; ERROR_IO_PENDING while it is pending, else ERROR_SUCCESS.
    DWORD WaitEvent(DWORD& events, _OVERLAPPED& overlapped);

    // The system's default configuration of "COM<port>".
    static void GetSystemDefaultConfig(int portNumber, _COMMCONFIG& config);
    static void SetSystemDefaultConfig(int portNumber, _COMMCONFIG& config);

protected:
    // A completion-routine transfer ended; the default frees the OVERLAPPED, which an
    // override must free too (by calling this).
    virtual void OnCompletion(DWORD error, DWORD transferred, _OVERLAPPED* overlapped);
#endif

private:
#ifdef _WIN32
    void* Handle() const {
        return reinterpret_cast<void*>(m_handle);
    }

    static void __stdcall CompletionRoutine(DWORD error, DWORD transferred, _OVERLAPPED* overlapped);
    _OVERLAPPED* NewCompletionOverlapped();
#endif

    // The system's handle (a file descriptor on POSIX systems); -1 while closed.
    long long m_handle = -1;
    bool m_overlapped = false;
};

// Empties the list, then appends every port number from 1 to 255 that can be opened
// exclusively at this moment.
void EnumerateComPorts(std::vector<int>& ports);
