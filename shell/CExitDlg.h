// "Exiting ..." (template 151): the exit confirmation with the list of things not yet
// done. OK ("Exit") leaves the program, Cancel stays.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"

class CResourceManager;

class CExitDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = 151;
    static constexpr int kMessageId = 1090;

    explicit CExitDlg(CWnd* parent = nullptr);

    void SetResourceManager(CResourceManager* resources) { m_resources = resources; }  // not owned

    void SetMessage(LPCSTR message) { m_message = message; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    CStatic m_messageText;
    CButton m_cancelButton;
    CButton m_okButton;
    CResourceManager* m_resources = nullptr;
    CString m_message;
};
