// The OBD-II scan's sequence of requests and the reading of their replies.
#include "diag/CObdScanner.h"

#include "diag/ObdReply.h"

namespace {

constexpr int kStateBitmaps = 1;
constexpr int kStateMode09Bitmap = 2;
constexpr int kStateMonitors = 3;
constexpr int kStateStandard = 4;
constexpr int kStateVin = 5;
constexpr int kStateStoredCodes = 6;
constexpr int kStatePendingCodes = 7;
constexpr int kStateFreezeCode = 8;
constexpr int kStateFreezeRows = 9;

constexpr BYTE kModeCurrentData = 0x01;
constexpr BYTE kModeFreezeFrame = 0x02;
constexpr BYTE kModeStoredCodes = 0x03;
constexpr BYTE kModePendingCodes = 0x07;
constexpr BYTE kModeVehicleInfo = 0x09;

constexpr BYTE kPidSupport = 0x00;
constexpr BYTE kPidMonitorStatus = 0x01;
constexpr BYTE kPidFreezeCode = 0x02;
constexpr BYTE kPidStandard = 0x1C;
constexpr BYTE kPidVin = 0x02;

constexpr int kBitmapRanges = 4;
constexpr int kPidsPerRange = 32;
// Mode 09 answers begin with a count of messages before the bitmap.
constexpr std::size_t kMode09BitmapOffset = 1;
constexpr std::size_t kMonitorBytes = 4;
constexpr std::size_t kFreezeCodeBytes = 2;

}  // namespace

void CObdScanner::Start() {
    *this = CObdScanner();
    Ask(kStateBitmaps, kModeCurrentData, kPidSupport);
}

std::string CObdScanner::GetRequestText() const {
    return FormatObdRequest(m_request.bytes[0], m_request.bytes[1], m_request.length > 1);
}

CObdScanner::Step CObdScanner::OnReply(const std::string& text) {
    if (!IsScanning()) {
        return Step::Failed;
    }
    std::vector<BYTE> data;
    if (!ParseObdReply(text, m_request.bytes.data(), m_request.length, data)) {
        return Fail();
    }
    return Take(data);
}

CObdScanner::Step CObdScanner::Take(const std::vector<BYTE>& data) {
    switch (m_state) {
    case kStateBitmaps:
        return TakeBitmap(data);
    case kStateMode09Bitmap:
        return TakeMode09Bitmap(data);
    case kStateMonitors:
        return TakeMonitors(data);
    case kStateStandard:
        return TakeStandard(data);
    case kStateVin:
        return TakeVin(data);
    case kStateStoredCodes:
        return TakeCodes(data, Step::StoredCodes);
    case kStatePendingCodes:
        return TakeCodes(data, Step::PendingCodes);
    case kStateFreezeCode:
        return TakeFreezeCode(data);
    case kStateFreezeRows:
        return TakeFreezeRow(data);
    default:
        return Fail();
    }
}

CObdScanner::Step CObdScanner::TakeBitmap(const std::vector<BYTE>& data) {
    DWORD bitmap = 0;
    if (!ReadObdBitmap(data, 0, bitmap)) {
        return Fail();
    }
    m_pidBitmaps.ranges[m_bitmapCount++] = bitmap;
    // The last bit of a range says that the car answers for the next range.
    if (m_bitmapCount < kBitmapRanges && (bitmap & 1) != 0) {
        Ask(kStateBitmaps, kModeCurrentData, static_cast<BYTE>(kPidsPerRange * m_bitmapCount));
    } else {
        Ask(kStateMode09Bitmap, kModeVehicleInfo, kPidSupport);
    }
    return Step::PidBitmap;
}

CObdScanner::Step CObdScanner::TakeMode09Bitmap(const std::vector<BYTE>& data) {
    if (!ReadObdBitmap(data, kMode09BitmapOffset, m_mode09Bitmap)) {
        return Fail();
    }
    AfterMode09Bitmap();
    return Step::Mode09Bitmap;
}

void CObdScanner::AfterMode09Bitmap() {
    // The monitor status is asked whenever the car offers it: the freeze-frame mask leaves
    // PID 01 out because a freeze frame has no monitor status, not because the car lacks it.
    if (IsObdBitSet(m_pidBitmaps.ranges[0], kPidMonitorStatus)) {
        Ask(kStateMonitors, kModeCurrentData, kPidMonitorStatus);
        return;
    }
    AfterMonitors();
}

CObdScanner::Step CObdScanner::TakeMonitors(const std::vector<BYTE>& data) {
    if (data.size() < kMonitorBytes) {
        return Fail();
    }
    m_monitors.mil = (data[0] & 0x80) != 0;
    m_monitors.codeCount = data[0] & 0x7F;
    m_monitors.continuous = data[1];
    m_monitors.supported = data[2];
    m_monitors.incomplete = data[3];
    AfterMonitors();
    return Step::Monitors;
}

void CObdScanner::AfterMonitors() {
    if (IsObdFreezeFramePid(m_pidBitmaps, kPidStandard)) {
        Ask(kStateStandard, kModeCurrentData, kPidStandard);
        return;
    }
    AfterStandard();
}

CObdScanner::Step CObdScanner::TakeStandard(const std::vector<BYTE>& data) {
    if (data.empty()) {
        return Fail();
    }
    m_standard = data[0];
    AfterStandard();
    return Step::Standard;
}

void CObdScanner::AfterStandard() {
    if (IsObdBitSet(m_mode09Bitmap, kPidVin)) {
        Ask(kStateVin, kModeVehicleInfo, kPidVin);
        return;
    }
    Ask(kStateStoredCodes, kModeStoredCodes);
}

CObdScanner::Step CObdScanner::TakeVin(const std::vector<BYTE>& data) {
    if (!AssembleVin(data, m_vin)) {
        return Fail();
    }
    Ask(kStateStoredCodes, kModeStoredCodes);
    return Step::Vin;
}

CObdScanner::Step CObdScanner::TakeCodes(const std::vector<BYTE>& data, Step step) {
    m_codes = ReadObdCodes(data);
    if (step == Step::StoredCodes) {
        Ask(kStatePendingCodes, kModePendingCodes);
    } else {
        Ask(kStateFreezeCode, kModeFreezeFrame, kPidFreezeCode);
    }
    return step;
}

CObdScanner::Step CObdScanner::TakeFreezeCode(const std::vector<BYTE>& data) {
    if (data.size() < kFreezeCodeBytes) {
        return Fail();
    }
    m_freezeCode = static_cast<WORD>(data[0] | data[1] << 8);
    if (m_freezeCode == 0) {
        m_state = kIdle;
        return Step::FreezeCode;
    }
    m_pidCounter = 0;
    NextFreezeFramePid();
    return Step::FreezeCode;
}

CObdScanner::Step CObdScanner::TakeFreezeRow(const std::vector<BYTE>& data) {
    m_rowPid = m_request.bytes[1];
    m_rowData = data;
    NextFreezeFramePid();
    return Step::FreezeRow;
}

void CObdScanner::NextFreezeFramePid() {
    for (int pid = m_pidCounter + 1; pid <= kLastFreezeFramePid; ++pid) {
        if (IsObdFreezeFramePid(m_pidBitmaps, pid)) {
            m_pidCounter = pid;
            Ask(kStateFreezeRows, kModeFreezeFrame, static_cast<BYTE>(pid));
            return;
        }
    }
    m_state = kIdle;
}

void CObdScanner::Ask(int state, BYTE mode) {
    Ask(state, mode, 0);
    m_request.length = 1;
}

void CObdScanner::Ask(int state, BYTE mode, BYTE pid) {
    m_state = state;
    m_request.bytes = {mode, pid};
    m_request.length = 2;
    m_notReadyPolls = 0;
}

bool CObdScanner::OnNotReady() {
    if (!IsScanning()) {
        return false;
    }
    if (++m_notReadyPolls > kMaxNotReadyPolls) {
        Fail();
        return false;
    }
    return true;
}

CObdScanner::Step CObdScanner::Fail() {
    m_state = kIdle;
    return Step::Failed;
}
