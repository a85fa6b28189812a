// Owner-drawn push, check and radio buttons: their check state, radio groups, blinking,
// the offset print while active, and the focusless base handing the focus back.
#include "forms/CRPButton.h"

#include "classlib/win/CDialog.h"
#include "classlib/win/CRect.h"
#include "forms/CFocuslessButton.h"
#include "tests/forms/ControlTestSupport.h"
#include "tests/forms/FormsTestIds.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr UINT kFirstId = 600;
const CRect kButtonRect(10, 10, 90, 40);

class RPButtonTest : public ::testing::Test {
protected:
    void Create(CRPButton& button, UINT id, DWORD style, int row = 0) {
        const CRect rect(kButtonRect.left, kButtonRect.top + 40 * row, kButtonRect.right,
                         kButtonRect.bottom + 40 * row);
        ASSERT_TRUE(button.Create("", WS_VISIBLE | style, rect, &m_parent, id));
    }

    // What a click on the button sends its parent.
    void Click(CRPButton& button) {
        m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(button.GetDlgCtrlID(), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button.GetSafeHwnd()));
    }

    static LRESULT Check(CRPButton& button) { return button.SendMessage(BM_GETCHECK); }

    // A face pixel well away from the (empty) caption.
    static COLORREF Face(CRPButton& button) { return CCapturedPixels(button.GetSafeHwnd()).At(8, 15); }

    CTestParentWnd m_parent;
};

}  // namespace

TEST_F(RPButtonTest, BecomesOwnerDrawnAndKeepsItsOwnCheckState) {
    CRPButton button;
    Create(button, kFirstId, BS_PUSHBUTTON);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & 0x0F);
    EXPECT_TRUE(button.IsKindOf(RUNTIME_CLASS(CFocuslessButton)));

    const struct {
        WPARAM set;
        LRESULT read;
    } cases[] = {{BST_CHECKED, 1}, {0, 0}, {BST_INDETERMINATE, 1}, {7, 1}, {BST_UNCHECKED, 0}};

    for (const auto& c : cases) {
        EXPECT_EQ(0, button.SendMessage(BM_SETCHECK, c.set));
        EXPECT_EQ(c.read, Check(button)) << c.set;
    }
    // A plain push button is not toggled by clicks, but its parent hears them.
    Click(button);
    EXPECT_EQ(0, Check(button));
    EXPECT_EQ(1, m_parent.m_clicks);
}

TEST_F(RPButtonTest, CheckBoxTogglesOnEachClickAndDoubleClick) {
    CRPButton box;
    Create(box, kFirstId, BS_AUTOCHECKBOX);
    Click(box);
    EXPECT_EQ(1, Check(box));
    m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(kFirstId, BN_DOUBLECLICKED),
                         reinterpret_cast<LPARAM>(box.GetSafeHwnd()));
    EXPECT_EQ(0, Check(box));
    EXPECT_EQ(2, m_parent.m_clicks);
}

TEST_F(RPButtonTest, RadioButtonClearsTheRestOfItsGroupOnly) {
    CRPButton radios[3];
    CRPButton outsider;
    Create(radios[0], kFirstId, BS_AUTORADIOBUTTON | WS_GROUP, 0);
    Create(radios[1], kFirstId + 1, BS_AUTORADIOBUTTON, 1);
    Create(radios[2], kFirstId + 2, BS_AUTORADIOBUTTON, 2);
    Create(outsider, kFirstId + 3, BS_AUTORADIOBUTTON | WS_GROUP, 3);
    radios[0].SendMessage(BM_SETCHECK, 1);
    radios[2].SendMessage(BM_SETCHECK, 1);
    outsider.SendMessage(BM_SETCHECK, 1);
    Click(radios[1]);
    EXPECT_EQ(0, Check(radios[0]));
    EXPECT_EQ(1, Check(radios[1]));
    EXPECT_EQ(0, Check(radios[2]));
    EXPECT_EQ(1, Check(outsider));
    // Clicking the checked one changes nothing.
    radios[2].SendMessage(BM_SETCHECK, 1);
    Click(radios[1]);
    EXPECT_EQ(1, Check(radios[1]));
    EXPECT_EQ(1, Check(radios[2]));
}

TEST_F(RPButtonTest, RadioWalkEndsWhenItCannotComeBackToTheClickedButton) {
    CRPButton radios[3];
    Create(radios[0], kFirstId, BS_AUTORADIOBUTTON | WS_GROUP, 0);
    Create(radios[1], kFirstId + 1, BS_AUTORADIOBUTTON, 1);
    Create(radios[2], kFirstId + 2, BS_AUTORADIOBUTTON, 2);
    radios[0].SendMessage(BM_SETCHECK, 1);
    // The group walk skips hidden controls, so it never meets this one again.
    radios[1].ShowWindow(SW_HIDE);
    Click(radios[1]);
    EXPECT_EQ(1, Check(radios[1]));
    EXPECT_EQ(0, Check(radios[0]));
}

TEST_F(RPButtonTest, BlinksBetweenTheFaceAndTheHighlightFill) {
    CRPButton button;
    Create(button, kFirstId, BS_PUSHBUTTON);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(FALSE, button.Blink(FALSE));
    EXPECT_EQ(TRUE, button.Blink(TRUE));
    EXPECT_EQ(FALSE, button.Blink(TRUE));
    EXPECT_EQ(face, Face(button));
    button.SendMessage(WM_TIMER, CRPButton::kBlinkTimerId);
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), Face(button));
    button.SendMessage(WM_TIMER, CRPButton::kBlinkTimerId);
    EXPECT_EQ(face, Face(button));
    button.SetHighlightColors(RGB(255, 255, 255), RGB(10, 20, 30));
    button.SendMessage(WM_TIMER, CRPButton::kBlinkTimerId);
    EXPECT_EQ(RGB(10, 20, 30), Face(button));
    // Stopping in the highlight phase shows the face again.
    EXPECT_EQ(TRUE, button.Blink(FALSE));
    EXPECT_EQ(face, Face(button));
}

TEST_F(RPButtonTest, StopsBlinkingWithItsWindow) {
    CRPButton button;
    Create(button, kFirstId, BS_PUSHBUTTON);
    ASSERT_EQ(TRUE, button.Blink(TRUE));
    button.DestroyWindow();
    EXPECT_EQ(FALSE, button.Blink(FALSE));
}

TEST_F(RPButtonTest, ActiveButtonPrintsItsCaptionAgainInTheActiveColour) {
    constexpr COLORREF kGas = RGB(62, 232, 17);
    CRPButton button;
    ASSERT_TRUE(button.Create("GAS", WS_VISIBLE | BS_PUSHBUTTON, kButtonRect, &m_parent, kFirstId));
    button.SetTextColor(kGas);
    const RECT all = {0, 0, kButtonRect.Width(), kButtonRect.Height()};
    EXPECT_FALSE(CCapturedPixels(button.GetSafeHwnd()).Contains(all, kGas));
    button.SetActive(TRUE);
    EXPECT_TRUE(CCapturedPixels(button.GetSafeHwnd()).Contains(all, kGas));
}

TEST(FocuslessButton, HandsTheFocusBackAfterAClickWhenAsked) {
    CDialog dialog(IDD_FORMS_TEST_BUTTONS);
    ASSERT_TRUE(dialog.Create(IDD_FORMS_TEST_BUTTONS));
    CFocuslessButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_FORMS_TEST_FOCUSLESS, &dialog));
    const HWND edit = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_FORMS_TEST_EDIT);
    const auto clickAfterFocusMove = [&] {
        ::SetFocus(edit);
        button.SetFocus();
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FORMS_TEST_FOCUSLESS, BN_CLICKED),
                           reinterpret_cast<LPARAM>(button.GetSafeHwnd()));
    };
    clickAfterFocusMove();
    EXPECT_EQ(button.GetSafeHwnd(), ::GetFocus());
    button.SetReturnFocus(TRUE);
    clickAfterFocusMove();
    EXPECT_EQ(edit, ::GetFocus());
    button.UnsubclassWindow();
    dialog.DestroyWindow();
}
