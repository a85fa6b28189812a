// The OBD-II scan of the OBD-II page: the sequence of requests that the page sends through
// the unit, one reply at a time, and what each reply says. The scan goes through states 1
// to 9; state 0 is idle. UI thread only; no window and no wire: the page sends the request
// that GetRequest names and hands back the reply text.
#pragma once

#include "classlib/core/WinTypes.h"
#include "diag/ObdScanData.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

class CObdScanner {
public:
    enum class Step {
        Failed,        // the reply was refused; the scan is idle
        PidBitmap,     // one more mode-01 support bitmap
        Mode09Bitmap,  // the mode-09 support bitmap
        Monitors,      // MIL, trouble-code count and readiness monitors
        Standard,      // the OBD standard byte
        Vin,           // the vehicle identification number
        StoredCodes,   // GetCodes holds the stored trouble codes
        PendingCodes,  // GetCodes holds the pending trouble codes
        FreezeCode,    // the trouble code that caused the freeze frame
        FreezeRow,     // GetRowPid and GetRowData hold one freeze-frame value
    };

    // One or two bytes: mode, or mode and PID.
    struct Request {
        std::array<BYTE, 2> bytes = {0, 0};
        std::size_t length = 0;
    };

    // Mode 01 PID 01: byte A split into the MIL and the trouble-code count; B, C, D as sent.
    struct Monitors {
        bool mil = false;
        int codeCount = 0;
        BYTE continuous = 0;  // B
        BYTE supported = 0;   // C
        BYTE incomplete = 0;  // D
    };

    static constexpr int kIdle = 0;
    static constexpr int kLastFreezeFramePid = 127;
    // Answers "not ready" to one request beyond this many end the scan.
    static constexpr int kMaxNotReadyPolls = 200;

    // Forgets what earlier scans read and asks for mode 01 PID 00 in state 1.
    void Start();

    void Stop() { m_state = kIdle; }

    int GetState() const { return m_state; }

    bool IsScanning() const { return m_state != kIdle; }

    // The request waiting for its reply; meaningful while scanning.
    const Request& GetRequest() const { return m_request; }

    std::string GetRequestText() const;

    // The reply text to the current request. A text that does not parse, or data too short
    // for what the state reads, ends the scan (Step::Failed). Otherwise the reply is taken
    // and, unless that ends the sequence, the next request is chosen.
    Step OnReply(const std::string& text);
    // The unit says the reply is not ready yet: whether to ask for it again. False, and the
    // scan idle, once the current request has been answered so too often.
    bool OnNotReady();

    const ObdPidBitmaps& GetPidBitmaps() const { return m_pidBitmaps; }

    int GetBitmapCount() const { return m_bitmapCount; }

    DWORD GetMode09Bitmap() const { return m_mode09Bitmap; }

    const Monitors& GetMonitors() const { return m_monitors; }

    BYTE GetStandard() const { return m_standard; }

    const std::string& GetVin() const { return m_vin; }

    const std::vector<WORD>& GetCodes() const { return m_codes; }

    WORD GetFreezeCode() const { return m_freezeCode; }

    int GetRowPid() const { return m_rowPid; }

    const std::vector<BYTE>& GetRowData() const { return m_rowData; }

private:
    Step Take(const std::vector<BYTE>& data);
    Step TakeBitmap(const std::vector<BYTE>& data);
    Step TakeMode09Bitmap(const std::vector<BYTE>& data);
    Step TakeMonitors(const std::vector<BYTE>& data);
    Step TakeStandard(const std::vector<BYTE>& data);
    Step TakeVin(const std::vector<BYTE>& data);
    Step TakeCodes(const std::vector<BYTE>& data, Step step);
    Step TakeFreezeCode(const std::vector<BYTE>& data);
    Step TakeFreezeRow(const std::vector<BYTE>& data);

    void AfterMode09Bitmap();
    void AfterMonitors();
    void AfterStandard();
    void NextFreezeFramePid();
    void Ask(int state, BYTE mode);
    void Ask(int state, BYTE mode, BYTE pid);
    Step Fail();

    int m_state = kIdle;
    Request m_request;
    int m_notReadyPolls = 0;  // of the current request
    ObdPidBitmaps m_pidBitmaps;
    int m_bitmapCount = 0;
    DWORD m_mode09Bitmap = 0;
    Monitors m_monitors;
    BYTE m_standard = 0;
    std::string m_vin;
    std::vector<WORD> m_codes;
    WORD m_freezeCode = 0;
    int m_pidCounter = 0;
    int m_rowPid = 0;
    std::vector<BYTE> m_rowData;
};
