#include "shell/CChangeLanguageDlg.h"

#include "classlib/core/CArray.h"
#include "classlib/win/AfxMsgMap.h"
#include "link/ITextResources.h"
#include "shell/CResourceManager.h"
#include "shell/ZarvoNames.h"

namespace {

constexpr int kIconSide = 16;
constexpr int kInitialImages = 4;
constexpr int kImageGrowth = 4;

}  // namespace

BEGIN_MESSAGE_MAP(CChangeLanguageDlg, CDialog)
    ON_CBN_SELENDOK(CChangeLanguageDlg::kLanguageListId, OnSelEndOk)
END_MESSAGE_MAP()

CChangeLanguageDlg::CChangeLanguageDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

void CChangeLanguageDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kLanguageListId, m_languageList);
}

BOOL CChangeLanguageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The dialog object is reused: the icons of an earlier opening must not pile up.
    m_images.DeleteImageList();
    if (m_resources == nullptr) {
        return TRUE;
    }
    SetWindowText(ZarvoNames::TitledCaption(LoadText(m_resources, kCaptionTextId)));
    m_images.Create(kIconSide, kIconSide, ILC_COLOR32 | ILC_MASK, kInitialImages, kImageGrowth);
    FillList();
    return TRUE;
}

void CChangeLanguageDlg::FillList() {
    CStringArray names;
    m_resources->GetLanguageList(names, m_images.GetSafeHandle());
    m_languageList.ResetContent();
    m_languageList.SetImageList(&m_images);
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = i;
        item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(names[i]));
        item.iImage = static_cast<int>(i);
        item.iSelectedImage = static_cast<int>(i);
        m_languageList.InsertItem(&item);
    }
    m_languageList.SetCurSel(m_resources->GetCurrentLanguageIndex());
}

void CChangeLanguageDlg::OnSelEndOk() {
    OnOK();
}

void CChangeLanguageDlg::OnOK() {
    const bool changed = m_resources != nullptr && m_resources->SelectLanguage(m_languageList.GetCurSel());
    EndDialog(changed ? IDOK : IDCANCEL);
}
