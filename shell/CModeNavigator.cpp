#include "shell/CModeNavigator.h"

#include "res/ResourceIds.h"

void CModeNavigator::SetNextPage(int mode, int tab) {
    m_next = IsPageMode(mode) ? Destination{mode, tab} : Destination{};
}

CModeNavigator::CommandTarget CModeNavigator::AcceleratorTarget(unsigned id, bool routing) const {
    if (!routing || !IsPageMode(m_mode)) {
        return CommandTarget::None;
    }
    if (id == ID_ACCEL_GAS || id == ID_ACCEL_PETROL) {
        return m_mode == kConfigure ? CommandTarget::StatusPage : CommandTarget::None;
    }
    return CommandTarget::ActivePage;
}

CModeNavigator::Destination CModeNavigator::Leave(int activeTab) {
    const int left = m_mode;
    m_mode = kMainMenu;
    if (IsPageMode(m_next.mode)) {
        const Destination next = m_next;
        m_next = Destination{};
        m_history.push_back(Destination{left, activeTab});
        return next;
    }
    if (m_history.empty()) {
        return Destination{};
    }
    const Destination back = m_history.back();
    m_history.pop_back();
    return back;
}
