// The simulated unit's protocol engine driven in-process: framing, ping answers,
// silence on bad input and the transcript.
#include "tools/unitsim/CUnitEngine.h"

#include "tools/unitsim/CTranscript.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

struct EngineFixture {
    explicit EngineFixture(const UnitSettings& settings = UnitSettings()) : engine(transcript, settings) {}

    Bytes Feed(const Bytes& bytes) { return engine.Feed(bytes.data(), bytes.size()); }

    CTranscript transcript;
    CUnitEngine engine;
};

UnitSettings Settings(UnitMode mode, UnitVersion application = {1, 30}, UnitVersion loader = {1, 10}) {
    UnitSettings settings;
    settings.mode = mode;
    settings.applicationVersion = application;
    settings.loaderVersion = loader;
    return settings;
}

const UnitSettings kApplication = Settings(UnitMode::Application);
const UnitSettings kLoader = Settings(UnitMode::Loader);

}  // namespace

TEST(CUnitEngine, AnswersPingsWithTheVersionOfItsMode) {
    struct Case {
        const char* name;
        UnitSettings settings;
        Bytes request;
        Bytes reply;
    };

    const Case cases[] = {
        {"application 1.30", kApplication, {0xAA, 0x01, 0x1E, 0x01, 0xB4}, {0x55, 0x81, 0x1E, 0x01, 0xCB}},
        {"application 1.40",
         Settings(UnitMode::Application, {1, 40}),
         {0xAA, 0x01, 0x1E, 0x01, 0xB4},
         {0x55, 0x81, 0x28, 0x01, 0xFD}},
        {"loader 1.10, application ping",
         kLoader,
         {0xAA, 0x01, 0x1E, 0x01, 0xB4},
         {0x66, 0x81, 0x0A, 0x01, 0xEC}},
        {"loader 1.10, loader ping", kLoader, {0x99, 0x01, 0x0A, 0x01, 0x93}, {0x66, 0x81, 0x0A, 0x01, 0xEC}},
        {"loader 1.20",
         Settings(UnitMode::Loader, {1, 30}, {1, 20}),
         {0x99, 0x01, 0x0A, 0x01, 0x93},
         {0x66, 0x81, 0x14, 0x01, 0xF2}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EngineFixture fixture(row.settings);
        EXPECT_EQ(fixture.Feed(row.request), row.reply);
    }
}

TEST(CUnitEngine, LoaderPingSwitchesTheApplicationIntoTheLoader) {
    EngineFixture fixture;
    EXPECT_EQ(fixture.Feed({0x99, 0x01, 0x0A, 0x01, 0x93}), (Bytes{0x66, 0x81, 0x0A, 0x01, 0xEC}));
    EXPECT_EQ(fixture.engine.GetMode(), UnitMode::Loader);
    // It stays in the loader for the configurator's normal pings too.
    EXPECT_EQ(fixture.Feed({0xAA, 0x01, 0x1E, 0x01, 0xB4}), (Bytes{0x66, 0x81, 0x0A, 0x01, 0xEC}));
}

TEST(CUnitEngine, StaysSilentOnFramesItCannotAnswer) {
    struct Case {
        const char* name;
        Bytes request;
        bool idleAfter;
    };

    const Case cases[] = {
        {"bad checksum", {0xAA, 0x01, 0x1E, 0x01, 0xB5}, false},
        {"unknown command", {0xAA, 0x77, 0x00, 0xDD}, true},
        {"loader command to the application", {0x99, 0x62, 0xFB}, false},
        {"no frame start", {0x12, 0x34}, true},
        {"incomplete frame", {0xAA, 0x01, 0x1E}, true},
        {"reversed cell range", {0xAA, 0x40, 0x00, 0x05, 0x02, 0x11}, true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EngineFixture fixture;
        EXPECT_TRUE(fixture.Feed(row.request).empty());
        if (row.idleAfter) {
            fixture.engine.OnLineIdle();
        }
        EXPECT_FALSE(fixture.engine.HasPendingInput());
        // The next good request after the line went quiet is answered normally.
        EXPECT_EQ(fixture.Feed({0xAA, 0x01, 0x1E, 0x01, 0xB4}), (Bytes{0x55, 0x81, 0x1E, 0x01, 0xCB}));
    }
}

TEST(CUnitEngine, AnswersAFrameSplitOverSeveralFeedsOnceItIsComplete) {
    EngineFixture fixture;
    EXPECT_TRUE(fixture.Feed({0xAA}).empty());
    EXPECT_TRUE(fixture.Feed({0x01, 0x1E}).empty());
    EXPECT_TRUE(fixture.engine.HasPendingInput());
    EXPECT_TRUE(fixture.Feed({0x01}).empty());
    EXPECT_EQ(fixture.Feed({0xB4}), (Bytes{0x55, 0x81, 0x1E, 0x01, 0xCB}));
    EXPECT_FALSE(fixture.engine.HasPendingInput());
}

TEST(CUnitEngine, AnswersBackToBackFramesInOrder) {
    EngineFixture fixture;
    // A bad frame between two pings in one feed does not disturb the framing.
    const Bytes reply = fixture.Feed(
        {0xAA, 0x01, 0x1E, 0x01, 0xB4, 0xAA, 0x18, 0x00, 0xAA, 0x18, 0xB2, 0xAA, 0x01, 0x1E, 0x01, 0xB4});
    const Bytes expected = {0x55, 0x81, 0x1E, 0x01, 0xCB, 0x55, 0x98, 0xFF, 0x00,
                            0x00, 0xFF, 0x00, 0xCD, 0x55, 0x81, 0x1E, 0x01, 0xCB};
    EXPECT_EQ(reply, expected);
}

TEST(CUnitEngine, FramesRequestsByTheirCommandsDataLength) {
    struct Case {
        const char* name;
        Bytes request;
        Bytes reply;
    };

    // Data bytes equal to a sender id must not be taken for a new frame. The
    // unit has no map and a blank identification, so replies carry zeros.
    const Case cases[] = {
        {"fixed data: fuel request 170", {0xAA, 0x19, 0xAA, 0x19}, {0x55, 0x99, 0xCC}},
        {"counted request data", {0xAA, 0x10, 0x02, 0xAA, 0x99, 0x8B}, {0x55, 0x90, 0xC5}},
        {"cell range write", {0xAA, 0x40, 0x01, 0x02, 0x03, 0xAA, 0x99, 0xD9}, {0x55, 0xC0, 0x95}},
        {"cell range read", {0xAA, 0x2A, 0x00, 0x01, 0x03, 0x82}, {0x55, 0xAA, 0x00, 0x00, 0x00, 0xFF}},
        {"counted reply", {0xAA, 0x28, 0x82}, {0x55, 0xA8, 0x00, 0xFD}},
        {"loader identification", {0x99, 0x65, 0xFC}, {0x66, 0xE5, 0, 0, 0, 0, 0, 0, 0x83}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EngineFixture fixture(row.request[0] == 0x99 ? kLoader : kApplication);
        fixture.engine.Memory().Table(0) = CUnitTable();
        fixture.engine.Loader().SetWords(0, 0, 0);
        EXPECT_EQ(fixture.Feed(row.request), row.reply);
        EXPECT_FALSE(fixture.engine.HasPendingInput());
    }
}

TEST(CUnitEngine, EchoModeSendsEveryByteBackUnchanged) {
    EngineFixture fixture;
    fixture.engine.SetEcho(true);
    Bytes all(256);
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<uint8_t>(i);
    }
    EXPECT_EQ(fixture.Feed(all), all);
    fixture.engine.SetEcho(false);
    EXPECT_EQ(fixture.Feed({0xAA, 0x01, 0x1E, 0x01, 0xB4}), (Bytes{0x55, 0x81, 0x1E, 0x01, 0xCB}));
}

TEST(CUnitEngine, WritesEveryFrameAndWhatBecameOfItToTheTranscript) {
    EngineFixture fixture;
    fixture.Feed({0xAA, 0x01, 0x1E, 0x01, 0xB4});
    fixture.Feed({0xAA, 0x01, 0x1E, 0x01, 0xB5});
    fixture.Feed({0xAA, 0x77, 0x00});
    fixture.engine.OnLineIdle();
    fixture.Feed({0x99, 0x01, 0x0A, 0x01, 0x93});
    const std::vector<std::string> expected = {
        "RX AA 01 1E 01 B4", "TX 55 81 1E 01 CB",
        "RX AA 01 1E 01 B5", "# not answered: bad checksum",
        "RX AA 77 00",       "# not answered: unknown command 0x77 for sender 0xAA",
        "RX 99 01 0A 01 93", "# mode loader",
        "TX 66 81 0A 01 EC",
    };
    EXPECT_EQ(fixture.transcript.Lines(), expected);
}
