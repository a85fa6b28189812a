// The thin control wrappers reach their controls: buttons, edit boxes, combo boxes,
// progress bars, sliders, tooltips and image lists.
#include "classlib/win/CBitmap.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CComboBoxEx.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CImageList.h"
#include "classlib/win/CProgressCtrl.h"
#include "classlib/win/CSliderCtrl.h"
#include "classlib/win/CToolTipCtrl.h"

#include <gtest/gtest.h>

namespace {

const CRect kControlRect(0, 0, 120, 24);

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            m_parent.CreateEx(0, nullptr, "controls", WS_POPUP, CRect(0, 0, 300, 300), nullptr, nullptr));
    }

    CWnd m_parent;
};

}  // namespace

TEST_F(ControlsTest, ButtonKeepsItsCheckAndStyle) {
    CButton box;
    ASSERT_TRUE(box.Create("Check", BS_AUTOCHECKBOX, kControlRect, &m_parent, 1));
    EXPECT_EQ(static_cast<UINT>(BS_AUTOCHECKBOX), box.GetButtonStyle());
    box.SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, box.GetCheck());
    box.SetButtonStyle(BS_OWNERDRAW);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), box.GetButtonStyle() & BS_TYPEMASK);
    EXPECT_TRUE(box.IsKindOf(RUNTIME_CLASS(CWnd)));
}

TEST_F(ControlsTest, EditLimitsTextAndUndoes) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(ES_AUTOHSCROLL, kControlRect, &m_parent, 2));
    edit.LimitText(4);
    EXPECT_EQ(4u, edit.GetLimitText());
    edit.SetSel(0, -1);
    edit.ReplaceSel("abcdef", TRUE);
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("abcd", text);
    int start = 0;
    int end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(4, end);
    EXPECT_TRUE(edit.CanUndo());
    edit.Undo();
    edit.GetWindowText(text);
    EXPECT_STREQ("", text);
    edit.EmptyUndoBuffer();
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_TRUE(edit.SetReadOnly());
    EXPECT_NE(0u, edit.GetStyle() & ES_READONLY);
}

TEST_F(ControlsTest, ComboBoxKeepsItemsTextsAndData) {
    CComboBox combo;
    ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST, CRect(0, 0, 120, 200), &m_parent, 3));
    EXPECT_EQ(0, combo.AddString("alpha"));
    EXPECT_EQ(1, combo.AddString("beta"));
    EXPECT_EQ(0, combo.InsertString(0, "first"));
    EXPECT_NE(CB_ERR, combo.SetItemData(2, 4711));
    EXPECT_EQ(4711u, combo.GetItemData(2));
    EXPECT_EQ(2, combo.SelectString(-1, "be"));
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_EQ(1, combo.FindStringExact(-1, "alpha"));

    struct Case {
        int index;
        const char* text;
    };

    for (const Case& c : {Case{0, "first"}, Case{2, "beta"}, Case{3, ""}, Case{-1, ""}}) {
        SCOPED_TRACE(c.index);
        CString text = "stale";
        combo.GetLBText(c.index, text);
        EXPECT_STREQ(c.text, text);
    }
    EXPECT_EQ(2, combo.DeleteString(0));
    combo.ResetContent();
    EXPECT_EQ(0, combo.GetCount());
}

TEST_F(ControlsTest, ComboBoxExShowsItemsWithImages) {
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4));
    CBitmap strip;
    ASSERT_TRUE(strip.CreateBitmap(32, 16, 1, 32, nullptr));
    EXPECT_EQ(0, images.Add(&strip, RGB(255, 0, 255)));
    EXPECT_EQ(2, images.GetImageCount());
    IMAGEINFO info = {};
    ASSERT_TRUE(images.GetImageInfo(1, &info));
    EXPECT_EQ(16, info.rcImage.right - info.rcImage.left);

    CComboBoxEx combo;
    ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST, CRect(0, 0, 120, 200), &m_parent, 4));
    combo.SetImageList(&images);
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE;
    item.iItem = 0;
    item.pszText = const_cast<LPSTR>("drive");
    item.iImage = 1;
    EXPECT_EQ(0, combo.InsertItem(&item));
    EXPECT_EQ(1, combo.GetCount());
    char text[16] = {};
    COMBOBOXEXITEMA got = {};
    got.mask = CBEIF_TEXT | CBEIF_IMAGE;
    got.pszText = text;
    got.cchTextMax = sizeof(text);
    ASSERT_TRUE(combo.GetItem(&got));
    EXPECT_STREQ("drive", text);
    EXPECT_EQ(1, got.iImage);
    EXPECT_NE(nullptr, combo.GetComboBoxCtrl());
}

TEST_F(ControlsTest, ProgressAndSliderKeepRangeAndPosition) {
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(0, kControlRect, &m_parent, 5));
    progress.SetRange(0, 10000);
    int low = -1;
    int high = -1;
    progress.GetRange(low, high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(10000, high);
    progress.SetPos(2500);
    EXPECT_EQ(2500, progress.SetPos(3000));
    EXPECT_EQ(3000, progress.GetPos());

    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(TBS_HORZ, kControlRect, &m_parent, 6));
    slider.SetRange(10, 20);
    EXPECT_EQ(10, slider.GetRangeMin());
    EXPECT_EQ(20, slider.GetRangeMax());
    slider.SetPos(50);
    EXPECT_EQ(20, slider.GetPos());  // clamped to the range
}

TEST_F(ControlsTest, ToolTipHoldsToolsDelaysAndMargins) {
    CButton button;
    ASSERT_TRUE(button.Create("B", BS_PUSHBUTTON, kControlRect, &m_parent, 7));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&m_parent));
    EXPECT_TRUE(tip.AddTool(&button));
    EXPECT_TRUE(tip.AddTool(&m_parent, "area", CRect(0, 50, 10, 60), 9));
    EXPECT_FALSE(tip.AddTool(nullptr));
    EXPECT_EQ(2, tip.GetToolCount());
    tip.SetDelayTime(TTDT_AUTOPOP, 5000);
    EXPECT_EQ(5000, tip.GetDelayTime(TTDT_AUTOPOP));
    CRect margin(1, 2, 3, 4);
    tip.SetMargin(&margin);
    CRect got;
    tip.GetMargin(&got);
    EXPECT_EQ(margin.bottom, got.bottom);
    tip.DelTool(&button);
    EXPECT_EQ(1, tip.GetToolCount());
}
