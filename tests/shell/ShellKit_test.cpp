// The shell's window kit under Wine: the tab host with three stub pages in a stand-in main
// window, the language dialog over the program's own language, and the About box.
#include "classlib/win/AfxMsgMap.h"
#include "forms/fonts/CFontCache.h"
#include "forms/CScrollPage.h"
#include "link/DataHandlerMessages.h"
#include "link/RecentSettings.h"
#include "shell/CAboutDlg.h"
#include "shell/CChangeLanguageDlg.h"
#include "shell/CResourceManager.h"
#include "shell/CTabHostDlg.h"
#include "shell/CZarvoApp.h"

#include <windows.h>

#include <commctrl.h>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

// The About box and the status strip ask the application object for the version.
CZarvoApp g_app;

// Any child template serves a stub page: the status strip's.
constexpr UINT kStubPageTemplate = 108;
// Tab titles: "Change language" and two other texts of the table.
constexpr UINT kTitleIds[] = {15109, 15392, 15391};

void TestVersion(int& major, int& minor) {
    major = 1;
    minor = 2;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string WindowText(HWND window) {
    char text[256] = {};
    return std::string(text, GetWindowTextA(window, text, sizeof(text)));
}

class CStubPage : public CScrollPage {
public:
    CStubPage() : CScrollPage(kStubPageTemplate, nullptr) {}

    int m_wheelDelta = 0;

protected:
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) {
        m_wheelDelta += delta;
        return TRUE;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStubPage, CScrollPage)
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

// The main dialog's template stands in for the main window; it records the commands it gets.
class CStubMainWindow : public CDialog {
public:
    CStubMainWindow() : CDialog(102, nullptr) {}

    int m_cancelCount = 0;
    LPARAM m_cancelLParam = -1;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == IDCANCEL) {
            ++m_cancelCount;
            m_cancelLParam = lParam;
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

class ShellKitTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetAppVersionSource(&TestVersion);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_USEREX_CLASSES};
        InitCommonControlsEx(&controls);
    }
};

class TabHostTest : public ShellKitTest {
protected:
    void SetUp() override {
        ShellKitTest::SetUp();
        ASSERT_TRUE(m_main.Create(102, nullptr));
        m_main.ShowWindow(SW_SHOW);
        m_host.SetScale(1.0, 1.0);
        m_host.SetResourceManager(&m_resources);
        m_host.SetFontCache(&m_fonts);
        m_host.SetPlacement(RECT{10, 10, 410, 310});
        for (size_t i = 0; i < 3; ++i) {
            m_host.AddPage(&m_pages[i], kTitleIds[i]);
        }
        ASSERT_TRUE(m_host.Create(CTabHostDlg::kTemplateId, &m_main));
        m_host.ShowWindow(SW_SHOW);
        m_host.EnableWindow(TRUE);
        PumpMessages();
    }

    HWND Tabs() const { return GetDlgItem(m_host.GetSafeHwnd(), CTabHostDlg::kTabCtrlId); }

    void SelectTab(int index) {
        SendMessageA(Tabs(), TCM_SETCURSEL, index, 0);
        NMHDR header = {Tabs(), static_cast<UINT_PTR>(CTabHostDlg::kTabCtrlId),
                        static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(m_host.GetSafeHwnd(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    }

    std::string TabText(int index) const {
        char text[128] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(Tabs(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        return text;
    }

    std::string VisiblePages() const {
        std::string visible;
        for (size_t i = 0; i < 3; ++i) {
            visible += m_pages[i].IsWindowVisible() ? '1' : '0';
        }
        return visible;
    }

    CResourceManager m_resources;
    CFontCache m_fonts;
    CStubMainWindow m_main;
    CStubPage m_pages[3];
    CTabHostDlg m_host;
};

TEST_F(TabHostTest, ShowsOnlyTheFirstPageAfterCreationAndThePageOfTheSelectedTab) {
    EXPECT_EQ(SendMessageA(Tabs(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(TabText(0), "Change language");
    EXPECT_EQ(VisiblePages(), "100");
    EXPECT_EQ(m_host.GetActivePage(), &m_pages[0]);

    SelectTab(2);
    EXPECT_EQ(VisiblePages(), "001");
    EXPECT_EQ(m_host.GetActiveIndex(), 2);
    EXPECT_EQ(m_host.GetActivePage(), &m_pages[2]);

    m_host.ShowWindow(SW_HIDE);
    m_host.ShowWindow(SW_SHOW);
    EXPECT_EQ(VisiblePages(), "001");
}

TEST_F(TabHostTest, LanguageChangeRetitlesTheTabsAndKeepsTheSelection) {
    SelectTab(1);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>("stale");
    SendMessageA(Tabs(), TCM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageA(Tabs(), TCM_SETITEMA, 2, reinterpret_cast<LPARAM>(&item));

    m_host.PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
    PumpMessages();

    EXPECT_EQ(TabText(0), "Change language");
    EXPECT_EQ(TabText(2), "Waiting ...");
    EXPECT_EQ(SendMessageA(Tabs(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(VisiblePages(), "010");
}

TEST_F(TabHostTest, CloseButtonSendsCancelToTheMainWindow) {
    const HWND close = GetDlgItem(m_host.GetSafeHwnd(), CTabHostDlg::kCloseButtonId);
    SendMessageA(close, BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_EQ(m_main.m_cancelCount, 1);
    EXPECT_EQ(m_main.m_cancelLParam, 0);

    const int side =
        CTabHostDlg::CloseButtonSide(GetSystemMetrics(SM_CXSMSIZE), GetSystemMetrics(SM_CYSMSIZE));
    RECT button = {};
    GetWindowRect(close, &button);
    EXPECT_EQ(button.right - button.left, side);
    EXPECT_EQ(button.bottom - button.top, side);
}

TEST_F(TabHostTest, WheelOverTheHostScrollsTheVisiblePageOnly) {
    SelectTab(1);
    SendMessageA(m_host.GetSafeHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)),
                 MAKELPARAM(50, 50));
    EXPECT_EQ(m_pages[0].m_wheelDelta, 0);
    EXPECT_EQ(m_pages[1].m_wheelDelta, -120);
}

TEST_F(TabHostTest, ActivePageIsNullOutsideThePages) {
    for (int index : {-1, 3, 100}) {
        SCOPED_TRACE(index);
        m_host.SetActivePage(index);
        EXPECT_EQ(m_host.GetActiveIndex(), index);
        EXPECT_EQ(m_host.GetActivePage(), nullptr);
    }
}

TEST(TabHostCloseButton, SideIsTheSmallerCaptionButtonDimensionMadeOdd) {
    struct Case {
        int width;
        int height;
        int side;
    };

    for (const Case& c : {Case{16, 15, 15}, Case{18, 18, 19}, Case{15, 20, 15}, Case{22, 20, 21}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        EXPECT_EQ(CTabHostDlg::CloseButtonSide(c.width, c.height), c.side);
    }
}

// What the thread timer saw of the running language dialog, and how it ended it.
struct LanguageDialogView {
    std::string caption;
    int count = -1;
    std::string firstItem;
    int selection = -2;
    int images = -1;
};

LanguageDialogView g_view;

void CALLBACK ChooseInLanguageDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const HWND dialog = FindWindowA(nullptr, "Pirolex: Change language");
    if (dialog == nullptr) {
        return;
    }
    const HWND list = GetDlgItem(dialog, CChangeLanguageDlg::kLanguageListId);
    g_view.caption = WindowText(dialog);
    g_view.count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    g_view.selection = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
    char text[128] = {};
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    g_view.firstItem = text;
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, CBEM_GETIMAGELIST, 0, 0));
    g_view.images = images != nullptr ? ImageList_GetImageCount(images) : -1;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(CChangeLanguageDlg::kLanguageListId, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(list));
}

TEST_F(ShellKitTest, LanguageDialogListsTheProgramLanguageAndChoosingItChangesNothing) {
    CResourceManager resources;
    CChangeLanguageDlg dialog;
    dialog.SetResourceManager(&resources);
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        g_view = LanguageDialogView();
        SetTimer(nullptr, 0, 50, &ChooseInLanguageDialog);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(g_view.caption, "Pirolex: Change language");
        EXPECT_EQ(g_view.count, 1);
        EXPECT_EQ(g_view.firstItem, "English");
        EXPECT_EQ(g_view.selection, 0);
        EXPECT_EQ(g_view.images, 1);
    }
    EXPECT_EQ(resources.GetCurrentLanguageIndex(), 0);
}

struct WineVersionCase {
    const char* name;
    DWORD major;
    DWORD minor;
};

// The Windows version the system reports, whatever the program's manifest says.
OSVERSIONINFOW ReportedVersion() {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion =
        reinterpret_cast<RtlGetVersionFunction>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion"));
    if (rtlGetVersion != nullptr) {
        rtlGetVersion(&version);
    }
    return version;
}

// A prefix made for a Windows version (scripts/wine-env) that reports another one would let
// the tests run there pass without ever seeing that version.
TEST(WinePrefix, ReportsTheWindowsVersionItWasMadeFor) {
    const char* wanted = std::getenv("ZARVO_WINE_VERSION");
    if (wanted == nullptr || *wanted == '\0') {
        GTEST_SKIP() << "the prefix keeps Wine's default version";
    }
    const WineVersionCase cases[] = {{"win7", 6, 1}, {"win81", 6, 3}, {"win10", 10, 0}};
    const WineVersionCase* expected = nullptr;
    for (const WineVersionCase& c : cases) {
        if (std::strcmp(c.name, wanted) == 0) {
            expected = &c;
        }
    }
    ASSERT_NE(expected, nullptr) << "no Windows version known for ZARVO_WINE_VERSION=" << wanted;
    const OSVERSIONINFOW reported = ReportedVersion();
    EXPECT_EQ(reported.dwMajorVersion, expected->major) << "the prefix for " << wanted;
    EXPECT_EQ(reported.dwMinorVersion, expected->minor) << "the prefix for " << wanted;
}

TEST(AboutBox, NameLineEndsInTheFullVersion) {
    EXPECT_EQ(std::string(CAboutDlg::NameLine("Line", 1, 2, 3, 45)), "Line v1.02.3-0045");
    EXPECT_EQ(std::string(CAboutDlg::NameLine("Line", 12, 34, 567, 8901)), "Line v12.34.567-8901");
}

TEST_F(ShellKitTest, AboutBoxShowsTheProductLineWithTheVersion) {
    CAboutDlg dialog;
    ASSERT_TRUE(dialog.Create(CAboutDlg::kTemplateId, nullptr));
    EXPECT_EQ(WindowText(dialog.GetSafeHwnd()), "Pirolex");
    // The test program has not read its version: the application object reports zeros.
    EXPECT_EQ(WindowText(GetDlgItem(dialog.GetSafeHwnd(), CAboutDlg::kNameLineId)),
              "Pirolex Gas Injection Configurator v0.00.0-0000");
}

}  // namespace
