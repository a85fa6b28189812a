// The OBD block (element 95): the fuel trims of two banks, their validity, the
// fuel-system states and, when the unit supports the block's long form, the scale
// factor, options and trim references of the trim calibrations.
#pragma once

#include "classlib/core/WinTypes.h"

class ILiveValues;

class CObdBlock {
public:
    static constexpr int kBytes = 16;
    // Fuel-system states counted as closed loop: 2 closed loop, 16 closed loop with a
    // fault in the feedback system.
    static constexpr int kClosedLoopMask = 18;
    // Option bits of byte 12.
    static constexpr int kOptionInvertShort = 0x04;
    static constexpr int kOptionInvertLong = 0x08;
    static constexpr int kOptionBank1ByLambda = 0x10;
    static constexpr int kOptionBank2ByLambda = 0x20;

    // Decodes the block; bytes 11 to 14 only when withOptions is set.
    void Decode(const BYTE* bytes, bool withOptions);
    // Reads element 95, with options when the unit answered its optional read.
    void Read(ILiveValues& live);

    // All four trims valid.
    bool AreTrimsValid() const { return (m_validity & 0x0F) == 0x0F; }

    // The scale factor in percent (95 when the unit gives none).
    int GetScalePercent() const { return m_scalePercent == 0 ? 95 : m_scalePercent; }

    int shortTrim1 = 0;
    int longTrim1 = 0;
    int shortTrim2 = 0;
    int longTrim2 = 0;
    int status1 = 0;  // fuel-system status of bank 1; 0 when more than one bit is set
    int status2 = 0;
    int options = 0;
    int shortReference = 0;
    int longReference = 0;

private:
    int m_validity = 0;
    int m_scalePercent = 0;
};
