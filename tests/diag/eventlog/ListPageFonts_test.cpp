// The fonts of the trouble-code and event-log pages under Wine: Verdana on their buttons and
// a smaller Verdana on their labels and texts, both at the page's scale, and Arial in the tips.
#include "diag/CDtcPage.h"
#include "diag/CEventLogPage.h"
#include "forms/fonts/MakeScaledLogFont.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr double kScaleX = 1.5;
constexpr double kScaleY = 2.0;

LOGFONTA ControlFont(const CWnd& page, int id) {
    LOGFONTA font = {};
    const auto handle = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(page.GetSafeHwnd(), id), WM_GETFONT, 0, 0));
    GetObjectA(handle, sizeof(font), &font);
    return font;
}

class ListPageFontsTest : public PageHost {
protected:
    void Open(CScrollPage& page, UINT templateId) {
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        page.SetScale(kScaleX, kScaleY);
        ASSERT_TRUE(page.Create(templateId, &main));
    }

    void ExpectVerdana(CWnd& page, int id, int tenthsPoint) {
        SCOPED_TRACE(id);
        const LOGFONTA expected = MakeScaledLogFont(&page, "Verdana", tenthsPoint, 0, kScaleX, kScaleY);
        const LOGFONTA actual = ControlFont(page, id);
        EXPECT_EQ(std::string(actual.lfFaceName), "Verdana");
        EXPECT_EQ(actual.lfHeight, expected.lfHeight);
        EXPECT_EQ(actual.lfWidth, expected.lfWidth);
    }
};

TEST_F(ListPageFontsTest, ButtonsAndTextsOfBothPagesTakeTheirVerdanaSizes) {
    CDtcPage dtcPage{nullptr};
    Open(dtcPage, CDtcPage::kTemplateId);
    CEventLogPage eventLogPage{nullptr};
    Open(eventLogPage, CEventLogPage::kTemplateId);

    const struct {
        CWnd* page;
        int id;
        int tenthsPoint;
    } cases[] = {
        {&dtcPage, CDtcPage::kDeleteButtonId, 90},
        {&dtcPage, CDtcPage::kStoredLabelId, 85},
        {&dtcPage, CDtcPage::kPendingLabelId, 85},
        {&eventLogPage, CEventLogPage::kDeleteButtonId, 90},
        {&eventLogPage, CEventLogPage::kResetButtonId, 90},
        {&eventLogPage, CEventLogPage::kRunningLabelId, 85},
        {&eventLogPage, CEventLogPage::kRunningTimeId, 85},
    };
    for (const auto& c : cases) {
        ExpectVerdana(*c.page, c.id, c.tenthsPoint);
    }
    // The two sizes must differ at this scale, or the table above could not tell them apart.
    EXPECT_NE(ControlFont(dtcPage, CDtcPage::kDeleteButtonId).lfHeight,
              ControlFont(dtcPage, CDtcPage::kStoredLabelId).lfHeight);
}

TEST_F(ListPageFontsTest, TipsAreInArialAtThePagesScale) {
    CDtcPage page{nullptr};
    Open(page, CDtcPage::kTemplateId);
    CString text;
    LOGFONTA tip = {};
    const auto* grid = static_cast<CGridCtrl*>(
        CWnd::FromHandlePermanent(GetDlgItem(page.GetSafeHwnd(), CDtcPage::kStoredGridId)));
    ASSERT_NE(grid, nullptr);
    page.GetCodesTip(*grid, 1, 3, text, tip);
    const LOGFONTA expected = MakeScaledLogFont(&page, "Arial", 70, 0, kScaleX, kScaleY);
    EXPECT_EQ(std::string(tip.lfFaceName), "Arial");
    EXPECT_EQ(tip.lfHeight, expected.lfHeight);
}

}  // namespace
