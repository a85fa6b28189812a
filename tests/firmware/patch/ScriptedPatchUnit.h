// A unit behind the patch transfer's seam for tests: it records every request, and answers
// the outstanding one from a script (status bytes for the reads, answers for the packets),
// ready and good when the script has nothing more.
#pragma once

#include "firmware/IPatchTransferLink.h"
#include "firmware/PatchTransferMachine.h"

#include <deque>
#include <string>
#include <vector>

class ScriptedPatchUnit : public IPatchTransferLink {
public:
    struct Answer {
        BYTE count;
        BYTE status;
    };

    bool RequestRead(int element) override;
    bool RequestWriteFrom(int element, const BYTE* packet, BYTE* answer) override;
    BYTE ReadStatusByte(int element) override;

    // Answers outstanding requests until none is left (or `limit` answers were given).
    void Run(PatchTransferMachine& machine, int limit = 10000);

    // "R114", "R113", "R115" for reads, "P" and the packet in hexadecimal for packets.
    std::vector<std::string> log;
    std::vector<std::vector<BYTE>> packets;
    std::deque<BYTE> statusBytes;  // for reads of 113, 114, 115
    std::deque<Answer> answers;    // for packets
    // Requests taken before the link refuses every further one (logged with a "!" in
    // front); negative: no limit.
    int requestsTaken = -1;

private:
    // False (and the entry marked) when the link refuses the request.
    bool Take(const std::string& entry);

    int m_pending = 0;
    BYTE* m_answer = nullptr;
    BYTE m_lastStatus = 0;
};
