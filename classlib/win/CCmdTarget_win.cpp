// Message-map lookup, shared by windows and the application object.
#include "classlib/win/CCmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

bool EntryTakes(const AFX_MSGMAP_ENTRY& entry, UINT message, UINT code, UINT id) {
    const UINT entryMessage =
        entry.pRegisteredMessage != nullptr ? *entry.pRegisteredMessage : entry.nMessage;
    if (entryMessage != message) {
        return false;
    }
    if (message != WM_COMMAND && message != WM_NOTIFY && message != kAfxReflected + WM_COMMAND &&
        message != kAfxReflected + WM_NOTIFY) {
        return true;
    }
    if (entry.nCode != code) {
        return false;
    }
    // Reflected entries belong to the control itself and carry no id.
    if (message >= kAfxReflected) {
        return true;
    }
    return entry.nID <= id && id <= entry.nLastID;
}

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig::End, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, entries};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig::End; ++entry) {
            if (EntryTakes(*entry, message, code, id)) {
                return entry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, static_cast<UINT>(code), id);
    // Update entries take a CCmdUI and run only through CCmdUI::DoUpdate.
    if (entry == nullptr || entry->nSig == AfxSig::VoidCmdUI) {
        return FALSE;
    }
    if (entry->nSig == AfxSig::VoidUint) {
        (this->*AfxTypedHandler<void (CCmdTarget::*)(UINT)>(entry->pfn))(id);
        return TRUE;
    }
    (this->*entry->pfn)();
    return TRUE;
}
