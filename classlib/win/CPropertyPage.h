// A page of a property sheet: a dialog template shown as one tab of a sheet, told when it
// becomes active or inactive and when the sheet applies or drops the changes.
#pragma once

#include "classlib/win/CDialog.h"

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)

public:
    // captionId 0: the tab shows the template's own caption.
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    UINT GetCaptionId() const { return m_captionId; }

    // Marks the page as holding changes that Apply would take.
    void SetModified(BOOL modified = TRUE) { m_modified = modified; }

    BOOL IsModified() const { return m_modified; }

    // TRUE lets the page show.
    virtual BOOL OnSetActive();
    // TRUE lets the page go; the base takes the controls' data.
    virtual BOOL OnKillActive();
    // TRUE when the changes were taken; the page no longer holds any.
    virtual BOOL OnApply();
    // The changes are dropped.
    virtual void OnReset();

private:
    UINT m_captionId;
    BOOL m_modified = FALSE;
};
