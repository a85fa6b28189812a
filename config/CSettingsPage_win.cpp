// The settings page's set-up and teardown: its message map and controls, the subscriptions
// to the data handler, the edit of each element and the drawn lambda check box.
#include "config/CSettingsPage.h"

#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CFont.h"
#include "config/CSensorSettingDlg.h"
#include "config/CSettingsPageField.h"
#include "config/SettingsPageElements.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/CFontCache.h"
#include "forms/fonts/GetScaledFontHeight.h"
#include "link/CDataHandler.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"
#include "link/NumberChecks.h"

using namespace SettingsPageElements;

namespace {

// The elements the page shows, subscribed for "loaded as a whole" and "changed locally".
constexpr int kShownElements[] = {2,  3,  4,  5,  0,   1,   35,  36,  37,  38,  71,  72, 73,
                                  74, 93, 94, 50, 100, 101, 103, 104, 105, 122, 102, 45};
constexpr int kShownFlags = 1 | 2;

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsPage, CScrollPage)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnElementChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnIgnored)
    ON_MESSAGE(WM_DH_NEW_DATA, OnIgnored)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_CBN_SELENDOK(CSettingsPage::kChangeTypeId, OnChangeTypeSelected)
    ON_CBN_SELENDOK(CSettingsPage::kRevSignalId, OnRevSignalSelected)
    ON_CBN_SELENDOK(CSettingsPage::kOxygenSensorId, OnOxygenSensorSelected)
    ON_CBN_SELENDOK(CSettingsPage::kTankValveId, OnTankValveSelected)
    ON_CBN_SELENDOK(CSettingsPage::kTempTypeId, OnTempTypeSelected)
    ON_CBN_SELENDOK(CSettingsPage::kPressTypeId, OnPressTypeSelected)
    ON_CBN_SELENDOK(CSettingsPage::kLevelTypeId, OnLevelTypeSelected)
    ON_CBN_SELENDOK(CSettingsPage::kPumpTypeId, OnPumpTypeSelected)
    ON_CONTROL_RANGE(EN_KILLFOCUS, CSettingsPage::kChangeRevId, CSettingsPage::kExtra4Id, OnEditKillFocus)
    ON_BN_CLICKED(CSettingsPage::kLambdaCheckId, OnLambdaCheckClicked)
    ON_BN_DOUBLECLICKED(CSettingsPage::kLambdaCheckId, OnLambdaCheckClicked)
    ON_WM_DRAWITEM()
    ON_NOTIFY(NM_RELEASEDCAPTURE, CSettingsPage::kIntervalSliderId, OnSliderReleased)
END_MESSAGE_MAP()

CSettingsPage::CSettingsPage(CWnd* parent) : CScrollPage(kTemplateId, parent) {}

CSettingsPage::~CSettingsPage() {
    if (m_dataHandler == nullptr) {
        return;
    }
    m_dataHandler->UnregisterWindow(this);
    for (const int element : kShownElements) {
        m_dataHandler->Unsubscribe(this, element, kShownFlags);
    }
}

void CSettingsPage::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

void CSettingsPage::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, kChangeTypeId, m_changeType);
    DDX_Control(exchange, kChangeRevId, m_changeRev);
    DDX_Control(exchange, kLambdaCheckId, m_lambdaCheck);
    DDX_Control(exchange, kChangeTempId, m_changeTemp);
    DDX_Control(exchange, kChangePressId, m_changePress);
    DDX_Control(exchange, kOverlapId, m_overlap);
    DDX_Control(exchange, kMinInjectionId, m_minInjection);
    DDX_Control(exchange, kBeforeChangeId, m_beforeChange);
    DDX_Control(exchange, kHighPressId, m_highPress);
    DDX_Control(exchange, kOxygenSensorId, m_oxygenSensor);
    DDX_Control(exchange, kTankValveId, m_tankValve);
    DDX_Control(exchange, kTempTypeId, m_tempType);
    DDX_Control(exchange, kTempCurveId, m_tempCurve);
    DDX_Control(exchange, kPressTypeId, m_pressType);
    DDX_Control(exchange, kPressCurveId, m_pressCurve);
    DDX_Control(exchange, kLevelTypeId, m_levelType);
    DDX_Control(exchange, kLevelCurveId, m_levelCurve);
    DDX_Control(exchange, kRevSignalId, m_revSignal);
    DDX_Control(exchange, kRevDivisorId, m_revDivisor);
    DDX_Control(exchange, kPressMatterId, m_pressMatter);
    DDX_Control(exchange, kTempMatterId, m_tempMatter);
    DDX_Control(exchange, kPumpTypeId, m_pumpType);
    DDX_Control(exchange, kIntervalSliderId, m_intervalSlider);
    DDX_Control(exchange, kIntervalEditId, m_intervalEdit);
    DDX_Control(exchange, kLoadMinimumId, m_loadMinimum);
    DDX_Control(exchange, kCylindersId, m_cylinders);
    DDX_Control(exchange, kExtra2Id, m_extra2);
    DDX_Control(exchange, kExtra3Id, m_extra3);
    DDX_Control(exchange, kExtra4Id, m_extra4);
}

BOOL CSettingsPage::OnInitDialog() {
    CScrollPage::OnInitDialog();
    if (m_dataHandler != nullptr) {
        m_dataHandler->RegisterWindow(this);
        for (const int element : kShownElements) {
            m_dataHandler->Subscribe(this, element, kShownFlags);
        }
    }
    Layout();
    return TRUE;
}

DWORD CSettingsPage::LanguageId() const {
    return m_resources != nullptr ? m_resources->GetLanguageId() : 0;
}

LRESULT CSettingsPage::OnIgnored(WPARAM wParam, LPARAM lParam) {
    return 0;
}

CEdit* CSettingsPage::EditOfElement(int element) {
    for (const EditBinding& binding : kEdits) {
        if (binding.element == element) {
            return static_cast<CEdit*>(GetDlgItem(binding.controlId));
        }
    }
    return nullptr;
}

int CSettingsPage::ElementOfEdit(int controlId) const {
    for (const EditBinding& binding : kEdits) {
        if (binding.controlId == controlId) {
            return binding.element;
        }
    }
    return -1;
}

void CSettingsPage::OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem) {
    if (id != kLambdaCheckId) {
        CScrollPage::OnDrawItem(id, drawItem);
        return;
    }
    const RECT item = drawItem->rcItem;
    const int height = item.bottom - item.top;
    const int inset = height * 10 / 46;
    RECT box = {item.left, item.top + inset, item.left + height - 2 * inset, item.bottom - inset};
    UINT state = DFCS_BUTTONCHECK;
    if (m_cache[kLambdaElement] != 0) {
        state |= DFCS_CHECKED;
    }
    if ((drawItem->itemState & ODS_SELECTED) != 0) {
        state |= DFCS_PUSHED;
    }
    if ((drawItem->itemState & ODS_DISABLED) != 0) {
        state |= DFCS_INACTIVE;
    }
    ::DrawFrameControl(drawItem->hDC, &box, DFC_BUTTON, state);
    if ((drawItem->itemState & ODS_FOCUS) != 0) {
        RECT focus = item;
        ::InflateRect(&focus, -1, -1);
        ::DrawFocusRect(drawItem->hDC, &focus);
    }
}
