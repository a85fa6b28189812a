// The steps of programming a firmware patch into the unit over the normal link: start the
// session (element 114), send the version and date packets and one packet per record flagged
// 1 through the packet channel (element 116), poll the unit while it is busy (element 113),
// and finish the session (element 115). Each finished transfer advances it by one step; it
// keeps what the progress dialog shows. Portable, so that it is tested without windows.
#pragma once

#include "classlib/core/WinTypes.h"

#include <array>
#include <cstddef>

class CFirmwarePatch;
class IPatchTransferLink;

class PatchTransferMachine {
public:
    enum State {
        kStarted = 0,
        kFailed = 2,
        kInitialised = 3,
        kVersionSent = 4,
        kSendingRecords = 5,
        kFinishing = 6,
        kFinished = 7
    };

    enum Phase { kPhaseInitializing, kPhaseWriting };

    enum StatusText { kStatusWaiting, kStatusProgramming, kStatusFinished, kStatusFailed };

    // The value the dialog ends with. Only kResultDone lets the caller record the patch as
    // applied, so a failure the unit reports is told apart from success.
    enum Result { kResultDone = 1, kResultConnectionLost = 2, kResultUnitFailed = 3 };

    static constexpr int kElementBusy = 113;
    static constexpr int kElementStart = 114;
    static constexpr int kElementFinish = 115;
    static constexpr int kElementPacket = 116;
    static constexpr std::size_t kPacketBytes = 256;
    // The count byte (data + 2) must fit a byte and the packet the buffer.
    static constexpr std::size_t kMaxRecordBytes = 253;
    // A unit that stays busy this many polls in a row is given up, so Close cannot stay
    // disabled for ever.
    static constexpr int kMaxBusyPolls = 1000;

    explicit PatchTransferMachine(IPatchTransferLink& link) : m_link(link) {}

    // Whether every record flagged 1 (the ones sent) fits a packet. Uses the patch's record
    // iteration.
    static bool FitsPackets(CFirmwarePatch& patch);

    // Starts the session, or fails at once (nothing sent) when there is no patch or a record
    // does not fit a packet. A request that cannot be queued ends the run as a lost
    // connection. The patch (not owned) must outlive the run.
    void Start(CFirmwarePatch* patch);
    // A transfer of element 113 to 116 finished (`success` false: it failed). Only the
    // transfer the machine waits for counts.
    void OnTransferDone(int element, bool success);
    // The connection status; anything but 2 and 4 ends an unfinished run as a lost connection.
    void OnStatusChanged(int status);

    State GetState() const { return m_state; }

    Phase GetPhase() const { return m_phase; }

    StatusText GetStatusText() const { return m_status; }

    bool IsCloseEnabled() const { return m_state == kFailed || m_state == kFinished; }

    int GetResult() const { return m_result; }

    int GetStep() const { return m_step; }

    int GetTotal() const { return m_total; }

    // The phase line's percentage and the bar's position, both taken when an answer
    // arrives (step x 100 / total, and the step).
    int GetPercent() const { return m_percent; }

    int GetProgress() const { return m_progress; }

    const std::array<BYTE, kPacketBytes>& GetPacket() const { return m_packet; }

private:
    void OnStartAnswer();
    void OnPacketAnswer();
    void OnFinishAnswer();
    void Judge(BYTE status);
    void SendNextRecord();
    void FillVersionPacket();
    void FillDatePacket();
    bool FillRecordPacket(BYTE id);
    void Send();
    void Request(int element);
    void ShowProgress(Phase phase);
    void Fail(Result result);

    IPatchTransferLink& m_link;
    CFirmwarePatch* m_patch = nullptr;
    State m_state = kStarted;
    Phase m_phase = kPhaseInitializing;
    StatusText m_status = kStatusWaiting;
    int m_result = kResultDone;
    int m_step = 0;
    int m_total = 0;
    int m_progress = 0;
    int m_percent = 0;
    bool m_moreRecords = false;
    int m_busyPolls = 0;
    int m_awaited = 0;  // the element whose transfer is outstanding; 0 none
    std::array<BYTE, kPacketBytes> m_packet = {};
    std::array<BYTE, kPacketBytes> m_answer = {};
};
