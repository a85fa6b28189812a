// Menus built at run time or loaded from the resources, and temporary wrappers for
// menus that belong to windows.
#include "classlib/win/CMenu.h"

#include "classlib/win/AfxRegisterWndClass.h"
#include "classlib/win/AttachHandle.h"
#include "classlib/win/CWnd.h"
#include "classlib/win/PerThread.h"

#include <cstdio>
#include <memory>
#include <unordered_map>
#include <utility>

namespace {

using TemporaryMenus = std::unordered_map<HMENU, std::unique_ptr<CMenu>>;

TemporaryMenus& Temporaries() {
    static PerThread<TemporaryMenus> temporaries;
    return temporaries.Get();
}

}  // namespace

CMenu::~CMenu() {
    DestroyMenu();
}

BOOL CMenu::TakeCreated(HMENU menu, const char* call) {
    if (menu == nullptr) {
        std::fprintf(stderr, "%s: %lu\n", call, GetLastError());
        return FALSE;
    }
    if (m_hMenu != nullptr) {
        ::DestroyMenu(menu);  // one object holds one menu; the new one must not leak
        std::fprintf(stderr, "%s: the object holds a menu already\n", call);
        return FALSE;
    }
    m_hMenu = menu;
    return TRUE;
}

BOOL CMenu::CreateMenu() {
    return TakeCreated(::CreateMenu(), "CreateMenu");
}

BOOL CMenu::CreatePopupMenu() {
    return TakeCreated(::CreatePopupMenu(), "CreatePopupMenu");
}

BOOL CMenu::LoadMenu(UINT resourceId) {
    return LoadMenu(MAKEINTRESOURCEA(resourceId));
}

BOOL CMenu::LoadMenu(LPCSTR resourceName) {
    return TakeCreated(::LoadMenuA(AfxGetResourceHandle(), resourceName), "LoadMenu");
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    return ::DestroyMenu(Detach());
}

BOOL CMenu::Attach(HMENU menu) {
    return AttachHandle(m_hMenu, menu);
}

HMENU CMenu::Detach() {
    return std::exchange(m_hMenu, nullptr);
}

CMenu* CMenu::FromHandle(HMENU menu) {
    if (menu == nullptr) {
        return nullptr;
    }
    std::unique_ptr<CMenu>& slot = Temporaries()[menu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        slot->m_hMenu = menu;
    }
    return slot.get();
}

void CMenu::DeleteTempMap() {
    TemporaryMenus& temporaries = Temporaries();
    for (auto& entry : temporaries) {
        entry.second->Detach();  // the menu belongs to someone else
    }
    temporaries.clear();
}

CMenu* CMenu::GetSubMenu(int position) const {
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    return ::AppendMenuA(m_hMenu, flags, idOrPopup, text);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    return ::InsertMenuA(m_hMenu, position, flags, idOrPopup, text);
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
    return ::RemoveMenu(m_hMenu, position, flags);
}

UINT CMenu::EnableMenuItem(UINT idOrPosition, UINT enable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, idOrPosition, enable));
}

UINT CMenu::CheckMenuItem(UINT idOrPosition, UINT check) {
    return ::CheckMenuItem(m_hMenu, idOrPosition, check);
}

int CMenu::GetMenuItemCount() const {
    return ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int position) const {
    return ::GetMenuItemID(m_hMenu, position);
}

UINT CMenu::GetMenuState(UINT idOrPosition, UINT flags) const {
    return ::GetMenuState(m_hMenu, idOrPosition, flags);
}

int CMenu::GetMenuString(UINT idOrPosition, LPSTR text, int maxChars, UINT flags) const {
    return ::GetMenuStringA(m_hMenu, idOrPosition, text, maxChars, flags);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) const {
    const HWND ownerHwnd = owner != nullptr ? owner->m_hWnd : nullptr;
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, ownerHwnd, rect);
}
