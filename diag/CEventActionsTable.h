// The rows of the event actions page: for each of 19 fault events of the unit, the setting
// element that holds what the unit does when the event occurs, and the order in which the
// page lists them.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

#include <functional>
#include <vector>

class CEventActionsTable {
public:
    static constexpr int kRowCount = 19;
    static constexpr BYTE kNothing = 0x00;
    static constexpr BYTE kBackToPetrol = 0x55;
    static constexpr BYTE kBanGas = 0xAA;

    struct Row {
        int element;
        UINT nameId;  // string id of the event's name
        CString name;
        BYTE action;
    };

    // The text of a string id in the current language.
    using TextLoader = std::function<CString(UINT)>;

    // The rows with empty names and texts until LoadTexts.
    CEventActionsTable();

    // Takes the event names and the action texts in the current language.
    void LoadTexts(const TextLoader& load);

    // The text of an action byte; any byte but the two actions reads "Nothing to do".
    const CString& ActionText(BYTE action) const;
    // The byte of an action text; a text that names no action gives 0x00.
    BYTE ActionOfText(const CString& text) const;
    // The three action texts in the order the page offers them.
    std::vector<CString> ActionTexts() const { return {m_nothingText, m_backToPetrolText, m_banGasText}; }

    // The row of an element, or -1.
    int FindRow(int element) const;

    const Row& GetRow(int row) const { return m_rows[row]; }

    void SetAction(int row, BYTE action) { m_rows[row].action = action; }

    // The elements of all rows, in table order.
    static std::vector<int> Elements();

    int GetSortKey() const { return m_sortKey; }

    // A click on the header of a column (0-based): that column ascending, or descending when
    // it already was ascending.
    void ClickHeader(int column);

    // The rows in display order by the sort key: 1 table order, 2 name, 3 action text;
    // negative keys reverse it. Rows with equal keys keep table order.
    std::vector<int> Order() const;

private:
    std::vector<Row> m_rows;
    CString m_nothingText;
    CString m_backToPetrolText;
    CString m_banGasText;
    int m_sortKey = 1;
};
