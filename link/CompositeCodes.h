// The composite procedures' codes, the plain commands, rows and elements they use, and
// the limits of their replies; shared by the procedures' files and the worker that runs them.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CCommandTable.h"
#include "link/ExchangeResult.h"

#include <cstddef>

namespace CompositeCodes {

constexpr int kLogRefused = 2000;

// Composite codes.
constexpr WORD kReadTable = 0x8028;
constexpr WORD kReadBox = 0x8029;
constexpr WORD kWriteBox = 0x802A;
constexpr WORD kReadBankAxes = 0x8001;
constexpr WORD kReadBankRow = 0x8002;
constexpr WORD kClearRecordLogs = 0x8003;
constexpr WORD kReadRecordChain = 0x8051;
constexpr WORD kFullRead = 0x8030;

// Plain commands of the table banks, the records and the OBD forwarder.
constexpr BYTE kSelectBank = 19;
constexpr BYTE kFirstAxis = 40;
constexpr BYTE kSecondAxis = 41;
constexpr BYTE kRowPart = 42;
constexpr BYTE kColumnPart = 43;
constexpr BYTE kOneCell = 44;
constexpr BYTE kWriteRowPart = 64;
constexpr BYTE kWriteColumnPart = 65;
constexpr BYTE kWriteOneCell = 66;
constexpr BYTE kEndTableWrite = 70;
constexpr BYTE kNextRecord = 81;
constexpr BYTE kLongLiveBlock = 52;
constexpr BYTE kLongObdBlock = 47;
constexpr BYTE kLongIdentity = 2;
constexpr BYTE kObdStatus = 90;
constexpr BYTE kObdForward = 94;

constexpr int kCountedBytes = -1;
constexpr int kCountedWords = -2;

// Command-table rows that the probe reads or rewrites.
constexpr int kRowBasePercent = 11;
constexpr int kRowSettings = 16;
constexpr int kRowSensorTypes = 21;
constexpr int kRowLiveBlock2 = 30;
constexpr int kRowIdentity = 31;
constexpr int kRowObdBlock = 35;
constexpr int kRowPhase = 40;
constexpr int kRowObdStatus = 42;

constexpr CommandRow kLiveBlock2Long{kLongLiveBlock, 0, 26};
constexpr CommandRow kLiveBlock2Short{51, 0, 22};
constexpr CommandRow kObdBlockLong{kLongObdBlock, 0, 16};
constexpr CommandRow kObdBlockShort{48, 0, 10};
constexpr CommandRow kIdentityLong{kLongIdentity, 0, 60};
constexpr CommandRow kIdentityShort{32, 0, 44};

// Elements that the full read fills.
constexpr int kElementSettings = 44;
constexpr int kElementSensorTypes = 35;
constexpr int kElementLiveBlock2 = 31;
constexpr int kElementHasTables = 79;
constexpr int kElementObdBlock = 95;
constexpr int kElementObdSupport = 110;
constexpr int kElementPatchVersion = 111;
constexpr int kElementPatchDate = 112;
constexpr int kElementStoredLog = 119;
constexpr int kElementPendingLog = 120;

// OBD reading: ranges of 32 ids, at most eight, the progress counter rising by 960.
constexpr int kObdRangeIds = 32;
constexpr int kObdCounterStep = 960;
constexpr int kObdCounterEnd = 7680;
constexpr BYTE kObdSupportReplyCount = 6;
constexpr BYTE kObdBusy = 3;

// Record logs: the start position that marks an empty log, the end record.
constexpr int kLogEmpty = 1;
constexpr int kLogFirstRecord = 2;
constexpr BYTE kLogEndRecord = 255;

constexpr std::size_t kScratchBytes = 256;

inline bool IsUnitRefusal(int result) {
    return result == kResultUnitRefused;
}

}  // namespace CompositeCodes
