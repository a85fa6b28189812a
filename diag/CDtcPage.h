// The "Trouble Codes" page of the Diagnosis mode (template 2029): the OBD trouble codes that
// the unit collected from the car, stored (element 119) and pending (element 120), one grid
// row per snapshot, and the command "Delete all DTCs". UI thread only.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CStatic.h"
#include "diag/DtcSnapshotList.h"
#include "forms/CScrollPage.h"
#include "forms/CTipGridCtrl.h"
#include "link/IMessageTarget.h"
#include "res/ResourceIds.h"

#include <array>

class CDtcPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_DTC_PAGE;

    static constexpr int kStoredLabelId = 1531;
    static constexpr int kPendingLabelId = 1532;
    static constexpr int kDeleteButtonId = 1533;
    static constexpr int kStoredGridId = 1534;
    static constexpr int kPendingGridId = 1535;

    explicit CDtcPage(CWnd* parent = nullptr);
    ~CDtcPage() override;

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // The tip of a cell of either grid and the font to show it in: the codes of a snapshot
    // broken into lines; an empty text for every other cell.
    void GetCodesTip(const CGridCtrl& grid, int row, int column, CString& text, LOGFONTA& font) const;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    // 0x611 from a grid: wParam the grid, lParam its GridTipRequest.
    LRESULT OnTipRequest(WPARAM wParam, LPARAM lParam);
    void OnDeleteCodes();

    DECLARE_MESSAGE_MAP()

private:
    using ListBuffer = std::array<BYTE, kDtcListBytes>;

    void Layout();
    void SetUpGrid(CGridCtrl& grid, int width);
    void SetFonts();
    void UpdateTexts();
    void FillGrid(CGridCtrl& grid, const ListBuffer& list);
    void WriteHeader(CGridCtrl& grid);

    CStatic m_storedLabel;
    CStatic m_pendingLabel;
    CButton m_deleteButton;
    CTipGridCtrl m_storedGrid;
    CTipGridCtrl m_pendingGrid;
    ListBuffer m_storedList{};
    ListBuffer m_pendingList{};
    LOGFONTA m_tipFont = {};
};
