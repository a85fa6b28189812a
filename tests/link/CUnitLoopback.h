// The simulated unit's engine behind a scripted port, in-process: every frame the
// communicator writes is fed to the engine and its answer read back at once. Port 7
// answers; the engine's memory, tables and transcript are the test's to inspect.
#pragma once

#include "tests/link/CScriptedPort.h"
#include "tools/unitsim/CTranscript.h"
#include "tools/unitsim/CUnitEngine.h"

class CUnitLoopback {
public:
    static constexpr int kPort = 7;

    CUnitLoopback() : engine(transcript, UnitSettings{}) {
        port.SetPorts({kPort});
        port.SetResponder([this](int, const Bytes& written) {
            if (!plugged) {
                return Bytes();
            }
            const std::vector<uint8_t> reply = engine.Feed(written.data(), written.size());
            return Bytes(reply.begin(), reply.end());
        });
    }

    // The command codes of the frames written since `first`, pings left out.
    std::vector<BYTE> CodesSince(std::size_t first) const {
        std::vector<BYTE> codes;
        const auto& written = port.Written();
        for (std::size_t i = first; i < written.size(); ++i) {
            if (written[i].bytes.size() >= 2 && written[i].bytes[1] != 1) {
                codes.push_back(written[i].bytes[1]);
            }
        }
        return codes;
    }

    CTranscript transcript;
    CUnitEngine engine;
    CScriptedPort port;
    bool plugged = true;  // false: the cable is pulled and nothing answers
};
