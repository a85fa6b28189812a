// Fixed names of ZFx Manager that other processes meet.
#pragma once

namespace ManagerNames {

// Names the single-instance mutex and the message by which a second start finds the first.
constexpr const char* kSingleInstanceText =
    "ZFZMANAGER_UNIQUE_IDENTIFIER_TEXT-{6F0C2B51-8E3A-4C7D-9B14-2A5E7D3C9F80}";

// WM_COPYDATA's dwData for a path handed over by a second start.
constexpr unsigned long kCopyDataOpenFile = 1;

}  // namespace ManagerNames
