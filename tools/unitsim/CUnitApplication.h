// The simulated unit's application firmware: answers the normal-mode commands
// from its memory and carries out what they ask, so that a write shows in the
// next read. Also plays the unit's own changes: the busy job after
// finalizing, the change of fuel, the live-cycle end pulse, the event-log
// chain, the patch status and the OBD-II text exchange.
#pragma once

#include "tools/unitsim/CUnitCommandTable.h"
#include "tools/unitsim/CUnitLiveData.h"
#include "tools/unitsim/CUnitMemory.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class CUnitApplication {
public:
    // `memory` is not owned and must outlive the application.
    explicit CUnitApplication(CUnitMemory& memory);

    // The reply data to a well-formed request (without id, code and checksum);
    // `data` are the request's data bytes.
    std::vector<uint8_t> Answer(const UnitCommand& command, const std::vector<uint8_t>& data);

    // Job states (byte 3 of the engine status) that the next status reads show
    // one after another before the job state returns to idle (255). Finalizing
    // plays {0, 50, 100, 150, 200, 254}.
    void StartBusyJob(const std::vector<uint8_t>& jobStates);

    // The next status read ends the live cycle (byte 4 = 253), once.
    void PulseLiveCycleEnd() { m_pulseLiveCycleEnd = true; }

    // Off: the live blocks keep the bytes last put into memory.
    void SetLiveMotion(bool on) { m_liveMotion = on; }

    // On: the event-log chain never sends its end record but starts over.
    void SetEndlessEventChain(bool on) { m_endlessEvents = on; }

    // Status polls that show "busy" after a patch begins.
    void SetPatchBusyPolls(int polls) { m_patchBusyPolls = polls; }

    // The status byte in the answers to patch packets (0x10 and above fail).
    void SetPatchWriteStatus(uint8_t status) { m_patchWriteStatus = status; }

    // The count byte of the answers to patch packets (3 is right).
    void SetPatchReplyCount(uint8_t count) { m_patchReplyCount = count; }

    // The text the OBD-II adapter answers to every request, ">" included.
    void SetObdReply(const std::string& text) { m_obdReply = text; }

    // The OBD-II request text last received.
    const std::string& LastObdRequest() const { return m_obdRequest; }

    int SelectedBank() const { return m_bank; }

private:
    using Bytes = std::vector<uint8_t>;

    Bytes AnswerBlocks(const UnitCommand& command, const Bytes& data, bool& handled);
    Bytes AnswerTables(const UnitCommand& command, const Bytes& data, bool& handled);
    Bytes AnswerCommands(const UnitCommand& command, const Bytes& data, bool& handled);
    Bytes AnswerPatch(const UnitCommand& command, const Bytes& data, bool& handled);

    Bytes Prefix(UnitBlock block, std::size_t count) const;
    Bytes ReadEngineStatus();
    void RequestFuel(uint8_t request);
    Bytes NextEventRecord();
    Bytes ReadCellRange(bool alongRow, const Bytes& data) const;
    void WriteCellRange(bool alongRow, const Bytes& data);
    Bytes PatchStatus();
    Bytes AnswerPatchPacket(const Bytes& data);
    Bytes ReadPatchRange(uint8_t range) const;
    Bytes AnswerObdText();

    CUnitMemory& m_memory;  // not owned
    CUnitMemory m_finalized;
    CUnitLiveData m_live;
    bool m_liveMotion = true;
    int m_bank = 0;
    std::deque<uint8_t> m_busyJob;
    bool m_pulseLiveCycleEnd = false;
    int m_fuelChangePolls = 0;
    uint8_t m_fuelTarget = 0;
    std::size_t m_nextEvent = 0;
    bool m_endlessEvents = false;
    int m_patchBusyPolls = 2;
    int m_patchBusyLeft = 0;
    uint8_t m_patchWriteStatus = 0x00;
    uint8_t m_patchReplyCount = 3;
    std::string m_obdRequest;
    std::string m_obdReply = "41 00 BE 1F A8 13\r\r>";
    bool m_obdAnswerPending = false;
    bool m_obdAnswerReady = false;
};
