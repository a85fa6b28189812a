#include "diag/CEventActionsTable.h"

#include "classlib/core/FormatText.h"
#include "diag/TableSortKey.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

struct EventSpec {
    int element;
    UINT nameId;
};

// The event names are the event log's: those with "%s" take an empty suffix here, as the
// unit reports these events per injector, but one setting covers all injectors.
constexpr EventSpec kEvents[CEventActionsTable::kRowCount] = {
    {9, 15346},  {10, 15347}, {11, 15348}, {12, 15331}, {13, 15330}, {14, 15333}, {15, 15332},
    {16, 15345}, {17, 15338}, {18, 15339}, {19, 15340}, {20, 15334}, {21, 15335}, {22, 15336},
    {23, 15337}, {24, 15341}, {25, 15342}, {52, 15343}, {53, 15344},
};

constexpr UINT kNothingText = 15223;       // "Nothing to do"
constexpr UINT kBackToPetrolText = 15224;  // "Change back to petrol mode"
constexpr UINT kBanGasText = 15230;        // "Ban gas mode"

}  // namespace

CEventActionsTable::CEventActionsTable() {
    for (const EventSpec& spec : kEvents) {
        m_rows.push_back({spec.element, spec.nameId, CString(), kNothing});
    }
}

void CEventActionsTable::LoadTexts(const TextLoader& load) {
    for (Row& row : m_rows) {
        row.name = FormatText(load(row.nameId), "");
    }
    m_nothingText = load(kNothingText);
    m_backToPetrolText = load(kBackToPetrolText);
    m_banGasText = load(kBanGasText);
}

const CString& CEventActionsTable::ActionText(BYTE action) const {
    if (action == kBackToPetrol) {
        return m_backToPetrolText;
    }
    return action == kBanGas ? m_banGasText : m_nothingText;
}

BYTE CEventActionsTable::ActionOfText(const CString& text) const {
    if (text == m_backToPetrolText) {
        return kBackToPetrol;
    }
    return text == m_banGasText ? kBanGas : kNothing;
}

int CEventActionsTable::FindRow(int element) const {
    for (int row = 0; row < kRowCount; ++row) {
        if (m_rows[row].element == element) {
            return row;
        }
    }
    return -1;
}

std::vector<int> CEventActionsTable::Elements() {
    std::vector<int> elements;
    for (const EventSpec& spec : kEvents) {
        elements.push_back(spec.element);
    }
    return elements;
}

void CEventActionsTable::ClickHeader(int column) {
    m_sortKey = NextSortKey(m_sortKey, column);
}

std::vector<int> CEventActionsTable::Order() const {
    std::vector<int> order(kRowCount);
    for (int row = 0; row < kRowCount; ++row) {
        order[row] = row;
    }
    const int key = std::abs(m_sortKey);
    const bool descending = m_sortKey < 0;
    const auto compare = [&](int a, int b) {
        switch (key) {
        case 2:
            return std::strcmp(m_rows[a].name, m_rows[b].name);
        case 3:
            return std::strcmp(ActionText(m_rows[a].action), ActionText(m_rows[b].action));
        default:
            return a - b;
        }
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int result = compare(a, b);
        return descending ? result > 0 : result < 0;
    });
    return order;
}
