// The About box, opened modally from the main dialog's system menu: the product line with
// the program's full version, a notice and the maker's web address. Its texts are the
// template's own in every language.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CStatic.h"
#include "forms/CHyperLink.h"

class CAboutDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = 100;
    static constexpr int kNameLineId = 1153;
    static constexpr int kLinkId = 1154;

    explicit CAboutDlg(CWnd* parent = nullptr);

    // The product-line name followed by the version.
    static CString NameLine(const CString& productLine, int major, int minor, int build, int revision);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    CStatic m_nameLine;
    // The maker's web address; a click opens it.
    CHyperLink m_link;
};
