// The worker's step while the unit runs its firmware loader: asking for update mode,
// reading the loader's identification and state, the upload of a firmware image in
// blocks as the loader makes room, and leaving update mode. It owns the mode word
// that the data handler sets and the image that it hands over.
// SetMode, SetFirmware and GetMode may be called from any thread; Run on the worker.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/WinTypes.h"

#include <atomic>
#include <cstddef>
#include <vector>

class IUpdateModeHost;

// Modes of the link.
constexpr int kModeUpdateIdle = 0;   // the unit is in update mode; nothing to do
constexpr int kModeNormal = 1;       // normal link
constexpr int kModeUploadStart = 2;  // the image was handed over: start the upload
constexpr int kModeUploading = 3;    // upload in progress
constexpr int kModeEnterUpdate = 4;  // ask the unit for update mode
constexpr int kModeLeaveUpdate = 5;  // send the leave command

// Reports of message 0x622 (wParam).
constexpr UINT_PTR kUpdateReportWriteError = 1;  // loader state 3 or 4
constexpr UINT_PTR kUpdateReportBroken = 2;      // loader state 5
constexpr UINT_PTR kUpdateReportDone = 3;        // the closing empty block went out
constexpr UINT_PTR kUpdateReportWriting = 4;     // a block step in loader state 2
constexpr UINT_PTR kUpdateReportOther = 5;       // a block step in any other state

class CUpdateModeStep {
public:
    static constexpr std::size_t kMaxBlockBytes = 128;
    // A block goes out only when the loader offers more room than this, or room for the rest.
    static constexpr std::size_t kMinBlockRoom = 64;

    explicit CUpdateModeStep(IUpdateModeHost& host) : m_host(host) {}

    void SetMode(int mode) { m_mode = mode; }

    int GetMode() const { return m_mode; }

    // Ignored (false) while an upload runs: the worker reads the image then.
    bool SetFirmware(const std::vector<BYTE>& firmware);

    // One step, after a ping that found the loader.
    void Run();

private:
    int Send(BYTE code, const std::vector<BYTE>& data, int replyLength, BYTE* reply);
    bool SendOrClose(BYTE code, const std::vector<BYTE>& data, int replyLength, BYTE* reply);
    bool ReadIdentification();
    bool ReportLoaderFault(BYTE state);
    void StepNormal();
    void StartUpload();
    void StepUpload();
    void SendBlock(BYTE state, BYTE room);
    void Leave();

    IUpdateModeHost& m_host;
    std::atomic<int> m_mode{kModeNormal};
    CCriticalSection m_firmwareLock;
    std::vector<BYTE> m_firmware;  // guarded by m_firmwareLock
    std::size_t m_uploadOffset = 0;
};
