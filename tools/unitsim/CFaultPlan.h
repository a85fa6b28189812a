// The faults the simulated unit is told to make: rules that pick requests by
// command (or any request), let a number of them pass, then spoil the answer
// to a given number of them (or to all), and the spoiling itself.
#pragma once

#include "tools/unitsim/CUnitCommandTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class FaultKind {
    Silence,      // no answer; the request is not carried out
    Late,         // the answer after `delayMs`
    Gap,          // `delayMs` between the answer's bytes
    WrongId,      // the other mode's answer id, with a checksum that fits it
    BadChecksum,  // the answer's checksum inverted
    ErrorCode,    // an error frame with `code`; the request is not carried out
    Truncated,    // only the first `keepBytes` bytes of the answer
    Oversize,     // a counted answer claiming 255 items, all of them sent
};

struct FaultRule {
    static constexpr int kAnyCommand = -1;
    static constexpr int kAlways = -1;

    FaultKind kind = FaultKind::Silence;
    int command = kAnyCommand;  // a command code (the ping is 1) or kAnyCommand
    int skip = 0;               // matching requests answered normally first
    int times = 1;              // matching requests spoiled after those; kAlways
    uint8_t code = 0xE7;        // ErrorCode
    int delayMs = 300;          // Late, Gap
    int keepBytes = -1;         // Truncated; -1 keeps half of the answer
};

// Bytes to send after a pause; an answer is one or more pieces.
struct ReplyPiece {
    int delayMs;
    std::vector<uint8_t> bytes;
};

class CFaultPlan {
public:
    void Add(const FaultRule& rule) { m_rules.push_back(rule); }

    void Clear() { m_rules.clear(); }

    bool IsEmpty() const { return m_rules.empty(); }

    // Counts a well-formed request with this command against every rule that
    // matches it and returns the fault to make, if any: the first rule, in the
    // order added, that has let its requests pass and still has times left.
    // Rules with no times left are dropped.
    std::optional<FaultRule> Take(uint8_t command);

    // Spoils a reply frame by the kinds that change what is sent (not Silence
    // or ErrorCode). `command` sizes an oversize count.
    static std::vector<ReplyPiece> Spoil(const FaultRule& rule,
                                         const UnitCommand& command,
                                         const std::vector<uint8_t>& reply);

    // The error frame: answer id, code, checksum.
    static std::vector<uint8_t> ErrorFrame(uint8_t answerId, uint8_t code);

    // "silence", "late", "gap", "wrong-id", "bad-checksum", "error", "truncate", "oversize".
    static const char* KindName(FaultKind kind);
    static bool ParseKind(const std::string& name, FaultKind& kind);

    // One line for the transcript, e.g. "fault late 300 ms".
    static std::string Describe(const FaultRule& rule);

private:
    std::vector<FaultRule> m_rules;
};
