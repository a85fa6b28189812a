#include "shell/CTabHostDlg.h"

#include "classlib/win/AfxMsgMap.h"
#include "forms/CScrollPage.h"
#include "forms/fonts/GetCachedFont.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

#include <algorithm>

namespace {

constexpr int kTabFontTenths = 80;
constexpr const char* kTabFontFace = "Verdana";

}  // namespace

BEGIN_MESSAGE_MAP(CTabHostDlg, CDialog)
    ON_NOTIFY(TCN_SELCHANGE, CTabHostDlg::kTabCtrlId, OnTabSelChange)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_WM_SHOWWINDOW()
    ON_BN_CLICKED(CTabHostDlg::kCloseButtonId, OnCloseClicked)
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CTabHostDlg::CTabHostDlg() : CDialog(kTemplateId, nullptr) {}

CTabHostDlg::~CTabHostDlg() {
    if (m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(this);
    }
}

void CTabHostDlg::AddPage(CScrollPage* page, UINT titleId) {
    m_pages.push_back(page);
    m_titleIds.push_back(titleId);
}

CScrollPage* CTabHostDlg::GetActivePage() const {
    if (m_activeIndex < 0 || static_cast<size_t>(m_activeIndex) >= m_pages.size()) {
        return nullptr;
    }
    return m_pages[static_cast<size_t>(m_activeIndex)];
}

int CTabHostDlg::CloseButtonSide(int smallCaptionWidth, int smallCaptionHeight) {
    const int side = std::min(smallCaptionWidth, smallCaptionHeight);
    return side % 2 == 0 ? side + 1 : side;
}

void CTabHostDlg::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CTabHostDlg::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, kTabCtrlId, m_tabCtrl);
    DDX_Control(exchange, kCloseButtonId, m_closeButton);
}

BOOL CTabHostDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
    }
    MoveWindow(&m_placement, TRUE);
    RECT area = {};
    GetClientRect(&area);
    m_tabCtrl.MoveWindow(&area, TRUE);
    SetTabFont();
    PlaceCloseButton();
    CreatePages();
    return TRUE;
}

void CTabHostDlg::SetTabFont() {
    CFont* font = GetCachedFont(m_fonts, this, kTabFontFace, kTabFontTenths, m_scaleX, m_scaleY);
    if (font != nullptr) {
        m_tabCtrl.SetFont(*font, TRUE);
    }
}

void CTabHostDlg::PlaceCloseButton() {
    const int side = CloseButtonSide(GetSystemMetrics(SM_CXSMSIZE), GetSystemMetrics(SM_CYSMSIZE));
    RECT area = {};
    GetClientRect(&area);
    m_closeButton.MoveWindow(area.right - side, 0, side, side, TRUE);
}

void CTabHostDlg::CreatePages() {
    for (size_t i = 0; i < m_titleIds.size(); ++i) {
        m_tabCtrl.InsertItem(static_cast<int>(i), LoadText(m_resources, m_titleIds[i]));
    }
    m_activeIndex = 0;
    for (CScrollPage* page : m_pages) {
        page->SetDataHandler(m_dataHandler);
        page->SetResourceManager(m_resources);
        page->SetFontCache(m_fonts);
        page->SetTabCtrl(&m_tabCtrl);
        page->SetScale(m_scaleX, m_scaleY);
        page->Create(page->GetTemplateId(), this);
    }
    CScrollPage* active = GetActivePage();
    if (active != nullptr) {
        active->ShowWindow(SW_SHOW);
    }
    // Last to first, each directly behind the tab control: tab control, page 1, page 2, ...
    for (auto page = m_pages.rbegin(); page != m_pages.rend(); ++page) {
        (*page)->SetWindowPos(&m_tabCtrl, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void CTabHostDlg::ShowSelectedPage() {
    const int selected = m_tabCtrl.GetCurSel();
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (static_cast<int>(i) != selected && m_pages[i]->GetSafeHwnd() != nullptr) {
            m_pages[i]->ShowWindow(SW_HIDE);
        }
    }
    if (selected < 0 || static_cast<size_t>(selected) >= m_pages.size()) {
        return;
    }
    CScrollPage* page = m_pages[static_cast<size_t>(selected)];
    if (page->GetSafeHwnd() != nullptr) {
        page->ShowWindow(SW_SHOW);
    }
}

void CTabHostDlg::OnTabSelChange(NMHDR* header, LRESULT* result) {
    m_activeIndex = m_tabCtrl.GetCurSel();
    m_tabCtrl.SetFocus();
    ShowSelectedPage();
    *result = 0;
}

LRESULT CTabHostDlg::OnLanguageChanged(WPARAM wParam, LPARAM lParam) {
    for (size_t i = 0; i < m_titleIds.size(); ++i) {
        CString text = LoadText(m_resources, m_titleIds[i]);
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
        m_tabCtrl.SetItem(static_cast<int>(i), &item);
    }
    return 0;
}

void CTabHostDlg::OnShowWindow(BOOL show, UINT status) {
    Default();
    ShowSelectedPage();
}

void CTabHostDlg::OnCloseClicked() {
    CWnd* parent = GetParent();
    if (parent != nullptr) {
        parent->PostMessage(WM_COMMAND, IDCANCEL, 0);
    }
}

BOOL CTabHostDlg::OnMouseWheel(UINT flags, short delta, CPoint point) {
    CScrollPage* page = GetActivePage();
    if (page == nullptr || page->GetSafeHwnd() == nullptr) {
        return CDialog::OnMouseWheel(flags, delta, point);
    }
    const LRESULT answer = page->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(flags, static_cast<WORD>(delta)),
                                             MAKELPARAM(point.x, point.y));
    return static_cast<BOOL>(answer);
}
