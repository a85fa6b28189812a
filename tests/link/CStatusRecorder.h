// A data handler stand-in for tests with a running worker: records every status
// decision and completion as it comes (from the worker thread) and lets the test
// thread wait for them against a deadline.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "classlib/core/WinTypes.h"
#include "link/ICommunicatorSink.h"

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

class CStatusRecorder : public ICommunicatorSink {
public:
    static constexpr int kAnyPort = -1;

    struct Status {
        int status;
        int port;
    };

    void DataHandler(int status, int portNumber) override;
    void OnTaskFinished(CommRequest* request, int success) override;

    bool OnLiveCycleEnd() override { return true; }

    std::vector<CDataDescriptor*> GetSettingDescriptors() override { return {}; }

    std::vector<Status> Statuses() const;
    // Rows and success flags of the completed requests, in order.
    std::vector<std::pair<int, int>> Finished() const;
    // Waits until a status recorded at index `from` or later matches; false on time-out.
    bool WaitForStatus(int status, int port, DWORD timeoutMs, std::size_t from = 0) const;
    // Waits until `count` completions were recorded; false on time-out.
    bool WaitForFinished(std::size_t count, DWORD timeoutMs) const;

private:
    bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) const;

    mutable CCriticalSection m_lock;
    std::vector<Status> m_statuses;               // guarded by m_lock
    std::vector<std::pair<int, int>> m_finished;  // guarded by m_lock
};
