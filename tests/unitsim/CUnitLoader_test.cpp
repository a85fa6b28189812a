// The simulated unit's loader: identification, erasing, the upload in blocks
// with the room it offers, error states and handing over to new firmware.
#include "tools/unitsim/CUnitLoader.h"

#include "tests/unitsim/CUnitRequester.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr bool kLoader = true;

UnitSettings LoaderSettings() {
    UnitSettings settings;
    settings.mode = UnitMode::Loader;
    return settings;
}

Bytes Image(std::size_t size) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    return image;
}

// Sends the image as the configurator does: one state poll per block, a block
// of the offered room (at most 128) when more than 64 or the rest fits, then
// the empty block. Returns the states polled.
Bytes Upload(CUnitRequester& unit, const Bytes& image) {
    Bytes states;
    std::size_t offset = 0;
    unit.Tell(96, {image[0], image[1]}, kLoader);
    for (int pass = 0; pass < 100; ++pass) {
        const Bytes state = unit.Ask(98, {}, kLoader);
        states.push_back(state.at(0));
        if (state[0] != CUnitLoader::kWriting && state[0] != CUnitLoader::kErasing) {
            return states;
        }
        const std::size_t room = std::min<std::size_t>(state[1], 128);
        const std::size_t remaining = image.size() - offset;
        const std::size_t count = remaining <= room ? remaining : room > 64 ? room : 0;
        if (state[0] != CUnitLoader::kWriting) {
            continue;
        }
        Bytes block = {static_cast<uint8_t>(count)};
        block.insert(block.end(), image.begin() + static_cast<long>(offset),
                     image.begin() + static_cast<long>(offset + count));
        if (remaining <= room || room > 64) {
            unit.Tell(97, block, kLoader);
        }
        if (remaining == 0) {
            return states;
        }
        offset += count;
    }
    return states;
}

}  // namespace

TEST(CUnitLoader, IdentifiesItselfWithThreeLittleEndianWords) {
    CUnitRequester unit(LoaderSettings());
    unit.engine.Loader().SetWords(0x010A, 0x011E, 0x1234);
    EXPECT_EQ(unit.Ask(101, {}, kLoader), (Bytes{0x0A, 0x01, 0x1E, 0x01, 0x34, 0x12}));
}

TEST(CUnitLoader, ErasesThenTakesTheImageInTheBlocksItHasRoomFor) {
    CUnitRequester unit(LoaderSettings());
    unit.engine.Loader().SetRoomSequence({64, 128});
    const Bytes image = Image(300);
    const Bytes states = Upload(unit, image);
    // Two erasing polls, one poll with too little room, blocks of 128, 128, 44,
    // then the empty block.
    EXPECT_EQ(states, (Bytes{6, 6, 2, 2, 2, 2, 2}));
    EXPECT_EQ(unit.engine.Loader().Image(), image);
    EXPECT_EQ(unit.Ask(98, {}, kLoader), (Bytes{CUnitLoader::kIdle, 0}));
}

TEST(CUnitLoader, HandsOverToTheNewFirmwareAfterAWholeUpload) {
    CUnitRequester unit(LoaderSettings());
    unit.engine.SetRebootSilence(1);
    Upload(unit, Image(10));
    EXPECT_EQ(unit.Exchange(99, {}, kLoader), CUnitRequester::Frame(0x66, 0xE3, {}));
    EXPECT_EQ(unit.engine.GetMode(), UnitMode::Application);
    // Starting up: the first ping goes unanswered.
    EXPECT_TRUE(unit.Exchange(1, {0x1E, 0x01}).empty());
    EXPECT_EQ(unit.Ask(1, {0x1E, 0x01}), (Bytes{31, 1}));
    EXPECT_EQ(unit.Ask(2).at(19), 31);

    // With a version given for the update, that one.
    unit.engine.SetRebootSilence(0);
    unit.engine.SetVersionAfterUpdate({1, 35});
    unit.Exchange(1, {0x0A, 0x01}, kLoader);
    Upload(unit, Image(10));
    unit.Tell(99, {}, kLoader);
    EXPECT_EQ(unit.Ask(1, {0x1E, 0x01}), (Bytes{35, 1}));
}

TEST(CUnitLoader, LeavesWithoutANewVersionWhenNothingWasUploaded) {
    CUnitRequester unit(LoaderSettings());
    unit.Tell(99, {}, kLoader);
    EXPECT_EQ(unit.Ask(1, {0x1E, 0x01}), (Bytes{30, 1}));
}

TEST(CUnitLoader, ReportsTheErrorStatesItIsPutIn) {
    struct Case {
        const char* name;
        std::size_t failAt;
        uint8_t failState;
        Bytes image;
        uint8_t finalState;
        bool leaves;
    };

    const Case cases[] = {
        {"write error", 100, CUnitLoader::kWriteError, Image(300), CUnitLoader::kWriteError, true},
        {"verify error", 1, CUnitLoader::kVerifyError, Image(300), CUnitLoader::kVerifyError, true},
        {"broken", 250, CUnitLoader::kBroken, Image(300), CUnitLoader::kBroken, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        CUnitRequester unit(LoaderSettings());
        unit.engine.Loader().FailAtBytes(row.failAt, row.failState);
        const Bytes states = Upload(unit, row.image);
        EXPECT_EQ(states.back(), row.finalState);
        unit.Tell(99, {}, kLoader);
        EXPECT_EQ(unit.engine.GetMode(), row.leaves ? UnitMode::Application : UnitMode::Loader);
    }
}

TEST(CUnitLoader, TakesAnImageThatDoesNotStartLikeTheUploadForBroken) {
    CUnitRequester unit(LoaderSettings());
    unit.Tell(96, {0x01, 0x02}, kLoader);
    unit.Ask(98, {}, kLoader);
    unit.Ask(98, {}, kLoader);
    EXPECT_EQ(unit.Ask(98, {}, kLoader), (Bytes{CUnitLoader::kWriting, 128}));
    unit.Tell(97, {2, 0x09, 0x09}, kLoader);
    unit.Tell(97, {0}, kLoader);
    EXPECT_EQ(unit.Ask(98, {}, kLoader), (Bytes{CUnitLoader::kBroken, 0}));
    // Command 100 resets the loader, after which it can be left.
    unit.Tell(100, {}, kLoader);
    EXPECT_EQ(unit.Ask(98, {}, kLoader), (Bytes{CUnitLoader::kIdle, 0}));
}
