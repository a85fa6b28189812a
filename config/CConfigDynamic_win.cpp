// The map page's set-up and teardown, its subscriptions, and its layout, fonts and texts.
#include "config/CConfigDynamic.h"

#include "classlib/core/FormatText.h"
#include "classlib/win/AfxMsgMap.h"
#include "classlib/win/CClientDC.h"
#include "classlib/win/CFont.h"
#include "classlib/win/CScopedSelect.h"
#include "config/CMapPageFrame.h"
#include "config/MapPageConstants.h"
#include "forms/ScaledLength.h"
#include "forms/fonts/GetCachedFont.h"
#include "forms/fonts/MakeScaledLogFont.h"
#include "grid/CGridCellBase.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"
#include "link/DataHandlerMessages.h"
#include "link/ITextResources.h"
#include "link/ReadElementBytes.h"

#include <algorithm>
#include <vector>

BEGIN_MESSAGE_MAP(CConfigDynamic, CScrollPage)
    ON_NOTIFY(GRIDN_ENDEDIT, CConfigDynamic::kGridId, OnGridEndEdit)
    ON_CBN_SELCHANGE(CConfigDynamic::kAngleComboId, OnComboChanged)
    ON_MESSAGE(CMeasurementGridCtrl::kHotKeyStepMessage, OnHotKeys)
    ON_MESSAGE(WM_DH_ELEMENT_CHANGED, OnDataChanged)
    ON_MESSAGE(WM_DH_STATUS_CHANGED, OnStatusChanged)
    ON_MESSAGE(WM_DH_NEW_DATA, OnLiveCycle)
    ON_MESSAGE(WM_DH_LANGUAGE_CHANGED, OnLanguageChanged)
    ON_EN_KILLFOCUS(CConfigDynamic::kBaseEditId, ApplyBasePercentEdit)
    ON_BN_CLICKED(CConfigDynamic::kCalCellId, OnCalCell)
    ON_BN_CLICKED(CConfigDynamic::kCalibSettingsId, OnCalibrationSettings)
    ON_COMMAND(CMeasurementGridCtrl::kAddCommand, OnNewMeasurement)
    ON_COMMAND(CMeasurementGridCtrl::kEditCommand, OnEditMeasurement)
    ON_COMMAND(CMeasurementGridCtrl::kDeleteCommand, OnDeleteMeasurement)
    ON_COMMAND(CMeasurementGridCtrl::kShowMarksCommand, OnShowMeasurements)
    ON_COMMAND(CMeasurementGridCtrl::kShowSummaryCommand, OnShowSummary)
    ON_COMMAND(CMeasurementGridCtrl::kDeleteAllCommand, OnDeleteAllMeasurements)
    ON_COMMAND(CMeasurementGridCtrl::kTotalizeCommand, OnTotalize)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

using namespace MapPageConstants;

CConfigDynamic::CConfigDynamic(CWnd* parent) : CScrollPage(kTemplateId, parent), m_obdPanel(this) {
    m_editor.SetView(this);
}

// The data handler must not post to a page that is gone.
CConfigDynamic::~CConfigDynamic() {
    m_editor.SetView(nullptr);
    if (!m_registered || m_dataHandler == nullptr) {
        return;
    }
    for (const int element : {kBaseElement, kMapElement, kAngleElement, kMinimumInjectionElement}) {
        m_dataHandler->Unsubscribe(this, element, 3);
    }
    m_dataHandler->Unsubscribe(this, kExtendedElement, 1);
    m_dataHandler->UnregisterWindow(this);
}

void CConfigDynamic::PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) {
    CWnd::PostMessage(message, wParam, lParam);
}

DWORD CConfigDynamic::LanguageId() const {
    return m_resources != nullptr ? m_resources->GetLanguageId() : LOCALE_USER_DEFAULT;
}

BYTE CConfigDynamic::ReadByte(int element) {
    return ReadElementBytes(*m_dataHandler, element, 1)[0];
}

void CConfigDynamic::DoDataExchange(CDataExchange* exchange) {
    CScrollPage::DoDataExchange(exchange);
    DDX_Control(exchange, kBaseEditId, m_baseEdit);
    DDX_Control(exchange, kBaseLabelId, m_baseLabel);
    m_live.DoDataExchange(exchange);
    DDX_Control(exchange, kCalCellId, m_calCell);
    DDX_Control(exchange, kCalibSettingsId, m_calibSettings);
    DDX_Control(exchange, kAngleComboId, m_angleCombo);
}

BOOL CConfigDynamic::OnInitDialog() {
    CScrollPage::OnInitDialog();
    m_activeDialog = nullptr;
    m_extended = false;
    m_obdOptions = 0;
    m_crankAngle = 0;
    m_minimumInjectionUs = 1000;
    m_editor.SetDataHandler(m_dataHandler);
    m_editor.SetCrankAngle(0);
    m_editor.SetMinimumInjection(m_minimumInjectionUs);
    ResetLiveDisplay();
    if (m_dataHandler != nullptr && !m_registered) {
        m_dataHandler->RegisterWindow(this);
        m_dataHandler->Subscribe(this, kBaseElement, 3);
        m_dataHandler->Subscribe(this, kMapElement, 3);
        m_dataHandler->Subscribe(this, kAngleElement, 3);
        m_dataHandler->Subscribe(this, kExtendedElement, 1);
        m_dataHandler->Subscribe(this, kMinimumInjectionElement, 3);
        m_registered = true;
    }
    for (int step = 0; step <= kAngleSteps; ++step) {
        m_angleCombo.SetItemData(m_angleCombo.AddString(FormatText("%d", step * 10)), step);
    }
    m_baseEdit.SendMessage(EM_LIMITTEXT, 4);
    Layout();
    m_grid.SetDataHandler(m_dataHandler);
    m_grid.SetResourceManager(m_resources);
    m_grid.SetPage(this);
    m_grid.Init();
    UpdateTexts();
    return TRUE;
}

// ---- Layout, fonts and texts ----------------------------------------------------------------

LOGFONTA CConfigDynamic::MakeFont(const char* face, int tenthsPoint, int weight) {
    return MakeScaledLogFont(this, face, tenthsPoint, weight, m_scaleX, m_scaleY);
}

void CConfigDynamic::Layout() {
    const double sx = m_scaleX;
    const double sy = m_scaleY;
    const CMapPageFrame frame(*this, sx, sy);
    const int height = frame.Height();
    const int margin = frame.Margin();
    const int rightWidth = frame.RightWidth();
    const int rightX = frame.RightX();
    const int labelHeight = frame.LabelHeight();
    const RECT gridRect = frame.GridRect(height - margin);

    frame.PlaceUnitLabels(kMsLabelId, kRpmLabelId);
    if (m_grid.GetSafeHwnd() == nullptr && !m_grid.Create(gridRect, this, kGridId)) {
        CLogger::Instance().Log(3000, "CConfigDynamic::Layout(): the map grid was not created.");
    }

    int y = margin;
    const int labelWidth = ScaledLength(110, sx);
    const int fieldWidth = rightWidth - labelWidth - ScaledLength(4, sx);
    const int rowHeight = ScaledLength(20, sy);
    m_baseLabel.MoveWindow(rightX, y + ScaledLength(2, sy), labelWidth, labelHeight, FALSE);
    m_baseEdit.MoveWindow(rightX + labelWidth + ScaledLength(4, sx), y, fieldWidth, rowHeight, FALSE);
    y += rowHeight + ScaledLength(6, sy);
    y = m_live.Place(rightX, y, rightWidth, sx, sy);
    m_calCell.MoveWindow(rightX, y, rightWidth, ScaledLength(24, sy), FALSE);
    y += ScaledLength(30, sy);

    LendServices(m_obdPanel);
    m_obdPanel.ShowAt(this, rightX, y, rightX + rightWidth, height - margin);
    m_angleCombo.ShowWindow(SW_HIDE);
    m_calibSettings.ShowWindow(SW_HIDE);
    SetUpGrid();
    SetFonts();
    SetContentHeight(0);
    Invalidate(TRUE);
}

void CConfigDynamic::SetUpGrid() {
    if (m_grid.GetSafeHwnd() == nullptr) {
        return;
    }
    const LOGFONTA cellFont = MakeFont("Arial", 80, FW_NORMAL);
    const LOGFONTA headerFont = MakeFont("Arial", 75, FW_BOLD);
    for (const BOOL fixedRow : {FALSE, TRUE}) {
        for (const BOOL fixedColumn : {FALSE, TRUE}) {
            CGridCellBase* cell = m_grid.GetDefaultCell(fixedRow, fixedColumn);
            const bool header = fixedRow || fixedColumn;
            cell->SetFont(header ? &headerFont : &cellFont);
            cell->SetMargin(0);
            cell->SetFormat(kCellFormat);
            cell->SetBackColour(!header ? kCellBack : (fixedRow && fixedColumn ? kCornerBack : kHeaderBack));
        }
    }
    m_grid.SetMarkFont(MakeFont("MS Shell Dlg", 60, FW_NORMAL));
    m_grid.EnableWindow(FALSE);
}

void CConfigDynamic::SetFonts() {
    m_tipFont = MakeFont("Arial", 72, FW_NORMAL);
    m_popupFont = MakeFont("Verdana", 80, FW_NORMAL);
    if (m_fonts == nullptr) {
        return;
    }
    CFont* label = GetCachedFont(m_fonts, this, "Verdana", 79, m_scaleX, m_scaleY, FW_NORMAL);
    CFont* edit = GetCachedFont(m_fonts, this, "Verdana", 80, m_scaleX, m_scaleY, FW_NORMAL);
    if (label == nullptr || edit == nullptr) {
        CLogger::Instance().Log(3000, "CConfigDynamic::SetFonts(): no Verdana font.");
        return;
    }
    for (const int id : {kBaseLabelId, kCorrectionLabelId, kMsLabelId, kRpmLabelId, kCalCellId}) {
        GetDlgItem(id)->SetFont(*label);
    }
    m_baseEdit.SetFont(*edit);
    m_live.SetFonts(*m_fonts, this, m_scaleX, m_scaleY, *edit);
}

void CConfigDynamic::UpdateTexts() {
    MeasurePopupItems();
    m_baseLabel.SetWindowText(LoadText(m_resources, kOffsetText));
    m_calCell.SetWindowText(LoadText(m_resources, kPointCalibrationText));
    m_live.SetCorrectionLabel(LoadText(m_resources, kGasCorrectionText));
    ResetLiveDisplay();
}

void CConfigDynamic::MeasurePopupItems() {
    CClientDC dc(this);
    CFont* font = m_fonts != nullptr ? m_fonts->GetFont(&m_popupFont) : nullptr;
    HGDIOBJ selected = font != nullptr ? font->GetSafeHandle() : GetStockObject(DEFAULT_GUI_FONT);
    CScopedSelect scoped(dc, selected);
    int widest = 0;
    int tallest = 0;
    for (const UINT id : {kByInjectionText, kByTrimText, kAutomaticText}) {
        const CSize extent = dc.GetTextExtent(LoadText(m_resources, id));
        widest = std::max(widest, static_cast<int>(extent.cx));
        tallest = std::max(tallest, static_cast<int>(extent.cy));
    }
    m_popupWidth = widest + 8;
    m_popupHeight = tallest + 4;
}

void CConfigDynamic::ResetLiveDisplay() {
    m_live.Reset();
}
