// The measurement edit dialog run modally with its texts from the program's resources: the
// values it shows, the limits it keeps, and the button that ends it.
#include "config/CMeasurementEditDlg.h"

#include "tests/config/pages/CLanguageSwitch.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Step = std::function<void()>;

// Runs one step per timer tick while the dialog is modal; a dialog still up well after the
// last step ends with -2, so a fault cannot hang the test.
struct StepRunner {
    CDialog* dialog = nullptr;
    std::vector<Step> steps;
    size_t next = 0;
    int idleTicks = 0;
};

StepRunner g_runner;
constexpr int kIdleTicksBeforeGivingUp = 60;
constexpr INT_PTR kGaveUp = -2;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
    if (g_runner.dialog == nullptr || g_runner.dialog->GetSafeHwnd() == nullptr) {
        return;
    }
    if (g_runner.next < g_runner.steps.size()) {
        g_runner.steps[g_runner.next++]();
        return;
    }
    if (++g_runner.idleTicks > kIdleTicksBeforeGivingUp) {
        g_runner.dialog->EndDialog(static_cast<int>(kGaveUp));
    }
}

INT_PTR RunModalWithSteps(CDialog& dialog, std::vector<Step> steps) {
    g_runner = StepRunner();
    g_runner.dialog = &dialog;
    g_runner.steps = std::move(steps);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &RunNextStep);
    const INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    g_runner = StepRunner();
    return result;
}

class MeasurementEditDlgTest : public PageHost {
protected:
    MeasurementEditDlgTest() {
        dialog.SetResourceManager(&resources);
        dialog.SetRev(2500, 1000, 5000);
        dialog.SetInjection(4.5, 2.0, 8.0);
        dialog.SetMeasurement(12, -99, 99);
    }

    HWND Item(int id) const { return GetDlgItem(dialog.GetSafeHwnd(), id); }

    Step Type(int id, const char* text) {
        return [this, id, text]() { SetWindowTextA(Item(id), text); };
    }

    Step Press(int id) {
        return [this, id]() {
            SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(Item(id)));
        };
    }

    Step Read(std::vector<std::string>& texts) {
        return [this, &texts]() {
            texts = {WindowText(dialog.GetSafeHwnd()),
                     WindowText(Item(CMeasurementEditDlg::kRevId)),
                     WindowText(Item(CMeasurementEditDlg::kInjectionId)),
                     WindowText(Item(CMeasurementEditDlg::kMeasurementId)),
                     WindowText(Item(CMeasurementEditDlg::kRevLabelId)),
                     WindowText(Item(CMeasurementEditDlg::kTotalizeId))};
        };
    }

    CMeasurementEditDlg dialog{&main};
};

TEST_F(MeasurementEditDlgTest, ShowsTheValuesAndEndsWithTheButtonPressed) {
    std::vector<std::string> texts;
    EXPECT_EQ(RunModalWithSteps(dialog, {Read(texts), Press(IDOK)}), IDOK);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Measurement edit", "2500", "4.50", "12", "Rev:", "Totalize"}));
    EXPECT_EQ(RunModalWithSteps(dialog, {Press(CMeasurementEditDlg::kTotalizeId)}),
              CMeasurementEditDlg::kResultTotalize);
    EXPECT_EQ(RunModalWithSteps(dialog, {Press(IDCANCEL)}), IDCANCEL);
}

TEST_F(MeasurementEditDlgTest, TheLimitsThemselvesAreAccepted) {
    EXPECT_EQ(RunModalWithSteps(dialog, {Type(CMeasurementEditDlg::kRevId, "5000"),
                                         Type(CMeasurementEditDlg::kInjectionId, "2.00"),
                                         Type(CMeasurementEditDlg::kMeasurementId, "-99"), Press(IDOK)}),
              IDOK);
    EXPECT_EQ(dialog.GetRev(), 5000);
    EXPECT_DOUBLE_EQ(dialog.GetInjection(), 2.0);
    EXPECT_EQ(dialog.GetMeasurement(), -99);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MeasurementEditDlgTest, ABadValueKeepsTheDialogOpen) {
    struct Case {
        int id;
        const char* text;
        const char* message;
    };

    const Case cases[] = {
        {CMeasurementEditDlg::kRevId, "5001", "Element out of range: 5001 <- (1000; 5000)."},
        {CMeasurementEditDlg::kRevId, "25x", "Attempt to write an invalid element: 25x."},
        {CMeasurementEditDlg::kInjectionId, "8.5", "Element out of range: 8.50 <- (2.00; 8.00)."},
        {CMeasurementEditDlg::kMeasurementId, "abc", "Attempt to write an invalid element: abc."},
        {CMeasurementEditDlg::kMeasurementId, "100", "Element out of range: 100 <- (-99; 99)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        boxes.clear();
        bool stillOpen = false;
        const INT_PTR result = RunModalWithSteps(
            dialog, {Type(c.id, c.text), Press(CMeasurementEditDlg::kTotalizeId),
                     [this, &stillOpen]() { stillOpen = IsWindowVisible(dialog.GetSafeHwnd()) != FALSE; },
                     Press(IDCANCEL)});
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(boxes, std::vector<std::string>{c.message});
    }
}

// Breakpoints that are not whole hundredths of a millisecond: the field shows two decimals, so
// an untouched field keeps the value it was filled with, and the limits count as shown.
TEST_F(MeasurementEditDlgTest, TheInjectionTimeIsJudgedAsTheFieldShowsIt) {
    struct Case {
        const char* name;
        double prefilled;
        const char* typed;  // nullptr: left as filled
        INT_PTR result;
        double stored;
        const char* message;
    };

    const Case cases[] = {
        {"the last breakpoint untouched", 14.567, nullptr, IDOK, 14.567, nullptr},
        {"the first breakpoint untouched", 1.234, nullptr, IDOK, 1.234, nullptr},
        {"a calibrated time untouched", 5.1234, nullptr, IDOK, 5.1234, nullptr},
        {"a typed time", 5.1234, "5.13", IDOK, 5.13, nullptr},
        {"the shown maximum typed", 4.0, "14.57", IDOK, 14.567, nullptr},
        {"the shown minimum typed", 4.0, "1.23", IDOK, 1.234, nullptr},
        {"beyond the shown maximum", 4.0, "14.58", IDCANCEL, 4.0,
         "Element out of range: 14.58 <- (1.23; 14.57)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        CMeasurementEditDlg edit{&main};
        edit.SetResourceManager(&resources);
        edit.SetRev(2500, 1000, 5000);
        edit.SetInjection(c.prefilled, 1.234, 14.567);
        edit.SetMeasurement(12, -99, 99);
        std::vector<Step> steps;
        if (c.typed != nullptr) {
            const char* typed = c.typed;
            steps.push_back([&edit, typed]() {
                SetWindowTextA(GetDlgItem(edit.GetSafeHwnd(), CMeasurementEditDlg::kInjectionId), typed);
            });
        }
        steps.push_back(
            [&edit]() { SendMessageA(edit.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
        steps.push_back([&edit]() { edit.EndDialog(IDCANCEL); });
        EXPECT_EQ(RunModalWithSteps(edit, steps), c.result);
        EXPECT_DOUBLE_EQ(edit.GetInjection(), c.stored);
        EXPECT_EQ(boxes,
                  c.message != nullptr ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
}

// The injection time is shown and read with the separator of the language chosen; the other
// separator is no number there.
TEST_F(MeasurementEditDlgTest, TheInjectionTimeTakesTheLanguagesSeparator) {
    struct Case {
        const char* language;
        const char* shown;
        const char* typed;
        INT_PTR result;
        double stored;
        const char* message;
    };

    const Case cases[] = {
        {"Deutsch", "4,50", "1,5", IDOK, 1.5, nullptr},
        {"Deutsch", "4,50", "7,25", IDOK, 7.25, nullptr},
        {"Deutsch", "4,50", "1.5", IDCANCEL, 4.5, "Versuch, ein ung\xFCltiges Element zu schreiben: 1.5."},
        {"English", "4.50", "1.5", IDOK, 1.5, nullptr},
        {"English", "4.50", "1,5", IDCANCEL, 4.5, "Attempt to write an invalid element: 1,5."},
    };
    CLanguageSwitch language;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.typed);
        ASSERT_TRUE(language.Select(c.language));
        boxes.clear();
        CMeasurementEditDlg edit{&main};
        edit.SetResourceManager(&language.Resources());
        edit.SetRev(2500, 1000, 5000);
        edit.SetInjection(4.5, 1.0, 8.0);
        edit.SetMeasurement(12, -99, 99);
        const auto item = [&edit] {
            return GetDlgItem(edit.GetSafeHwnd(), CMeasurementEditDlg::kInjectionId);
        };
        const char* typed = c.typed;
        std::string shown;
        EXPECT_EQ(
            RunModalWithSteps(
                edit, {[&] { shown = WindowText(item()); }, [&] { SetWindowTextA(item(), typed); },
                       [&] { SendMessageA(edit.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); },
                       [&] { edit.EndDialog(IDCANCEL); }}),
            c.result);
        EXPECT_EQ(shown, c.shown);
        EXPECT_DOUBLE_EQ(edit.GetInjection(), c.stored);
        EXPECT_EQ(boxes,
                  c.message != nullptr ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
}

}  // namespace
