// The log client. The caller's message is formatted on its own before it goes into
// the line, so a '%' in the computer or product name cannot act as a conversion.
#include "link/CLogger.h"

#include "classlib/core/CSingleLock.h"
#include "link/CLogPipe.h"
#include "link/CSystemClock.h"
#include "link/SystemInfo.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr unsigned kAnnounceWaitMs = 20;

std::string PipeName(const std::string& server, const std::string& name) {
    return "\\\\" + server + "\\pipe\\" + name;
}

}  // namespace

CLogger& CLogger::Instance() {
    static CLogger logger;
    return logger;
}

CLogger::CLogger()
    : m_computer(ReadComputerName()),
      m_pipeFactory([](const std::string& name) { return std::make_unique<CLogPipe>(name); }),
      m_strings(&LoadProgramString),
      m_clock(&CSystemClock::Instance()) {}

void CLogger::SetControlPipeName(const std::string& name) {
    CSingleLock guard(&m_lock, TRUE);
    m_controlPipeName = name;
}

void CLogger::SetPipeFactory(PipeFactory factory) {
    CSingleLock guard(&m_lock, TRUE);
    m_pipeFactory = std::move(factory);
}

void CLogger::SetStringSource(StringSource source) {
    CSingleLock guard(&m_lock, TRUE);
    m_strings = std::move(source);
}

void CLogger::SetClock(IClock& clock) {
    CSingleLock guard(&m_lock, TRUE);
    m_clock = &clock;
}

void CLogger::Configure(int level,
                        const std::string& product,
                        const std::string& logName,
                        const std::string& server) {
    CSingleLock guard(&m_lock, TRUE);
    m_level = level;
    m_product = product;
    m_logName = logName;
    m_server = server;
    m_dataPipeName = PipeName(server, logName + ".log");
    m_dataPipe = m_pipeFactory(m_dataPipeName);
    m_attemptsLeft = kAttempts;
    Announce();
    m_open = true;
}

// Tells the server to create the log; runs under m_lock. The lock stays held over the
// wait: a retry from WriteLine must not let another thread's line overtake its own.
void CLogger::Announce() {
    std::unique_ptr<ILogPipe> control = m_pipeFactory(PipeName(m_server, m_controlPipeName));
    // Without a server this write fails; the data pipe's write then fails too and
    // uses up an attempt, so the announcement's own result does not matter.
    control->Write("createlog," + m_logName);
    m_clock->SleepMs(kAnnounceWaitMs);
    control->Close();
}

std::string CLogger::FormatLine(int levelCode, unsigned sequence, const std::string& message) const {
    const CLocalTime t = m_clock->LocalTime();
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    std::string line = std::string(stamp) + "," + std::to_string(sequence) + "," + std::to_string(levelCode) +
                       "," + std::to_string(CurrentThreadId()) + "," + m_product + "," + m_computer + "," +
                       message;
    if (line.size() > kMaxLineChars - 2) {
        line.resize(kMaxLineChars - 2);
    }
    return line + "\r\n";
}

bool CLogger::IsLogged(int levelCode) const {
    CSingleLock guard(&m_lock, TRUE);
    return m_open && m_level >= levelCode / 1000;
}

void CLogger::WriteFormatted(int levelCode, const char* format, va_list args) {
    char message[kMaxLineChars + 1];
    std::vsnprintf(message, sizeof message, format, args);
    CSingleLock guard(&m_lock, TRUE);
    WriteLine(FormatLine(levelCode, m_sequence++, message));
}

void CLogger::Log(int levelCode, const char* format, ...) {
    if (!IsLogged(levelCode)) {
        return;
    }
    va_list args;
    va_start(args, format);
    WriteFormatted(levelCode, format, args);
    va_end(args);
}

void CLogger::LogResource(int levelCode, UINT formatId, ...) {
    if (!IsLogged(levelCode)) {
        return;
    }
    StringSource strings;
    {
        CSingleLock guard(&m_lock, TRUE);
        strings = m_strings;
    }
    const std::string format = strings ? strings(formatId) : std::string();
    if (format.empty()) {
        Log(levelCode, "Log text %u is missing.", formatId);
        return;
    }
    va_list args;
    va_start(args, formatId);
    WriteFormatted(levelCode, format.c_str(), args);
    va_end(args);
}

// Runs under m_lock.
void CLogger::WriteLine(const std::string& line) {
    while (m_attemptsLeft != 0) {
        if (m_dataPipe->Write(line)) {
            m_attemptsLeft = kAttempts;
            return;
        }
        --m_attemptsLeft;
        Announce();
    }
}
