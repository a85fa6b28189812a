// Update mode on the wire, through the real communicator against the simulated
// unit's loader in-process: asking for the mode, the upload in blocks with its
// progress, the loader's error states, and leaving.
#include "link/CCommunicator.h"
#include "tests/link/CFakeClock.h"
#include "tests/link/CProgressSink.h"
#include "tests/link/CUnitLoopback.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Reports = std::vector<std::pair<int, int>>;

std::vector<BYTE> Image(std::size_t size) {
    std::vector<BYTE> image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<BYTE>(i * 7 + 3);
    }
    return image;
}

class UpdateMode : public testing::Test {
protected:
    UpdateMode() {
        unit.engine.Loader().SetErasePolls(0);
        unit.engine.Loader().SetWords(0x010A, 0x011E, 0x000C);
        communicator.SetPort(unit.port);
        communicator.SetClock(clock);
        communicator.SetDataHandler(&sink);
        communicator.BeginPasses();
    }

    // Connects to the unit, asks for update mode and lets the worker find the loader
    // and read its words.
    void EnterUpdateMode() {
        communicator.RunPass();
        ASSERT_EQ(sink.statuses.back(), kStatusConnected);
        communicator.SetMode(kModeEnterUpdate);
        communicator.RunPass();
        ASSERT_EQ(sink.statuses.back(), kStatusUpdateMode);
        ASSERT_EQ(communicator.GetMode(), kModeUpdateIdle);
    }

    // Hands the image over and runs passes until the mode returns to idle.
    void Upload(const std::vector<BYTE>& image) {
        ASSERT_TRUE(communicator.SetFirmware(image));
        communicator.SetMode(kModeUploadStart);
        for (int pass = 0; pass < 20 && communicator.GetMode() != kModeUpdateIdle; ++pass) {
            communicator.RunPass();
        }
    }

    // The data counts of the blocks (command 97) written since `first`.
    std::vector<int> BlocksSince(std::size_t first) const {
        std::vector<int> blocks;
        const auto& written = unit.port.Written();
        for (std::size_t i = first; i < written.size(); ++i) {
            if (written[i].bytes[1] == 97) {
                blocks.push_back(written[i].bytes[2]);
            }
        }
        return blocks;
    }

    CUnitLoopback unit;
    CFakeClock clock;
    CProgressSink sink;
    CCommunicator communicator;
};

TEST_F(UpdateMode, AnImageGoesOutInBlocksOfTheOfferedRoomThenTheEmptyBlock) {
    EnterUpdateMode();
    EXPECT_EQ(sink.words, (std::array<WORD, 3>{0x010A, 0x011E, 0x000C}));
    EXPECT_EQ(unit.port.Written().back().bytes, Frame({0x99, 101}));
    const std::vector<BYTE> image = Image(300);
    const std::size_t mark = unit.port.Written().size();
    Upload(image);
    EXPECT_EQ(BlocksSince(mark), (std::vector<int>{128, 128, 44, 0}));
    EXPECT_EQ(sink.update, (Reports{{4, 426}, {4, 853}, {4, 1000}, {3, 1000}}));
    EXPECT_EQ(unit.engine.Loader().Image(), image);
    // The first two bytes also travel with the start command.
    EXPECT_EQ(unit.port.Written()[mark + 1].bytes, Frame({0x99, 96, image[0], image[1]}));
}

TEST_F(UpdateMode, LeavingUpdateModeBringsTheNormalUnitBack) {
    EnterUpdateMode();
    Upload(Image(200));
    communicator.SetMode(kModeLeaveUpdate);
    communicator.RunPass();
    EXPECT_EQ(communicator.GetMode(), kModeNormal);
    for (int pass = 0; pass < 5 && sink.statuses.back() != kStatusConnected; ++pass) {
        communicator.RunPass();
    }
    EXPECT_EQ(sink.statuses.back(), kStatusConnected);
    EXPECT_EQ(unit.engine.GetMode(), UnitMode::Application);
}

TEST_F(UpdateMode, ALoaderWithoutEnoughRoomGetsNothingAndTheProgressRepeats) {
    unit.engine.Loader().SetRoomSequence({128, 64, 64, 128});
    EnterUpdateMode();
    const std::size_t mark = unit.port.Written().size();
    Upload(Image(300));
    EXPECT_EQ(BlocksSince(mark), (std::vector<int>{128, 128, 44, 0}));
    EXPECT_EQ(sink.update, (Reports{{4, 426}, {4, 426}, {4, 426}, {4, 853}, {4, 1000}, {3, 1000}}));
}

TEST_F(UpdateMode, EachLoaderErrorStateIsReportedAndEndsTheUpload) {
    const struct {
        BYTE state;
        int report;
    } cases[] = {{3, 1}, {4, 1}, {5, 2}};

    for (const auto& failure : cases) {
        SCOPED_TRACE(int{failure.state});
        CUnitLoopback loader;
        loader.engine.Loader().SetErasePolls(0);
        loader.engine.Loader().FailAtBytes(128, failure.state);
        CCommunicator link;
        CProgressSink events;
        link.SetPort(loader.port);
        link.SetClock(clock);
        link.SetDataHandler(&events);
        link.BeginPasses();
        link.RunPass();
        link.SetMode(kModeEnterUpdate);
        link.RunPass();
        ASSERT_TRUE(link.SetFirmware(Image(300)));
        link.SetMode(kModeUploadStart);
        for (int pass = 0; pass < 6; ++pass) {
            link.RunPass();
        }
        EXPECT_EQ(events.update, (Reports{{4, 426}, {failure.report, 0}}));
        EXPECT_EQ(link.GetMode(), kModeUpdateIdle);
        EXPECT_TRUE(loader.port.IsOpen());
    }
}

TEST_F(UpdateMode, AUnitFoundInItsLoaderIsHandledByItsState) {
    const struct {
        BYTE state;
        Reports reports;
        BYTE leaveCode;  // 0: none sent
        int mode;
    } cases[] = {{1, {}, 99, kModeNormal},
                 {5, {{2, 0}}, 0, kModeUpdateIdle},
                 {3, {{1, 0}}, 0, kModeUpdateIdle},
                 {7, {}, 100, kModeNormal}};

    for (const auto& found : cases) {
        SCOPED_TRACE(int{found.state});
        CUnitLoopback loader;
        loader.engine.SetMode(UnitMode::Loader);
        loader.engine.Loader().SetState(found.state);
        CCommunicator link;
        CProgressSink events;
        link.SetPort(loader.port);
        link.SetClock(clock);
        link.SetDataHandler(&events);
        link.BeginPasses();
        link.RunPass();
        EXPECT_EQ(events.update, found.reports);
        EXPECT_EQ(link.GetMode(), found.mode);
        const std::vector<BYTE> codes = loader.CodesSince(0);
        ASSERT_GE(codes.size(), 2u);
        EXPECT_EQ(codes[0], 101);
        EXPECT_EQ(codes[1], 98);
        EXPECT_EQ(codes.size() == 3 ? codes[2] : 0, found.leaveCode);
    }
}

TEST_F(UpdateMode, AnImageTooShortToStartIsRefusedWithAWriteErrorReport) {
    EnterUpdateMode();
    Upload(Image(1));
    EXPECT_EQ(sink.update, (Reports{{1, 0}}));
    const std::vector<BYTE> codes = unit.CodesSince(0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), BYTE{96}), 0);
}

}  // namespace
