// The XML form's window: its rows at the design size, the drawn check boxes, the commits of
// typed numbers and texts with their messages, choices, clicks, grid cells, the keys, the
// language refresh and the controls' end. The page built on it is a small test page that
// records every WM_FORM_ELEMENT_CHANGED.
#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/AfxMessageLoop.h"
#include "forms/fonts/CFontCache.h"
#include "forms/CXmlForm.h"
#include "grid/CGridCtrl.h"
#include "grid/GridDefs.h"
#include "grid/GridRecords.h"
#include "link/CDataHandler.h"
#include "shell/CResourceManager.h"
#include "tests/forms/FormsTestIds.h"

#include <windows.h>

#include <commctrl.h>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr int kClientWidth = 620;
constexpr int kTopOffset = 30;

// A page on the form, as the patch editor is: room above the rows, and the changes recorded.
class CRecordingForm : public CXmlForm {
public:
    CRecordingForm() : CXmlForm(IDR_FORMS_TEST_EDIT_FORM, IDD_FORMS_TEST_FORM_PAGE, nullptr) {}

    FormElement& Element(int id) { return *FindElement(id); }

    FormField& Field(int elementId, size_t index = 0) { return *Element(elementId).fields[index]; }

    std::vector<std::pair<WPARAM, const FormElement*>> changes;

protected:
    BOOL OnInitDialog() override {
        MoveWindow(0, 0, kClientWidth, 440, FALSE);
        m_topOffset = kTopOffset;
        return CXmlForm::OnInitDialog();
    }

    LRESULT OnFormElementChanged(WPARAM wParam, LPARAM lParam) {
        changes.emplace_back(wParam, reinterpret_cast<const FormElement*>(lParam));
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingForm, CXmlForm)
    ON_MESSAGE(WM_FORM_ELEMENT_CHANGED, OnFormElementChanged)
END_MESSAGE_MAP()

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string Text(HWND window) {
    char text[256] = {};
    return std::string(text, static_cast<size_t>(GetWindowTextA(window, text, sizeof(text))));
}

class XmlFormWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        m_previous = AfxSetPrompter([this](const char* text, UINT, const char*) {
            boxes.push_back(text);
            if (duringBox) {
                duringBox();
            }
            return IDOK;
        });
        ASSERT_TRUE(host.Create(IDD_FORMS_TEST_FORM_HOST, nullptr));
        form.SetDataHandler(&handler);
        form.SetResourceManager(&resources);
        form.SetFontCache(&fonts);
        form.SetScale(1.0, 1.0);
        // Without its resource the tests below would reach for elements that are not there.
        ASSERT_EQ(7u, form.GetModel().Elements().size());
        ASSERT_TRUE(form.Create(IDD_FORMS_TEST_FORM_PAGE, &host));
        PumpMessages();
    }

    void TearDown() override {
        form.DestroyWindow();
        host.DestroyWindow();
        AfxSetPrompter(m_previous);
    }

    HWND Control(int elementId, size_t index = 0) {
        return GetDlgItem(form.GetSafeHwnd(), static_cast<int>(form.Field(elementId, index).controlId));
    }

    RECT Placed(HWND window) const {
        RECT rect = {};
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, form.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // The visible child under a point of the form's client area.
    HWND ChildAt(int x, int y) const {
        POINT point = {x, y};
        const HWND child = ChildWindowFromPointEx(form.GetSafeHwnd(), point, CWP_SKIPINVISIBLE);
        return child != form.GetSafeHwnd() ? child : nullptr;
    }

    void Command(HWND control, UINT code) {
        form.SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                         reinterpret_cast<LPARAM>(control));
    }

    // Types text into an edit that has the focus, replacing what it shows.
    void Type(HWND edit, const char* text) {
        SendMessageA(edit, EM_SETSEL, 0, -1);
        for (const char* c = text; *c != '\0'; ++c) {
            SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(*c), 1);
        }
    }

    void Focus(HWND window) {
        SetForegroundWindow(host.GetSafeHwnd());
        SetFocus(window);
        PumpMessages();
        ASSERT_EQ(window, GetFocus());
    }

    void EndGridEdit(CGridCtrl& grid, int row, int column, const char* typed) {
        grid.SetCellText(row, column, typed);
        GridNotifyRecord notice = {};
        notice.hdr.hwndFrom = grid.GetSafeHwnd();
        notice.hdr.idFrom = static_cast<UINT_PTR>(grid.GetDlgCtrlID());
        notice.hdr.code = static_cast<UINT>(GRIDN_ENDEDIT);
        notice.row = row;
        notice.col = column;
        EXPECT_EQ(0, form.SendMessage(WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice)));
    }

    CDataHandler handler;
    CResourceManager resources;
    CFontCache fonts;
    CDialog host{IDD_FORMS_TEST_FORM_HOST, nullptr};
    CRecordingForm form;
    std::vector<std::string> boxes;
    std::function<void()> duringBox;

private:
    AfxPrompter m_previous;
};

}  // namespace

TEST_F(XmlFormWindowTest, RowsAtTheDesignSize) {
    RECT client = {};
    form.GetClientRect(&client);
    ASSERT_EQ(kClientWidth, client.right);
    const int labelWidth = kClientWidth - 35 - 100 - 15 - 3 * 8 - 2 * 2 - GetSystemMetrics(SM_CXVSCROLL);
    const int y = kTopOffset + 2 + 8;
    const HWND mark = ChildAt(5, y);
    const HWND label = ChildAt(30, y);
    ASSERT_NE(nullptr, mark);
    ASSERT_NE(nullptr, label);
    const RECT labelRect = Placed(label);
    EXPECT_EQ(25, labelRect.left);
    EXPECT_EQ(labelWidth, labelRect.right - labelRect.left);
    EXPECT_EQ(kTopOffset + 2, labelRect.top);
    EXPECT_EQ("Gas temperature offset", Text(label));
    const RECT edit = Placed(Control(1));
    EXPECT_EQ(labelRect.right + 8, edit.left);
    EXPECT_EQ("50.0", Text(Control(1)));
    EXPECT_EQ("%", Text(ChildAt(edit.right + 10, y)));
    // Field ids come first, at reading; mark buttons and labels follow, rising row by row.
    const int lastFieldId = static_cast<int>(form.Field(6).controlId);
    const int secondMark = GetDlgCtrlID(ChildAt(5, y + 24));
    EXPECT_GT(GetDlgCtrlID(mark), lastFieldId);
    EXPECT_EQ(GetDlgCtrlID(mark) + 1, GetDlgCtrlID(label));
    EXPECT_EQ(GetDlgCtrlID(label) + 1, secondMark);
    EXPECT_EQ(secondMark + 1, GetDlgCtrlID(ChildAt(30, y + 24)));
}

TEST_F(XmlFormWindowTest, ATenValueGridTakesARowOfItsOwn) {
    const HWND grid = Control(6);
    const RECT gridRect = Placed(grid);
    const RECT value = Placed(Control(1));
    EXPECT_EQ(value.right, gridRect.right);
    // Its element's label sits one row above it and reaches to the value column's right edge.
    const HWND label = ChildAt(30, gridRect.top - 24 + 8);
    ASSERT_NE(nullptr, label);
    EXPECT_EQ("Correction table", Text(label));
    EXPECT_EQ(value.right, Placed(label).right);
    EXPECT_EQ(gridRect.top - 24, Placed(label).top);
    EXPECT_EQ(2 * 16, gridRect.bottom - gridRect.top);
}

TEST_F(XmlFormWindowTest, CheckBoxesAreDrawnTenPixelsTallInASixteenPixelItem) {
    const HWND check = Control(2);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const COLORREF background = RGB(255, 0, 255);
    RECT all = {0, 0, 40, 16};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(check));
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = check;
    item.hDC = memory;
    item.rcItem = all;
    form.SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    int top = 16, bottom = -1, left = 40, right = -1;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (GetPixel(memory, x, y) != background) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EXPECT_EQ(3, top);
    EXPECT_EQ(10, bottom - top + 1);
    EXPECT_EQ(0, left);
    EXPECT_EQ(10, right - left + 1);
}

TEST_F(XmlFormWindowTest, EnterCommitsARoundedNumberOnce) {
    const HWND edit = Control(1);
    Focus(edit);
    Type(edit, "12.36");
    EXPECT_EQ(TRUE, form.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0));
    EXPECT_EQ("12.4", Text(edit));
    ASSERT_EQ(1u, form.changes.size());
    EXPECT_EQ(1u, form.changes[0].first);
    EXPECT_EQ(&form.Element(1), form.changes[0].second);
    EXPECT_DOUBLE_EQ(12.4, form.Field(1).Edit()->currentNumber);
    // Enter again and leaving the field commit the same value: nothing more is reported.
    form.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    Command(edit, EN_KILLFOCUS);
    EXPECT_EQ(1u, form.changes.size());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(XmlFormWindowTest, AnInvalidTextShowsOneMessageAndStays) {
    const HWND edit = Control(4);
    Focus(edit);
    Type(edit, "P4123");
    // The box takes the focus from the edit while it is shown.
    duringBox = [&] { Command(edit, EN_KILLFOCUS); };
    form.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Attempt to write an invalid element: P4123.", boxes[0]);
    EXPECT_EQ("P4123", Text(edit));
    EXPECT_EQ("P0000", form.Field(4).Edit()->currentText);
    EXPECT_TRUE(form.changes.empty());
    duringBox = nullptr;
    Type(edit, "P0123");
    Command(edit, EN_KILLFOCUS);
    EXPECT_EQ("P0123", form.Field(4).Edit()->currentText);
    ASSERT_EQ(1u, form.changes.size());
    Type(edit, "150");
    Command(Control(1), EN_KILLFOCUS);  // another field's edit, still showing 50.0: nothing
    SetWindowTextA(Control(1), "150");
    Command(Control(1), EN_KILLFOCUS);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Element out of range: 150.0 <- (0.0; 100.0).", boxes[1]);
}

TEST_F(XmlFormWindowTest, EscapeRestoresTheTextBeforeTheEdit) {
    const HWND edit = Control(1);
    Focus(edit);
    EXPECT_EQ(FALSE, form.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0));
    Type(edit, "77");
    EXPECT_EQ("77", Text(edit));
    EXPECT_EQ(TRUE, form.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0));
    EXPECT_EQ("50.0", Text(edit));
    EXPECT_TRUE(form.changes.empty());
}

TEST_F(XmlFormWindowTest, ChoicesChecksAndMarks) {
    const HWND combo = Control(3);
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    Command(combo, CBN_SELENDOK);
    ASSERT_EQ(1u, form.changes.size());
    EXPECT_EQ(1u, form.changes[0].first);
    EXPECT_EQ(2u, form.Field(3).Select()->current);
    Command(combo, CBN_SELENDOK);  // the same item again
    EXPECT_EQ(1u, form.changes.size());

    const HWND check = Control(2);
    Command(check, BN_CLICKED);
    ASSERT_EQ(2u, form.changes.size());
    EXPECT_EQ(1u, form.changes[1].first);
    Command(check, BN_CLICKED);
    ASSERT_EQ(3u, form.changes.size());
    EXPECT_EQ(0u, form.changes[2].first);
    EXPECT_EQ(0, form.Element(2).marked);

    // The mark button of the unchanged element marks it without telling the page.
    const HWND mark = ChildAt(5, Placed(check).top + 8);
    Command(mark, BN_CLICKED);
    EXPECT_EQ(1, form.Element(2).marked);
    Command(mark, BN_CLICKED);
    EXPECT_EQ(0, form.Element(2).marked);
    EXPECT_EQ(3u, form.changes.size());
}

TEST_F(XmlFormWindowTest, GridCellsCommitAndReadOnlyColumnsAreGrey) {
    auto* grid = static_cast<CGridCtrl*>(CWnd::FromHandlePermanent(Control(6)));
    ASSERT_NE(nullptr, grid);
    EXPECT_EQ("Low (ms)", std::string(grid->GetCellText(0, 0)));
    EXPECT_NE(0u, grid->GetCellState(0, 2) & GRID_STATE_READONLY);
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), grid->GetCellTextColour(0, 2));
    EXPECT_EQ(0u, grid->GetCellState(0, 1) & GRID_STATE_READONLY);
    EXPECT_EQ(0u, grid->GetCellState(1, 2) & GRID_STATE_READONLY);
    EndGridEdit(*grid, 1, 3, "5.56");
    EXPECT_EQ("5.6", std::string(grid->GetCellText(1, 3)));
    ASSERT_EQ(1u, form.changes.size());
    EXPECT_DOUBLE_EQ(5.6, form.Field(6).Grid()->lines[1].currentValues[2]);
    EndGridEdit(*grid, 1, 3, "11");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Element out of range: 11.0 <- (0.0; 10.0).", boxes[0]);
    EXPECT_EQ("5.6", std::string(grid->GetCellText(1, 3)));
    EXPECT_EQ(1u, form.changes.size());
}

TEST_F(XmlFormWindowTest, LabelTipsShowTheWholeTextAndReachTheDataHandlersBroadcasts) {
    const HWND label = ChildAt(30, kTopOffset + 2 + 8);
    NMTTDISPINFOA request = {};
    request.hdr.hwndFrom = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
    for (HWND tip = request.hdr.hwndFrom; tip != nullptr;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        if (GetParent(tip) == form.GetSafeHwnd() || GetWindow(tip, GW_OWNER) == form.GetSafeHwnd()) {
            request.hdr.hwndFrom = tip;
        }
    }
    request.hdr.idFrom = reinterpret_cast<UINT_PTR>(label);
    request.hdr.code = TTN_NEEDTEXTA;
    request.uFlags = TTF_IDISHWND;
    form.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    ASSERT_NE(nullptr, request.lpszText);
    EXPECT_STREQ("Gas temperature offset", request.lpszText);

    SetWindowTextA(label, "stale");
    handler.BroadcastLanguageChanged();
    PumpMessages();
    EXPECT_EQ("Gas temperature offset", Text(label));
}

// This test program runs with the common controls of the programs' manifest: the label's
// tip must come up over the label once the mouse rests on it, with the whole text.
TEST_F(XmlFormWindowTest, ALabelsTipComesUpWhenTheMouseRestsOnIt) {
    const HWND label = ChildAt(30, kTopOffset + 2 + 8);
    ASSERT_NE(nullptr, label);
    SetForegroundWindow(host.GetSafeHwnd());
    RECT rect = {};
    GetWindowRect(label, &rect);
    const POINT at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    SetCursorPos(at.x, at.y);
    POINT client = at;
    ScreenToClient(label, &client);
    // Through the library's pump, which hands it to the form's relay on the way.
    PostMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    HWND tip = nullptr;
    for (int waited = 0; waited < 5000 && tip == nullptr; waited += 20) {
        MSG queued;
        while (PeekMessageA(&queued, nullptr, 0, 0, PM_NOREMOVE)) {
            AfxPumpMessage();
        }
        for (HWND candidate = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); candidate != nullptr;
             candidate = FindWindowExA(nullptr, candidate, TOOLTIPS_CLASSA, nullptr)) {
            // A popup's owner is the top-level window of the form.
            if (GetWindow(candidate, GW_OWNER) == host.GetSafeHwnd() && IsWindowVisible(candidate)) {
                tip = candidate;
            }
        }
        Sleep(20);
    }
    ASSERT_NE(nullptr, tip) << "no tip came up";
    EXPECT_EQ("Gas temperature offset", Text(tip));
}

TEST_F(XmlFormWindowTest, TheLanguageChangeRelabelsAndReselects) {
    const int y = kTopOffset + 2 + 8;
    const HWND label = ChildAt(30, y);
    SetWindowTextA(label, "stale");
    const HWND combo = Control(3);
    form.Field(3).Select()->current = 2;
    // The element without a text and its first field's label, a row below it.
    const int unlabelledTop = Placed(Control(5, 0)).top - 24;
    EXPECT_EQ(0, form.SendMessage(0x603, 0, 0));
    EXPECT_EQ("Gas temperature offset", Text(label));
    EXPECT_EQ("\xA4", Text(ChildAt(30, unlabelledTop + 8)));
    EXPECT_EQ("\xA4", Text(ChildAt(60, Placed(Control(5, 0)).top + 8)));
    EXPECT_EQ("Second switch", Text(ChildAt(60, Placed(Control(5, 1)).top + 8)));
    EXPECT_EQ(2, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

TEST_F(XmlFormWindowTest, UpdateControlsShowsTheModelAndTheControlsEndWithTheWindow) {
    form.Field(1).Edit()->currentNumber = 7.25;
    form.Field(4).Edit()->currentText = "B1234";
    form.UpdateControls();
    EXPECT_EQ("7.3", Text(Control(1)));
    EXPECT_EQ("B1234", Text(Control(4)));
    form.DestroyWindow();
    EXPECT_EQ(nullptr, form.GetSafeHwnd());
    // Built again, the form has new mark and label ids and one set of controls.
    ASSERT_TRUE(form.Create(IDD_FORMS_TEST_FORM_PAGE, &host));
    int children = 0;
    for (HWND child = GetWindow(form.GetSafeHwnd(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ++children;
    }
    // 6 mark buttons, 8 labels, 7 field controls, a unit label and a separator.
    EXPECT_EQ(6 + 8 + 7 + 1 + 1, children);
    form.ResetElement(form.Element(1));
    form.UpdateControls();
    EXPECT_EQ("50.0", Text(Control(1)));
}
