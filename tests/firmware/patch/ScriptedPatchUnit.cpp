#include "tests/firmware/patch/ScriptedPatchUnit.h"

#include <cstdio>

bool ScriptedPatchUnit::Take(const std::string& entry) {
    if (requestsTaken == 0) {
        log.push_back("!" + entry);
        return false;
    }
    if (requestsTaken > 0) {
        --requestsTaken;
    }
    log.push_back(entry);
    return true;
}

bool ScriptedPatchUnit::RequestRead(int element) {
    if (!Take("R" + std::to_string(element))) {
        return false;
    }
    m_pending = element;
    return true;
}

bool ScriptedPatchUnit::RequestWriteFrom(int element, const BYTE* packet, BYTE* answer) {
    const std::vector<BYTE> bytes(packet, packet + packet[0] + 1);
    std::string text = "P";
    for (BYTE b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof(hex), " %02X", b);
        text += hex;
    }
    if (!Take(text)) {
        return false;
    }
    packets.push_back(bytes);
    m_pending = element;
    m_answer = answer;
    return true;
}

BYTE ScriptedPatchUnit::ReadStatusByte(int) {
    return m_lastStatus;
}

void ScriptedPatchUnit::Run(PatchTransferMachine& machine, int limit) {
    while (m_pending != 0 && limit-- > 0) {
        const int element = m_pending;
        m_pending = 0;
        if (element == PatchTransferMachine::kElementPacket) {
            Answer answer = {3, 0};
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
            m_answer[0] = answer.count;
            m_answer[1] = 0xE1;
            m_answer[2] = 0xE2;
            m_answer[3] = answer.status;
        } else {
            m_lastStatus = 0;
            if (!statusBytes.empty()) {
                m_lastStatus = statusBytes.front();
                statusBytes.pop_front();
            }
        }
        machine.OnTransferDone(element, true);
    }
}
