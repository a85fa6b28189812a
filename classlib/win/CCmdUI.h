// One menu item offered to the update handlers (ON_UPDATE_COMMAND_UI) before its menu
// opens: the handler enables, checks or renames it.
#pragma once

#include "classlib/win/AfxMsgMap.h"

#include <windows.h>

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI(UINT id, UINT index, CMenu* menu) : m_nID(id), m_nIndex(index), m_pMenu(menu) {}

    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL on = TRUE);
    // 0 unchecked, 1 checked.
    virtual void SetCheck(int check = 1);
    virtual void SetText(LPCSTR text);

    // Runs target's update handler for m_nID; FALSE when it has none.
    BOOL DoUpdate(CCmdTarget* target);

    UINT m_nID;
    UINT m_nIndex;             // position in m_pMenu
    CMenu* m_pMenu;            // not owned; null when the item is not a menu item
    CWnd* m_pOther = nullptr;  // not owned; a control standing for the command, if any
};
