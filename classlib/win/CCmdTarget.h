// Root of every object that receives commands and messages through a message map.
#pragma once

#include "classlib/core/CObject.h"
#include "classlib/win/AfxMsgMap.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    // Runs the handler that the message map holds for command id with notification
    // code (0 for menus, accelerators and ON_COMMAND). TRUE when a handler ran.
    virtual BOOL OnCmdMsg(UINT id, int code);

    // The first entry of this object's map or its bases' maps that takes message
    // with code and id, or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

protected:
    CCmdTarget() = default;

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
