// The replay port. "freeze.log" holds "Request:" and "Answer:" marker lines, each
// followed by a line of hexadecimal groups; the bytes may also follow the marker on
// its own line.
#include "link/CFreezeLogPort.h"

#include "link/CLogger.h"
#include "link/CSystemClock.h"
#include "link/SystemInfo.h"

#include <cctype>
#include <cstdio>
#include <fstream>

namespace {

constexpr std::size_t kMaxGroupDigits = 8;
// A ping answer of a unit with protocol version 1.30.
const std::vector<BYTE> kDefaultAnswer = {0x55, 0x81, 0x1E, 0x01, 0xCB};

std::string Key(const BYTE* bytes, std::size_t count) {
    std::string key;
    char item[3];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(item, sizeof item, "%02X", bytes[i]);
        key += item;
    }
    return key;
}

void AppendGroup(const std::string& digits, std::vector<BYTE>& bytes) {
    unsigned long value = std::stoul(digits, nullptr, 16);
    const std::size_t count = (digits.size() + 1) / 2;
    for (std::size_t i = count; i-- > 0;) {
        bytes.push_back(static_cast<BYTE>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

CFreezeLogPort::CFreezeLogPort() : m_clock(&CSystemClock::Instance()) {
    Load(ProgramFilePath("freeze.log"));
}

CFreezeLogPort::CFreezeLogPort(const std::string& path, IClock& clock) : m_clock(&clock) {
    Load(path);
}

std::vector<BYTE> CFreezeLogPort::ParseHexLine(const std::string& line) {
    std::vector<BYTE> bytes;
    std::string group;
    for (char c : line) {
        if (std::isxdigit(static_cast<unsigned char>(c)) != 0) {
            group += c;
            if (group.size() == kMaxGroupDigits) {
                AppendGroup(group, bytes);
                group.clear();
            }
            continue;
        }
        if (!group.empty()) {
            AppendGroup(group, bytes);
            group.clear();
        }
    }
    if (!group.empty()) {
        AppendGroup(group, bytes);
    }
    return bytes;
}

void CFreezeLogPort::Load(const std::string& path) {
    std::ifstream file(path);
    enum class Expect {
        Nothing,
        Request,
        Answer
    } expect = Expect::Nothing;
    std::string request;
    std::string line;
    while (std::getline(file, line)) {
        const bool isRequest = line.find("Request:") != std::string::npos;
        const bool isAnswer = line.find("Answer:") != std::string::npos;
        if (isRequest || isAnswer) {
            expect = isRequest ? Expect::Request : Expect::Answer;
            line = line.substr(line.find(':') + 1);
        }
        std::vector<BYTE> bytes = ParseHexLine(line);
        if (bytes.empty() || expect == Expect::Nothing) {
            continue;
        }
        if (expect == Expect::Request) {
            request = Key(bytes.data(), bytes.size());
        } else if (!request.empty()) {
            if (bytes.size() > kMaxAnswerBytes) {
                CLogger::Instance().Log(2000, "CFreezeLogPort: answer of %lu bytes cut to %lu.",
                                        static_cast<unsigned long>(bytes.size()),
                                        static_cast<unsigned long>(kMaxAnswerBytes));
                bytes.resize(kMaxAnswerBytes);
            }
            m_answers[request].answers.push_back(std::move(bytes));
        }
        expect = Expect::Nothing;
    }
}

void CFreezeLogPort::Open(int, DWORD, int, BYTE, int, int, bool) {
    m_open = true;
    m_clock->SleepMs(100);
}

DWORD CFreezeLogPort::Write(const void* buffer, DWORD count) {
    m_readPosition = 0;
    const auto found = m_answers.find(Key(static_cast<const BYTE*>(buffer), count));
    if (found == m_answers.end() || found->second.answers.empty()) {
        m_answer = kDefaultAnswer;
    } else {
        AnswerList& list = found->second;
        m_answer = list.answers[list.next];
        list.next = (list.next + 1) % list.answers.size();
    }
    m_clock->SleepMs(static_cast<DWORD>(m_answer.size() * 1000 / 4800 + 40));
    return count;
}

DWORD CFreezeLogPort::Read(void* buffer, DWORD count) {
    auto* out = static_cast<BYTE*>(buffer);
    DWORD copied = 0;
    while (copied < count && m_readPosition < m_answer.size()) {
        out[copied++] = m_answer[m_readPosition++];
    }
    m_clock->SleepMs(count * 1000 / 48000);
    return copied;
}
