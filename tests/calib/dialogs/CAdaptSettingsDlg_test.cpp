// "Settings - Adaptiv" under Wine: both cores' parameters shown, typed values checked for
// their number format and their inclusive ranges and stored field by field.
#include "calib/CAdaptSettingsDlg.h"

#include "calib/CalibratorCoreAdap.h"
#include "calib/CalibratorCoreCont.h"
#include "tests/calib/dialogs/CalibDialogHost.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using Dlg = CAdaptSettingsDlg;

class AdaptSettingsDlgTest : public CalibDialogHost {
protected:
    void Open() {
        dialog.SetCores(&adaptive, &continuous);
        dialog.SetResourceManager(&resources);
        ASSERT_TRUE(dialog.Create(Dlg::kTemplateId, &page));
        dialog.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    bool IsShown() const { return dialog.GetSafeHwnd() != nullptr && dialog.IsWindowVisible(); }

    CalibratorCoreAdap adaptive;
    CalibratorCoreCont continuous;
    Dlg dialog{&page};
};

TEST_F(AdaptSettingsDlgTest, ShowsBothCoresParameters) {
    Open();

    struct Row {
        int id;
        const char* shown;
    };

    const Row rows[] = {
        {Dlg::kPointTimeId, "4000"},
        {Dlg::kPointRevsAcceptId, "100"},
        {Dlg::kPointInjsAcceptId, "100.000000"},
        {Dlg::kPointInjsStabilityId, "2.000000"},
        {Dlg::kAutoTimeId, "1000"},
        {Dlg::kAutoRevsChangeId, "500.000000"},
        {Dlg::kAutoInjsChangeId, "1.000000"},
        {Dlg::kAutoRevsSlopeId, "0.000000"},
        {Dlg::kAutoInjsSlopeId, "2.000000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(ItemText(dialog, row.id), row.shown);
    }
    EXPECT_EQ(WindowText(dialog.GetSafeHwnd()), "Settings - Adaptiv");
}

// One entry at a time in an otherwise untouched dialog: accepted entries close it, refused
// ones show the field's text and keep it open.
TEST_F(AdaptSettingsDlgTest, ChecksFormatAndInclusiveRange) {
    struct Row {
        int id;
        const char* typed;
        const char* message;  // null when accepted
    };

    const Row rows[] = {
        {Dlg::kPointTimeId, "999", "Wrong value at \"[POINT/PUNKT] Time of measure\"."},
        {Dlg::kPointTimeId, "1000", nullptr},
        {Dlg::kPointTimeId, "20000", nullptr},
        {Dlg::kPointTimeId, "20001", "Wrong value at \"[POINT/PUNKT] Time of measure\"."},
        {Dlg::kPointTimeId, "1500.5", "Wrong value at \"[POINT/PUNKT] Time of measure\"."},
        {Dlg::kPointRevsAcceptId, "-1", "Wrong value at \"[POINT/PUNKT] Revs accept value\"."},
        {Dlg::kPointRevsAcceptId, "5000", nullptr},
        {Dlg::kPointInjsAcceptId, "100.5", "Wrong value at \"[POINT/PUNKT] Injs accept value\"."},
        {Dlg::kPointInjsAcceptId, "0", nullptr},
        {Dlg::kPointInjsStabilityId, "45", nullptr},
        {Dlg::kPointInjsStabilityId, "45.5", "Wrong value at \"[POINT/PUNKT] Injs stability value\"."},
        {Dlg::kAutoTimeId, "499", "Wrong value at \"[AUTOMATIC] Time of measure\"."},
        {Dlg::kAutoTimeId, "500", nullptr},
        {Dlg::kAutoRevsChangeId, "5000.0", nullptr},
        {Dlg::kAutoRevsChangeId, "x", "Wrong value at \"[AUTOMATIC] Max revs change during 1 sec\"."},
        {Dlg::kAutoInjsChangeId, "10.01", "Wrong value at \"[AUTOMATIC] Max injs change during 1 sec\"."},
        {Dlg::kAutoRevsSlopeId, "-0.5", "Wrong value at \"[AUTOMATIC] Max descent slope of revs\"."},
        {Dlg::kAutoInjsSlopeId, "45", nullptr},
        {Dlg::kAutoInjsSlopeId, "45.5", "Wrong value at \"[AUTOMATIC] Max descent slope of injs\"."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.id) + " " + row.typed);
        Open();
        boxes.clear();
        TypeInto(dialog, row.id, row.typed);
        Click(dialog, IDOK);
        if (row.message == nullptr) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_FALSE(IsShown());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], row.message);
            EXPECT_TRUE(IsShown());
        }
        dialog.DestroyWindow();
    }
}

TEST_F(AdaptSettingsDlgTest, StoresAcceptedValuesInTheirCores) {
    Open();
    TypeInto(dialog, Dlg::kPointTimeId, "1000");
    TypeInto(dialog, Dlg::kPointInjsStabilityId, "45");
    TypeInto(dialog, Dlg::kAutoTimeId, "20000");
    TypeInto(dialog, Dlg::kAutoInjsChangeId, "2.5");
    Click(dialog, IDOK);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(adaptive.GetParameters().timeOfMeasureMs, 1000);
    EXPECT_DOUBLE_EQ(adaptive.GetParameters().injsStabilityDeg, 45.0);
    EXPECT_EQ(continuous.GetParameters().timeOfMeasureMs, 20000);
    EXPECT_DOUBLE_EQ(continuous.GetParameters().maxInjsChangePerSecond, 2.5);
}

TEST_F(AdaptSettingsDlgTest, AFailureAtTheSixthFieldLeavesTheFirstFiveStored) {
    Open();
    TypeInto(dialog, Dlg::kPointTimeId, "5000");
    TypeInto(dialog, Dlg::kPointRevsAcceptId, "200");
    TypeInto(dialog, Dlg::kPointInjsAcceptId, "50");
    TypeInto(dialog, Dlg::kPointInjsStabilityId, "3");
    TypeInto(dialog, Dlg::kAutoTimeId, "2000");
    TypeInto(dialog, Dlg::kAutoRevsChangeId, "5000.5");
    TypeInto(dialog, Dlg::kAutoInjsChangeId, "3");
    Click(dialog, IDOK);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Wrong value at \"[AUTOMATIC] Max revs change during 1 sec\".");
    EXPECT_TRUE(IsShown());
    EXPECT_EQ(adaptive.GetParameters().timeOfMeasureMs, 5000);
    EXPECT_EQ(adaptive.GetParameters().revsAcceptRpm, 200);
    EXPECT_DOUBLE_EQ(adaptive.GetParameters().injsAcceptPercent, 50.0);
    EXPECT_DOUBLE_EQ(adaptive.GetParameters().injsStabilityDeg, 3.0);
    EXPECT_EQ(continuous.GetParameters().timeOfMeasureMs, 2000);
    EXPECT_DOUBLE_EQ(continuous.GetParameters().maxRevsChangePerSecond, 500.0);
    EXPECT_DOUBLE_EQ(continuous.GetParameters().maxInjsChangePerSecond, 1.0);
}

}  // namespace
