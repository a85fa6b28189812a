// Control lines of the simulated unit and the versions they carry.
#include "tools/unitsim/CControlCommand.h"

#include "tools/unitsim/CTranscript.h"

#include <gtest/gtest.h>

TEST(CControlCommand, ParsesEachCommandAndRejectsMalformedLines) {
    struct Case {
        const char* line;
        bool ok;
        ControlAction action;
        int major;
        int minor;
    };

    const Case cases[] = {
        {"echo on", true, ControlAction::EchoOn, 0, 0},
        {"  echo off  ", true, ControlAction::EchoOff, 0, 0},
        {"version 1.40", true, ControlAction::Version, 1, 40},
        {"loader-version 1.20", true, ControlAction::LoaderVersion, 1, 20},
        {"version 2.128", true, ControlAction::Version, 2, 128},
        {"unplug", true, ControlAction::Unplug, 0, 0},
        {"replug", true, ControlAction::Replug, 0, 0},
        {"echo", false, ControlAction::EchoOff, 0, 0},
        {"echo maybe", false, ControlAction::EchoOff, 0, 0},
        {"version 1.4", false, ControlAction::EchoOff, 0, 0},
        {"version 1.256", false, ControlAction::EchoOff, 0, 0},
        {"version 256.30", false, ControlAction::EchoOff, 0, 0},
        {"version 1.3x", false, ControlAction::EchoOff, 0, 0},
        {"version 130", false, ControlAction::EchoOff, 0, 0},
        {"unplug now", false, ControlAction::EchoOff, 0, 0},
        {"mode sideways", false, ControlAction::EchoOff, 0, 0},
        {"reboot", false, ControlAction::EchoOff, 0, 0},
        {"version-after-update 1.31", true, ControlAction::VersionAfterUpdate, 1, 31},
        {"version 1.30 1.40", false, ControlAction::EchoOff, 0, 0},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.line);
        ControlCommand command;
        std::string error;
        ASSERT_EQ(CControlCommand::Parse(row.line, command, error), row.ok);
        if (!row.ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(command.action, row.action);
        EXPECT_EQ(command.version.major, row.major);
        EXPECT_EQ(command.version.minor, row.minor);
    }
}

TEST(CControlCommand, ChangesTheEnginesAnswersAndLeavesPlugCommandsToTheCaller) {
    CTranscript transcript;
    CUnitEngine engine(transcript, UnitSettings());
    ControlCommand command;
    std::string error;
    const uint8_t ping[] = {0xAA, 0x01, 0x1E, 0x01, 0xB4};

    ASSERT_TRUE(CControlCommand::Parse("version 1.40", command, error));
    EXPECT_TRUE(CControlCommand::ApplyToEngine(command, engine));
    EXPECT_EQ(engine.Feed(ping, sizeof ping), (std::vector<uint8_t>{0x55, 0x81, 0x28, 0x01, 0xFD}));

    ASSERT_TRUE(CControlCommand::Parse("loader-version 1.20", command, error));
    EXPECT_TRUE(CControlCommand::ApplyToEngine(command, engine));
    ASSERT_TRUE(CControlCommand::Parse("mode loader", command, error));
    EXPECT_TRUE(CControlCommand::ApplyToEngine(command, engine));
    EXPECT_EQ(engine.Feed(ping, sizeof ping), (std::vector<uint8_t>{0x66, 0x81, 0x14, 0x01, 0xF2}));

    ASSERT_TRUE(CControlCommand::Parse("mode normal", command, error));
    EXPECT_TRUE(CControlCommand::ApplyToEngine(command, engine));
    EXPECT_EQ(engine.GetMode(), UnitMode::Application);

    ASSERT_TRUE(CControlCommand::Parse("echo on", command, error));
    EXPECT_TRUE(CControlCommand::ApplyToEngine(command, engine));
    EXPECT_TRUE(engine.IsEchoOn());

    ASSERT_TRUE(CControlCommand::Parse("unplug", command, error));
    EXPECT_FALSE(CControlCommand::ApplyToEngine(command, engine));
}

TEST(CControlCommand, ParsesTheArgumentsOfTheUnitsKnobs) {
    struct Case {
        const char* line;
        bool ok;
        ControlAction action;
        std::vector<int> numbers;
        std::vector<uint8_t> bytes;
    };

    const Case cases[] = {
        {"pace 9600", true, ControlAction::Pace, {9600}, {}},
        {"pace off", true, ControlAction::Pace, {0}, {}},
        {"pace fast", false, ControlAction::Pace, {}, {}},
        {"refuse 19 52 47", true, ControlAction::Refuse, {19, 52, 47}, {}},
        {"refuse 256", false, ControlAction::Refuse, {}, {}},
        {"accept", false, ControlAction::Accept, {}, {}},
        {"byte engine-status 3 C8", true, ControlAction::SetByte, {3}, {0xC8}},
        {"byte engine-status 5 00", false, ControlAction::SetByte, {}, {}},
        {"block base-percent 0A", true, ControlAction::SetBlock, {}, {0x0A}},
        {"block base-percent 0A 0B", false, ControlAction::SetBlock, {}, {}},
        {"block lunch 00", false, ControlAction::SetBlock, {}, {}},
        {"table 6 32 24", true, ControlAction::ResizeTable, {6, 32, 24}, {}},
        {"table 7 32 24", false, ControlAction::ResizeTable, {}, {}},
        {"cell 0 1 2 fe", true, ControlAction::SetCell, {0, 1, 2}, {0xFE}},
        {"cell 0 1 2 1FE", false, ControlAction::SetCell, {}, {}},
        {"cells 5 00 02 FF", true, ControlAction::SetCells, {5}, {0x00, 0x02, 0xFF}},
        {"event 1C 00 01", true, ControlAction::AddEvent, {}, {0x1C, 0x00, 0x01}},
        {"action 17 AA", true, ControlAction::EventAction, {17}, {0xAA}},
        {"busy 0 100 200 254", true, ControlAction::Busy, {0, 100, 200, 254}, {}},
        {"busy 300", false, ControlAction::Busy, {}, {}},
        {"pulse-253", true, ControlAction::PulseLiveCycleEnd, {}, {}},
        {"patch-reply-status 20", true, ControlAction::PatchReplyStatus, {}, {0x20}},
        {"loader-room 64 128", true, ControlAction::LoaderRoom, {64, 128}, {}},
        {"loader-fail-at 200 3", true, ControlAction::LoaderFailAt, {200, 3}, {}},
        {"loader-fail-at 200 300", false, ControlAction::LoaderFailAt, {}, {}},
        {"loader-words 010A 011E 000C", true, ControlAction::LoaderWords, {0x010A, 0x011E, 0x000C}, {}},
        {"loader-words 010A 011E", false, ControlAction::LoaderWords, {}, {}},
        {"clear-faults", true, ControlAction::ClearFaults, {}, {}},
        {"clear-faults now", false, ControlAction::ClearFaults, {}, {}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.line);
        ControlCommand command;
        std::string error;
        ASSERT_EQ(CControlCommand::Parse(row.line, command, error), row.ok) << error;
        if (!row.ok) {
            continue;
        }
        EXPECT_EQ(command.action, row.action);
        EXPECT_EQ(command.numbers, row.numbers);
        EXPECT_EQ(command.bytes, row.bytes);
    }
}

TEST(CControlCommand, ParsesFaultRules) {
    struct Case {
        const char* line;
        bool ok;
        FaultKind kind;
        int command;
        int skip;
        int times;
        int code;
        int delayMs;
        int keepBytes;
    };

    const Case cases[] = {
        {"fault silence", true, FaultKind::Silence, FaultRule::kAnyCommand, 0, 1, 0xE7, 300, -1},
        {"fault error cmd 19 code E3 always", false, FaultKind::ErrorCode, 0, 0, 0, 0, 0, 0},
        {"fault error cmd 19 code E3 times always", true, FaultKind::ErrorCode, 19, 0, FaultRule::kAlways,
         0xE3, 300, -1},
        {"fault late cmd any after 4 times 2 delay 450", true, FaultKind::Late, FaultRule::kAnyCommand, 4, 2,
         0xE7, 450, -1},
        {"fault truncate cmd 30 keep 10", true, FaultKind::Truncated, 30, 0, 1, 0xE7, 300, 10},
        {"fault gap delay 250", true, FaultKind::Gap, FaultRule::kAnyCommand, 0, 1, 0xE7, 250, -1},
        {"fault wrong-id cmd 24", true, FaultKind::WrongId, 24, 0, 1, 0xE7, 300, -1},
        {"fault bad-checksum times 17", true, FaultKind::BadChecksum, FaultRule::kAnyCommand, 0, 17, 0xE7,
         300, -1},
        {"fault oversize cmd 81", true, FaultKind::Oversize, 81, 0, 1, 0xE7, 300, -1},
        {"fault oversize cmd 300", false, FaultKind::Oversize, 0, 0, 0, 0, 0, 0},
        {"fault sneeze", false, FaultKind::Silence, 0, 0, 0, 0, 0, 0},
        {"fault", false, FaultKind::Silence, 0, 0, 0, 0, 0, 0},
        {"fault late soon 3", false, FaultKind::Late, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.line);
        ControlCommand command;
        std::string error;
        ASSERT_EQ(CControlCommand::Parse(row.line, command, error), row.ok) << error;
        if (!row.ok) {
            continue;
        }
        const FaultRule& rule = command.fault;
        EXPECT_EQ(rule.kind, row.kind);
        EXPECT_EQ(rule.command, row.command);
        EXPECT_EQ(rule.skip, row.skip);
        EXPECT_EQ(rule.times, row.times);
        EXPECT_EQ(rule.code, row.code);
        EXPECT_EQ(rule.delayMs, row.delayMs);
        EXPECT_EQ(rule.keepBytes, row.keepBytes);
    }
}

TEST(CControlCommand, ScriptsAMinimalOldUnitWithAFaultAndABusyJob) {
    CTranscript transcript;
    CUnitEngine engine(transcript, UnitSettings());
    const char* script[] = {
        "refuse 19 52 33 90 2", "fault error cmd 24 code E3",
        "busy 0 200",           "byte engine-status 0 00",
        "cell 0 1 2 7F",        "event 05 01 02",
    };
    for (const char* line : script) {
        SCOPED_TRACE(line);
        ControlCommand command;
        std::string error;
        ASSERT_TRUE(CControlCommand::Parse(line, command, error)) << error;
        EXPECT_TRUE(CControlCommand::ApplyToEngine(command, engine));
    }
    auto ask = [&](std::vector<uint8_t> frame) { return engine.Feed(frame.data(), frame.size()); };
    EXPECT_EQ(ask({0xAA, 0x13, 0x00, 0xB9}), (std::vector<uint8_t>{0x55, 0xE7, 0xB2}));
    EXPECT_EQ(ask({0xAA, 0x34, 0x9E}), (std::vector<uint8_t>{0x55, 0xE7, 0xB2}));
    EXPECT_EQ(ask({0xAA, 0x33, 0x99}).size(), 25u);
    EXPECT_EQ(ask({0xAA, 0x18, 0xB2}), (std::vector<uint8_t>{0x55, 0xE3, 0xB6}));
    EXPECT_EQ(ask({0xAA, 0x18, 0xB2}),
              (std::vector<uint8_t>{0x55, 0x98, 0x00, 0x00, 0x00, 0x00, 0x00, 0xCD}));
    EXPECT_EQ(ask({0xAA, 0x18, 0xB2})[5], 200);
    EXPECT_EQ(engine.Memory().Table(0).Cell(1, 2), 0x7F);
    EXPECT_EQ(engine.Memory().EventRecords().back(), (std::vector<uint8_t>{0x05, 0x01, 0x02}));

    ControlCommand pace;
    std::string error;
    ASSERT_TRUE(CControlCommand::Parse("pace 9600", pace, error));
    EXPECT_FALSE(CControlCommand::ApplyToEngine(pace, engine));
}
