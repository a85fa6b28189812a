// The small modal dialog in which the user types a new description key (a language code such
// as "en"). It refuses an empty key and one with characters a key may not hold, and hands the
// accepted key back trimmed.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CStatic.h"

class IResourceManager;

class CAddKeyDlg : public CDialog {
public:
    explicit CAddKeyDlg(CWnd* parent = nullptr);

    // The texts come from here in the current language; without one (or for a text it lacks)
    // from the program's own string table.
    void SetResourceManager(IResourceManager* resources) { m_resources = resources; }

    CString GetKey() const { return m_key; }

    // The key as typed, trimmed, when it is valid; empty otherwise.
    static CString CheckKey(const CString& typed);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    CString Text(UINT id, LPCSTR fallback) const;

    CStatic m_label;
    CEdit m_edit;
    IResourceManager* m_resources = nullptr;  // not owned
    CString m_key;
};
