// Commands that tests send to a running simulated unit through its control
// file, one per line; words are separated by blanks, N is a decimal number and
// HH a hexadecimal byte. Each takes effect for the requests that follow it.
//
// Line and versions:
//   echo on|off                  send every byte back unframed, or answer frames
//   version X.YY                 the application's version (ping and identity)
//   loader-version X.YY          the loader's version
//   version-after-update X.YY    the application's version after a whole upload
//                                (default: the minor number goes up by one)
//   mode normal|loader           the firmware that runs
//   reboot-silence N             requests left unanswered after the loader hands over
//   unplug | replug              close the line / open a new one behind the same port
//   pace N|off                   send answers at N baud (about 1.04 ms a byte at 9600)
// Faults and capabilities:
//   fault KIND [cmd N|any] [after N] [times N|always] [code HH] [delay MS] [keep N]
//       KIND: silence, late, gap, wrong-id, bad-checksum, error, truncate, oversize.
//       Picks requests with command N (default any), lets `after` of them pass,
//       then spoils `times` of them (default 1). `code` is the error code
//       (default E7), `delay` the pause of late and gap (default 300), `keep` the
//       bytes a truncated answer keeps (default half).
//   clear-faults                 forget all fault rules
//   refuse N...  | accept N...   answer these commands with E7 / normally again
// Memory:
//   block NAME HH...             a whole block; NAME: settings, sensor-types,
//                                base-percent, engine-status, live1, live2,
//                                identity, obd, fuel-request, adaptation,
//                                patch-status, patch-version, patch-date, supported-ids
//   byte NAME OFFSET HH          one byte of a block
//   live on|off                  live blocks move with every poll, or keep their bytes
//   table BANK COLUMNS ROWS      new even axes and zero cells for a bank (0..6)
//   cell BANK COLUMN ROW HH      one cell
//   cells BANK HH...             cells row by row from the first (trouble-code logs)
//   clear-events | event HH...   empty the event log / add a record (id, data)
//   endless-events on|off        the event chain never ends
//   action INDEX HH              an event action
// Jobs, patches and the loader:
//   busy N...                    job states the next status reads show, then idle
//   pulse-253                    the next status read ends the live cycle
//   patch-busy N                 status polls that show busy after a patch begins
//   patch-reply-status HH        the status in the answers to patch packets
//   patch-reply-count N          their count byte (3 is right)
//   loader-state N               put the loader into state N
//   loader-room N...             room offered poll by poll while taking blocks
//   loader-erase N               polls that show erasing after an upload starts
//   loader-fail-at BYTES N       go to state N once the image holds BYTES bytes
//   loader-words HHHH HHHH HHHH  the loader's identification words
#pragma once

#include "tools/unitsim/CUnitEngine.h"

#include <string>
#include <vector>

enum class ControlAction {
    EchoOn,
    EchoOff,
    Version,
    LoaderVersion,
    VersionAfterUpdate,
    Mode,
    RebootSilence,
    Unplug,
    Replug,
    Pace,
    Fault,
    ClearFaults,
    Refuse,
    Accept,
    SetBlock,
    SetByte,
    LiveMotion,
    ResizeTable,
    SetCell,
    SetCells,
    ClearEvents,
    AddEvent,
    EndlessEvents,
    EventAction,
    Busy,
    PulseLiveCycleEnd,
    PatchBusy,
    PatchReplyStatus,
    PatchReplyCount,
    LoaderState,
    LoaderRoom,
    LoaderErase,
    LoaderFailAt,
    LoaderWords,
};

struct ControlCommand {
    ControlAction action = ControlAction::EchoOff;
    UnitVersion version{0, 0};              // the version commands
    UnitMode mode = UnitMode::Application;  // Mode
    bool on = false;                        // the on|off commands
    FaultRule fault;                        // Fault
    UnitBlock block = UnitBlock::Settings;  // SetBlock, SetByte
    std::vector<int> numbers;               // decimal arguments in order (Pace: 0 for off)
    std::vector<uint8_t> bytes;             // hexadecimal byte arguments in order
};

class CControlCommand {
public:
    // Parses one line (surrounding blanks ignored). Returns false with a reason
    // in `error` when the line is not a command.
    static bool Parse(const std::string& line, ControlCommand& command, std::string& error);

    // "1.30" -> 1, 30: a major number, a dot and a two- or three-digit minor, each
    // at most 255. Also used for the command-line options.
    static bool ParseVersion(const std::string& text, UnitVersion& version);

    // "normal" or "loader".
    static bool ParseMode(const std::string& text, UnitMode& mode);

    // Applies the commands that concern the engine; false for unplug, replug
    // and pace, which concern the line and are the caller's.
    static bool ApplyToEngine(const ControlCommand& command, CUnitEngine& engine);
};
