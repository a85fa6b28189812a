// String-table ids of the calibration dialogs' texts (the English texts are in res/calib.rc).
#pragma once

#include "classlib/core/WinTypes.h"

// Status lines.
constexpr UINT IDS_CALIB_START = 15270;
constexpr UINT IDS_CALIB_REV_FAILURE = 15271;
constexpr UINT IDS_CALIB_MEASURING_PETROL = 15272;
constexpr UINT IDS_CALIB_SWITCHING_TO_GAS = 15273;
constexpr UINT IDS_CALIB_MEASURING_GAS = 15274;
constexpr UINT IDS_CALIB_HOLD_REV = 15275;
constexpr UINT IDS_CALIB_WAIT_STABLE_REV = 15276;
constexpr UINT IDS_CALIB_WAIT_PETROL = 15277;
constexpr UINT IDS_CALIB_WAIT_TEMPERATURE = 15278;  // minimum temperature, °C
constexpr UINT IDS_CALIB_HOLD_INJECTION = 15279;
constexpr UINT IDS_CALIB_WAIT_LAMBDA = 15280;
constexpr UINT IDS_CALIB_FINISHED = 15281;  // result percent
constexpr UINT IDS_CALIB_GAS_LOST = 15282;
constexpr UINT IDS_CALIB_MINIMUM_REACHED = 15283;
constexpr UINT IDS_CALIB_MAXIMUM_REACHED = 15284;
constexpr UINT IDS_CALIB_CANCELLED = 15285;
constexpr UINT IDS_CALIB_CONNECTION_LOST = 15286;
constexpr UINT IDS_CALIB_CANCEL_QUESTION = 15287;
constexpr UINT IDS_CALIB_WAIT_OBD = 15288;
constexpr UINT IDS_CALIB_WAIT_CLOSED_LOOP = 15289;
constexpr UINT IDS_CALIB_WAIT_REVS = 15290;
constexpr UINT IDS_CALIB_MEASURING = 15291;
constexpr UINT IDS_CALIB_STOPPED = 15292;
constexpr UINT IDS_CALIB_OBD_LOST = 15293;
constexpr UINT IDS_CALIB_NO_REACTION = 15294;
constexpr UINT IDS_CALIB_WRONG_REACTION = 15295;

// Captions.
constexpr UINT IDS_CALIB_START_CAPTION = 15296;
constexpr UINT IDS_CALIB_STOP_CAPTION = 15297;
constexpr UINT IDS_CALIB_TOTALIZE = 15298;
constexpr UINT IDS_CALIB_ACCEPT = 15299;
constexpr UINT IDS_CALIB_CANCEL = 15300;
constexpr UINT IDS_CALIB_OK = 15301;
constexpr UINT IDS_CALIB_USE_LONG = 15302;
constexpr UINT IDS_CALIB_IGNORE = 15303;

// "Wrong value at ..." of the settings dialog, in the order its fields are checked.
constexpr UINT IDS_CALIB_WRONG_FIRST = 15304;  // 17 texts
// The same of the trim calibration settings dialog.
constexpr UINT IDS_ADAPT_WRONG_FIRST = 15321;  // 9 texts
