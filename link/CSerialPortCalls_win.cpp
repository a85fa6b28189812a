// The Win32 communications calls of CSerialPort that the communicator does not use:
// overlapped and completion-routine transfers, line state, events and buffers.
#include "link/CSerialException.h"
#include "link/CSerialPort.h"

#include <windows.h>

#include <cstdio>
#include <memory>

namespace {

constexpr DWORD kErrorNotImplemented = 120;  // ERROR_CALL_NOT_IMPLEMENTED

[[noreturn]] void ThrowLastError() {
    throw CSerialException(GetLastError());
}

void Check(BOOL succeeded) {
    if (!succeeded) {
        ThrowLastError();
    }
}

// A started overlapped call: pending is no failure.
DWORD PendingOrThrow() {
    const DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING) {
        throw CSerialException(error);
    }
    return ERROR_IO_PENDING;
}

// CancelIo, looked up once by name: the call is missing on the oldest systems. The
// library is released when the program ends.
class CCancelIoEntry {
public:
    using CancelIoCall = BOOL(WINAPI*)(HANDLE);

    static const CCancelIoEntry& Instance() {
        static const CCancelIoEntry entry;
        return entry;
    }

    CancelIoCall Call() const { return m_call; }

    ~CCancelIoEntry() {
        if (m_library != nullptr) {
            FreeLibrary(m_library);
        }
    }

    CCancelIoEntry(const CCancelIoEntry&) = delete;
    CCancelIoEntry& operator=(const CCancelIoEntry&) = delete;

private:
    CCancelIoEntry() : m_library(LoadLibraryA("KERNEL32.DLL")) {
        if (m_library != nullptr) {
            m_call = reinterpret_cast<CancelIoCall>(
                reinterpret_cast<void*>(GetProcAddress(m_library, "CancelIo")));
        }
    }

    HMODULE m_library;
    CancelIoCall m_call = nullptr;
};

void PortName(int portNumber, char (&name)[16]) {
    std::snprintf(name, sizeof name, "COM%d", portNumber);
}

}  // namespace

DWORD CSerialPort::Read(void* buffer, DWORD count, OVERLAPPED& overlapped) {
    DWORD got = 0;
    if (!ReadFile(Handle(), buffer, count, &got, &overlapped)) {
        PendingOrThrow();
        return 0;
    }
    return got;
}

DWORD CSerialPort::Write(const void* buffer, DWORD count, OVERLAPPED& overlapped) {
    DWORD written = 0;
    if (!WriteFile(Handle(), buffer, count, &written, &overlapped)) {
        PendingOrThrow();
        return 0;
    }
    return written;
}

// The event member is free in completion-routine transfers; it carries the port.
OVERLAPPED* CSerialPort::NewCompletionOverlapped() {
    OVERLAPPED* overlapped = new OVERLAPPED{};
    overlapped->hEvent = static_cast<HANDLE>(this);
    return overlapped;
}

void CSerialPort::ReadWithCompletion(void* buffer, DWORD count) {
    std::unique_ptr<OVERLAPPED> overlapped(NewCompletionOverlapped());
    Check(ReadFileEx(Handle(), buffer, count, overlapped.get(), &CompletionRoutine));
    overlapped.release();  // OnCompletion frees it
}

void CSerialPort::WriteWithCompletion(const void* buffer, DWORD count) {
    std::unique_ptr<OVERLAPPED> overlapped(NewCompletionOverlapped());
    Check(WriteFileEx(Handle(), buffer, count, overlapped.get(), &CompletionRoutine));
    overlapped.release();  // OnCompletion frees it
}

void __stdcall CSerialPort::CompletionRoutine(DWORD error, DWORD transferred, OVERLAPPED* overlapped) {
    static_cast<CSerialPort*>(overlapped->hEvent)->OnCompletion(error, transferred, overlapped);
}

void CSerialPort::OnCompletion(DWORD, DWORD, OVERLAPPED* overlapped) {
    delete overlapped;
}

DWORD CSerialPort::GetTransferResult(OVERLAPPED& overlapped, DWORD& transferred, BOOL wait) {
    transferred = 0;
    if (GetOverlappedResult(Handle(), &overlapped, &transferred, wait)) {
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING || error == ERROR_IO_INCOMPLETE) {
        return ERROR_IO_PENDING;
    }
    throw CSerialException(error);
}

void CSerialPort::CancelTransfers() {
    const CCancelIoEntry::CancelIoCall cancel = CCancelIoEntry::Instance().Call();
    if (cancel == nullptr) {
        throw CSerialException(kErrorNotImplemented);
    }
    Check(cancel(Handle()));
}

void CSerialPort::TransmitChar(char character) {
    Check(TransmitCommChar(Handle(), character));
}

void CSerialPort::GetConfig(COMMCONFIG& config) {
    DWORD size = sizeof config;
    Check(GetCommConfig(Handle(), &config, &size));
}

void CSerialPort::SetConfig(COMMCONFIG& config) {
    Check(SetCommConfig(Handle(), &config, sizeof config));
}

void CSerialPort::SetBreak() {
    Check(SetCommBreak(Handle()));
}

void CSerialPort::ClearBreak() {
    Check(ClearCommBreak(Handle()));
}

void CSerialPort::ClearError(DWORD& errors) {
    Check(ClearCommError(Handle(), &errors, nullptr));
}

void CSerialPort::ClearError(DWORD& errors, COMSTAT& status) {
    Check(ClearCommError(Handle(), &errors, &status));
}

void CSerialPort::GetState(DCB& dcb) {
    dcb.DCBlength = sizeof dcb;
    Check(GetCommState(Handle(), &dcb));
}

void CSerialPort::SetState(DCB& dcb) {
    Check(SetCommState(Handle(), &dcb));
}

void CSerialPort::Escape(DWORD function) {
    Check(EscapeCommFunction(Handle(), function));
}

void CSerialPort::ClearDTR() {
    Escape(CLRDTR);
}

void CSerialPort::ClearRTS() {
    Escape(CLRRTS);
}

void CSerialPort::SetDTR() {
    Escape(SETDTR);
}

void CSerialPort::SetRTS() {
    Escape(SETRTS);
}

void CSerialPort::SetXOFF() {
    Escape(SETXOFF);
}

void CSerialPort::SetXON() {
    Escape(SETXON);
}

void CSerialPort::GetProperties(COMMPROP& properties) {
    Check(GetCommProperties(Handle(), &properties));
}

void CSerialPort::GetModemStatus(DWORD& status) {
    Check(GetCommModemStatus(Handle(), &status));
}

void CSerialPort::SetMask(DWORD mask) {
    Check(SetCommMask(Handle(), mask));
}

void CSerialPort::GetMask(DWORD& mask) {
    Check(GetCommMask(Handle(), &mask));
}

void CSerialPort::Flush() {
    Check(FlushFileBuffers(Handle()));
}

void CSerialPort::Purge(DWORD flags) {
    Check(PurgeComm(Handle(), flags));
}

void CSerialPort::TerminateOutstandingWrites() {
    Purge(PURGE_TXABORT);
}

void CSerialPort::TerminateOutstandingReads() {
    Purge(PURGE_RXABORT);
}

void CSerialPort::ClearWriteBuffer() {
    Purge(PURGE_TXCLEAR);
}

void CSerialPort::ClearReadBuffer() {
    Purge(PURGE_RXCLEAR);
}

void CSerialPort::Setup(DWORD inputQueue, DWORD outputQueue) {
    Check(SetupComm(Handle(), inputQueue, outputQueue));
}

void CSerialPort::WaitEvent(DWORD& events) {
    Check(WaitCommEvent(Handle(), &events, nullptr));
}

DWORD CSerialPort::WaitEvent(DWORD& events, OVERLAPPED& overlapped) {
    if (WaitCommEvent(Handle(), &events, &overlapped)) {
        return ERROR_SUCCESS;
    }
    return PendingOrThrow();
}

void CSerialPort::GetSystemDefaultConfig(int portNumber, COMMCONFIG& config) {
    char name[16];
    PortName(portNumber, name);
    DWORD size = sizeof config;
    Check(GetDefaultCommConfigA(name, &config, &size));
}

void CSerialPort::SetSystemDefaultConfig(int portNumber, COMMCONFIG& config) {
    char name[16];
    PortName(portNumber, name);
    Check(SetDefaultCommConfigA(name, &config, sizeof config));
}
