// The simulated unit's program loop.
#include "tools/unitsim/CUnitSimProgram.h"

#include "tools/unitsim/CControlCommand.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

// Short enough that control lines take effect at once, long enough not to spin.
constexpr int kPollPeriodMs = 10;
// The configurator writes a request in one go and waits 200 ms for an answer
// before it repeats; a partial frame older than this will never be completed.
constexpr auto kIdleAfter = std::chrono::milliseconds(50);
constexpr int kMaxPort = 255;
constexpr long kMaxBaud = 1000000;
// A byte on the line is a start bit, eight data bits and a stop bit.
constexpr long kBitsPerByte = 10;

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool ParsePort(const std::string& text, int& port) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > kMaxPort) {
        return false;
    }
    port = static_cast<int>(value);
    return true;
}

bool ApplyOption(const std::string& name, const std::string& value, UnitSimOptions& options) {
    if (name == "--port") {
        return ParsePort(value, options.port);
    }
    if (name == "--version") {
        return CControlCommand::ParseVersion(value, options.settings.applicationVersion);
    }
    if (name == "--loader-version") {
        return CControlCommand::ParseVersion(value, options.settings.loaderVersion);
    }
    if (name == "--mode") {
        return CControlCommand::ParseMode(value, options.settings.mode);
    }
    if (name == "--pace") {
        char* end = nullptr;
        const long baud = std::strtol(value.c_str(), &end, 10);
        options.paceBaud = static_cast<int>(baud);
        return !value.empty() && *end == '\0' && baud > 0 && baud <= kMaxBaud;
    }
    std::string* text = name == "--transcript"    ? &options.transcriptPath
                        : name == "--control"     ? &options.controlPath
                        : name == "--ports-dir"   ? &options.portsDir
                        : name == "--wine-prefix" ? &options.winePrefix
                                                  : nullptr;
    if (text == nullptr) {
        return false;
    }
    *text = value;
    return true;
}

}  // namespace

const char* CUnitSimProgram::Usage() {
    return "usage: unitsim --port N [--transcript FILE] [--control FILE] [--version 1.30]\n"
           "               [--loader-version 1.10] [--mode normal|loader] [--pace 9600]\n"
           "               [--ports-dir DIR] [--wine-prefix DIR]\n"
           "Prints the pseudo-terminal's path once the COM port links exist; runs until\n"
           "SIGTERM or SIGINT. --pace sends answers at that baud rate. The control file\n"
           "takes one command a line (echo, version, fault, refuse, block, busy, unplug,\n"
           "replug, pace, ...; see CControlCommand.h).\n";
}

bool CUnitSimProgram::ParseOptions(int argc, char** argv, UnitSimOptions& options, std::string& error) {
    options.portsDir = EnvironmentValue("ZARVO_PORTS_DIR");
    options.winePrefix = EnvironmentValue("WINEPREFIX");
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            error = "missing value for " + name;
            return false;
        }
        if (!ApplyOption(name, argv[i + 1], options)) {
            error = "bad option " + name + " " + argv[i + 1];
            return false;
        }
    }
    if (options.port == 0) {
        error = "--port is required";
        return false;
    }
    return true;
}

CUnitSimProgram::CUnitSimProgram(const UnitSimOptions& options)
    : m_options(options),
      m_engine(m_transcript, options.settings),
      m_links(options.port, options.portsDir, options.winePrefix),
      m_paceBaud(options.paceBaud) {}

int CUnitSimProgram::Run(const volatile std::sig_atomic_t& stopRequested) {
    if (!Start()) {
        return 1;
    }
    while (stopRequested == 0 && !m_failed) {
        ServeLine();
    }
    Unplug();
    return m_failed ? 1 : 0;
}

bool CUnitSimProgram::Start() {
    std::string error;
    if (!m_options.transcriptPath.empty() && !m_transcript.OpenFile(m_options.transcriptPath)) {
        std::fprintf(stderr, "unitsim: cannot create %s: %s\n", m_options.transcriptPath.c_str(),
                     std::strerror(errno));
        return false;
    }
    if (!m_options.controlPath.empty() && !m_control.Open(m_options.controlPath, error)) {
        std::fprintf(stderr, "unitsim: %s\n", error.c_str());
        return false;
    }
    return Plug();
}

bool CUnitSimProgram::Plug() {
    std::string error;
    if (!m_terminal.Open(error) || !m_links.Publish(m_terminal.SlavePath(), error)) {
        std::fprintf(stderr, "unitsim: %s\n", error.c_str());
        m_terminal.Close();
        return false;
    }
    m_transcript.AddNote("plugged in");
    // The wrapper script waits for this line: from now on the port can be opened.
    std::printf("%s\n", m_terminal.SlavePath().c_str());
    std::fflush(stdout);
    return true;
}

void CUnitSimProgram::Unplug() {
    if (!m_terminal.IsOpen()) {
        return;
    }
    m_engine.OnLineIdle();
    m_links.Remove();
    m_terminal.Close();
    m_transcript.AddNote("unplugged");
}

// Control lines are read after every wake-up and before the line's bytes, so a
// command written before a request is in force when that request is served.
void CUnitSimProgram::ServeControl() {
    for (const std::string& line : m_control.ReadNewLines()) {
        ControlCommand command;
        std::string error;
        if (!CControlCommand::Parse(line, command, error)) {
            m_transcript.AddNote("control line ignored: '" + line + "': " + error);
            std::fprintf(stderr, "unitsim: control line ignored: '%s': %s\n", line.c_str(), error.c_str());
            continue;
        }
        if (!CControlCommand::ApplyToEngine(command, m_engine)) {
            ApplyLineCommand(command);
        }
    }
}

void CUnitSimProgram::ApplyLineCommand(const ControlCommand& command) {
    switch (command.action) {
    case ControlAction::Unplug:
        Unplug();
        return;
    case ControlAction::Replug:
        if (!m_terminal.IsOpen() && !Plug()) {
            m_failed = true;
        }
        return;
    case ControlAction::Pace:
        m_paceBaud = command.numbers[0];
        m_transcript.AddNote(m_paceBaud > 0 ? "pace " + std::to_string(m_paceBaud) + " baud" : "pace off");
        return;
    default:
        return;
    }
}

void CUnitSimProgram::ServeLine() {
    pollfd request{m_terminal.MasterFd(), POLLIN, 0};
    const int ready = ::poll(&request, m_terminal.IsOpen() ? 1 : 0, kPollPeriodMs);
    if (ready < 0 && errno != EINTR) {
        std::fprintf(stderr, "unitsim: poll: %s\n", std::strerror(errno));
        m_failed = true;
        return;
    }
    ServeControl();
    if (ready > 0 && m_terminal.IsOpen() && (request.revents & POLLIN) != 0) {
        uint8_t buffer[512];
        const ssize_t count = ::read(m_terminal.MasterFd(), buffer, sizeof buffer);
        if (count > 0) {
            m_lastInput = std::chrono::steady_clock::now();
            SendPlan(m_engine.FeedPlanned(buffer, static_cast<std::size_t>(count)));
        }
    } else if (ready > 0 && (request.revents & (POLLHUP | POLLERR)) != 0) {
        // Only while no slave is open, which the held slave prevents; do not spin.
        ::usleep(kPollPeriodMs * 1000);
    }
    if (m_engine.HasPendingInput() && std::chrono::steady_clock::now() - m_lastInput >= kIdleAfter) {
        m_engine.OnLineIdle();
    }
    if (m_transcript.HasWriteFailed()) {
        std::fprintf(stderr, "unitsim: cannot write the transcript\n");
        m_failed = true;
    }
}

// The unit does nothing else while it answers, as a real one would; bytes that
// arrive meanwhile wait in the line.
void CUnitSimProgram::SendPlan(const std::vector<ReplyPiece>& pieces) {
    for (const ReplyPiece& piece : pieces) {
        if (piece.delayMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(piece.delayMs));
        }
        if (m_paceBaud > 0) {
            SendPaced(piece.bytes);
        } else {
            SendToLine(piece.bytes);
        }
    }
}

// One byte at a time, each when the line would have finished the one before.
void CUnitSimProgram::SendPaced(const std::vector<uint8_t>& bytes) {
    const auto byteTime = std::chrono::microseconds(kBitsPerByte * 1000000 / m_paceBaud);
    auto next = std::chrono::steady_clock::now();
    for (uint8_t byte : bytes) {
        std::this_thread::sleep_until(next);
        SendToLine({byte});
        next += byteTime;
    }
}

void CUnitSimProgram::SendToLine(const std::vector<uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = ::write(m_terminal.MasterFd(), bytes.data() + sent, bytes.size() - sent);
        if (count > 0) {
            sent += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno == EAGAIN) {
            pollfd writable{m_terminal.MasterFd(), POLLOUT, 0};
            if (::poll(&writable, 1, kPollPeriodMs * 10) > 0) {
                continue;
            }
        }
        // The line is full or broken: nobody reads what the unit sends.
        const std::string reason = count < 0 ? std::strerror(errno) : "no room";
        m_transcript.AddNote("lost " + std::to_string(bytes.size() - sent) + " bytes to the line: " + reason);
        return;
    }
}
