// Menus built at run time: items, submenus, enabling and checking, temporary wrappers,
// and the update handlers that run when a popup opens.
#include "classlib/win/CMenu.h"

#include "classlib/win/CCmdUI.h"
#include "classlib/win/CWnd.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kIdCopy = 32771;
constexpr UINT kIdPaste = 32772;
constexpr UINT kIdNoHandler = 32773;
constexpr UINT kIdRename = 32774;

class CMenuOwnerWnd : public CWnd {
public:
    BOOL m_canPaste = FALSE;
    int m_copyCommands = 0;

protected:
    void OnCopy() { ++m_copyCommands; }

    void OnUpdateCopy(CCmdUI* item) { item->SetCheck(1); }

    void OnUpdatePaste(CCmdUI* item) { item->Enable(m_canPaste); }

    void OnUpdateRename(CCmdUI* item) { item->SetText("Renamed"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuOwnerWnd, CWnd)
    ON_COMMAND(kIdCopy, OnCopy)
    ON_UPDATE_COMMAND_UI(kIdCopy, OnUpdateCopy)
    ON_UPDATE_COMMAND_UI(kIdPaste, OnUpdatePaste)
    ON_UPDATE_COMMAND_UI(kIdRename, OnUpdateRename)
END_MESSAGE_MAP()

// A popup with three commands, a separator and a submenu with one more.
void BuildPopup(CMenu& popup) {
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, kIdCopy, "&Copy");
    popup.AppendMenu(MF_STRING | MF_GRAYED, kIdPaste, "&Paste");
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_STRING, kIdNoHandler, "&Other");
    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_STRING, kIdRename, "Old");
    popup.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "&More");  // owned by popup now
}

}  // namespace

TEST(CMenu, MenuBuiltAtRunTimeHoldsItsItemsAndStates) {
    CMenu popup;
    BuildPopup(popup);
    ASSERT_EQ(5, popup.GetMenuItemCount());

    struct Case {
        int position;
        UINT id;
    };

    for (const Case& c : {Case{0, kIdCopy}, Case{1, kIdPaste}, Case{2, 0}, Case{4, static_cast<UINT>(-1)}}) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(c.id, popup.GetMenuItemID(c.position));
    }
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), popup.EnableMenuItem(kIdPaste, MF_BYCOMMAND | MF_ENABLED));
    EXPECT_EQ(0u, popup.GetMenuState(kIdPaste, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), popup.CheckMenuItem(kIdCopy, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_NE(0u, popup.GetMenuState(kIdCopy, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(static_cast<UINT>(-1), popup.EnableMenuItem(4711, MF_BYCOMMAND | MF_GRAYED));

    CMenu* sub = popup.GetSubMenu(4);
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ(kIdRename, sub->GetMenuItemID(0));
    EXPECT_EQ(sub, CMenu::FromHandle(sub->m_hMenu));  // one wrapper per menu and thread
    EXPECT_EQ(nullptr, popup.GetSubMenu(0));
    const HMENU subHandle = sub->m_hMenu;
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsMenu(subHandle));  // temporaries never destroy their menu

    const HMENU handle = popup.m_hMenu;
    EXPECT_TRUE(popup.DestroyMenu());
    EXPECT_FALSE(IsMenu(handle));
    EXPECT_FALSE(IsMenu(subHandle));
    EXPECT_FALSE(popup.DestroyMenu());
}

TEST(CMenu, OwnerDestroysItsMenuUnlessDetached) {
    HMENU destroyed = nullptr;
    HMENU kept = nullptr;
    {
        CMenu first;
        CMenu second;
        ASSERT_TRUE(first.CreatePopupMenu());
        ASSERT_TRUE(second.CreatePopupMenu());
        EXPECT_FALSE(first.CreateMenu());  // one menu per owner
        destroyed = first.m_hMenu;
        kept = second.Detach();
    }
    EXPECT_FALSE(IsMenu(destroyed));
    EXPECT_TRUE(IsMenu(kept));
    CMenu owner;
    EXPECT_TRUE(owner.Attach(kept));
}

TEST(CMenu, UpdateHandlersSetTheItemsBeforeThePopupOpens) {
    CMenuOwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 50, 50), nullptr, nullptr));
    CMenu popup;
    BuildPopup(popup);

    struct Case {
        BOOL canPaste;
        UINT pasteState;
    };

    for (const Case& c : {Case{TRUE, 0}, Case{FALSE, MF_GRAYED}}) {
        SCOPED_TRACE(c.canPaste);
        owner.m_canPaste = c.canPaste;
        owner.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), MAKELPARAM(0, FALSE));
        EXPECT_EQ(c.pasteState, popup.GetMenuState(kIdPaste, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_NE(0u, popup.GetMenuState(kIdCopy, MF_BYCOMMAND) & MF_CHECKED);
    }
    // Items without a handler stay as they were; the update never runs the command.
    EXPECT_EQ(0u, popup.GetMenuState(kIdNoHandler, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED));
    EXPECT_EQ(0, owner.m_copyCommands);
    EXPECT_FALSE(owner.OnCmdMsg(kIdCopy, static_cast<int>(CN_UPDATE_COMMAND_UI)));

    // Submenus are updated when they open themselves.
    CMenu* sub = popup.GetSubMenu(4);
    owner.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub->m_hMenu), MAKELPARAM(4, FALSE));
    char text[32] = {};
    sub->GetMenuString(0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Renamed", text);
    EXPECT_EQ(kIdRename, sub->GetMenuItemID(0));

    owner.SendMessage(WM_COMMAND, kIdCopy, 0);
    EXPECT_EQ(1, owner.m_copyCommands);
}

TEST(CMenu, SystemMenuTakesExtraItemsAndReverts) {
    CWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "sys", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100), nullptr, nullptr));
    CMenu* system = wnd.GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, system);
    const int standard = system->GetMenuItemCount();
    EXPECT_GT(standard, 0);
    system->AppendMenu(MF_SEPARATOR);
    system->AppendMenu(MF_STRING, 16, "&About");
    EXPECT_EQ(standard + 2, wnd.GetSystemMenu(FALSE)->GetMenuItemCount());
    EXPECT_EQ(nullptr, wnd.GetSystemMenu(TRUE));
    EXPECT_EQ(standard, wnd.GetSystemMenu(FALSE)->GetMenuItemCount());
    CWnd::DeleteTempMap();
}
