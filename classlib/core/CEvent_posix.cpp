// Events on POSIX. All events share one mutex and one condition variable: that makes
// a wait for any of several events simple and keeps the first-listed-wins order.
// Events are set rarely enough (heartbeats, stops) that waking every waiter is cheap.
#include "classlib/core/CEvent.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

constexpr std::size_t kMaxWaitEvents = 64;

std::mutex& EventMutex() {
    static std::mutex mutex;
    return mutex;
}

std::condition_variable& EventChanged() {
    static std::condition_variable changed;
    return changed;
}

}  // namespace

struct CEvent::Impl {
    bool set;     // guarded by EventMutex()
    bool manual;  // fixed at construction
};

CEvent::CEvent(BOOL initiallySet, BOOL manualReset)
    : m_impl(std::make_unique<Impl>(Impl{initiallySet != FALSE, manualReset != FALSE})) {}

CEvent::~CEvent() = default;

BOOL CEvent::SetEvent() {
    {
        std::lock_guard<std::mutex> guard(EventMutex());
        m_impl->set = true;
    }
    EventChanged().notify_all();
    return TRUE;
}

BOOL CEvent::ResetEvent() {
    std::lock_guard<std::mutex> guard(EventMutex());
    m_impl->set = false;
    return TRUE;
}

BOOL CEvent::Lock(DWORD timeoutMs) {
    return WaitAny({this}, timeoutMs) == 0 ? TRUE : FALSE;
}

int CEvent::WaitAny(std::initializer_list<CEvent*> events, DWORD timeoutMs) {
    if (events.size() == 0 || events.size() > kMaxWaitEvents) {
        return kWaitFailed;
    }
    const std::vector<CEvent*> list(events);
    for (CEvent* event : list) {
        if (event == nullptr) {
            return kWaitFailed;
        }
    }
    int fired = kWaitTimedOut;
    const auto takeFirstSet = [&list, &fired] {
        for (std::size_t i = 0; i < list.size(); ++i) {
            Impl& state = *list[i]->m_impl;
            if (state.set) {
                state.set = state.manual;
                fired = static_cast<int>(i);
                return true;
            }
        }
        return false;
    };
    std::unique_lock<std::mutex> guard(EventMutex());
    if (timeoutMs == kInfiniteWaitMs) {
        EventChanged().wait(guard, takeFirstSet);
    } else {
        EventChanged().wait_for(guard, std::chrono::milliseconds(timeoutMs), takeFirstSet);
    }
    return fired;
}
