// The protocol engine of the simulated unit: takes the bytes the configurator
// writes and returns the unit's answers, recording every frame in a transcript.
// It has no clock and no I/O of its own, so tests can drive it in-process.
#pragma once

#include "tools/unitsim/CFrameParser.h"

#include <cstdint>
#include <string>
#include <vector>

class CTranscript;

enum class UnitMode {
    Application,  // answers with 0x55
    Loader,       // the firmware loader; answers with 0x66
};

struct UnitVersion {
    uint8_t major;
    uint8_t minor;
};

struct UnitSettings {
    UnitVersion applicationVersion{1, 30};
    UnitVersion loaderVersion{1, 10};
    UnitMode mode = UnitMode::Application;
};

class CUnitEngine {
public:
    // `transcript` is not owned and must outlive the engine.
    CUnitEngine(CTranscript& transcript, const UnitSettings& settings);

    // Bytes from the line; returns the bytes the unit sends back (possibly none).
    std::vector<uint8_t> Feed(const uint8_t* data, std::size_t count);

    // The line has been quiet long enough that a pending partial frame is dead.
    void OnLineIdle();

    // True while input waits for more bytes or for the line to go quiet.
    bool HasPendingInput() const { return m_parser.HasPending(); }

    // In echo mode every byte is sent back unchanged and nothing is framed: a way
    // to check that all byte values cross the line both ways.
    void SetEcho(bool on);
    void SetApplicationVersion(UnitVersion version);
    void SetLoaderVersion(UnitVersion version);
    void SetMode(UnitMode mode);

    bool IsEchoOn() const { return m_echo; }

    UnitMode GetMode() const { return m_settings.mode; }

private:
    void Handle(const ParsedInput& input, std::vector<uint8_t>& replies);
    std::vector<uint8_t> Answer(const UnitCommand& command, const std::vector<uint8_t>& frame);
    std::vector<uint8_t> AnswerPing(uint8_t senderId);
    uint8_t AnswerId() const;

    CTranscript& m_transcript;  // not owned
    UnitSettings m_settings;
    CFrameParser m_parser;
    bool m_echo = false;
};
