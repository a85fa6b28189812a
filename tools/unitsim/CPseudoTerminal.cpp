// Pseudo-terminal of the simulated unit.
#include "tools/unitsim/CPseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>

namespace {

std::string CallFailed(const char* call) {
    return std::string(call) + ": " + std::strerror(errno);
}

}  // namespace

bool CPseudoTerminal::Open(std::string& error) {
    Close();
    CFileDescriptor master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (!master.IsValid()) {
        error = CallFailed("posix_openpt");
        return false;
    }
    if (::grantpt(master.Get()) != 0 || ::unlockpt(master.Get()) != 0) {
        error = CallFailed("grantpt/unlockpt");
        return false;
    }
    char path[128];
    if (::ptsname_r(master.Get(), path, sizeof path) != 0) {
        error = CallFailed("ptsname_r");
        return false;
    }
    CFileDescriptor slave(::open(path, O_RDWR | O_NOCTTY));
    if (!slave.IsValid()) {
        error = CallFailed("open slave");
        return false;
    }
    // Raw before the link is published: nothing may be echoed or translated
    // before the configurator sets the line up itself.
    termios settings{};
    if (::tcgetattr(slave.Get(), &settings) != 0) {
        error = CallFailed("tcgetattr");
        return false;
    }
    ::cfmakeraw(&settings);
    if (::tcsetattr(slave.Get(), TCSANOW, &settings) != 0) {
        error = CallFailed("tcsetattr");
        return false;
    }
    m_master.Reset(master.Release());
    m_slave.Reset(slave.Release());
    m_slavePath = path;
    return true;
}

void CPseudoTerminal::Close() {
    m_slave.Reset();
    m_master.Reset();
    m_slavePath.clear();
}
