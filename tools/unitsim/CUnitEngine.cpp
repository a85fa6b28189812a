// The simulated unit's protocol engine.
#include "tools/unitsim/CUnitEngine.h"

#include "tools/unitsim/CTranscript.h"
#include "tools/unitsim/CUnitFrame.h"

#include <cstdio>

namespace {

constexpr std::size_t kHeaderBytes = 2;

std::string VersionText(UnitVersion version) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", version.major, version.minor);
    return text;
}

const char* ModeName(UnitMode mode) {
    return mode == UnitMode::Loader ? "loader" : "application";
}

}  // namespace

CUnitEngine::CUnitEngine(CTranscript& transcript, const UnitSettings& settings)
    : m_transcript(transcript), m_settings(settings) {}

std::vector<uint8_t> CUnitEngine::Feed(const uint8_t* data, std::size_t count) {
    if (m_echo) {
        std::vector<uint8_t> echoed(data, data + count);
        m_transcript.AddFrame("ECHO", echoed);
        return echoed;
    }
    std::vector<ParsedInput> inputs;
    m_parser.Feed(data, count, inputs);
    std::vector<uint8_t> replies;
    for (const ParsedInput& input : inputs) {
        Handle(input, replies);
    }
    return replies;
}

void CUnitEngine::OnLineIdle() {
    std::vector<ParsedInput> inputs;
    m_parser.FlushIdle(inputs);
    std::vector<uint8_t> replies;
    for (const ParsedInput& input : inputs) {
        Handle(input, replies);
    }
}

void CUnitEngine::SetEcho(bool on) {
    m_echo = on;
    m_transcript.AddNote(on ? "echo on" : "echo off");
}

void CUnitEngine::SetApplicationVersion(UnitVersion version) {
    m_settings.applicationVersion = version;
    m_transcript.AddNote("application version " + VersionText(version));
}

void CUnitEngine::SetLoaderVersion(UnitVersion version) {
    m_settings.loaderVersion = version;
    m_transcript.AddNote("loader version " + VersionText(version));
}

void CUnitEngine::SetMode(UnitMode mode) {
    m_settings.mode = mode;
    m_transcript.AddNote(std::string("mode ") + ModeName(mode));
}

void CUnitEngine::Handle(const ParsedInput& input, std::vector<uint8_t>& replies) {
    m_transcript.AddFrame("RX", input.bytes);
    if (input.kind == ParsedInput::Kind::Dropped) {
        m_transcript.AddNote("not answered: " + input.reason);
        return;
    }
    if (input.kind == ParsedInput::Kind::BadChecksum) {
        m_transcript.AddNote("not answered: bad checksum");
        return;
    }
    const std::vector<uint8_t> reply = Answer(*input.command, input.bytes);
    if (reply.empty()) {
        return;
    }
    m_transcript.AddFrame("TX", reply);
    replies.insert(replies.end(), reply.begin(), reply.end());
}

// The reply frame to a well-formed request; empty when the unit stays silent.
std::vector<uint8_t> CUnitEngine::Answer(const UnitCommand& command, const std::vector<uint8_t>& frame) {
    const uint8_t senderId = frame[0];
    if (command.code == CUnitCommandTable::kPingCode) {
        return AnswerPing(senderId);
    }
    const bool loaderRequest = senderId == CUnitCommandTable::kLoaderSenderId;
    if (loaderRequest != (m_settings.mode == UnitMode::Loader)) {
        m_transcript.AddNote(std::string("not answered: the unit runs the ") + ModeName(m_settings.mode));
        return {};
    }
    const std::vector<uint8_t> requestData(frame.begin() + kHeaderBytes, frame.end() - 1);
    return CUnitFrame::BuildReply(AnswerId(), command.code,
                                  CUnitCommandTable::ZeroReplyData(command, requestData));
}

// A loader ping received by the application is the request to enter the loader.
std::vector<uint8_t> CUnitEngine::AnswerPing(uint8_t senderId) {
    if (senderId == CUnitCommandTable::kLoaderSenderId && m_settings.mode == UnitMode::Application) {
        SetMode(UnitMode::Loader);
    }
    const UnitVersion version =
        m_settings.mode == UnitMode::Loader ? m_settings.loaderVersion : m_settings.applicationVersion;
    return CUnitFrame::BuildReply(AnswerId(), CUnitCommandTable::kPingCode, {version.minor, version.major});
}

uint8_t CUnitEngine::AnswerId() const {
    return m_settings.mode == UnitMode::Loader ? CUnitCommandTable::kLoaderAnswerId
                                               : CUnitCommandTable::kApplicationAnswerId;
}
