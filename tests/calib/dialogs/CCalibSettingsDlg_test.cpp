// The point calibration's settings dialog under Wine: the core's parameters shown, typed
// values checked for their number format only and stored field by field, the first refused
// field reported with its own text.
#include "calib/CCalibSettingsDlg.h"

#include "calib/CalibratorCore.h"
#include "tests/calib/dialogs/CalibDialogHost.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Dlg = CCalibSettingsDlg;

class CalibSettingsDlgTest : public CalibDialogHost {
protected:
    void Open() {
        dialog.SetCore(&core);
        dialog.SetResourceManager(&resources);
        ASSERT_TRUE(dialog.Create(Dlg::kTemplateId, &page));
        dialog.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    bool IsShown() const { return dialog.GetSafeHwnd() != nullptr && dialog.IsWindowVisible(); }

    bool Checked(int id) { return IsDlgButtonChecked(dialog.GetSafeHwnd(), id) == BST_CHECKED; }

    CalibratorCore core;
    Dlg dialog{&page};
};

TEST_F(CalibSettingsDlgTest, ShowsTheCoreParametersWithTheirFormats) {
    Open();

    struct Row {
        int id;
        const char* shown;
    };

    const Row rows[] = {
        {Dlg::kAt600Id, "40"},
        {Dlg::kAt4000Id, "10"},
        {Dlg::kMinimalId, "10"},
        {Dlg::kMaximalId, "256"},
        {Dlg::kStabilityCountId, "10"},
        {Dlg::kRevsStabilityId, "100"},
        {Dlg::kRevsAcceptId, "100"},
        {Dlg::kRevsAverageId, "3"},
        {Dlg::kWeightToleranceId, "0.000001"},
        {Dlg::kMinTemperatureId, "70"},
        {Dlg::kReckoningToleranceId, "0.012500"},
        {Dlg::kInjsAcceptId, "100.000000"},
        {Dlg::kInjsStabilityId, "2"},
        {Dlg::kTanhAbsoluteXId, "1.000000"},
        {Dlg::kTanhRelativeYId, "1.000000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(ItemText(dialog, row.id), row.shown);
    }
    EXPECT_TRUE(Checked(Dlg::kDistortionOffId));
    EXPECT_EQ(WindowText(dialog.GetSafeHwnd()), "Settings");
}

TEST_F(CalibSettingsDlgTest, SelectsTheRadioOfTheDistortionMode) {
    struct Row {
        int mode;
        int checked;
    };

    const Row rows[] = {{0, Dlg::kDistortionOffId},
                        {1, Dlg::kDistortionAbsoluteId},
                        {2, Dlg::kDistortionRelativeId},
                        {7, Dlg::kDistortionOffId}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        core.GetParameters().distortionMode = row.mode;
        Open();
        for (int id : {Dlg::kDistortionOffId, Dlg::kDistortionAbsoluteId, Dlg::kDistortionRelativeId}) {
            EXPECT_EQ(Checked(id), id == row.checked) << id;
        }
        dialog.DestroyWindow();
    }
}

TEST_F(CalibSettingsDlgTest, StoresEveryFieldAndTheModeAndRecomputesTheLine) {
    Open();
    TypeInto(dialog, Dlg::kAt600Id, "50");
    TypeInto(dialog, Dlg::kReckoningToleranceId, "0.5");
    TypeInto(dialog, Dlg::kTanhRelativeYId, "-2.25");
    TypeInto(dialog, Dlg::kMinTemperatureId, "-5");
    CheckRadioButton(dialog.GetSafeHwnd(), Dlg::kDistortionOffId, Dlg::kDistortionRelativeId,
                     Dlg::kDistortionAbsoluteId);
    Click(dialog, IDOK);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsShown());
    const CalibratorCore::Parameters& p = core.GetParameters();
    EXPECT_EQ(p.measurementsAt600, 50);
    EXPECT_DOUBLE_EQ(p.reckoningTolerance, 0.5);
    EXPECT_DOUBLE_EQ(p.tanhRelativeY, -2.25);
    EXPECT_EQ(p.minTemperatureC, -5);
    EXPECT_EQ(p.distortionMode, CalibratorCore::kDistortionTanhAbsolute);
    EXPECT_EQ(core.GetMeasurementCount(600), 50);
}

// Every field in the order of the checks, with the text of its message: a bad entry there
// leaves the fields checked before it stored and the rest untouched.
TEST_F(CalibSettingsDlgTest, TheFirstRefusedFieldShowsItsTextAndKeepsTheEarlierOnesStored) {
    struct Row {
        int id;
        bool decimal;
        const char* message;
    };

    const Row order[] = {
        {Dlg::kMaximalId, false, "Wrong value at \"Maximal number of measurements:\"."},
        {Dlg::kMinimalId, false, "Wrong value at \"Minimal number of measurements:\"."},
        {Dlg::kAt600Id, false, "Wrong value at \"Number of measurements at 600 1/min:\"."},
        {Dlg::kAt4000Id, false, "Wrong value at \"Number of measurements at 4000 1/min:\"."},
        {Dlg::kRevsAcceptId, false, "Wrong value at \"Revs accept value:\"."},
        {Dlg::kRevsAverageId, false, "Wrong value at \"Number of revs average:\"."},
        {Dlg::kStabilityCountId, false, "Wrong value at \"Number of measurements to determine stability:\"."},
        {Dlg::kRevsStabilityId, false, "Wrong value at \"Revs stability value:\"."},
        {Dlg::kWeightToleranceId, true, "Wrong value at \"Measurements weight tolerance:\"."},
        {Dlg::kMinTemperatureId, false, "Wrong value at \"Minimum temperature to start calibration:\"."},
        {Dlg::kReckoningToleranceId, true, "Wrong value at \"Reckoning tolerance:\"."},
        {Dlg::kInjsAcceptId, true, "Wrong value at \"Injs accept value:\"."},
        {Dlg::kInjsStabilityId, false, "Wrong value at \"Injs stability value:\"."},
        {Dlg::kTanhAbsoluteXId, true, "Wrong value at \"Distortion TANH Absolute, X\"."},
        {Dlg::kTanhAbsoluteYId, true, "Wrong value at \"Distortion TANH Absolute, Y\"."},
        {Dlg::kTanhRelativeXId, true, "Wrong value at \"Distortion TANH Relative, X\"."},
        {Dlg::kTanhRelativeYId, true, "Wrong value at \"Distortion TANH Relative, Y\"."},
    };
    const size_t count = sizeof(order) / sizeof(order[0]);
    for (size_t bad = 0; bad < count; ++bad) {
        SCOPED_TRACE(order[bad].message);
        core.GetParameters() = CalibratorCore::Parameters();
        Open();
        for (size_t i = 0; i < count; ++i) {
            TypeInto(dialog, order[i].id, order[i].decimal ? "7.5" : "7");
        }
        // A whole-number field refuses a decimal text; a decimal field refuses a letter.
        TypeInto(dialog, order[bad].id, order[bad].decimal ? "7.5x" : "7.5");
        CheckRadioButton(dialog.GetSafeHwnd(), Dlg::kDistortionOffId, Dlg::kDistortionRelativeId,
                         Dlg::kDistortionRelativeId);
        boxes.clear();
        Click(dialog, IDOK);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], order[bad].message);
        EXPECT_EQ(boxTypes[0] & 0xF, static_cast<UINT>(MB_OK));
        EXPECT_TRUE(IsShown());
        dialog.DestroyWindow();
        const CalibratorCore::Parameters& p = core.GetParameters();
        const CalibratorCore::Parameters defaults;
        const std::vector<std::pair<double, double>> values = {
            {p.maxMeasurements, defaults.maxMeasurements},
            {p.minMeasurements, defaults.minMeasurements},
            {p.measurementsAt600, defaults.measurementsAt600},
            {p.measurementsAt4000, defaults.measurementsAt4000},
            {p.revsAcceptRpm, defaults.revsAcceptRpm},
            {p.revsAverageCount, defaults.revsAverageCount},
            {p.stabilityMeasurements, defaults.stabilityMeasurements},
            {p.revsStabilityRpm, defaults.revsStabilityRpm},
            {p.weightTolerance, defaults.weightTolerance},
            {p.minTemperatureC, defaults.minTemperatureC},
            {p.reckoningTolerance, defaults.reckoningTolerance},
            {p.injsAcceptPercent, defaults.injsAcceptPercent},
            {p.injsStabilityDeg, defaults.injsStabilityDeg},
            {p.tanhAbsoluteX, defaults.tanhAbsoluteX},
            {p.tanhAbsoluteY, defaults.tanhAbsoluteY},
            {p.tanhRelativeX, defaults.tanhRelativeX},
            {p.tanhRelativeY, defaults.tanhRelativeY},
        };
        for (size_t i = 0; i < count; ++i) {
            const double typed = order[i].decimal ? 7.5 : 7.0;
            EXPECT_DOUBLE_EQ(values[i].first, i < bad ? typed : values[i].second) << "field " << i;
        }
        EXPECT_EQ(p.distortionMode, CalibratorCore::kDistortionOff) << "mode stored before the last field";
    }
}

TEST_F(CalibSettingsDlgTest, ModalRunEndsWithOkOnlyAfterEveryFieldPassed) {
    dialog.SetCore(&core);
    dialog.SetResourceManager(&resources);
    const INT_PTR result = RunModal(dialog, [this] {
        TypeInto(dialog, Dlg::kRevsAcceptId, "1e3");
        Click(dialog, IDOK);
        TypeInto(dialog, Dlg::kRevsAcceptId, "150");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Wrong value at \"Revs accept value:\".");
    EXPECT_EQ(core.GetParameters().revsAcceptRpm, 150);
}

TEST_F(CalibSettingsDlgTest, CancelStoresNothing) {
    dialog.SetCore(&core);
    dialog.SetResourceManager(&resources);
    const INT_PTR result = RunModal(dialog, [this] {
        TypeInto(dialog, Dlg::kMaximalId, "12");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(core.GetParameters().maxMeasurements, 256);
}

}  // namespace
