// Byte-port seam of the communicator: the serial port in the product, the replay
// port, and scripted ports in tests. Every failure is thrown as CSerialException.
#pragma once

#include "classlib/core/WinTypes.h"

#include <vector>

// Read and write time-outs in the layout of the system's COMMTIMEOUTS.
struct PortTimeouts {
    DWORD readIntervalTimeout = 0;
    DWORD readTotalTimeoutMultiplier = 0;
    DWORD readTotalTimeoutConstant = 0;
    DWORD writeTotalTimeoutMultiplier = 0;
    DWORD writeTotalTimeoutConstant = 0;
};

constexpr DWORD kReturnImmediately = 0xFFFFFFFFu;
// Reads return at once with what has arrived; writes may take 100 ms per byte plus 100 ms.
constexpr PortTimeouts kNormalTimeouts{kReturnImmediately, 0, 0, 100, 100};
// While firmware is uploaded a block must not be held back by the normal write allowance.
constexpr PortTimeouts kUploadTimeouts{kReturnImmediately, 0, 0, 1, 60};

// Line settings in the values the port's Open takes.
constexpr int kParityEven = 0;
constexpr int kParityMark = 1;
constexpr int kParityNone = 2;
constexpr int kParityOdd = 3;
constexpr int kParitySpace = 4;
constexpr int kStopBitsOne = 0;
constexpr int kStopBitsOneAndHalf = 1;
constexpr int kStopBitsTwo = 2;
constexpr int kFlowNone = 0;
constexpr int kFlowCtsRts = 1;
constexpr int kFlowCtsDtr = 2;
constexpr int kFlowDsrRts = 3;
constexpr int kFlowDsrDtr = 4;
constexpr int kFlowXonXoff = 5;

class IPort {
public:
    virtual ~IPort() = default;
    virtual void Open(int portNumber,
                      DWORD baudRate,
                      int parity,
                      BYTE dataBits,
                      int stopBits,
                      int flow,
                      bool overlapped) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Blocking read under the current time-outs; 0 when nothing has arrived.
    virtual DWORD Read(void* buffer, DWORD count) = 0;
    virtual DWORD Write(const void* buffer, DWORD count) = 0;
    virtual void SetTimeouts(const PortTimeouts& timeouts) = 0;
    // The numbers of the ports that can be opened now, in the order to try them.
    virtual void ListPorts(std::vector<int>& ports) = 0;
};
