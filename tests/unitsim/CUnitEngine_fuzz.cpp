// Feeds arbitrary line input to the simulated unit's engine in arbitrary pieces,
// with quiet moments in between, and checks that every answer it sends is a
// well-formed reply frame recorded in the transcript.
#include "tools/unitsim/CUnitEngine.h"

#include "tools/unitsim/CTranscript.h"
#include "tools/unitsim/CUnitFrame.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ParseHex(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// The bytes sent must be exactly the "TX" frames of the transcript, each with a
// reply id, the reply bit and a right checksum.
void CheckSentFrames(const CTranscript& transcript, const std::vector<uint8_t>& sent) {
    std::vector<uint8_t> recorded;
    for (const std::string& line : transcript.Lines()) {
        if (line.compare(0, 3, "TX ") != 0) {
            continue;
        }
        const std::vector<uint8_t> frame = ParseHex(line.substr(3));
        if (frame.size() < 3 || (frame[0] != 0x55 && frame[0] != 0x66) || (frame[1] & 0x80) == 0 ||
            !CUnitFrame::HasValidChecksum(frame)) {
            std::abort();
        }
        recorded.insert(recorded.end(), frame.begin(), frame.end());
    }
    if (recorded != sent) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    CTranscript transcript;
    UnitSettings settings;
    settings.mode = (data[0] & 1) != 0 ? UnitMode::Loader : UnitMode::Application;
    CUnitEngine engine(transcript, settings);
    std::vector<uint8_t> sent;
    std::size_t offset = 1;
    while (offset < size) {
        // A control byte: its low bits give the next piece's length, bit 7 a quiet
        // moment after the piece.
        const uint8_t control = data[offset++];
        const std::size_t length = std::min<std::size_t>(control & 0x3F, size - offset);
        const std::vector<uint8_t> replies = engine.Feed(data + offset, length);
        sent.insert(sent.end(), replies.begin(), replies.end());
        offset += length;
        if ((control & 0x80) != 0) {
            engine.OnLineIdle();
        }
    }
    engine.OnLineIdle();
    if (engine.HasPendingInput()) {
        std::abort();
    }
    CheckSentFrames(transcript, sent);
    return 0;
}
