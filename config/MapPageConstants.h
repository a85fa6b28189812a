// The elements, texts, commands, colours and limits that the files of the map page share.
#pragma once

#include "config/MapPageIds.h"

#include <windows.h>

namespace MapPageConstants {


// Elements.
constexpr int kAngleElement = 6;
constexpr int kBaseElement = 7;
constexpr int kMapElement = 8;
constexpr int kStatusElement = 30;
constexpr int kMinimumInjectionElement = 50;
constexpr int kExtendedElement = 79;
constexpr int kObdElement = 95;
constexpr int kObdOptionsOffset = 12;
constexpr int kObdLongTrimOffBit = 0x02;

// Texts of the string table.
constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15037;      // "Element out of range: %d."
constexpr UINT kOffsetText = IDS_MAP_OFFSET;
constexpr UINT kPointCalibrationText = IDS_MAP_POINT_CALIBRATION;
constexpr UINT kGasCorrectionText = IDS_MAP_GAS_CORRECTION;
constexpr UINT kByInjectionText = IDS_MAP_BY_INJECTION;
constexpr UINT kByTrimText = IDS_MAP_BY_TRIM;
constexpr UINT kAutomaticText = IDS_MAP_AUTOMATIC;
constexpr UINT kDeleteAllQuestionText = IDS_MAP_DELETE_ALL_QUESTION;
constexpr UINT kSummaryText = IDS_MAP_SUMMARY;

// Accelerator commands.
constexpr UINT kUndoCommand = 32771;
constexpr UINT kRedoCommand = 32772;
constexpr UINT kAdaptSettingsCommand = 32787;
constexpr UINT kStepUpCommand = 32789;
constexpr UINT kStepDownCommand = 32790;
constexpr UINT kF3 = 0x72;
constexpr UINT kF4 = 0x73;
constexpr UINT kNumpadMinus = 0x6D;

// Colours (0x00BBGGRR).
constexpr COLORREF kCellBack = 0xFFE0E0;
constexpr COLORREF kEvenRowBack = 0xEFD0D0;
constexpr COLORREF kHeaderBack = 0xD0D0D0;
constexpr COLORREF kCornerBack = 0xF0F0F0;
constexpr UINT kCellFormat = 37;  // centred, vertically centred, single line

constexpr int kMeasurementLimit = 99;
constexpr int kAngleSteps = 72;  // 0 to 720 degrees in steps of 10

}  // namespace MapPageConstants
