// Owner of a menu: a menu this object holds is destroyed with it unless detached.
// FromHandle gives a temporary wrapper for a menu owned elsewhere (a window's system
// menu, a submenu), which lives until the thread's message loop takes its next message.
#pragma once

#include <windows.h>

class CWnd;

class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu();

    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // A menu resource of the resource module.
    BOOL LoadMenu(UINT resourceId);
    BOOL LoadMenu(LPCSTR resourceName);
    // Destroys the menu and its submenus. FALSE when there is none.
    BOOL DestroyMenu();
    // FALSE when this object holds a menu already or menu is null.
    BOOL Attach(HMENU menu);
    HMENU Detach();

    // Null for null; the wrapper is not owned by the caller and never destroys the menu.
    static CMenu* FromHandle(HMENU menu);
    // Drops the calling thread's temporary wrappers.
    static void DeleteTempMap();

    HMENU GetSafeHmenu() const { return m_hMenu; }

    operator HMENU() const { return m_hMenu; }

    // The popup at position, as a temporary wrapper; null when the item has none.
    CMenu* GetSubMenu(int position) const;
    BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, LPCSTR text = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, LPCSTR text = nullptr);
    BOOL RemoveMenu(UINT position, UINT flags);
    // The previous state (MF_ENABLED, MF_GRAYED, MF_DISABLED), or -1 when there is no such item.
    UINT EnableMenuItem(UINT idOrPosition, UINT enable);
    // The previous state (MF_CHECKED or MF_UNCHECKED), or -1 when there is no such item.
    UINT CheckMenuItem(UINT idOrPosition, UINT check);
    int GetMenuItemCount() const;
    // 0 for a separator, -1 for a popup or no such position.
    UINT GetMenuItemID(int position) const;
    // MF_* flags, or -1 when there is no such item.
    UINT GetMenuState(UINT idOrPosition, UINT flags) const;
    int GetMenuString(UINT idOrPosition, LPSTR text, int maxChars, UINT flags) const;
    // Shows the menu at screen point (x, y) for owner. With TPM_RETURNCMD the chosen
    // command (0 for none), otherwise nonzero on success.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr) const;

    HMENU m_hMenu = nullptr;

private:
    BOOL TakeCreated(HMENU menu, const char* call);
};
