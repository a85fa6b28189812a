// Window messages that the data handler posts, and the reasons carried by
// WM_DH_ELEMENT_CHANGED in the high word of lParam (the low word is the element).
#pragma once

#include "classlib/core/WinTypes.h"

constexpr UINT WM_DH_ELEMENT_CHANGED = 0x600;   // (1, element | reason << 16)
constexpr UINT WM_DH_STATUS_CHANGED = 0x601;    // (status, COM port number)
constexpr UINT WM_DH_NEW_DATA = 0x602;          // (0, 0) after every live cycle
constexpr UINT WM_DH_LANGUAGE_CHANGED = 0x603;  // (0, 0)
constexpr UINT WM_DH_EVENTLOG_CHANGED = 0x604;  // (event-log state, 0)
// To the main window only.
constexpr UINT WM_DH_UNIT_BUSY = 0x620;           // (0, 0) the unit is busy with a job
constexpr UINT WM_DH_FULL_READ_DONE = 0x621;      // (0, 0) a full read of the unit finished
constexpr UINT WM_DH_UPDATE_PROGRESS = 0x622;     // (progress code, per mille)
constexpr UINT WM_DH_FULL_READ_PROGRESS = 0x623;  // (1, per mille) ... (0, 0)

// Reasons of WM_DH_ELEMENT_CHANGED, already shifted into the high word.
constexpr LONG_PTR kReasonLoaded = 0x10000;
constexpr LONG_PTR kReasonChanged = 0x20000;
constexpr LONG_PTR kReasonTransferred = 0x40000;
constexpr LONG_PTR kReasonFlaggedDone = 0x80000;
