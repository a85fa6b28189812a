// The "Event Log" page of the Diagnosis mode (template 113): the unit's recorded fault events
// with their counters and times, decoded from element 43 on every live cycle, the unit's
// total running time, and the commands "Delete all events" and "Reset diagnosis". It
// broadcasts the event-log state (0x604) whenever that changes. UI thread only.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/CString.h"
#include "classlib/win/CButton.h"
#include "classlib/win/CEdit.h"
#include "classlib/win/CStatic.h"
#include "diag/CEventLogModel.h"
#include "forms/CEventGridCtrl.h"
#include "forms/CScrollPage.h"
#include "link/IMessageTarget.h"
#include "res/ResourceIds.h"

#include <array>
#include <vector>

class CEventLogPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_EVENT_LOG_PAGE;

    static constexpr int kGridId = 1520;
    static constexpr int kDeleteButtonId = 1521;
    static constexpr int kResetButtonId = 1522;
    static constexpr int kRunningLabelId = 1523;
    static constexpr int kRunningTimeId = 1524;

    explicit CEventLogPage(CWnd* parent = nullptr);
    ~CEventLogPage() override;

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // The tip of the grid's cell (row 1 and down) and the font to show it in; an empty text
    // shows no tip.
    void GetEventTip(CString& text, LOGFONTA& font, int row, int column);

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* exchange) override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnNewData(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    void OnDeleteEvents();
    void OnResetDiagnosis();
    void OnGridClick(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SetUpGrid(int width);
    void SetFonts();
    void UpdateTexts();

    void DecodeLog();
    // Fills the grid from the model; false when it lists no event.
    bool FillGrid();
    void WriteHeader();
    void ClearTable();
    void BroadcastState(int state);
    void ShowRunningTime(const BYTE* bytes);
    void EnableDelete(bool enable);
    void SendCommand(UINT questionId, int element);

    CEventGridCtrl m_grid;
    CButton m_deleteButton;
    CButton m_resetButton;
    CStatic m_runningLabel;
    CEdit m_runningTime;

    CEventLogModel m_model;
    int m_sortKey = 1;
    int m_lastState = kEventLogEmpty;
    std::array<BYTE, CEventLogModel::kLogBytes> m_log{};
    // The model row of each listed grid row (grid row i + 1).
    std::vector<int> m_shownRows;
    // Held while the rows and the grid change.
    CCriticalSection m_lock;
    LOGFONTA m_tipFont = {};
};
