// The trouble-code lists of elements 119 (stored) and 120 (pending) as the trouble-code page
// shows them: the unit's ring of snapshot bytes put in order, the snapshots read from it,
// and the line breaking of the codes' tip. No window code here.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

#include <vector>

constexpr int kDtcElementBytes = 1024;
constexpr int kDtcListBytes = 1024;
// A first byte of this value ends the list of snapshots.
constexpr BYTE kDtcListEnd = 0xFF;

struct DtcSnapshot {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int count = 0;  // codes the unit counted
    bool mil = false;
    std::vector<WORD> codes;  // empty when the codes would pass the list's end
};

// Puts the ring of one element (kDtcElementBytes) in order, oldest byte first, into list
// (kDtcListBytes); the rest of list is filled with kDtcListEnd. False when the ring is
// empty or does not fit into the element (the list is then empty).
bool LinearizeDtcList(const BYTE* element, BYTE* list);

// The snapshots of an ordered list, oldest first.
std::vector<DtcSnapshot> ReadDtcSnapshots(const BYTE* list);

// The snapshot's codes as "P0133, C1634"; a code that does not convert is shown with
// invalidFormat ("Invalid code: 0x%04X").
CString JoinDtcCodes(const DtcSnapshot& snapshot, const CString& invalidFormat);

// Breaks text into lines at blanks near the middle until every line is shorter than limit
// or has no blank left to break at.
CString WrapTipText(const CString& text, int limit);
