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

CUnitMemory MemoryOfVersion(UnitVersion version) {
    CUnitMemory memory;
    memory.SetFirmwareVersion(version.major, version.minor);
    return memory;
}

std::vector<uint8_t> JoinPieces(const std::vector<ReplyPiece>& pieces) {
    std::vector<uint8_t> bytes;
    for (const ReplyPiece& piece : pieces) {
        bytes.insert(bytes.end(), piece.bytes.begin(), piece.bytes.end());
    }
    return bytes;
}

}  // namespace

CUnitEngine::CUnitEngine(CTranscript& transcript, const UnitSettings& settings)
    : m_transcript(transcript),
      m_settings(settings),
      m_memory(MemoryOfVersion(settings.applicationVersion)),
      m_application(m_memory) {}

std::vector<ReplyPiece> CUnitEngine::FeedPlanned(const uint8_t* data, std::size_t count) {
    if (m_echo) {
        std::vector<uint8_t> echoed(data, data + count);
        m_transcript.AddFrame("ECHO", echoed);
        return {{0, echoed}};
    }
    std::vector<ParsedInput> inputs;
    m_parser.Feed(data, count, inputs);
    std::vector<ReplyPiece> replies;
    for (const ParsedInput& input : inputs) {
        Handle(input, replies);
    }
    return replies;
}

std::vector<uint8_t> CUnitEngine::Feed(const uint8_t* data, std::size_t count) {
    return JoinPieces(FeedPlanned(data, count));
}

void CUnitEngine::OnLineIdle() {
    std::vector<ParsedInput> inputs;
    m_parser.FlushIdle(inputs);
    std::vector<ReplyPiece> replies;
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
    m_memory.SetFirmwareVersion(version.major, version.minor);
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

void CUnitEngine::SetRefused(uint8_t code, bool refused) {
    m_refused.set(code, refused);
}

void CUnitEngine::Handle(const ParsedInput& input, std::vector<ReplyPiece>& replies) {
    m_transcript.AddFrame("RX", input.bytes);
    if (input.kind == ParsedInput::Kind::Dropped) {
        m_transcript.AddNote("not answered: " + input.reason);
        return;
    }
    if (input.kind == ParsedInput::Kind::BadChecksum) {
        m_transcript.AddNote("not answered: bad checksum");
        return;
    }
    const std::vector<ReplyPiece> reply = Answer(*input.command, input.bytes);
    if (reply.empty()) {
        return;
    }
    m_transcript.AddFrame("TX", JoinPieces(reply));
    replies.insert(replies.end(), reply.begin(), reply.end());
}

// The answer to a well-formed request; empty when the unit stays silent. A
// fault that keeps the request from the unit (silence, an error code) leaves
// its state alone; the others spoil the answer after the work is done.
std::vector<ReplyPiece> CUnitEngine::Answer(const UnitCommand& command, const std::vector<uint8_t>& frame) {
    if (m_rebootSilenceLeft > 0) {
        --m_rebootSilenceLeft;
        m_transcript.AddNote("not answered: starting up");
        return {};
    }
    const std::optional<FaultRule> fault = m_faults.Take(command.code);
    if (fault) {
        m_transcript.AddNote(CFaultPlan::Describe(*fault));
    }
    if (fault && fault->kind == FaultKind::Silence) {
        return {};
    }
    const uint8_t senderId = frame[0];
    const bool loaderRequest = senderId == CUnitCommandTable::kLoaderSenderId;
    if (command.code != CUnitCommandTable::kPingCode &&
        loaderRequest != (m_settings.mode == UnitMode::Loader)) {
        m_transcript.AddNote(std::string("not answered: the unit runs the ") + ModeName(m_settings.mode));
        return {};
    }
    if (fault && fault->kind == FaultKind::ErrorCode) {
        return {{0, CFaultPlan::ErrorFrame(AnswerId(), fault->code)}};
    }
    const std::vector<uint8_t> requestData(frame.begin() + kHeaderBytes, frame.end() - 1);
    const std::vector<uint8_t> reply = command.code == CUnitCommandTable::kPingCode
                                           ? AnswerPing(senderId)
                                           : AnswerRequest(command, requestData);
    if (!fault) {
        return {{0, reply}};
    }
    return CFaultPlan::Spoil(*fault, command, reply);
}

std::vector<uint8_t> CUnitEngine::AnswerRequest(const UnitCommand& command,
                                                const std::vector<uint8_t>& data) {
    if (m_settings.mode == UnitMode::Application) {
        if (IsRefused(command.code)) {
            return CFaultPlan::ErrorFrame(AnswerId(), kNotSupported);
        }
        return CUnitFrame::BuildReply(AnswerId(), command.code, m_application.Answer(command, data));
    }
    const LoaderAnswer answer = m_loader.Answer(command, data);
    const std::vector<uint8_t> reply = CUnitFrame::BuildReply(AnswerId(), command.code, answer.data);
    if (answer.leave) {
        LeaveLoader(answer.uploaded);
    }
    return reply;
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

// The unit restarts into the application, with new firmware when a whole image
// came in.
void CUnitEngine::LeaveLoader(bool uploaded) {
    if (uploaded) {
        UnitVersion next = m_settings.applicationVersion;
        next.minor = static_cast<uint8_t>(next.minor + 1);
        SetApplicationVersion(m_versionAfterUpdate.value_or(next));
        m_versionAfterUpdate.reset();
    }
    SetMode(UnitMode::Application);
    m_rebootSilenceLeft = m_rebootSilence;
}

uint8_t CUnitEngine::AnswerId() const {
    return m_settings.mode == UnitMode::Loader ? CUnitCommandTable::kLoaderAnswerId
                                               : CUnitCommandTable::kApplicationAnswerId;
}
