// The main dialog's choice of mode: where keyboard commands go and where leaving a mode leads.
#include "res/ResourceIds.h"
#include "shell/CModeNavigator.h"

#include <gtest/gtest.h>

namespace {

using Target = CModeNavigator::CommandTarget;

struct AcceleratorCase {
    int mode;
    bool routing;
    unsigned id;
    Target expected;
};

TEST(CModeNavigator, AcceleratorsReachOnlyTheShownPages) {
    const AcceleratorCase cases[] = {
        {CModeNavigator::kMainMenu, true, ID_ACCEL_GAS, Target::None},
        {CModeNavigator::kMainMenu, true, ID_ACCEL_UNDO, Target::None},
        {CModeNavigator::kConfigure, true, ID_ACCEL_GAS, Target::StatusPage},
        {CModeNavigator::kConfigure, true, ID_ACCEL_PETROL, Target::StatusPage},
        {CModeNavigator::kConfigure, true, ID_ACCEL_UNDO, Target::ActivePage},
        {CModeNavigator::kConfigure, true, ID_ACCEL_ADAPT_SETTINGS, Target::ActivePage},
        {CModeNavigator::kDiagnosis, true, ID_ACCEL_GAS, Target::None},
        {CModeNavigator::kDiagnosis, true, ID_ACCEL_PETROL, Target::None},
        {CModeNavigator::kDiagnosis, true, ID_ACCEL_F3, Target::ActivePage},
        // While a modal dialog of the main menu runs, no key reaches a page.
        {CModeNavigator::kConfigure, false, ID_ACCEL_GAS, Target::None},
        {CModeNavigator::kConfigure, false, ID_ACCEL_UNDO, Target::None},
        {CModeNavigator::kDiagnosis, false, ID_ACCEL_F4, Target::None},
    };
    for (const AcceleratorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " routing " << c.routing << " id " << c.id);
        CModeNavigator navigator;
        navigator.Enter(c.mode);
        EXPECT_EQ(navigator.AcceleratorTarget(c.id, c.routing), c.expected);
    }
}

TEST(CModeNavigator, LeavingWithNothingPendingStaysInTheMenu) {
    CModeNavigator navigator;
    navigator.Enter(CModeNavigator::kConfigure);
    const CModeNavigator::Destination next = navigator.Leave(2);
    EXPECT_EQ(next.mode, CModeNavigator::kNone);
    EXPECT_EQ(navigator.GetMode(), CModeNavigator::kMainMenu);
    EXPECT_EQ(navigator.HistoryDepth(), 0u);
}

// The live status page's diagnosis button: Configure at tab 2 -> Diagnosis tab 0 -> back
// to Configure at tab 2 -> then the menu.
TEST(CModeNavigator, AJumpToARequestedPageLeadsBackWhereItWasMade) {
    CModeNavigator navigator;
    navigator.Enter(CModeNavigator::kConfigure);
    navigator.SetNextPage(CModeNavigator::kDiagnosis, 0);

    CModeNavigator::Destination next = navigator.Leave(2);
    EXPECT_EQ(next.mode, CModeNavigator::kDiagnosis);
    EXPECT_EQ(next.tab, 0);
    EXPECT_EQ(navigator.GetNextPage().mode, CModeNavigator::kNone);
    EXPECT_EQ(navigator.HistoryDepth(), 1u);
    navigator.Enter(next.mode);

    next = navigator.Leave(1);
    EXPECT_EQ(next.mode, CModeNavigator::kConfigure);
    EXPECT_EQ(next.tab, 2);
    EXPECT_EQ(navigator.HistoryDepth(), 0u);
    navigator.Enter(next.mode);

    EXPECT_EQ(navigator.Leave(2).mode, CModeNavigator::kNone);
}

TEST(CModeNavigator, JumpsAreUndoneLastFirst) {
    CModeNavigator navigator;
    navigator.Enter(CModeNavigator::kConfigure);
    navigator.SetNextPage(CModeNavigator::kDiagnosis, 1);
    navigator.Enter(navigator.Leave(3).mode);
    navigator.SetNextPage(CModeNavigator::kConfigure, 0);
    navigator.Enter(navigator.Leave(1).mode);
    ASSERT_EQ(navigator.HistoryDepth(), 2u);

    CModeNavigator::Destination back = navigator.Leave(0);
    EXPECT_EQ(back.mode, CModeNavigator::kDiagnosis);
    EXPECT_EQ(back.tab, 1);
    navigator.Enter(back.mode);
    back = navigator.Leave(1);
    EXPECT_EQ(back.mode, CModeNavigator::kConfigure);
    EXPECT_EQ(back.tab, 3);
}

TEST(CModeNavigator, ARequestForNoPageModeIsNoRequest) {
    for (int mode : {CModeNavigator::kNone, 0, CModeNavigator::kMainMenu, 4}) {
        SCOPED_TRACE(mode);
        CModeNavigator navigator;
        navigator.Enter(CModeNavigator::kConfigure);
        navigator.SetNextPage(CModeNavigator::kDiagnosis, 0);
        navigator.SetNextPage(mode, 0);
        EXPECT_EQ(navigator.Leave(0).mode, CModeNavigator::kNone);
        EXPECT_EQ(navigator.HistoryDepth(), 0u);
    }
}

}  // namespace
