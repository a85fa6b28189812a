// The protocol engine of the simulated unit: takes the bytes the configurator
// writes and returns the unit's answers, recording every frame in a transcript.
// Behind it sit the unit's memory, its application and loader firmware, the
// commands it refuses and the faults it is told to make. It has no clock and no
// I/O of its own, so tests can drive it in-process; delays come back as part
// of the answers for the caller to keep.
#pragma once

#include "tools/unitsim/CFaultPlan.h"
#include "tools/unitsim/CFrameParser.h"
#include "tools/unitsim/CUnitApplication.h"
#include "tools/unitsim/CUnitLoader.h"
#include "tools/unitsim/CUnitMemory.h"

#include <bitset>
#include <cstdint>
#include <optional>
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
    static constexpr uint8_t kNotSupported = 0xE7;

    // `transcript` is not owned and must outlive the engine.
    CUnitEngine(CTranscript& transcript, const UnitSettings& settings);

    // Bytes from the line; returns the answers (possibly none) with the pauses
    // that faults put before their pieces.
    std::vector<ReplyPiece> FeedPlanned(const uint8_t* data, std::size_t count);

    // As FeedPlanned, without the pauses.
    std::vector<uint8_t> Feed(const uint8_t* data, std::size_t count);

    // The line has been quiet long enough that a pending partial frame is dead.
    void OnLineIdle();

    // True while input waits for more bytes or for the line to go quiet.
    bool HasPendingInput() const { return m_parser.HasPending(); }

    // In echo mode every byte is sent back unchanged and nothing is framed: a way
    // to check that all byte values cross the line both ways.
    void SetEcho(bool on);

    // Also the firmware version in the identity.
    void SetApplicationVersion(UnitVersion version);
    void SetLoaderVersion(UnitVersion version);
    void SetMode(UnitMode mode);

    // The application version after the loader hands over following a whole
    // upload; without one the minor number goes up by one.
    void SetVersionAfterUpdate(UnitVersion version) { m_versionAfterUpdate = version; }

    // Requests that go unanswered after the loader hands over, while the unit starts.
    void SetRebootSilence(int requests) { m_rebootSilence = requests; }

    // A refused application command is answered with the error code 0xE7
    // ("not supported") and not carried out.
    void SetRefused(uint8_t code, bool refused);

    bool IsRefused(uint8_t code) const { return m_refused.test(code); }

    void AddFault(const FaultRule& rule) { m_faults.Add(rule); }

    void ClearFaults() { m_faults.Clear(); }

    bool IsEchoOn() const { return m_echo; }

    UnitMode GetMode() const { return m_settings.mode; }

    UnitVersion GetApplicationVersion() const { return m_settings.applicationVersion; }

    CUnitMemory& Memory() { return m_memory; }

    CUnitApplication& Application() { return m_application; }

    CUnitLoader& Loader() { return m_loader; }

private:
    void Handle(const ParsedInput& input, std::vector<ReplyPiece>& replies);
    std::vector<ReplyPiece> Answer(const UnitCommand& command, const std::vector<uint8_t>& frame);
    std::vector<uint8_t> AnswerRequest(const UnitCommand& command, const std::vector<uint8_t>& data);
    std::vector<uint8_t> AnswerPing(uint8_t senderId);
    void LeaveLoader(bool uploaded);
    uint8_t AnswerId() const;

    CTranscript& m_transcript;  // not owned
    UnitSettings m_settings;
    CFrameParser m_parser;
    CUnitMemory m_memory;
    CUnitApplication m_application;
    CUnitLoader m_loader;
    CFaultPlan m_faults;
    std::bitset<256> m_refused;
    std::optional<UnitVersion> m_versionAfterUpdate;
    int m_rebootSilence = 0;
    int m_rebootSilenceLeft = 0;
    bool m_echo = false;
};
