// Default-aware image buttons in a dialog: the default-button logic, the default frame,
// the face colour, the corner mark and the icon's ownership.
#include "forms/CImageButton.h"

#include "classlib/win/CDialog.h"
#include "tests/forms/ControlTestSupport.h"
#include "tests/forms/FormsTestIds.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kFace = RGB(108, 191, 143);

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dialog.Create(IDD_FORMS_TEST_BUTTONS));
        ASSERT_TRUE(m_default.SubclassDlgItem(IDOK, &m_dialog));
        ASSERT_TRUE(m_other.SubclassDlgItem(IDC_FORMS_TEST_PUSH, &m_dialog));
        ASSERT_TRUE(m_check.SubclassDlgItem(IDC_FORMS_TEST_CHECK, &m_dialog));
    }

    void TearDown() override {
        m_default.UnsubclassWindow();
        m_other.UnsubclassWindow();
        m_check.UnsubclassWindow();
        m_dialog.DestroyWindow();
    }

    static UINT DialogCode(CWnd& button) { return static_cast<UINT>(button.SendMessage(WM_GETDLGCODE)); }

    // The middle of the left edge: the outermost ring of the button.
    static COLORREF OuterRing(CWnd& button) {
        const CCapturedPixels pixels(button.GetSafeHwnd());
        return pixels.At(0, pixels.Height() / 2);
    }

    CDialog m_dialog{IDD_FORMS_TEST_BUTTONS};
    CImageButton m_default;
    CImageButton m_other;
    CImageButton m_check;
};

}  // namespace

TEST_F(ImageButtonTest, AnswersTheDialogCodesOfThePushButtonItReplaced) {
    EXPECT_EQ(0u, m_default.GetButtonKind());
    EXPECT_EQ(0u, m_other.GetButtonKind());
    EXPECT_EQ(static_cast<UINT>(BS_AUTOCHECKBOX), m_check.GetButtonKind());
    EXPECT_TRUE(m_default.IsDefault());
    EXPECT_FALSE(m_other.IsDefault());
    EXPECT_NE(0u, DialogCode(m_default) & DLGC_DEFPUSHBUTTON);
    EXPECT_NE(0u, DialogCode(m_other) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(0u, DialogCode(m_check) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
    for (CImageButton* button : {&m_default, &m_other, &m_check}) {
        EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button->GetStyle() & 0x0F);
    }
}

TEST_F(ImageButtonTest, FollowsTheDialogsDefaultAndStaysOwnerDrawn) {
    m_dialog.SetDefID(IDC_FORMS_TEST_PUSH);
    EXPECT_FALSE(m_default.IsDefault());
    EXPECT_TRUE(m_other.IsDefault());
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), m_other.GetStyle() & 0x0F);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), m_default.GetStyle() & 0x0F);
    EXPECT_EQ(kBlack, OuterRing(m_other));
    EXPECT_NE(kBlack, OuterRing(m_default));
}

TEST_F(ImageButtonTest, RefusingTheDefaultHandsItBack) {
    EXPECT_EQ(kBlack, OuterRing(m_default));
    m_default.EnableDefault(FALSE);
    EXPECT_FALSE(m_default.IsDefault());
    EXPECT_EQ(0u, DialogCode(m_default) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
    EXPECT_NE(kBlack, OuterRing(m_default));
    // Refusing on a button that is not the default changes only the permission.
    m_other.EnableDefault(FALSE);
    EXPECT_FALSE(m_other.IsDefault());
    EXPECT_EQ(0u, DialogCode(m_other) & DLGC_UNDEFPUSHBUTTON);
}

TEST_F(ImageButtonTest, PaintsItsFaceColourAndCornerMark) {
    m_other.SetBkColor(kFace);
    RECT client = {};
    m_other.GetClientRect(&client);
    const RECT face = FrameInside(client, DFCS_BUTTONPUSH);
    const CCapturedPixels plain(m_other.GetSafeHwnd());
    EXPECT_EQ(kFace, plain.At(face.right - 3, face.bottom - 3));
    EXPECT_EQ(kFace, plain.At(face.left + 1, face.top + 1));
    m_other.SetCornerMark(RGB(255, 0, 0));
    const CCapturedPixels marked(m_other.GetSafeHwnd());
    // Eight rows from the face's corner, each one pixel shorter; the last is empty.
    for (int k = 0; k < 8; ++k) {
        const int x = face.left + 1;
        const int y = face.top + 1 + k;
        EXPECT_EQ(k < 7, marked.At(x, y) == RGB(255, 0, 0)) << "row " << k;
        if (k < 7) {
            EXPECT_EQ(RGB(255, 0, 0), marked.At(x + 6 - k, y)) << "row " << k;
            EXPECT_EQ(kFace, marked.At(x + 7 - k, y)) << "row " << k;
        }
    }
}

TEST_F(ImageButtonTest, KeepsTheIconItIsGivenAgain) {
    const HICON icon = CopyIcon(LoadIcon(nullptr, IDI_APPLICATION));
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(TRUE, m_other.SetIcon(icon, 16, 16));
    EXPECT_EQ(TRUE, m_other.SetIcon(icon, 16, 16));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(FALSE, m_other.SetIcon(nullptr, 16, 16));
}

TEST_F(ImageButtonTest, SetDefaultButtonMovesTheDefaultLook) {
    SetDefaultButton(nullptr, IDC_FORMS_TEST_PUSH);
    ::SetFocus(::GetDlgItem(m_dialog.GetSafeHwnd(), IDC_FORMS_TEST_EDIT));
    SetDefaultButton(m_dialog.GetSafeHwnd(), IDC_FORMS_TEST_PUSH);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(IDC_FORMS_TEST_PUSH, DC_HASDEFID)), m_dialog.GetDefID());
    EXPECT_TRUE(m_other.IsDefault());
    EXPECT_FALSE(m_default.IsDefault());
    // With the focus on a push button, that button shows the default look instead.
    m_default.SetFocus();
    SetDefaultButton(m_dialog.GetSafeHwnd(), IDC_FORMS_TEST_PUSH);
    EXPECT_TRUE(m_default.IsDefault());
    EXPECT_FALSE(m_other.IsDefault());
}
