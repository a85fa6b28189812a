// Update handlers for menu items.
#include "classlib/win/CCmdUI.h"

#include "classlib/win/CCmdTarget.h"
#include "classlib/win/CMenu.h"
#include "classlib/win/CWnd.h"

void CCmdUI::Enable(BOOL on) {
    if (m_pMenu != nullptr) {
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    }
    if (m_pOther != nullptr) {
        m_pOther->EnableWindow(on);
    }
}

void CCmdUI::SetCheck(int check) {
    if (m_pMenu != nullptr) {
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check != 0 ? MF_CHECKED : MF_UNCHECKED));
    }
    if (m_pOther != nullptr) {
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
    }
}

void CCmdUI::SetText(LPCSTR text) {
    if (m_pMenu != nullptr) {
        const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        // Keep the item's enabled and checked state; ModifyMenu would reset them.
        ::ModifyMenuA(*m_pMenu, m_nIndex, MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_CHECKED)),
                      m_nID, text);
    }
    if (m_pOther != nullptr) {
        m_pOther->SetWindowText(text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target) {
    if (target == nullptr) {
        return FALSE;
    }
    const AFX_MSGMAP_ENTRY* entry = target->FindMessageEntry(WM_COMMAND, CN_UPDATE_COMMAND_UI, m_nID);
    if (entry == nullptr || entry->nSig != AfxSig::VoidCmdUI) {
        return FALSE;
    }
    (target->*AfxTypedHandler<void (CCmdTarget::*)(CCmdUI*)>(entry->pfn))(this);
    return TRUE;
}
