#include "diag/CEventActionsTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

struct EventSpec {
    int element;
    const char* name;
};

// Names with "%s" take an empty suffix: the unit reports these events per injector, but
// one setting covers all injectors.
constexpr EventSpec kEvents[CEventActionsTable::kRowCount] = {
    {9, "No petrol injection signal%s"},
    {10, "Gas injection valve short circuit%s"},
    {11, "Gas injection valve broken wire%s"},
    {12, "Possible external influence (COP reset)"},
    {13, "Self test (memory)"},
    {14, "High gas pressure"},
    {15, "Low gas pressure"},
    {16, "Low gas pressure at change"},
    {17, "Engine temperature sensor short circuit"},
    {18, "Engine temperature sensor broken wire"},
    {19, "Critical temperature fall"},
    {20, "Tank valve short circuit"},
    {21, "Tank valve broken wire"},
    {22, "Gas vaporizer valve short circuit"},
    {23, "Gas vaporizer valve broken wire"},
    {24, "Battery low"},
    {25, "Attendant lever not connected"},
    {52, "Gas press sensor short circuit"},
    {53, "Gas press sensor broken wire"},
};

constexpr char kNothingText[] = "Nothing to do";
constexpr char kBackToPetrolText[] = "Change back to petrol mode";
constexpr char kBanGasText[] = "Ban gas mode";

}  // namespace

CEventActionsTable::CEventActionsTable() {
    for (const EventSpec& spec : kEvents) {
        CString name;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        name.Format(spec.name, "");
#pragma GCC diagnostic pop
        m_rows.push_back({spec.element, name, kNothing});
    }
}

const char* CEventActionsTable::ActionText(BYTE action) {
    if (action == kBackToPetrol) {
        return kBackToPetrolText;
    }
    return action == kBanGas ? kBanGasText : kNothingText;
}

BYTE CEventActionsTable::ActionOfText(const CString& text) {
    if (text == kBackToPetrolText) {
        return kBackToPetrol;
    }
    return text == kBanGasText ? kBanGas : kNothing;
}

std::vector<CString> CEventActionsTable::ActionTexts() {
    return {kNothingText, kBackToPetrolText, kBanGasText};
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
    const int key = column + 1;
    m_sortKey = m_sortKey == key ? -key : key;
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
