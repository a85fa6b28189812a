// Cuts the byte stream that reaches the simulated unit into request frames. The
// request size comes from the command catalogue, so data bytes may take any
// value; what cannot be framed is dropped and reported.
#pragma once

#include "tools/unitsim/CUnitCommandTable.h"

#include <cstdint>
#include <string>
#include <vector>

struct ParsedInput {
    enum class Kind {
        Request,      // a whole frame with a right checksum
        BadChecksum,  // a whole frame with a wrong checksum
        Dropped,      // bytes that form no frame; `reason` says why
    };
    Kind kind;
    std::vector<uint8_t> bytes;
    const UnitCommand* command;  // the frame's command; null for dropped bytes
    std::string reason;
};

class CFrameParser {
public:
    // Appends what the bytes complete to `out`, in order of arrival.
    void Feed(const uint8_t* data, std::size_t count, std::vector<ParsedInput>& out);

    // The line has gone quiet: a frame still pending can never be completed, and
    // the bytes of an unknown command end here. Appends them as dropped.
    void FlushIdle(std::vector<ParsedInput>& out);

    // True while bytes wait for more input or for the line to go quiet.
    bool HasPending() const { return !m_frame.empty() || !m_dropped.empty(); }

private:
    void FeedByte(uint8_t byte, std::vector<ParsedInput>& out);
    void DropFrame(const std::string& reason);
    void FlushDropped(std::vector<ParsedInput>& out);
    bool IsReversedRange() const;
    std::size_t ExpectedFrameBytes() const;

    std::vector<uint8_t> m_frame;
    const UnitCommand* m_command = nullptr;
    std::vector<uint8_t> m_dropped;
    std::string m_droppedReason;
    // Set when the end of the current frame cannot be known (unknown command):
    // everything up to the next quiet moment belongs to it.
    bool m_discardUntilIdle = false;
};
