// The platform-independent members of CSerialPort.
#include "link/CSerialPort.h"

void CSerialPort::ListPorts(std::vector<int>& ports) {
    EnumerateComPorts(ports);
}

void CSerialPort::SetImmediateTimeouts() {
    SetTimeouts(PortTimeouts{kReturnImmediately, 0, 0, 0, 0});
}

void CSerialPort::ClearWriteTimeouts() {
    PortTimeouts timeouts = GetTimeouts();
    timeouts.writeTotalTimeoutMultiplier = 0;
    timeouts.writeTotalTimeoutConstant = 0;
    SetTimeouts(timeouts);
}

void CSerialPort::MakeReadsImmediate() {
    PortTimeouts timeouts = GetTimeouts();
    timeouts.readIntervalTimeout = kReturnImmediately;
    timeouts.readTotalTimeoutMultiplier = 0;
    timeouts.readTotalTimeoutConstant = 0;
    SetTimeouts(timeouts);
}
