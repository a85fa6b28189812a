// Client of the log server: one process-wide instance, called from every thread with
// a level code, a printf format and its arguments. Lines travel over a named pipe.
#pragma once

#include "classlib/core/CCriticalSection.h"
#include "link/IClock.h"
#include "link/ILogPipe.h"

#include <cstdarg>
#include <functional>
#include <memory>
#include <string>

#if defined(__GNUC__)
#define ZARVO_PRINTF_FORMAT(formatIndex, firstArg) __attribute__((format(printf, formatIndex, firstArg)))
#else
#define ZARVO_PRINTF_FORMAT(formatIndex, firstArg)
#endif

class CLogger {
public:
    static constexpr int kAttempts = 10;
    static constexpr std::size_t kMaxLineChars = 4095;

    using PipeFactory = std::function<std::unique_ptr<ILogPipe>(const std::string& pipeName)>;

    // The process-wide instance.
    static CLogger& Instance();

    CLogger();
    CLogger(const CLogger&) = delete;
    CLogger& operator=(const CLogger&) = delete;

    // Stores the settings, announces the log to the server and starts writing.
    void Configure(int level,
                   const std::string& product,
                   const std::string& logName,
                   const std::string& server);

    // Writes one line unless the level code divided by 1000 exceeds the configured level.
    void Log(int levelCode, const char* format, ...) ZARVO_PRINTF_FORMAT(3, 4);
    // The same with the format taken from the string table; a missing entry is logged
    // with its id instead of the message.
    void LogResource(int levelCode, UINT formatId, ...);

    using StringSource = std::function<std::string(UINT id)>;
    // Replaces where LogResource takes its formats (tests pass a table); the default is
    // the program's string table.
    void SetStringSource(StringSource source);

    // Names the server's control pipe ("logger" unless set), so that tests can talk to
    // a server of their own. Takes effect at the next Configure.
    void SetControlPipeName(const std::string& name);

    // Replaces how pipes are opened (tests record lines through it); the default opens
    // CLogPipe. Takes effect at the next Configure.
    void SetPipeFactory(PipeFactory factory);

    // Replaces the clock that stamps lines and times the announcement's wait (tests
    // pass a fake one); the default is the system clock. Not owned; must outlive use.
    void SetClock(IClock& clock);

    // Builds one line: time, sequence number, level, thread id, product, computer and
    // message, comma-separated and ended by CR LF, at most kMaxLineChars characters.
    std::string FormatLine(int levelCode, unsigned sequence, const std::string& message) const;

private:
    bool IsLogged(int levelCode) const;
    void WriteFormatted(int levelCode, const char* format, va_list args);
    void Announce();
    void WriteLine(const std::string& line);

    mutable CCriticalSection m_lock;  // guards everything below
    int m_level = 0;
    int m_attemptsLeft = kAttempts;
    std::string m_product;
    std::string m_server;
    std::string m_controlPipeName = "logger";
    std::string m_computer;
    std::string m_logName;
    std::string m_dataPipeName;
    std::unique_ptr<ILogPipe> m_dataPipe;
    bool m_open = false;
    unsigned m_sequence = 0;
    PipeFactory m_pipeFactory;
    StringSource m_strings;
    IClock* m_clock;
};
