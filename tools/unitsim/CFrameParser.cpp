// Request framing of the simulated unit.
#include "tools/unitsim/CFrameParser.h"

#include "tools/unitsim/CUnitFrame.h"

#include <cstdio>

namespace {

constexpr std::size_t kHeaderBytes = 2;  // sender id, command
constexpr std::size_t kChecksumBytes = 1;
constexpr std::size_t kCountBytes = 1;
constexpr std::size_t kRangeHeaderBytes = 3;  // line, first, last

std::string UnknownCommandReason(uint8_t senderId, uint8_t code) {
    char text[64];
    std::snprintf(text, sizeof text, "unknown command 0x%02X for sender 0x%02X", code, senderId);
    return text;
}

}  // namespace

void CFrameParser::Feed(const uint8_t* data, std::size_t count, std::vector<ParsedInput>& out) {
    for (std::size_t i = 0; i < count; ++i) {
        FeedByte(data[i], out);
    }
}

void CFrameParser::FlushIdle(std::vector<ParsedInput>& out) {
    if (!m_frame.empty()) {
        DropFrame("incomplete frame");
    }
    FlushDropped(out);
    m_discardUntilIdle = false;
}

void CFrameParser::FeedByte(uint8_t byte, std::vector<ParsedInput>& out) {
    if (m_discardUntilIdle) {
        m_dropped.push_back(byte);
        return;
    }
    if (m_frame.empty()) {
        if (!CUnitCommandTable::IsSenderId(byte)) {
            m_droppedReason = "no frame start";
            m_dropped.push_back(byte);
            return;
        }
        FlushDropped(out);
    }
    m_frame.push_back(byte);
    if (m_frame.size() == kHeaderBytes) {
        m_command = CUnitCommandTable::Find(m_frame[0], m_frame[1]);
        if (m_command == nullptr) {
            DropFrame(UnknownCommandReason(m_frame[0], m_frame[1]));
            return;
        }
    }
    if (IsReversedRange()) {
        DropFrame("cell range with last before first");
        return;
    }
    const std::size_t expected = ExpectedFrameBytes();
    if (expected == 0 || m_frame.size() < expected) {
        return;
    }
    const bool valid = CUnitFrame::HasValidChecksum(m_frame);
    out.push_back(
        {valid ? ParsedInput::Kind::Request : ParsedInput::Kind::BadChecksum, m_frame, m_command, {}});
    m_frame.clear();
    m_command = nullptr;
}

// The frame's bytes join the dropped ones; the rest of the frame cannot be told
// from the next one, so input is discarded until the line goes quiet.
void CFrameParser::DropFrame(const std::string& reason) {
    m_droppedReason = reason;
    m_dropped.insert(m_dropped.end(), m_frame.begin(), m_frame.end());
    m_frame.clear();
    m_command = nullptr;
    m_discardUntilIdle = true;
}

void CFrameParser::FlushDropped(std::vector<ParsedInput>& out) {
    if (m_dropped.empty()) {
        return;
    }
    out.push_back({ParsedInput::Kind::Dropped, m_dropped, nullptr, m_droppedReason});
    m_dropped.clear();
    m_droppedReason.clear();
}

bool CFrameParser::IsReversedRange() const {
    if (m_command == nullptr || m_command->requestShape != DataShape::CellRange) {
        return false;
    }
    constexpr std::size_t kLastIndex = kHeaderBytes + 2;
    constexpr std::size_t kFirstIndex = kHeaderBytes + 1;
    return m_frame.size() > kLastIndex && m_frame[kLastIndex] < m_frame[kFirstIndex];
}

// Whole frame size once enough of it has arrived to know it; 0 until then.
std::size_t CFrameParser::ExpectedFrameBytes() const {
    if (m_command == nullptr) {
        return 0;
    }
    const auto itemBytes = static_cast<std::size_t>(m_command->requestLength);
    switch (m_command->requestShape) {
    case DataShape::Fixed:
        return kHeaderBytes + itemBytes + kChecksumBytes;
    case DataShape::Counted:
        if (m_frame.size() <= kHeaderBytes) {
            return 0;
        }
        return kHeaderBytes + kCountBytes + m_frame[kHeaderBytes] * itemBytes + kChecksumBytes;
    case DataShape::CellRange:
        if (m_frame.size() < kHeaderBytes + kRangeHeaderBytes) {
            return 0;
        }
        return kHeaderBytes + kRangeHeaderBytes +
               (static_cast<std::size_t>(m_frame[kHeaderBytes + 2] - m_frame[kHeaderBytes + 1]) + 1) *
                   itemBytes +
               kChecksumBytes;
    }
    return 0;
}
