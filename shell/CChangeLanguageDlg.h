// The modal list of the available languages, each with its icon, opened by the main
// menu's Language button. Choosing an entry switches the language at once and closes the
// dialog: IDOK when the language changed, IDCANCEL otherwise. The main dialog keeps one
// instance and opens it again and again.
#pragma once

#include "classlib/win/CComboBoxEx.h"
#include "classlib/win/CDialog.h"
#include "classlib/win/CImageList.h"

class CResourceManager;

class CChangeLanguageDlg : public CDialog {
public:
    static constexpr UINT kTemplateId = 148;
    static constexpr int kLanguageListId = 1081;
    // String-table id of the caption's text.
    static constexpr UINT kCaptionTextId = 15109;

    explicit CChangeLanguageDlg(CWnd* parent = nullptr);

    void SetResourceManager(CResourceManager* resources) { m_resources = resources; }  // not owned

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    void OnOK() override;

    void OnSelEndOk();

    DECLARE_MESSAGE_MAP()

private:
    void FillList();

    CComboBoxEx m_languageList;
    CImageList m_images;
    CResourceManager* m_resources = nullptr;
};
