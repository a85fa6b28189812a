// "Info über ZFx Viewer": the program's name and version in bold and the maker's web site,
// which a click opens.
#pragma once

#include "classlib/win/CDialog.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CStatic.h"
#include "forms/CHyperLink.h"

class CManagerAboutDlg : public CDialog {
public:
    explicit CManagerAboutDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    CStatic m_version;
    // Opens the address it shows.
    CHyperLink m_link;
    CFont m_boldFont;
};
