// "Adaptive tables" of the Configuration mode: the gas correction that the unit has learnt by
// itself, four tables read row by row while the page is visible and shown in three views
// ("Long", "Long (summarized)", "Warm up correction"), with the live gas correction, a lambda
// indicator and the embedded OBD adaptation panel. "Clear Tables" makes the unit forget what
// it learnt. Besides the read tables that it keeps in the working image, it writes nothing.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "classlib/win/CStatic.h"
#include "config/CAdaptiveTable.h"
#include "config/CLiveLambdaDisplay.h"
#include "config/TablesIds.h"
#include "diag/CObdAdaptationPage.h"
#include "forms/CLiveMarkerGridCtrl.h"
#include "forms/CScrollPage.h"
#include "link/IMessageTarget.h"

#include <array>

class IAdaptiveMapSource;

class CAdaptTablesPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_ADAPT_TABLES;

    enum View {
        kViewLong = 0,
        kViewSummarized = 1,
        kViewWarmUp = 2,
    };

    // The request data of a row read: {kind, row, column count}.
    struct RowRequest {
        int kind = 0;
        int row = 0;
        int count = 0;
    };

    explicit CAdaptTablesPage(CWnd* parent = nullptr);
    ~CAdaptTablesPage() override;

    // The adaptive correction map for the summarized view; not owned, may be null.
    void SetConfigDynamic(IAdaptiveMapSource* map) { m_map = map; }

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    int GetView() const { return m_view; }

    bool IsReading() const { return m_reading; }

    const RowRequest& GetRequest() const { return m_request; }

    // Table 0..3 (A to D).
    const CAdaptiveTable& GetTable(int index) const { return m_tables[static_cast<std::size_t>(index)]; }

    CLiveMarkerGridCtrl& GetGrid() { return m_grid; }

    CObdAdaptationPage& GetObdPanel() { return m_obdPanel; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    void OnShowWindow(BOOL show, UINT status);
    void OnViewSelected();
    void OnClearTables();

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SetFonts();
    void SetUpGrid();
    void UpdateTexts();
    void ResetIndicators();
    std::vector<BYTE> ReadElement(int element) const;

    void OnTablesPresent();
    void OnRowAnswer(int element);
    void StartReading();
    void SendRequest();
    void NextRequest();

    void FillGrid();
    void EmptyGrid();
    void FillTwinRow(int row);
    void FillWarmUpBlock();
    int WarmUpTop() const;
    int WarmUpLeft() const;
    void RefreshRow(int tableIndex, int row);

    CLiveMarkerGridCtrl m_grid;
    CComboBox m_viewList;
    CButton m_clearButton;
    // 1.2 at the bottom of the bar, 0.8 at the top: lean (below 1) grows up in the upper colour.
    CLiveLambdaDisplay m_live{{IDC_ADAPT_CORR_LABEL, IDC_ADAPT_CORR_VALUE, IDC_ADAPT_LAMBDA,
                               IDC_ADAPT_LAMBDA_LABEL, IDC_ADAPT_LAMBDA_VALUE},
                              CLiveLambdaDisplay::kLambdaHigh,
                              CLiveLambdaDisplay::kLambdaLow};
    CObdAdaptationPage m_obdPanel;

    IAdaptiveMapSource* m_map = nullptr;
    std::array<CAdaptiveTable, 4> m_tables;
    int m_view = kViewLong;
    bool m_present = false;
    bool m_visible = false;
    bool m_reading = false;
    int m_readingView = kViewLong;
    RowRequest m_request;
    // The request data of the row read in flight; the queue reads it when the request runs.
    BYTE m_requestBytes[3] = {};
    int m_crankByte = 0;     // element 6
    int m_minInjection = 0;  // element 50, µs
};
