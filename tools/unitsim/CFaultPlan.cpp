// Fault rules of the simulated unit and how they spoil answers.
#include "tools/unitsim/CFaultPlan.h"

#include "tools/unitsim/CUnitFrame.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr uint8_t kOversizeCount = 0xFF;

struct KindEntry {
    FaultKind kind;
    const char* name;
};

constexpr std::array<KindEntry, 8> kKindNames = {{
    {FaultKind::Silence, "silence"},
    {FaultKind::Late, "late"},
    {FaultKind::Gap, "gap"},
    {FaultKind::WrongId, "wrong-id"},
    {FaultKind::BadChecksum, "bad-checksum"},
    {FaultKind::ErrorCode, "error"},
    {FaultKind::Truncated, "truncate"},
    {FaultKind::Oversize, "oversize"},
}};

bool Matches(const FaultRule& rule, uint8_t command) {
    return rule.command == FaultRule::kAnyCommand || rule.command == command;
}

std::vector<uint8_t> WithChecksum(std::vector<uint8_t> frame) {
    frame.back() = CUnitFrame::Checksum(frame.data(), frame.size() - 1);
    return frame;
}

std::vector<uint8_t> OversizeFrame(const UnitCommand& command, const std::vector<uint8_t>& reply) {
    std::vector<uint8_t> frame = {reply[0], reply[1], kOversizeCount};
    frame.resize(frame.size() + kOversizeCount * static_cast<std::size_t>(command.replyLength), 0);
    frame.push_back(0);
    return WithChecksum(frame);
}

std::vector<uint8_t> SpoiledBytes(const FaultRule& rule,
                                  const UnitCommand& command,
                                  const std::vector<uint8_t>& reply) {
    std::vector<uint8_t> bytes = reply;
    switch (rule.kind) {
    case FaultKind::WrongId:
        bytes[0] = bytes[0] == CUnitCommandTable::kApplicationAnswerId
                       ? CUnitCommandTable::kLoaderAnswerId
                       : CUnitCommandTable::kApplicationAnswerId;
        return WithChecksum(bytes);
    case FaultKind::BadChecksum:
        bytes.back() = static_cast<uint8_t>(~bytes.back());
        return bytes;
    case FaultKind::Truncated: {
        const std::size_t keep =
            rule.keepBytes < 0 ? bytes.size() / 2 : static_cast<std::size_t>(rule.keepBytes);
        bytes.resize(std::min(keep, bytes.size() - 1));
        return bytes;
    }
    case FaultKind::Oversize:
        return command.replyShape == DataShape::Counted ? OversizeFrame(command, reply) : bytes;
    default:
        return bytes;
    }
}

}  // namespace

std::optional<FaultRule> CFaultPlan::Take(uint8_t command) {
    std::optional<FaultRule> chosen;
    for (FaultRule& rule : m_rules) {
        if (!Matches(rule, command)) {
            continue;
        }
        if (rule.skip > 0) {
            --rule.skip;
            continue;
        }
        if (chosen || rule.times == 0) {
            continue;
        }
        chosen = rule;
        if (rule.times != FaultRule::kAlways) {
            --rule.times;
        }
    }
    m_rules.erase(
        std::remove_if(m_rules.begin(), m_rules.end(), [](const FaultRule& rule) { return rule.times == 0; }),
        m_rules.end());
    return chosen;
}

std::vector<ReplyPiece> CFaultPlan::Spoil(const FaultRule& rule,
                                          const UnitCommand& command,
                                          const std::vector<uint8_t>& reply) {
    if (reply.empty()) {
        return {};
    }
    if (rule.kind == FaultKind::Late) {
        return {{rule.delayMs, reply}};
    }
    if (rule.kind == FaultKind::Gap) {
        std::vector<ReplyPiece> pieces;
        for (std::size_t i = 0; i < reply.size(); ++i) {
            pieces.push_back({i == 0 ? 0 : rule.delayMs, {reply[i]}});
        }
        return pieces;
    }
    return {{0, SpoiledBytes(rule, command, reply)}};
}

std::vector<uint8_t> CFaultPlan::ErrorFrame(uint8_t answerId, uint8_t code) {
    const std::vector<uint8_t> frame = {answerId, code, 0};
    return WithChecksum(frame);
}

const char* CFaultPlan::KindName(FaultKind kind) {
    for (const KindEntry& entry : kKindNames) {
        if (entry.kind == kind) {
            return entry.name;
        }
    }
    return "?";
}

bool CFaultPlan::ParseKind(const std::string& name, FaultKind& kind) {
    for (const KindEntry& entry : kKindNames) {
        if (name == entry.name) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

std::string CFaultPlan::Describe(const FaultRule& rule) {
    char text[64];
    switch (rule.kind) {
    case FaultKind::Late:
    case FaultKind::Gap:
        std::snprintf(text, sizeof text, "fault %s %d ms", KindName(rule.kind), rule.delayMs);
        break;
    case FaultKind::ErrorCode:
        std::snprintf(text, sizeof text, "fault error %02X", rule.code);
        break;
    default:
        std::snprintf(text, sizeof text, "fault %s", KindName(rule.kind));
        break;
    }
    return text;
}
