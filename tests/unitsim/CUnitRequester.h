// Talks to an in-process simulated unit as the configurator would: builds
// request frames, sends them and unpacks the answers.
#pragma once

#include "tools/unitsim/CTranscript.h"
#include "tools/unitsim/CUnitEngine.h"

#include <cstdint>
#include <vector>

class CUnitRequester {
public:
    using Bytes = std::vector<uint8_t>;

    explicit CUnitRequester(const UnitSettings& settings = UnitSettings()) : engine(transcript, settings) {}

    // Sender id, code, data, checksum.
    static Bytes Frame(uint8_t senderId, uint8_t code, const Bytes& data);

    // The whole answer to a request of the application (or, with `loader`, of
    // the loader's) sender id.
    Bytes Exchange(uint8_t code, const Bytes& data = {}, bool loader = false);

    // The answer's data; records a test failure and returns nothing when the
    // answer is not a well-formed reply to `code`.
    Bytes Ask(uint8_t code, const Bytes& data = {}, bool loader = false);

    // Asks and checks that the answer carries no data.
    void Tell(uint8_t code, const Bytes& data = {}, bool loader = false);

    CTranscript transcript;
    CUnitEngine engine;
};
