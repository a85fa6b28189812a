#include "forms/CXmlForm.h"

#include "classlib/win/CClientDC.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CScopedSelect.h"
#include "forms/fonts/CFontCache.h"
#include "forms/fonts/MakeScaledLogFont.h"
#include "forms/XmlElement.h"
#include "grid/CGridCtrl.h"
#include "grid/GridDefs.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/CalibrationHelpers.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"

#include <algorithm>

namespace {

constexpr UINT kInvalidElementText = 15036;  // "Attempt to write an invalid element: %s."
constexpr UINT kOutOfRangeText = 15152;      // "Element out of range: %s <- %c%s; %s%c."
constexpr int kRowFontTenths = 85;
constexpr int kTipFontTenths = 65;
constexpr int kTipShowMs = 0x7FFF;
constexpr int kTipInitialMs = 10;
constexpr int kTipReshowMs = 0x7FFF;

}  // namespace

BEGIN_MESSAGE_MAP(CXmlForm, CScrollPage)
    ON_WM_DRAWITEM()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_NOTIFY_RANGE(GRIDN_ENDEDIT, 0, 0xFFFF, OnGridEndEdit)
END_MESSAGE_MAP()

void CXmlForm::CBroadcastTarget::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    m_window.PostMessage(message, wParam, lParam);
}

CXmlForm::CXmlForm(UINT formResourceId, UINT templateId, CWnd* parent) : CScrollPage(templateId, parent) {
    ReadFormResource(formResourceId);
}

CXmlForm::~CXmlForm() {
    if (m_dataHandler != nullptr) {
        m_dataHandler->UnregisterWindow(&m_broadcasts);
    }
}

void CXmlForm::ReadFormResource(UINT formResourceId) {
    const HMODULE module = ::GetModuleHandleA(nullptr);
    const HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(formResourceId), "Form");
    if (resource == nullptr) {
        return;
    }
    const HGLOBAL loaded = ::LoadResource(module, resource);
    const DWORD size = ::SizeofResource(module, resource);
    const char* bytes = loaded != nullptr ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (bytes == nullptr || size == 0) {
        return;
    }
    // The resource's bytes have no terminator; the parser stops at their end.
    const XmlElement parsed = XmlElement::ParseString(bytes, size, nullptr, nullptr);
    m_model.Read(parsed, [] { return static_cast<uint32_t>(NextUniqueId()); });
}

BOOL CXmlForm::OnInitDialog() {
    CScrollPage::OnInitDialog();
    RECT client = {};
    GetClientRect(&client);
    m_measures = XmlFormLayout::Measure(m_scaleX, m_scaleY, client.right - client.left,
                                        ::GetSystemMetrics(SM_CXVSCROLL));
    CreateFonts();
    CreateToolTip();
    SetContentHeight(BuildControls());
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(&m_broadcasts);
    }
    return TRUE;
}

LOGFONTA CXmlForm::FormFont(int tenthsPoint) {
    return MakeScaledLogFont(this, "Verdana", tenthsPoint, FW_NORMAL, m_scaleX, m_scaleY);
}

XmlFormCommit::MessageTexts CXmlForm::CommitTexts() const {
    XmlFormCommit::MessageTexts texts;
    texts.invalid = LoadText(m_resources, kInvalidElementText).GetString();
    texts.outOfRange = LoadText(m_resources, kOutOfRangeText).GetString();
    return texts;
}

CLocaleNumberFormat CXmlForm::NumberFormat() const {
    const IResourceManager* resources = m_resources;
    return CLocaleNumberFormat::FromLocale(resources != nullptr ? resources->GetLanguageId()
                                                                : LOCALE_USER_DEFAULT);
}

void CXmlForm::CreateFonts() {
    m_rowLogFont = FormFont(kRowFontTenths);
    if (m_fonts == nullptr) {
        return;
    }
    const LOGFONTA tipFont = FormFont(kTipFontTenths);
    m_tipFont = static_cast<HFONT>(m_fonts->GetFont(&tipFont)->GetSafeHandle());
    m_rowFont = static_cast<HFONT>(m_fonts->GetFont(&m_rowLogFont)->GetSafeHandle());
}

void CXmlForm::CreateToolTip() {
    if (!m_tooltip.Create(this)) {
        CLogger::Instance().Log(3000, "CXmlForm: the tooltip could not be created.");
        return;
    }
    if (m_tipFont != nullptr) {
        m_tooltip.SetFont(m_tipFont, FALSE);
    }
    m_tooltip.SetDelayTime(TTDT_AUTOPOP, kTipShowMs);
    m_tooltip.SetDelayTime(TTDT_INITIAL, kTipInitialMs);
    m_tooltip.SetDelayTime(TTDT_RESHOW, kTipReshowMs);
    RECT margin = {1, 1, 1, 1};
    m_tooltip.SetMargin(&margin);
    m_tooltip.SetMargins(1, 1, 1, 1);
    m_tooltip.SetColumnTemplates("");
    m_tooltip.Activate(TRUE);
}

HGDIOBJ CXmlForm::UsableFont(HFONT font) {
    return font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT);
}

BOOL CXmlForm::PreTranslateMessage(MSG* message) {
    if (m_tooltip.GetSafeHwnd() != nullptr) {
        m_tooltip.RelayEvent(message);
    }
    return CScrollPage::PreTranslateMessage(message);
}

BOOL CXmlForm::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header != nullptr && header->code == TTN_NEEDTEXTA && m_tooltip.GetSafeHwnd() != nullptr &&
        header->hwndFrom == m_tooltip.GetSafeHwnd()) {
        OnToolTipText(reinterpret_cast<NMTTDISPINFOA*>(lParam));
        *result = 0;
        return TRUE;
    }
    return CScrollPage::OnNotify(wParam, lParam, result);
}

const CXmlForm::LabelRecord* CXmlForm::FindLabel(UINT controlId) const {
    const auto found =
        std::lower_bound(m_labels.begin(), m_labels.end(), controlId,
                         [](const LabelRecord& label, UINT id) { return label.controlId < id; });
    return found != m_labels.end() && found->controlId == controlId ? &*found : nullptr;
}

void CXmlForm::OnToolTipText(NMTTDISPINFOA* info) {
    UINT controlId = static_cast<UINT>(info->hdr.idFrom);
    if ((info->uFlags & TTF_IDISHWND) != 0) {
        controlId = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(info->hdr.idFrom)));
    }
    const LabelRecord* label = FindLabel(controlId);
    m_tipText.Empty();
    if (label != nullptr && label->textId != 0) {
        RECT client = {};
        GetClientRect(&client);
        CClientDC dc(&m_tooltip);
        CScopedSelect font(dc, UsableFont(m_tipFont));
        const HDC hdc = dc.GetSafeHdc();
        const auto width = [hdc](const std::string& text) {
            SIZE size = {};
            ::GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
            return static_cast<int>(size.cx);
        };
        m_tipText = XmlFormLayout::WrapTipText(LoadText(m_resources, label->textId).GetString(),
                                               (client.right - client.left) / 2, width)
                        .c_str();
    }
    m_tooltip.SetTableText(m_tipText);
    // The text outlives the call; the notification's own buffer holds only 80 characters.
    info->lpszText = const_cast<LPSTR>(m_tipText.GetString());
}

LRESULT CXmlForm::OnLanguageChanged(WPARAM, LPARAM) {
    for (LabelRecord& label : m_labels) {
        label.window->SetWindowText(label.textId != 0 ? LoadText(m_resources, label.textId).GetString()
                                                      : "\xA4");
    }
    for (ControlRecord& control : m_controls) {
        if (control.field == nullptr) {
            continue;
        }
        if (FormSelectValue* select = control.field->Select()) {
            auto* combo = static_cast<CComboBox*>(control.window.get());
            FillSelect(*combo, *select);
        } else if (FormGridValue* grid = control.field->Grid()) {
            RelabelGrid(*static_cast<CGridCtrl*>(control.window.get()), *grid);
        }
    }
    return 0;
}

void CXmlForm::OnDestroy() {
    CScrollPage::OnDestroy();
    for (std::unique_ptr<CWnd>& button : m_markButtonWindows) {
        button->DestroyWindow();
    }
    for (LabelRecord& label : m_labels) {
        label.window->DestroyWindow();
    }
    for (ControlRecord& control : m_controls) {
        control.window->DestroyWindow();
    }
    m_markElements.clear();
    m_markButtons.clear();
    m_markButtonWindows.clear();
    m_labels.clear();
    m_controls.clear();
}
