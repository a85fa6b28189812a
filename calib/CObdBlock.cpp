// Decoding of the OBD block as the trim calibrations read it.
#include "calib/CObdBlock.h"

#include "calib/ILiveValues.h"
#include "calib/LiveElementReads.h"
#include "link/CalibrationHelpers.h"

namespace {

// A status with several bits set is not a state the standard defines.
int SingleStatus(BYTE value) {
    return CountBits(value) > 1 ? 0 : value;
}

}  // namespace

void CObdBlock::Decode(const BYTE* bytes, bool withOptions) {
    shortTrim1 = static_cast<signed char>(bytes[0]);
    longTrim1 = static_cast<signed char>(bytes[1]);
    shortTrim2 = static_cast<signed char>(bytes[2]);
    longTrim2 = static_cast<signed char>(bytes[3]);
    m_validity = bytes[6];
    status2 = SingleStatus(bytes[7]);
    status1 = SingleStatus(bytes[8]);
    m_scalePercent = withOptions ? bytes[11] : 0;
    options = withOptions ? bytes[12] : 0;
    shortReference = withOptions ? static_cast<signed char>(bytes[13]) : 0;
    longReference = withOptions ? static_cast<signed char>(bytes[14]) : 0;
}

void CObdBlock::Read(ILiveValues& live) {
    BYTE bytes[kBytes];
    live.ReadElement(kElementObdBlock, bytes, kBytes);
    Decode(bytes, live.IsReadSupported(kElementObdBlock) >= 1);
}
