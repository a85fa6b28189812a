// The OBD adaptation panel's decisions: the delayed "i/o error", the button against a
// pending request, the sum's colour, the shared injection times, and the texts.
#include "diag/CObdAdaptationModel.h"

#include "diag/CObdAdaptationTexts.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

using Model = CObdAdaptationModel;

TEST(ObdAdaptationModel, ShowsAnIoErrorOnlyOnceItLasted) {
    struct Step {
        int code;
        LONG ms;
        int shown;
    };

    const Step steps[] = {
        {15, 0, 15},    {1, 100, 15},  {1, 1500, 15}, {1, 2100, 15}, {1, 2101, 1},
        {15, 2200, 15}, {1, 2300, 15}, {2, 2400, 2},  {1, 2500, 2},  {1, 4600, 1},
    };
    Model model;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.ms);
        EXPECT_EQ(model.ShowLink(step.code, step.ms), step.shown);
    }

    Model wrapping;
    wrapping.ShowLink(15, INT32_MAX - 1000);
    wrapping.ShowLink(1, INT32_MAX - 1000);
    EXPECT_EQ(wrapping.ShowLink(1, INT32_MIN + 500), 15) << "1501 ms across the wrap";
    EXPECT_EQ(wrapping.ShowLink(1, INT32_MIN + 1100), 1);
}

TEST(ObdAdaptationModel, TheButtonFollowsTheUnitAndBlinksWhileARequestWaits) {
    struct Case {
        bool unitOn;
        bool pressedBefore;  // the user's click, or none
        bool click;
        Model::Button button;
        int requestAfter;
    };

    const Case cases[] = {
        {true, false, false, {true, true, false, Model::kOnColour}, Model::kNoRequest},
        {true, true, true, {true, true, false, Model::kOnColour}, Model::kNoRequest},
        {true, false, true, {false, false, true, Model::kOffColour}, Model::kOffRequested},
        {false, false, false, {false, false, false, Model::kOffColour}, Model::kNoRequest},
        {false, false, true, {false, false, false, Model::kOffColour}, Model::kNoRequest},
        {false, true, true, {true, true, true, Model::kOnColour}, Model::kOnRequested},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.unitOn) + std::to_string(c.pressedBefore) + std::to_string(c.click));
        Model model;
        if (c.click) {
            EXPECT_EQ(model.RequestSwitch(c.pressedBefore), c.pressedBefore ? 0xFF : 0x00);
        }
        const Model::Button button = model.DecideButton(c.unitOn);
        EXPECT_EQ(button.showsOn, c.button.showsOn);
        EXPECT_EQ(button.pressed, c.button.pressed);
        EXPECT_EQ(button.blinking, c.button.blinking);
        if (!button.blinking) {
            EXPECT_EQ(button.textColour, c.button.textColour);
        }
        EXPECT_EQ(model.GetRequest(), c.requestAfter);
    }
}

TEST(ObdAdaptationModel, ColoursTheSumByItsClassification) {
    EXPECT_EQ(Model::SumColour(-1), Model::Rgb(0x40, 0x40, 0xC0));
    EXPECT_EQ(Model::SumColour(-2), Model::Rgb(0x40, 0x40, 0x90));
    EXPECT_EQ(Model::SumColour(1), Model::Rgb(0xC0, 0x20, 0x20));
    EXPECT_EQ(Model::SumColour(2), Model::Rgb(0x90, 0x20, 0x20));
    EXPECT_EQ(Model::SumColour(0), 0u);
}

TEST(ObdAdaptationModel, ShortInjectionTimesKeepTheStoredOnes) {
    Model::ClearInjectionTimes();
    const int first[8] = {3000, 3200, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Model::FoldInjectionTimes(first), 3100);
    const int second[8] = {500, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Model::FoldInjectionTimes(second), 3000) << "500 replaced the first, 0 the second";
    const int none[8] = {};
    EXPECT_EQ(Model::FoldInjectionTimes(none), 0);
    Model::ClearInjectionTimes();
}

TEST(ObdAdaptationTexts, NamesLinkAndFuelSystemStates) {
    EXPECT_STREQ(CObdAdaptationTexts::LinkText(0), "not connected ");
    EXPECT_STREQ(CObdAdaptationTexts::LinkText(15), "connected");
    EXPECT_EQ(CObdAdaptationTexts::LinkText(4), nullptr);
    EXPECT_EQ(CObdAdaptationTexts::LinkText(14), nullptr);

    const struct {
        int state;
        const char* text;
        bool failure;
    } cases[] = {
        {0x00, "Unused", false},
        {0x06, "Unused", false},
        {0x02, "Closed loop", false},
        {0x04, "Open loop\nengine load", false},
        {0x08, "Open loop\nsystem failure", true},
        {0x10, "Closed loop\nfault in the feedback system", true},
        {0x80, "Unknown (0x80)", false},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        EXPECT_STREQ(CObdAdaptationTexts::FuelSystemText(c.state), c.text);
        EXPECT_EQ(CObdAdaptationTexts::IsFuelSystemFailure(c.state), c.failure);
    }
}

}  // namespace
