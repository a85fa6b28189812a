// Parsing and applying the simulated unit's control commands.
#include "tools/unitsim/CControlCommand.h"

#include <array>
#include <cctype>
#include <sstream>

namespace {

using Words = std::vector<std::string>;

constexpr unsigned kMaxByteValue = 255;
constexpr int kMaxCount = 1000000;
constexpr int kMaxImageBytes = 0x100000;
constexpr int kMaxBaud = 1000000;

// How the words after the verb are read.
enum class ArgKind {
    None,
    OnOff,
    Version,
    Mode,
    Fault,
    Pace,
    Numbers,  // decimal numbers, then hexadecimal bytes
    Block,    // a block name, then as Numbers
    Words,    // hexadecimal 16-bit words
};

struct VerbEntry {
    const char* verb;
    ControlAction action;
    ArgKind kind;
    int minNumbers;
    int maxNumbers;
    int maxNumber;
    int minBytes;
    int maxBytes;
};

constexpr std::array<VerbEntry, 33> kVerbs = {{
    {"echo", ControlAction::EchoOn, ArgKind::OnOff, 0, 0, 0, 0, 0},
    {"version", ControlAction::Version, ArgKind::Version, 0, 0, 0, 0, 0},
    {"loader-version", ControlAction::LoaderVersion, ArgKind::Version, 0, 0, 0, 0, 0},
    {"version-after-update", ControlAction::VersionAfterUpdate, ArgKind::Version, 0, 0, 0, 0, 0},
    {"mode", ControlAction::Mode, ArgKind::Mode, 0, 0, 0, 0, 0},
    {"reboot-silence", ControlAction::RebootSilence, ArgKind::Numbers, 1, 1, kMaxCount, 0, 0},
    {"unplug", ControlAction::Unplug, ArgKind::None, 0, 0, 0, 0, 0},
    {"replug", ControlAction::Replug, ArgKind::None, 0, 0, 0, 0, 0},
    {"pace", ControlAction::Pace, ArgKind::Pace, 0, 0, 0, 0, 0},
    {"fault", ControlAction::Fault, ArgKind::Fault, 0, 0, 0, 0, 0},
    {"clear-faults", ControlAction::ClearFaults, ArgKind::None, 0, 0, 0, 0, 0},
    {"refuse", ControlAction::Refuse, ArgKind::Numbers, 1, 256, 255, 0, 0},
    {"accept", ControlAction::Accept, ArgKind::Numbers, 1, 256, 255, 0, 0},
    {"block", ControlAction::SetBlock, ArgKind::Block, 0, 0, 0, 1, 255},
    {"byte", ControlAction::SetByte, ArgKind::Block, 1, 1, 255, 1, 1},
    {"live", ControlAction::LiveMotion, ArgKind::OnOff, 0, 0, 0, 0, 0},
    {"table", ControlAction::ResizeTable, ArgKind::Numbers, 3, 3, 255, 0, 0},
    {"cell", ControlAction::SetCell, ArgKind::Numbers, 3, 3, 255, 1, 1},
    {"cells", ControlAction::SetCells, ArgKind::Numbers, 1, 1, 255, 1, 4096},
    {"clear-events", ControlAction::ClearEvents, ArgKind::None, 0, 0, 0, 0, 0},
    {"event", ControlAction::AddEvent, ArgKind::Numbers, 0, 0, 0, 1, 255},
    {"endless-events", ControlAction::EndlessEvents, ArgKind::OnOff, 0, 0, 0, 0, 0},
    {"action", ControlAction::EventAction, ArgKind::Numbers, 1, 1, 255, 1, 1},
    {"busy", ControlAction::Busy, ArgKind::Numbers, 1, 64, 255, 0, 0},
    {"pulse-253", ControlAction::PulseLiveCycleEnd, ArgKind::None, 0, 0, 0, 0, 0},
    {"patch-busy", ControlAction::PatchBusy, ArgKind::Numbers, 1, 1, kMaxCount, 0, 0},
    {"patch-reply-status", ControlAction::PatchReplyStatus, ArgKind::Numbers, 0, 0, 0, 1, 1},
    {"patch-reply-count", ControlAction::PatchReplyCount, ArgKind::Numbers, 1, 1, 255, 0, 0},
    {"loader-state", ControlAction::LoaderState, ArgKind::Numbers, 1, 1, 255, 0, 0},
    {"loader-room", ControlAction::LoaderRoom, ArgKind::Numbers, 1, 64, 255, 0, 0},
    {"loader-erase", ControlAction::LoaderErase, ArgKind::Numbers, 1, 1, kMaxCount, 0, 0},
    {"loader-fail-at", ControlAction::LoaderFailAt, ArgKind::Numbers, 2, 2, kMaxImageBytes, 0, 0},
    {"loader-words", ControlAction::LoaderWords, ArgKind::Words, 0, 0, 0, 0, 0},
}};

struct BlockName {
    const char* name;
    UnitBlock block;
};

constexpr std::array<BlockName, CUnitMemory::kBlockCount> kBlockNames = {{
    {"settings", UnitBlock::Settings},
    {"sensor-types", UnitBlock::SensorTypes},
    {"base-percent", UnitBlock::BasePercent},
    {"engine-status", UnitBlock::EngineStatus},
    {"live1", UnitBlock::LiveBlock1},
    {"live2", UnitBlock::LiveBlock2},
    {"identity", UnitBlock::Identity},
    {"obd", UnitBlock::ObdBlock},
    {"fuel-request", UnitBlock::FuelRequest},
    {"adaptation", UnitBlock::Adaptation},
    {"patch-status", UnitBlock::PatchStatus},
    {"patch-version", UnitBlock::PatchVersion},
    {"patch-date", UnitBlock::PatchDate},
    {"supported-ids", UnitBlock::SupportedIds},
}};

// A run of minDigits..maxDigits decimal digits with a value of at most `max`.
bool ParseDecimal(const std::string& text,
                  std::size_t minDigits,
                  std::size_t maxDigits,
                  long max,
                  long& value) {
    if (text.size() < minDigits || text.size() > maxDigits) {
        return false;
    }
    long number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        number = number * 10 + (c - '0');
    }
    if (number > max) {
        return false;
    }
    value = number;
    return true;
}

bool ParseNumber(const std::string& text, int max, int& value) {
    long number = 0;
    if (!ParseDecimal(text, 1, 7, max, number)) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// One to `maxDigits` hexadecimal digits.
bool ParseHex(const std::string& text, std::size_t maxDigits, unsigned& value) {
    if (text.empty() || text.size() > maxDigits) {
        return false;
    }
    unsigned number = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        number =
            number * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                    ? c - '0'
                                                    : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    value = number;
    return true;
}

bool ParseHexByte(const std::string& text, uint8_t& value) {
    unsigned number = 0;
    if (!ParseHex(text, 2, number)) {
        return false;
    }
    value = static_cast<uint8_t>(number);
    return true;
}

bool ParseOnOff(const Words& args, bool& on) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) {
        return false;
    }
    on = args[0] == "on";
    return true;
}

bool ParseNumbers(const VerbEntry& entry, const Words& args, ControlCommand& command) {
    const auto total = static_cast<int>(args.size());
    if (total < entry.minNumbers + entry.minBytes || total > entry.maxNumbers + entry.maxBytes) {
        return false;
    }
    // Decimal numbers come first and fill their minimum before any byte.
    const int numbers = entry.maxBytes == 0 ? total : entry.minNumbers;
    for (int i = 0; i < total; ++i) {
        const std::string& word = args[static_cast<std::size_t>(i)];
        if (i < numbers) {
            int value = 0;
            if (!ParseNumber(word, entry.maxNumber, value)) {
                return false;
            }
            command.numbers.push_back(value);
            continue;
        }
        uint8_t byte = 0;
        if (!ParseHexByte(word, byte)) {
            return false;
        }
        command.bytes.push_back(byte);
    }
    return true;
}

bool ParseBlock(const VerbEntry& entry, const Words& args, ControlCommand& command) {
    if (args.empty()) {
        return false;
    }
    bool known = false;
    for (const BlockName& name : kBlockNames) {
        if (args[0] == name.name) {
            command.block = name.block;
            known = true;
        }
    }
    if (!known || !ParseNumbers(entry, Words(args.begin() + 1, args.end()), command)) {
        return false;
    }
    const std::size_t size = CUnitMemory::BlockSize(command.block);
    return command.action == ControlAction::SetBlock ? command.bytes.size() == size
                                                     : static_cast<std::size_t>(command.numbers[0]) < size;
}

bool ParseFaultOption(const std::string& key, const std::string& value, FaultRule& rule) {
    if (key == "cmd" && value == "any") {
        rule.command = FaultRule::kAnyCommand;
        return true;
    }
    if (key == "times" && value == "always") {
        rule.times = FaultRule::kAlways;
        return true;
    }
    if (key == "code") {
        return ParseHexByte(value, rule.code);
    }
    int* target = key == "cmd"     ? &rule.command
                  : key == "after" ? &rule.skip
                  : key == "times" ? &rule.times
                  : key == "delay" ? &rule.delayMs
                  : key == "keep"  ? &rule.keepBytes
                                   : nullptr;
    return target != nullptr && ParseNumber(value, key == "cmd" ? 255 : kMaxCount, *target);
}

bool ParseFault(const Words& args, FaultRule& rule) {
    if (args.empty() || args.size() % 2 != 1 || !CFaultPlan::ParseKind(args[0], rule.kind)) {
        return false;
    }
    for (std::size_t i = 1; i < args.size(); i += 2) {
        if (!ParseFaultOption(args[i], args[i + 1], rule)) {
            return false;
        }
    }
    return true;
}

bool ParseWords(const Words& args, ControlCommand& command) {
    if (args.size() != 3) {
        return false;
    }
    for (const std::string& word : args) {
        unsigned value = 0;
        if (!ParseHex(word, 4, value)) {
            return false;
        }
        command.numbers.push_back(static_cast<int>(value));
    }
    return true;
}

bool ParseArguments(const VerbEntry& entry, const Words& args, ControlCommand& command) {
    switch (entry.kind) {
    case ArgKind::None:
        return args.empty();
    case ArgKind::OnOff:
        return ParseOnOff(args, command.on);
    case ArgKind::Version:
        return args.size() == 1 && CControlCommand::ParseVersion(args[0], command.version);
    case ArgKind::Mode:
        return args.size() == 1 && CControlCommand::ParseMode(args[0], command.mode);
    case ArgKind::Fault:
        return ParseFault(args, command.fault);
    case ArgKind::Pace:
        command.numbers = {0};
        return args.size() == 1 && (args[0] == "off" || ParseNumber(args[0], kMaxBaud, command.numbers[0]));
    case ArgKind::Numbers:
        return ParseNumbers(entry, args, command);
    case ArgKind::Block:
        return ParseBlock(entry, args, command);
    case ArgKind::Words:
        return ParseWords(args, command);
    }
    return false;
}

// Checks that a table bank or loader state given as a number is one there is.
bool HasValidTargets(const ControlCommand& command) {
    switch (command.action) {
    case ControlAction::ResizeTable:
    case ControlAction::SetCell:
    case ControlAction::SetCells:
        return command.numbers[0] < CUnitMemory::kBankCount;
    case ControlAction::LoaderFailAt:
        return command.numbers[1] <= static_cast<int>(kMaxByteValue);
    default:
        return true;
    }
}

}  // namespace

bool CControlCommand::ParseVersion(const std::string& text, UnitVersion& version) {
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos) {
        return false;
    }
    long major = 0;
    long minor = 0;
    if (!ParseDecimal(text.substr(0, dot), 1, 3, kMaxByteValue, major) ||
        !ParseDecimal(text.substr(dot + 1), 2, 3, kMaxByteValue, minor)) {
        return false;
    }
    version = {static_cast<uint8_t>(major), static_cast<uint8_t>(minor)};
    return true;
}

bool CControlCommand::ParseMode(const std::string& text, UnitMode& mode) {
    if (text == "normal") {
        mode = UnitMode::Application;
        return true;
    }
    if (text == "loader") {
        mode = UnitMode::Loader;
        return true;
    }
    return false;
}

bool CControlCommand::Parse(const std::string& line, ControlCommand& command, std::string& error) {
    std::istringstream stream(line);
    Words words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    const VerbEntry* entry = nullptr;
    for (const VerbEntry& candidate : kVerbs) {
        if (!words.empty() && words[0] == candidate.verb) {
            entry = &candidate;
        }
    }
    if (entry == nullptr) {
        error = "unknown command";
        return false;
    }
    ControlCommand parsed;
    parsed.action = entry->action;
    if (!ParseArguments(*entry, Words(words.begin() + 1, words.end()), parsed) || !HasValidTargets(parsed)) {
        error = "bad arguments for " + words[0];
        return false;
    }
    if (parsed.action == ControlAction::EchoOn && !parsed.on) {
        parsed.action = ControlAction::EchoOff;
    }
    command = parsed;
    return true;
}

namespace {

bool ApplyVersionCommand(const ControlCommand& command, CUnitEngine& engine) {
    switch (command.action) {
    case ControlAction::EchoOn:
    case ControlAction::EchoOff:
        engine.SetEcho(command.action == ControlAction::EchoOn);
        return true;
    case ControlAction::Version:
        engine.SetApplicationVersion(command.version);
        return true;
    case ControlAction::LoaderVersion:
        engine.SetLoaderVersion(command.version);
        return true;
    case ControlAction::VersionAfterUpdate:
        engine.SetVersionAfterUpdate(command.version);
        return true;
    case ControlAction::Mode:
        engine.SetMode(command.mode);
        return true;
    case ControlAction::RebootSilence:
        engine.SetRebootSilence(command.numbers[0]);
        return true;
    case ControlAction::Fault:
        engine.AddFault(command.fault);
        return true;
    case ControlAction::ClearFaults:
        engine.ClearFaults();
        return true;
    case ControlAction::Refuse:
    case ControlAction::Accept:
        for (int code : command.numbers) {
            engine.SetRefused(static_cast<uint8_t>(code), command.action == ControlAction::Refuse);
        }
        return true;
    default:
        return false;
    }
}

bool ApplyMemoryCommand(const ControlCommand& command, CUnitEngine& engine) {
    CUnitMemory& memory = engine.Memory();
    const std::vector<int>& n = command.numbers;
    switch (command.action) {
    case ControlAction::SetBlock:
        // Parse has checked the size.
        memory.SetBlock(command.block, command.bytes);
        return true;
    case ControlAction::SetByte:
        memory.SetByte(command.block, static_cast<std::size_t>(n[0]), command.bytes[0]);
        return true;
    case ControlAction::LiveMotion:
        engine.Application().SetLiveMotion(command.on);
        return true;
    case ControlAction::ResizeTable:
        memory.Table(n[0]) = CUnitTable::Make(n[1], n[2], 800, 400, 2000, 500);
        return true;
    case ControlAction::SetCell:
        memory.Table(n[0]).SetCell(n[1], n[2], command.bytes[0]);
        return true;
    case ControlAction::SetCells:
        memory.Table(n[0]).SetRowMajorCells(command.bytes);
        return true;
    case ControlAction::ClearEvents:
        memory.EventRecords().clear();
        return true;
    case ControlAction::AddEvent:
        memory.EventRecords().push_back(command.bytes);
        return true;
    case ControlAction::EndlessEvents:
        engine.Application().SetEndlessEventChain(command.on);
        return true;
    case ControlAction::EventAction:
        memory.SetEventAction(static_cast<uint8_t>(n[0]), command.bytes[0]);
        return true;
    default:
        return false;
    }
}

bool ApplyJobCommand(const ControlCommand& command, CUnitEngine& engine) {
    CUnitApplication& application = engine.Application();
    CUnitLoader& loader = engine.Loader();
    const std::vector<int>& n = command.numbers;
    switch (command.action) {
    case ControlAction::Busy:
        application.StartBusyJob(std::vector<uint8_t>(n.begin(), n.end()));
        return true;
    case ControlAction::PulseLiveCycleEnd:
        application.PulseLiveCycleEnd();
        return true;
    case ControlAction::PatchBusy:
        application.SetPatchBusyPolls(n[0]);
        return true;
    case ControlAction::PatchReplyStatus:
        application.SetPatchWriteStatus(command.bytes[0]);
        return true;
    case ControlAction::PatchReplyCount:
        application.SetPatchReplyCount(static_cast<uint8_t>(n[0]));
        return true;
    case ControlAction::LoaderState:
        loader.SetState(static_cast<uint8_t>(n[0]));
        return true;
    case ControlAction::LoaderRoom:
        loader.SetRoomSequence(std::vector<uint8_t>(n.begin(), n.end()));
        return true;
    case ControlAction::LoaderErase:
        loader.SetErasePolls(n[0]);
        return true;
    case ControlAction::LoaderFailAt:
        loader.FailAtBytes(static_cast<std::size_t>(n[0]), static_cast<uint8_t>(n[1]));
        return true;
    case ControlAction::LoaderWords:
        loader.SetWords(static_cast<uint16_t>(n[0]), static_cast<uint16_t>(n[1]),
                        static_cast<uint16_t>(n[2]));
        return true;
    default:
        return false;
    }
}

}  // namespace

bool CControlCommand::ApplyToEngine(const ControlCommand& command, CUnitEngine& engine) {
    return ApplyVersionCommand(command, engine) || ApplyMemoryCommand(command, engine) ||
           ApplyJobCommand(command, engine);
}
