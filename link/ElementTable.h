// The unit's data as the program sees it: 123 numbered elements over 16 KB memory
// images. This is the constant table of where each element lies, what kind it is,
// which command-table rows move it and how its write is put together.
#pragma once

#include <cstddef>

#include "classlib/core/WinTypes.h"

class CDataDescriptor;

constexpr int kElementCount = 123;
constexpr int kImageBytes = 16384;

// Access kinds.
constexpr int kAccessFileOnly = -1;  // kept only in configuration files
constexpr int kAccessLive = 1;       // polled while connected, never saved
constexpr int kAccessSetting = 2;    // saved, compared, pushed to the unit
constexpr int kAccessCommand = 3;    // written only
constexpr int kAccessIdentity = 4;   // taken over from every full read

// Block modes: how a write of the element is put together.
constexpr int kBlockNone = 0;
constexpr int kBlockWhole = 1;    // the image from the block start
constexpr int kBlockIndexed = 2;  // the prefix at the block start, then the image from there
constexpr int kBlockCaller = 3;   // the bytes the caller passes

// Row 0 of the command table is the ping; as an element's row it means "none".
constexpr int kNoRow = 0;

// Elements whose use the program fixes.
constexpr int DATA_STATUS_ENGINE_STATUS = 30;
constexpr int kElementBasePercent = 7;
constexpr int kElementCorrectionMap = 8;
constexpr int kElementReadAllCommand = 41;  // sent before every full read
constexpr int kElementUnitId = 64;          // 16 characters
constexpr std::size_t kUnitIdBytes = 16;
constexpr int kElementHardwareVersion = 65;
constexpr int kElementMeasurements = 75;
constexpr int kElementBuildWord = 106;
constexpr int kElementTables = 107;
constexpr int kElementPumpType = 122;
constexpr int kElementLubrication = 102;

// Command-table rows the data handler names itself.
constexpr int kRowFullRead = 18;  // composite: probe and read of the whole unit
constexpr int kRowWriteBox = 6;   // composite: write a box of the correction map

// One row of the element table.
struct ElementRow {
    int id;
    int offset;  // -1: not in the images
    int length;
    int access;
    int readRow;  // kNoRow: none
    int writeRow;
    int blockStart;  // -1: none
    int blockMode;
    int prefix;  // -1: none; else the one prefix byte of an indexed element
};

// The row of element id (0 to kElementCount - 1).
const ElementRow& GetElementRow(int id);

// Applies the table to kElementCount descriptors indexed by element id.
void ApplyElementTable(CDataDescriptor* descriptors);
