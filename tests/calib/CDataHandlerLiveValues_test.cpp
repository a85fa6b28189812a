// The cores read the live elements from the data handler's working image.
#include "calib/CDataHandlerLiveValues.h"

#include "calib/CalibratorCore.h"
#include "calib/CalibratorCoreAdap.h"
#include "calib/CalibratorCoreCont.h"
#include "calib/LiveElementReads.h"
#include "link/CDataHandler.h"
#include "tests/calib/CLogCapture.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

void Put(CDataHandler& handler, int index, const std::vector<BYTE>& bytes) {
    BYTE* image = handler.GetImage(kImageWorking) + handler.GetElementOffset(index);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        image[i] = bytes[i];
    }
}

}  // namespace

TEST(CDataHandlerLiveValues, ReadsTheElementsAtTheirPlaces) {
    CDataHandler handler;
    Put(handler, kElementEngineSpeed, {0xD0, 0x07});
    Put(handler, kElementInjectionTimes, {0xA0, 0x0F, 0xA0, 0x0F});
    Put(handler, kElementObdBlock, {5, 0, 0, 0, 0, 0, 0x0F, 0, 2});
    CDataHandlerLiveValues live(handler);
    EXPECT_EQ(2000, ReadLiveWord(live, kElementEngineSpeed));
    int times[kInjectionCylinders];
    ReadInjectionTimes(live, times);
    EXPECT_EQ(4000, times[1]);
    EXPECT_EQ(0, times[2]);
    // Without a communicator the unit answered no optional read.
    EXPECT_EQ(0, live.IsReadSupported(kElementObdBlock));
}

TEST(CDataHandlerLiveValues, RefusesAnElementLongerThanTheBuffer) {
    CLogCapture log;
    CDataHandler handler;
    Put(handler, kElementObdBlock, std::vector<BYTE>(16, 0x55));
    CDataHandlerLiveValues live(handler);
    BYTE small[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    live.ReadElement(kElementObdBlock, small, sizeof small);
    for (BYTE b : small) {
        EXPECT_EQ(0, b);
    }
    EXPECT_EQ(1u, log.MessagesStartingWith("CDataHandlerLiveValues::ReadElement(): element 95").size());
}

TEST(CDataHandlerLiveValues, CoresStepOnTheDataHandler) {
    CLogCapture log;
    CDataHandler handler;
    Put(handler, kElementTemperature, {80});
    CalibratorCore point;
    point.SetState(CalibratorCore::kStateStart);
    EXPECT_EQ(CalibratorCore::kCodeInitDone, point.CycleStateMachine(&handler, 0));
    CalibratorCoreCont continuous;
    continuous.SetState(CalibratorCoreCont::kStateStart);
    EXPECT_EQ(CalibratorCoreCont::kCodeStarted, continuous.Step(&handler, 0));
    CalibratorCoreAdap adaptive;
    adaptive.SetState(CalibratorCoreAdap::kStateStart);
    EXPECT_EQ(CalibratorCoreAdap::kCodeStarted, adaptive.Step(&handler, 0));
    // Without a data handler nothing happens.
    EXPECT_EQ(CalibratorCore::kCodeNothing, point.CycleStateMachine(nullptr, 0));
    EXPECT_EQ(CalibratorCoreCont::kCodeNothing, continuous.Step(nullptr, 0));
    EXPECT_EQ(CalibratorCoreAdap::kCodeNothing, adaptive.Step(nullptr, 0));
}
