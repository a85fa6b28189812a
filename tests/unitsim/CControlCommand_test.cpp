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
