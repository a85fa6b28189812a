// Catches the logger's lines through a recording pipe factory.
#include "tests/calib/CLogCapture.h"

#include "link/CLogger.h"
#include "link/ILogPipe.h"
#include "tests/calib/CTestClock.h"

#include <memory>
#include <mutex>

namespace {

// Threads a test starts (a communicator's worker, say) may still log while the test
// reads or clears the lines.
std::mutex& LinesLock() {
    static std::mutex lock;
    return lock;
}

std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
}

class CRecordingPipe : public ILogPipe {
public:
    explicit CRecordingPipe(bool data) : m_data(data) {}

    bool Write(const std::string& text) override {
        if (m_data) {
            const std::lock_guard<std::mutex> guard(LinesLock());
            Lines().push_back(text);
        }
        return true;
    }

    void Close() override {}

private:
    bool m_data;
};

// A line is "time,sequence,level,thread,product,computer,message\r\n".
std::string MessageOf(const std::string& line) {
    std::size_t at = 0;
    for (int field = 0; field < 6 && at != std::string::npos; ++field) {
        at = line.find(',', at);
        at = at == std::string::npos ? at : at + 1;
    }
    if (at == std::string::npos) {
        return line;
    }
    std::string message = line.substr(at);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

CLogCapture::CLogCapture() {
    static CTestClock clock;
    static bool configured = false;
    if (!configured) {
        CLogger& logger = CLogger::Instance();
        logger.SetClock(clock);
        logger.SetPipeFactory([](const std::string& name) {
            return std::make_unique<CRecordingPipe>(name.size() > 4 &&
                                                    name.substr(name.size() - 4) == ".log");
        });
        logger.Configure(3, "ZARVO", "calibtest", ".");
        configured = true;
    }
    const std::lock_guard<std::mutex> guard(LinesLock());
    Lines().clear();
}

std::vector<std::string> CLogCapture::Messages() const {
    std::vector<std::string> messages;
    const std::lock_guard<std::mutex> guard(LinesLock());
    for (const std::string& line : Lines()) {
        messages.push_back(MessageOf(line));
    }
    return messages;
}

std::vector<std::string> CLogCapture::MessagesStartingWith(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const std::string& message : Messages()) {
        if (message.compare(0, prefix.size(), prefix) == 0) {
            matching.push_back(message);
        }
    }
    return matching;
}
