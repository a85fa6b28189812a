// The event actions page: for each of 19 fault events of the unit, what the unit does when
// the event occurs ("Nothing to do", "Change back to petrol mode" or "Ban gas mode"), one
// setting element per event, chosen in a grid. A plain child dialog in its owner's tab
// control, not a form page.
#pragma once

#include "classlib/win/CDialog.h"
#include "diag/CEventActionsTable.h"
#include "grid/CGridCtrl.h"
#include "link/IMessageTarget.h"
#include "res/ResourceIds.h"

class CDataHandler;
class ITextResources;

class CEventActionsPage : public CDialog, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_EVENT_ACTIONS;
    static constexpr int kGridId = 2601;
    static constexpr int kActionColumn = 2;

    explicit CEventActionsPage(CWnd* parent = nullptr);
    ~CEventActionsPage() override;

    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    void SetResourceManager(ITextResources* resources) { m_resources = resources; }  // not owned

    // The owner and the tab control holding the page, whose display area the page takes.
    void SetOwnerWindows(CWnd* owner, CWnd* tabCtrl) {
        m_owner = owner;
        m_tabCtrl = tabCtrl;
    }

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    CGridCtrl& GetGrid() { return m_grid; }

    int GetSortKey() const { return m_table.GetSortKey(); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    void OnGridClick(NMHDR* header, LRESULT* result);
    void OnGridEndEdit(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SetUpGrid();
    void FillGrid();
    void LoadTexts();
    void ShowAction(int tableRow);
    // The grid row that shows a table row, or -1.
    int GridRowOf(int tableRow) const;

    CDataHandler* m_dataHandler = nullptr;
    ITextResources* m_resources = nullptr;
    CWnd* m_owner = nullptr;
    CWnd* m_tabCtrl = nullptr;
    CGridCtrl m_grid;
    CEventActionsTable m_table;
    // The table row of each grid row below the header, in display order.
    std::vector<int> m_shown;
    // Table rows whose element has been loaded as a whole: their action cell is editable.
    std::vector<bool> m_editable;
};
