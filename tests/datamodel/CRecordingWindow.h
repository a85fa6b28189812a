// A window for tests: records every message posted to it, from any thread.
#pragma once

#include "link/IMessageTarget.h"

#include <mutex>
#include <ostream>
#include <vector>

struct PostedMessage {
    UINT message;
    UINT_PTR wParam;
    LONG_PTR lParam;

    bool operator==(const PostedMessage& o) const {
        return message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

inline std::ostream& operator<<(std::ostream& out, const PostedMessage& m) {
    return out << std::hex << "{0x" << m.message << ", 0x" << m.wParam << ", 0x" << m.lParam << "}"
               << std::dec;
}

class CRecordingWindow : public IMessageTarget {
public:
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_messages.push_back({message, wParam, lParam});
    }

    std::vector<PostedMessage> Messages() const {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_messages;
    }

    std::vector<PostedMessage> MessagesOf(UINT message) const {
        std::vector<PostedMessage> found;
        for (const PostedMessage& m : Messages()) {
            if (m.message == message) {
                found.push_back(m);
            }
        }
        return found;
    }

    void Clear() {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_messages.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<PostedMessage> m_messages;
};
