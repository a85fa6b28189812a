#include "firmware/PatchTransferMachine.h"

#include "classlib/core/CArray.h"
#include "firmware/CFirmwarePatch.h"
#include "firmware/IPatchTransferLink.h"
#include "link/LinkStatus.h"

#include <algorithm>

namespace {

constexpr BYTE kPacketCommand = 1;
constexpr BYTE kVersionSelector = 1;
constexpr BYTE kDateSelector = 2;
constexpr BYTE kHeaderCount = 6;
constexpr BYTE kGoodAnswerCount = 3;
constexpr std::size_t kAnswerStatusByte = 3;
constexpr BYTE kBusyNibble = 3;

BYTE High(WORD word) {
    return static_cast<BYTE>(word >> 8);
}

BYTE Low(WORD word) {
    return static_cast<BYTE>(word & 0xFF);
}

}  // namespace

bool PatchTransferMachine::FitsPackets(CFirmwarePatch& patch) {
    patch.ResetRecordIterator();
    bool more = patch.HasRecords();
    while (more) {
        BYTE id = 0;
        more = patch.GetNextRecordId(id);
        BYTE flag = 0;
        CByteArray data;
        // Only records flagged 1 are sent; the others never need a packet.
        if (patch.GetRecord(id, flag, data) && flag == 1 &&
            static_cast<std::size_t>(data.GetSize()) > kMaxRecordBytes) {
            return false;
        }
    }
    return true;
}

void PatchTransferMachine::Start(CFirmwarePatch* patch) {
    m_patch = patch;
    m_step = 0;
    m_progress = 0;
    m_percent = 0;
    m_total = (patch != nullptr ? patch->GetRecordCount() : 0) + 4;
    m_result = kResultDone;
    m_busyPolls = 0;
    m_phase = kPhaseInitializing;
    m_status = kStatusWaiting;
    if (patch == nullptr || !FitsPackets(*patch)) {
        Fail(kResultUnitFailed);
        return;
    }
    m_state = kStarted;
    Request(kElementStart);
}

void PatchTransferMachine::OnTransferDone(int element, bool success) {
    if (element != m_awaited || m_awaited == 0) {
        return;
    }
    m_awaited = 0;
    if (!success) {
        Fail(kResultUnitFailed);
        return;
    }
    switch (element) {
    case kElementBusy:
        Judge(m_link.ReadStatusByte(kElementBusy));
        return;
    case kElementStart:
        OnStartAnswer();
        return;
    case kElementFinish:
        OnFinishAnswer();
        return;
    case kElementPacket:
        OnPacketAnswer();
        return;
    default:
        return;
    }
}

void PatchTransferMachine::OnStatusChanged(int status) {
    if (IsLinkUp(status) || m_state == kFailed || m_state == kFinished) {
        return;
    }
    Fail(kResultConnectionLost);
}

void PatchTransferMachine::OnStartAnswer() {
    const BYTE status = m_link.ReadStatusByte(kElementStart);
    ++m_step;
    ShowProgress(kPhaseInitializing);
    m_patch->ResetRecordIterator();
    m_moreRecords = m_patch->HasRecords();
    m_state = kInitialised;
    Judge(status);
}

void PatchTransferMachine::OnPacketAnswer() {
    if (m_answer[0] != kGoodAnswerCount) {
        Fail(kResultUnitFailed);
        return;
    }
    ShowProgress(kPhaseWriting);
    Judge(m_answer[kAnswerStatusByte]);
}

void PatchTransferMachine::OnFinishAnswer() {
    ++m_step;
    ShowProgress(kPhaseWriting);
    m_status = kStatusFinished;
    m_state = kFinished;
}

void PatchTransferMachine::ShowProgress(Phase phase) {
    m_progress = m_step;
    m_percent = m_total > 0 ? m_step * 100 / m_total : 0;
    m_phase = phase;
    m_status = kStatusProgramming;
}

// The busy nibble is tested first: a busy unit may show a high nibble too (0x13), and
// is asked again until it answers; a failure still fails once it is no longer busy.
void PatchTransferMachine::Judge(BYTE status) {
    if ((status & 0x0F) == kBusyNibble) {
        if (++m_busyPolls > kMaxBusyPolls) {
            Fail(kResultUnitFailed);
            return;
        }
        Request(kElementBusy);
        return;
    }
    m_busyPolls = 0;
    if ((status >> 4) != 0) {
        Fail(kResultUnitFailed);
        return;
    }
    switch (m_state) {
    case kInitialised:
        FillVersionPacket();
        ++m_step;
        m_state = kVersionSent;
        Send();
        return;
    case kVersionSent:
        FillDatePacket();
        ++m_step;
        m_state = kSendingRecords;
        Send();
        return;
    case kSendingRecords:
        SendNextRecord();
        return;
    default:
        return;
    }
}

// Records not flagged 1 are skipped but counted, so the steps reach the total with the
// finishing answer.
void PatchTransferMachine::SendNextRecord() {
    BYTE flag = 0;
    BYTE id = 0;
    while (m_moreRecords && flag != 1) {
        m_moreRecords = m_patch->GetNextRecordId(id);
        CByteArray unused;
        if (!m_patch->GetRecord(id, flag, unused)) {
            flag = 0;
        }
        ++m_step;
    }
    if (flag != 1) {
        m_state = kFinishing;
        Request(kElementFinish);
        return;
    }
    if (!FillRecordPacket(id)) {
        Fail(kResultUnitFailed);
        return;
    }
    Send();
}

void PatchTransferMachine::FillVersionPacket() {
    const WORD version = m_patch->GetVersion();
    const WORD build = m_patch->GetBuild();
    m_packet = {};
    const BYTE bytes[] = {kHeaderCount, kPacketCommand, kVersionSelector, High(version),
                          Low(version), High(build),    Low(build)};
    std::copy(std::begin(bytes), std::end(bytes), m_packet.begin());
}

void PatchTransferMachine::FillDatePacket() {
    const WORD year = m_patch->GetYear();
    m_packet = {};
    const BYTE bytes[] = {kHeaderCount, kPacketCommand,        kDateSelector,       Low(year),
                          High(year),   m_patch->GetMonth(), m_patch->GetDay()};
    std::copy(std::begin(bytes), std::end(bytes), m_packet.begin());
}

bool PatchTransferMachine::FillRecordPacket(BYTE id) {
    BYTE flag = 0;
    CByteArray data;
    if (!m_patch->GetRecord(id, flag, data) || static_cast<std::size_t>(data.GetSize()) > kMaxRecordBytes) {
        return false;
    }
    m_packet = {};
    m_packet[0] = static_cast<BYTE>(data.GetSize() + 2);
    m_packet[1] = kPacketCommand;
    m_packet[2] = id;
    const BYTE* bytes = data.GetData();
    std::copy(bytes, bytes + data.GetSize(), m_packet.begin() + 3);
    return true;
}

// The answer's count is cleared first, so a transfer that leaves the buffer alone reads as
// a bad answer rather than as the previous packet's.
void PatchTransferMachine::Send() {
    m_answer[0] = 0;
    m_awaited = kElementPacket;
    if (!m_link.RequestWriteFrom(kElementPacket, m_packet.data(), m_answer.data())) {
        Fail(kResultConnectionLost);
    }
}

// A request that was not queued gets no answer, and the status change that refused it may
// have gone out before this run listened: the run ends here.
void PatchTransferMachine::Request(int element) {
    m_awaited = element;
    if (!m_link.RequestRead(element)) {
        Fail(kResultConnectionLost);
    }
}

void PatchTransferMachine::Fail(Result result) {
    m_awaited = 0;
    m_state = kFailed;
    m_status = kStatusFailed;
    m_result = result;
}
