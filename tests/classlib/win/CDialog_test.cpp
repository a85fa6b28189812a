// Dialogs from templates: the modal run disables its owner, opens centred over it and
// returns the EndDialog result; keys typed in a page reach the right dialog through the PreTranslateMessage
// walk (Enter and Escape go to the top dialog only from a DS_CONTROL page), and
// accelerators work inside the modal loop through the message filter.
#include "classlib/win/CDialog.h"

#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CMessageFilterHook.h"
#include "classlib/win/CRect.h"
#include "classlib/win/CWinApp.h"
#include "tests/classlib/win/CTestApp.h"
#include "tests/classlib/win/TestResources.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

constexpr int kPageGotKey = 500;
constexpr int kTimedOut = 501;
constexpr UINT_PTR kSafetyTimer = 1;

class CTestPage : public CDialog {
public:
    CDialog* m_mainDialog = nullptr;  // not owned

protected:
    void OnOK() override { m_mainDialog->EndDialog(kPageGotKey); }

    void OnCancel() override { m_mainDialog->EndDialog(kPageGotKey); }
};

class CTestMainDialog : public CDialog {
public:
    CTestMainDialog(UINT pageTemplate, UINT key, CWnd* owner)
        : CDialog(IDD_TEST_MAIN, owner), m_pageTemplate(pageTemplate), m_key(key) {}

    CWnd m_okButton;
    bool m_ownerEnabledDuringRun = true;
    HWND m_dialogWindow = nullptr;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_dialogWindow = m_hWnd;
        m_ownerEnabledDuringRun = m_pParentWnd->IsWindowEnabled() != FALSE;
        TestApp().m_acceleratorTarget = m_hWnd;
        m_page.m_mainDialog = this;
        if (!m_page.Create(m_pageTemplate, this)) {
            EndDialog(-1);
            return TRUE;
        }
        const HWND edit = ::GetDlgItem(m_page.m_hWnd, IDC_TEST_EDIT);
        ::SetFocus(edit);
        ::PostMessageA(edit, WM_KEYDOWN, m_key, 1);
        SetTimer(kSafetyTimer, 5000);
        return FALSE;
    }

    void DoDataExchange(CDataExchange* exchange) override { DDX_Control(exchange, IDOK, m_okButton); }

    void OnTimer(UINT_PTR id) { EndDialog(kTimedOut); }

    void OnAccelerator() { EndDialog(ID_TEST_ACCELERATOR); }

    DECLARE_MESSAGE_MAP()

private:
    UINT m_pageTemplate;
    UINT m_key;
    CTestPage m_page;
};

BEGIN_MESSAGE_MAP(CTestMainDialog, CDialog)
    ON_WM_TIMER()
    ON_COMMAND(ID_TEST_ACCELERATOR, OnAccelerator)
END_MESSAGE_MAP()

}  // namespace

TEST(CDialog, KeysInAPageReachTheDialogTheTemplateRoutesThemTo) {
    CMessageFilterHook filter;
    TestApp().m_accelerators =
        LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_ACCELERATORS));
    ASSERT_NE(nullptr, TestApp().m_accelerators);
    CWnd owner;
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, nullptr));

    struct Case {
        const char* name;
        UINT pageTemplate;
        UINT key;
        INT_PTR result;
    };

    const Case cases[] = {
        {"Escape in a DS_CONTROL page cancels the main dialog", IDD_TEST_PAGE_CONTROL, VK_ESCAPE, IDCANCEL},
        {"Enter in a DS_CONTROL page confirms the main dialog", IDD_TEST_PAGE_CONTROL, VK_RETURN, IDOK},
        {"Escape in a plain child dialog stays in that dialog", IDD_TEST_PAGE_PLAIN, VK_ESCAPE, kPageGotKey},
        {"An accelerator reaches the main dialog through the filter", IDD_TEST_PAGE_CONTROL, VK_F5,
         ID_TEST_ACCELERATOR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestMainDialog dialog(c.pageTemplate, c.key, &owner);
        EXPECT_EQ(c.result, dialog.DoModal());
        EXPECT_FALSE(dialog.m_ownerEnabledDuringRun);
        EXPECT_TRUE(owner.IsWindowEnabled());
        EXPECT_EQ(nullptr, dialog.m_hWnd);
        EXPECT_FALSE(IsWindow(dialog.m_dialogWindow));
        EXPECT_EQ(nullptr, dialog.m_okButton.m_hWnd);  // the bound button went with its dialog
    }
    TestApp().m_acceleratorTarget = nullptr;
}

TEST(CDialog, DataExchangeBindsMembersToTemplateControls) {
    class CBindingDialog : public CDialog {
    public:
        CBindingDialog() : CDialog(IDD_TEST_MAIN) {}

        CWnd m_okButton;
        HWND m_expected = nullptr;
        HWND m_bound = nullptr;

    protected:
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            m_expected = ::GetDlgItem(m_hWnd, IDOK);
            m_bound = m_okButton.m_hWnd;
            EndDialog(IDOK);
            return TRUE;
        }

        void DoDataExchange(CDataExchange* exchange) override { DDX_Control(exchange, IDOK, m_okButton); }
    };

    CBindingDialog dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_NE(nullptr, dialog.m_expected);
    EXPECT_EQ(dialog.m_expected, dialog.m_bound);
}

TEST(CDialog, MissingTemplateFailsTheRun) {
    CDialog dialog(4242);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

namespace {

constexpr UINT kMessagePlaced = WM_APP + 7;

// Notes where it stands once its initialisation is over, and ends; with `ownPlace` set it
// moves itself there in OnInitDialog.
class CPlacedDialog : public CDialog {
public:
    CPlacedDialog(UINT templateId, CWnd* owner, const POINT* ownPlace)
        : CDialog(templateId, owner), m_ownPlace(ownPlace) {}

    RECT m_rect = {};

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_ownPlace != nullptr) {
            SetWindowPos(nullptr, m_ownPlace->x, m_ownPlace->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        PostMessage(kMessagePlaced);
        return TRUE;
    }

    LRESULT OnPlaced(WPARAM wParam, LPARAM lParam) {
        GetWindowRect(&m_rect);
        EndDialog(IDOK);
        return 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    const POINT* m_ownPlace;
};

BEGIN_MESSAGE_MAP(CPlacedDialog, CDialog)
    ON_MESSAGE(kMessagePlaced, OnPlaced)
END_MESSAGE_MAP()

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace

// A modal dialog opens centred over its owner, or over the work area without one, unless
// it places itself or its template centres it on the screen.
TEST(CDialog, AModalDialogOpensCentredOverItsOwnerUnlessItPlacesItself) {
    CWnd owner;
    const CRect ownerRect(300, 200, 900, 700);
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, ownerRect, nullptr, nullptr));
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const POINT ownPlace = {20, 30};

    struct Case {
        const char* name;
        UINT templateId;
        CWnd* owner;
        const POINT* ownPlace;
        RECT around;
    };

    const Case cases[] = {
        {"over the owner", IDD_TEST_MAIN, &owner, nullptr, ownerRect},
        {"over the work area without an owner", IDD_TEST_MAIN, nullptr, nullptr, work},
        {"where it placed itself", IDD_TEST_MAIN, &owner, &ownPlace, {}},
        {"on the screen when its template says so", IDD_TEST_CENTERED, &owner, nullptr, work},
    };
    CWnd* mainWindow = AfxGetApp()->m_pMainWnd;
    AfxGetApp()->m_pMainWnd = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPlacedDialog dialog(c.templateId, c.owner, c.ownPlace);
        ASSERT_EQ(IDOK, dialog.DoModal());
        if (c.ownPlace != nullptr) {
            EXPECT_EQ(c.ownPlace->x, dialog.m_rect.left);
            EXPECT_EQ(c.ownPlace->y, dialog.m_rect.top);
            continue;
        }
        const POINT expected = Centre(c.around);
        const POINT actual = Centre(dialog.m_rect);
        EXPECT_LE(std::abs(expected.x - actual.x), 1) << actual.x;
        EXPECT_LE(std::abs(expected.y - actual.y), 1) << actual.y;
    }
    AfxGetApp()->m_pMainWnd = mainWindow;
}
