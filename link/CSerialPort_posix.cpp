// CSerialPort over a POSIX terminal device. Port n is /dev/ttyS<n-1>, the numbering
// Wine gives the same devices. Reads return at once with what has arrived; writes
// wait at most the write time-out.
#include "link/CSerialException.h"
#include "link/CSerialPort.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

// The time-outs are kept per descriptor: a terminal has no place to hold them.
PortTimeouts g_timeouts = kNormalTimeouts;

std::string DevicePath(int portNumber) {
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

[[noreturn]] void ThrowErrno() {
    throw CSerialException(static_cast<DWORD>(errno));
}

speed_t SpeedOf(DWORD baudRate) {
    switch (baudRate) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B9600;
    }
}

void ApplyLine(termios& tio, int parity, BYTE dataBits, int stopBits, int flow) {
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
    tio.c_cflag |= dataBits == 7 ? CS7 : dataBits == 6 ? CS6 : dataBits == 5 ? CS5 : CS8;
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
    if (parity == kParityEven) {
        tio.c_cflag |= PARENB;
    } else if (parity == kParityOdd) {
        tio.c_cflag |= PARENB | PARODD;
    }
    if (stopBits == kStopBitsTwo) {
        tio.c_cflag |= CSTOPB;
    } else {
        tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
    if (flow >= kFlowCtsRts && flow <= kFlowDsrDtr) {
        tio.c_cflag |= CRTSCTS;
    } else if (flow == kFlowXonXoff) {
        tio.c_iflag |= IXON | IXOFF;
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

}  // namespace

CSerialPort::~CSerialPort() {
    Close();
}

void CSerialPort::Open(int portNumber,
                       DWORD baudRate,
                       int parity,
                       BYTE dataBits,
                       int stopBits,
                       int flow,
                       bool overlapped) {
    Close();
    const int fd = ::open(DevicePath(portNumber).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_EXCL);
    if (fd < 0) {
        ThrowErrno();
    }
    m_handle = fd;
    m_overlapped = overlapped;
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        ThrowErrno();
    }
    ApplyLine(tio, parity, dataBits, stopBits, flow);
    cfsetispeed(&tio, SpeedOf(baudRate));
    cfsetospeed(&tio, SpeedOf(baudRate));
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        ThrowErrno();
    }
}

void CSerialPort::Close() {
    if (!IsOpen()) {
        return;
    }
    ::close(static_cast<int>(m_handle));
    m_handle = -1;
    m_overlapped = false;
}

bool CSerialPort::IsOpen() const {
    return m_handle != -1;
}

DWORD CSerialPort::Read(void* buffer, DWORD count) {
    const ssize_t got = ::read(static_cast<int>(m_handle), buffer, count);
    if (got >= 0) {
        return static_cast<DWORD>(got);
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
        return 0;
    }
    ThrowErrno();
}

DWORD CSerialPort::Write(const void* buffer, DWORD count) {
    const int fd = static_cast<int>(m_handle);
    const int allowanceMs = static_cast<int>(g_timeouts.writeTotalTimeoutMultiplier * count +
                                             g_timeouts.writeTotalTimeoutConstant);
    const auto* bytes = static_cast<const char*>(buffer);
    DWORD written = 0;
    while (written < count) {
        pollfd waitFor{fd, POLLOUT, 0};
        const int ready = ::poll(&waitFor, 1, allowanceMs > 0 ? allowanceMs : -1);
        if (ready < 0) {
            ThrowErrno();
        }
        if (ready == 0) {
            break;  // the write time-out passed: a short write
        }
        const ssize_t now = ::write(fd, bytes + written, count - written);
        if (now < 0 && errno != EAGAIN) {
            ThrowErrno();
        }
        written += now > 0 ? static_cast<DWORD>(now) : 0;
    }
    return written;
}

void CSerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    g_timeouts = timeouts;
}

PortTimeouts CSerialPort::GetTimeouts() {
    return g_timeouts;
}

void EnumerateComPorts(std::vector<int>& ports) {
    ports.clear();
    for (int number = 1; number <= 255; ++number) {
        const int fd = ::open(DevicePath(number).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_EXCL);
        if (fd < 0) {
            continue;  // missing or busy: not listed
        }
        ::close(fd);
        ports.push_back(number);
    }
}
