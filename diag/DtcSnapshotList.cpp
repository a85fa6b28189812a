#include "diag/DtcSnapshotList.h"

#include "classlib/core/FormatText.h"
#include "diag/DtcCode.h"
#include "link/CLogger.h"

#include <cstring>

namespace {

constexpr int kLogBadRing = 3500;

// A ring position of 0 means the ring has not wrapped yet: its bytes start at position 2,
// behind the two bytes of the position itself.
constexpr int kRingStart = 2;
// Snapshots are read while their start lies below this offset.
constexpr int kLastSnapshotStart = 1020;
// A snapshot's codes are shown only when its start lies below this offset less 2 per code.
constexpr int kCodesLimit = 1019;

constexpr int kSnapshotHeaderBytes = 5;
constexpr BYTE kMilBit = 0x80;
constexpr BYTE kCountMask = 0x3F;

}  // namespace

bool LinearizeDtcList(const BYTE* element, BYTE* list) {
    std::memset(list, kDtcListEnd, kDtcListBytes);
    const int n = element[0];
    const int m = element[1 + 2 * n];
    const int base = 2 * n + 2 * m + 2;
    const int size = n * m;
    // The counts come from the unit; a ring that would leave the element is not read.
    if (base + size > kDtcElementBytes || size <= kRingStart) {
        if (size != 0) {
            CLogger::Instance().Log(
                kLogBadRing, "LinearizeDtcList(): a ring of %d x %d bytes at %d does not fit the element.", n,
                m, base);
        }
        return false;
    }
    int position = element[base] << 8 | element[base + 1];
    if (position >= size || position == 1) {
        return false;
    }
    if (position == 0) {
        position = kRingStart;
    }
    const int older = size - position;
    std::memcpy(list, element + base + position, older);
    if (position > kRingStart) {
        std::memcpy(list + older, element + base + kRingStart, position - kRingStart);
    }
    return true;
}

std::vector<DtcSnapshot> ReadDtcSnapshots(const BYTE* list) {
    std::vector<DtcSnapshot> snapshots;
    int offset = 0;
    while (offset < kLastSnapshotStart && list[offset] != kDtcListEnd) {
        const BYTE* record = list + offset;
        DtcSnapshot snapshot;
        snapshot.hours = record[0] << 8 | record[1];
        snapshot.minutes = record[2];
        snapshot.seconds = record[3];
        snapshot.mil = (record[4] & kMilBit) != 0;
        snapshot.count = record[4] & kCountMask;
        if (snapshot.count > 0 && offset < kCodesLimit - 2 * snapshot.count) {
            for (int i = 0; i < snapshot.count; ++i) {
                const BYTE* code = record + kSnapshotHeaderBytes + 2 * i;
                snapshot.codes.push_back(static_cast<WORD>(code[0] | code[1] << 8));
            }
        }
        snapshots.push_back(snapshot);
        offset += kSnapshotHeaderBytes + 2 * snapshot.count;
    }
    return snapshots;
}

CString JoinDtcCodes(const DtcSnapshot& snapshot, const CString& invalidFormat) {
    CString joined;
    for (const WORD code : snapshot.codes) {
        CString text;
        if (!DtcCodeToText(code, text)) {
            text = FormatText(invalidFormat, code);
        }
        if (!joined.IsEmpty()) {
            joined += ", ";
        }
        joined += text;
    }
    return joined;
}

CString WrapTipText(const CString& text, int limit) {
    const int length = text.GetLength();
    if (length < limit) {
        return text;
    }
    // Try the middle first, then one step further up and down each time.
    const int middle = length / 2;
    for (int step = 0;; ++step) {
        const int candidate = middle + (step % 2 == 1 ? (step + 1) / 2 : -(step / 2));
        if (candidate <= 0 || candidate >= length - 1) {
            return text;
        }
        if (text[candidate] == ' ') {
            return WrapTipText(text.Left(candidate), limit) + "\n" +
                   WrapTipText(text.Mid(candidate + 1), limit);
        }
    }
}
