// Update mode on the wire: commands 96 to 101 in the loader's ids 0x99 / 0x66.
#include "link/CUpdateModeStep.h"

#include "classlib/core/CSingleLock.h"
#include "link/CFrameExchange.h"
#include "link/CLogger.h"
#include "link/ExchangeRepeats.h"
#include "link/ExchangeResult.h"
#include "link/IUpdateModeHost.h"

#include <algorithm>
#include <array>

namespace {

constexpr BYTE kStartUpload = 96;
constexpr BYTE kUploadBlock = 97;
constexpr BYTE kLoaderState = 98;
constexpr BYTE kLeave = 99;
constexpr BYTE kLeaveOther = 100;
constexpr BYTE kIdentification = 101;

constexpr BYTE kStateIdle = 1;
constexpr BYTE kStateWriting = 2;
constexpr BYTE kStateWriteError = 3;
constexpr BYTE kStateVerifyError = 4;
constexpr BYTE kStateBroken = 5;

WORD Word(const BYTE* bytes) {
    return static_cast<WORD>(bytes[0] | (bytes[1] << 8));
}

}  // namespace

bool CUpdateModeStep::SetFirmware(const std::vector<BYTE>& firmware) {
    CSingleLock guard(&m_firmwareLock, TRUE);
    if (m_mode == kModeUploadStart || m_mode == kModeUploading) {
        CLogger::Instance().Log(2000, "CCommunicator: the firmware cannot change during an upload.");
        return false;
    }
    m_firmware = firmware;
    return true;
}

int CUpdateModeStep::Send(BYTE code, const std::vector<BYTE>& data, int replyLength, BYTE* reply) {
    const std::size_t replySize = reply != nullptr ? static_cast<std::size_t>(replyLength) : 0;
    const FrameRequest frame =
        MakeFrameRequest(kSenderIdUpdate, kAnswerIdUpdate, code, data, replyLength, reply, replySize);
    return ExchangeWithRepeats([&](bool repeat) { return m_host.Exchange(frame, repeat); },
                               [](int result) { return result != kResultSuccess; });
}

bool CUpdateModeStep::SendOrClose(BYTE code, const std::vector<BYTE>& data, int replyLength, BYTE* reply) {
    if (Send(code, data, replyLength, reply) == kResultSuccess) {
        return true;
    }
    m_host.ClosePort();
    return false;
}

void CUpdateModeStep::Run() {
    switch (m_mode) {
    case kModeNormal:
        StepNormal();
        break;
    case kModeEnterUpdate:
        if (ReadIdentification()) {
            m_mode = kModeUpdateIdle;
        }
        break;
    case kModeUploadStart:
        StartUpload();
        break;
    case kModeUploading:
        StepUpload();
        break;
    case kModeLeaveUpdate:
        Leave();
        break;
    default:
        break;
    }
}

bool CUpdateModeStep::ReadIdentification() {
    std::array<BYTE, 6> words{};
    if (!SendOrClose(kIdentification, {}, 6, words.data())) {
        return false;
    }
    m_host.ReportUpdateModeInfo(Word(&words[0]), Word(&words[2]), Word(&words[4]));
    return true;
}

// The loader states that end an update: reported, and nothing more is done.
bool CUpdateModeStep::ReportLoaderFault(BYTE state) {
    if (state == kStateWriteError || state == kStateVerifyError) {
        m_host.ReportUpdateProgress(kUpdateReportWriteError, 0);
    } else if (state == kStateBroken) {
        m_host.ReportUpdateProgress(kUpdateReportBroken, 0);
    } else {
        return false;
    }
    m_mode = kModeUpdateIdle;
    return true;
}

// A unit found in its loader without having been asked, e.g. after an interrupted update.
void CUpdateModeStep::StepNormal() {
    m_host.SetPortTimeouts(kNormalTimeouts);
    std::array<BYTE, 2> state{};
    if (!ReadIdentification() || !SendOrClose(kLoaderState, {}, 2, state.data())) {
        return;
    }
    if (ReportLoaderFault(state[0])) {
        return;
    }
    const bool ready = state[0] == kStateIdle || state[0] == kStateWriting;
    SendOrClose(ready ? kLeave : kLeaveOther, {}, 0, nullptr);
}

void CUpdateModeStep::StartUpload() {
    std::vector<BYTE> start;
    {
        CSingleLock guard(&m_firmwareLock, TRUE);
        if (m_firmware.size() < 2) {
            // Nothing that a loader could start with; the update ends as failed.
            CLogger::Instance().Log(2000, "CCommunicator: a firmware image of %u bytes cannot be uploaded.",
                                    static_cast<unsigned>(m_firmware.size()));
            m_host.ReportUpdateProgress(kUpdateReportWriteError, 0);
            m_mode = kModeUpdateIdle;
            return;
        }
        start.assign(m_firmware.begin(), m_firmware.begin() + 2);
    }
    if (SendOrClose(kStartUpload, start, 0, nullptr)) {
        m_uploadOffset = 0;
        m_mode = kModeUploading;
    }
}

void CUpdateModeStep::StepUpload() {
    std::array<BYTE, 2> state{};
    if (!SendOrClose(kLoaderState, {}, 2, state.data()) || ReportLoaderFault(state[0])) {
        return;
    }
    SendBlock(state[0], state[1]);
}

void CUpdateModeStep::SendBlock(BYTE state, BYTE room) {
    const UINT_PTR code = state == kStateWriting ? kUpdateReportWriting : kUpdateReportOther;
    m_host.SetPortTimeouts(kUploadTimeouts);
    CSingleLock guard(&m_firmwareLock, TRUE);
    const std::size_t size = m_firmware.size();
    if (size == 0 || m_uploadOffset > size) {
        CLogger::Instance().Log(2000, "CCommunicator: the firmware image went away during the upload.");
        m_mode = kModeNormal;
        return;
    }
    const std::size_t remaining = size - m_uploadOffset;
    const std::size_t offered = std::min<std::size_t>(room, kMaxBlockBytes);
    std::size_t block = 0;
    if (remaining <= offered) {
        block = remaining;
    } else if (offered > kMinBlockRoom) {
        block = offered;
    }
    if (block > 0 || remaining == 0) {
        std::vector<BYTE> data = {static_cast<BYTE>(block)};
        const auto first = m_firmware.begin() + static_cast<std::ptrdiff_t>(m_uploadOffset);
        data.insert(data.end(), first, first + static_cast<std::ptrdiff_t>(block));
        if (Send(kUploadBlock, data, 0, nullptr) != kResultSuccess) {
            // The port stays open: the next pass finds the loader as after an interrupted update.
            CLogger::Instance().Log(2000, "CCommunicator: a firmware block failed; the upload is abandoned.");
            m_mode = kModeNormal;
            return;
        }
        if (remaining == 0) {
            m_host.ReportUpdateProgress(kUpdateReportDone, 1000);
            m_mode = kModeUpdateIdle;
            return;
        }
        m_uploadOffset += block;
    }
    m_host.ReportUpdateProgress(code, static_cast<LONG_PTR>(m_uploadOffset * 1000 / size));
}

void CUpdateModeStep::Leave() {
    SendOrClose(kLeave, {}, 0, nullptr);
    m_mode = kModeNormal;
}
