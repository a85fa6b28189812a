// The injection tables page (template 2026): the unit's four injection tables, each 16 rows
// of injection time by 18 columns of engine speed. The user picks a table, reads it from the
// unit ("Lesen"), edits or pastes cells and writes it back ("Schreiben"); both transfers run
// in the transfer progress dialog. Nothing reaches the unit before "Schreiben".
#pragma once

#include "classlib/win/CButton.h"
#include "classlib/win/CComboBox.h"
#include "config/CInjectionTableSet.h"
#include "config/TablesIds.h"
#include "forms/CPasteGridCtrl.h"
#include "forms/CScrollPage.h"
#include "link/IMessageTarget.h"

#include <functional>

class CTransferProgressDlg;

class CInjTablesPage : public CScrollPage, public IMessageTarget {
public:
    static constexpr UINT kTemplateId = IDD_INJ_TABLES;

    // Runs a transfer dialog set up by the page; tests stand in for the modal run.
    using TransferRunner = std::function<void(CTransferProgressDlg& dialog)>;

    explicit CInjTablesPage(CWnd* parent = nullptr);
    ~CInjTablesPage() override;

    void SetTransferRunner(TransferRunner runner) { m_transferRunner = std::move(runner); }

    // IMessageTarget: the data handler's messages, from any thread; dropped without a window.
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override;

    // After a paste: the selected cells' texts go into the selected table.
    void UpdateTableFromGrid();

    CInjectionTableSet& GetTables() { return m_tables; }

    CPasteGridCtrl& GetGrid() { return m_grid; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

    void OnGridEndEdit(NMHDR* header, LRESULT* result);
    void OnTableSelected();
    void OnRead();
    void OnWrite();
    LRESULT OnElementChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnIgnored(WPARAM wParam, LPARAM lParam);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void Layout();
    void SetFonts();
    void UpdateTexts();
    void FillGrid();
    void Transfer(bool reading);
    // False, after telling the user, when the text is no whole number from 0 to 100.
    bool CheckCellText(const CString& text, int& value);
    void StoreCell(int gridRow, int gridColumn, int value);

    CPasteGridCtrl m_grid;
    CComboBox m_tableList;
    CButton m_readButton;
    CButton m_writeButton;
    CInjectionTableSet m_tables;
    TransferRunner m_transferRunner;
};
