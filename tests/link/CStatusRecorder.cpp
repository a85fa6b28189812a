// Recording of the worker's reports, safe for the worker and the test thread.
#include "tests/link/CStatusRecorder.h"

#include "classlib/core/CSingleLock.h"
#include "link/CommRequest.h"

#include <chrono>
#include <thread>

namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(10);

}  // namespace

void CStatusRecorder::DataHandler(int status, int portNumber) {
    CSingleLock guard(&m_lock, TRUE);
    m_statuses.push_back({status, portNumber});
}

void CStatusRecorder::OnTaskFinished(CommRequest* request, int success) {
    CSingleLock guard(&m_lock, TRUE);
    m_finished.push_back({request->row, success});
}

std::vector<CStatusRecorder::Status> CStatusRecorder::Statuses() const {
    CSingleLock guard(&m_lock, TRUE);
    return m_statuses;
}

std::vector<std::pair<int, int>> CStatusRecorder::Finished() const {
    CSingleLock guard(&m_lock, TRUE);
    return m_finished;
}

bool CStatusRecorder::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
    return true;
}

bool CStatusRecorder::WaitForStatus(int status, int port, DWORD timeoutMs, std::size_t from) const {
    return WaitUntil(
        [&] {
            const std::vector<Status> statuses = Statuses();
            for (std::size_t i = from; i < statuses.size(); ++i) {
                if (statuses[i].status == status && (port == kAnyPort || statuses[i].port == port)) {
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
}

bool CStatusRecorder::WaitForFinished(std::size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Finished().size() >= count; }, timeoutMs);
}
