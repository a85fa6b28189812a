// Points the process-wide logger at a recording pipe for the life of one test and keeps
// the messages (the text after the line's sixth comma).
#pragma once

#include "link/CLogger.h"
#include "tests/link/CFakeClock.h"

#include <memory>
#include <string>
#include <vector>

class CLogCapture {
public:
    CLogCapture() {
        CLogger& logger = CLogger::Instance();
        logger.SetClock(Clock());
        logger.SetPipeFactory(
            [this](const std::string& name) { return std::make_unique<Pipe>(*this, name); });
        logger.Configure(3, "TEST", "maptest", ".");
    }

    ~CLogCapture() {
        CLogger& logger = CLogger::Instance();
        logger.SetPipeFactory([](const std::string&) { return std::make_unique<NullPipe>(); });
        logger.Configure(0, "TEST", "maptest", ".");
    }

    CLogCapture(const CLogCapture&) = delete;
    CLogCapture& operator=(const CLogCapture&) = delete;

    // Messages that start with the prefix.
    std::vector<std::string> Messages(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& m : m_messages) {
            if (m.compare(0, prefix.size(), prefix) == 0) {
                found.push_back(m);
            }
        }
        return found;
    }

private:
    class Pipe : public ILogPipe {
    public:
        Pipe(CLogCapture& owner, std::string name) : m_owner(owner), m_name(std::move(name)) {}

        bool Write(const std::string& text) override {
            if (m_name.size() > 4 && m_name.compare(m_name.size() - 4, 4, ".log") == 0) {
                m_owner.Keep(text);
            }
            return true;
        }

        void Close() override {}

    private:
        CLogCapture& m_owner;
        std::string m_name;
    };

    class NullPipe : public ILogPipe {
    public:
        bool Write(const std::string&) override { return true; }

        void Close() override {}
    };

    void Keep(const std::string& line) {
        std::size_t at = 0;
        for (int comma = 0; comma < 6 && at != std::string::npos; ++comma) {
            at = line.find(',', at);
            if (at != std::string::npos) {
                ++at;
            }
        }
        if (at == std::string::npos) {
            return;
        }
        std::string message = line.substr(at);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
            message.pop_back();
        }
        m_messages.push_back(message);
    }

    // The logger keeps the clock after the capture ends.
    static CFakeClock& Clock() {
        static CFakeClock clock;
        return clock;
    }

    std::vector<std::string> m_messages;
};
