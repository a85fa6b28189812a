// The serial port's further Win32 calls on a real COM port under Wine, against the
// simulated unit: completion-routine and overlapped transfers carry a ping and its
// answer, line state and buffers can be read and set, and a closed port throws.
#include "link/CSerialException.h"
#include "link/CSerialPort.h"
#include "tests/link/CUnitSim.h"

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

namespace {

// A ping of a unit and the answer of one with protocol version 1.30.
const std::vector<BYTE> kPing = {0xAA, 0x01, 0x1E, 0x01, 0xB4};
const std::vector<BYTE> kPingAnswer = {0x55, 0x81, 0x1E, 0x01, 0xCB};
constexpr DWORD kWaitMs = 3000;
// Reads wait up to a second for the answer's bytes.
constexpr PortTimeouts kWaitingTimeouts{0, 0, 1000, 100, 100};

// Counts the completions it is told of, then lets the port free the OVERLAPPED.
class CCompletionPort : public CSerialPort {
public:
    int completions = 0;
    DWORD lastError = 0xFFFFFFFF;
    DWORD lastTransferred = 0;

protected:
    void OnCompletion(DWORD error, DWORD transferred, _OVERLAPPED* overlapped) override {
        ++completions;
        lastError = error;
        lastTransferred = transferred;
        CSerialPort::OnCompletion(error, transferred, overlapped);
    }
};

class SerialPortCalls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(0, CUnitSim::Port()) << "run through tests/link/with-link-units";
        std::string error;
        ASSERT_TRUE(CUnitSim::SendControl("clear-faults", error)) << error;
        ASSERT_TRUE(CUnitSim::SendControl("mode normal", error)) << error;
        ASSERT_TRUE(CUnitSim::SendControl("version 1.30", error)) << error;
    }

    void Open(CSerialPort& port) {
        port.Open(CUnitSim::Port(), 9600, kParityNone, 8, kStopBitsOne, kFlowNone, true);
        port.SetTimeouts(kWaitingTimeouts);
    }

    // Waits alertably until the port has been told of `count` completions.
    static bool AwaitCompletions(const CCompletionPort& port, int count) {
        const ULONGLONG start = GetTickCount64();
        while (port.completions < count && GetTickCount64() - start < kWaitMs) {
            SleepEx(20, TRUE);
        }
        return port.completions >= count;
    }
};

}  // namespace

TEST_F(SerialPortCalls, CompletionRoutineTransfersCarryAPingAndItsAnswer) {
    CCompletionPort port;
    Open(port);
    port.WriteWithCompletion(kPing.data(), static_cast<DWORD>(kPing.size()));
    ASSERT_TRUE(AwaitCompletions(port, 1));
    EXPECT_EQ(0u, port.lastError);
    EXPECT_EQ(kPing.size(), port.lastTransferred);

    std::vector<BYTE> answer(kPingAnswer.size());
    port.ReadWithCompletion(answer.data(), static_cast<DWORD>(answer.size()));
    ASSERT_TRUE(AwaitCompletions(port, 2));
    EXPECT_EQ(0u, port.lastError);
    ASSERT_EQ(kPingAnswer.size(), port.lastTransferred);
    EXPECT_EQ(kPingAnswer, answer);
}

TEST_F(SerialPortCalls, OverlappedTransfersEndThroughTheirResult) {
    CSerialPort port;
    Open(port);
    OVERLAPPED write{};
    write.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    port.Write(kPing.data(), static_cast<DWORD>(kPing.size()), write);
    DWORD transferred = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), port.GetTransferResult(write, transferred, TRUE));
    EXPECT_EQ(kPing.size(), transferred);

    std::vector<BYTE> answer(kPingAnswer.size());
    OVERLAPPED read{};
    read.hEvent = write.hEvent;
    ResetEvent(read.hEvent);
    port.Read(answer.data(), static_cast<DWORD>(answer.size()), read);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), port.GetTransferResult(read, transferred, TRUE));
    EXPECT_EQ(kPingAnswer.size(), transferred);
    EXPECT_EQ(kPingAnswer, answer);
    CloseHandle(write.hEvent);
}

TEST_F(SerialPortCalls, LineStateAndBuffersCanBeReadAndSet) {
    CSerialPort port;
    Open(port);
    DCB dcb{};
    port.GetState(dcb);
    EXPECT_EQ(9600u, dcb.BaudRate);
    EXPECT_EQ(8, dcb.ByteSize);
    EXPECT_EQ(NOPARITY, dcb.Parity);
    EXPECT_EQ(ONESTOPBIT, dcb.StopBits);
    dcb.BaudRate = 19200;
    port.SetState(dcb);
    DCB changed{};
    port.GetState(changed);
    EXPECT_EQ(19200u, changed.BaudRate);

    port.SetMask(EV_RXCHAR | EV_TXEMPTY);
    DWORD mask = 0;
    port.GetMask(mask);
    EXPECT_EQ(static_cast<DWORD>(EV_RXCHAR | EV_TXEMPTY), mask);
    port.ClearReadBuffer();
    port.ClearWriteBuffer();
    port.TerminateOutstandingReads();
    port.TerminateOutstandingWrites();
    DWORD errors = 0xFFFF;
    COMSTAT status{};
    port.ClearError(errors, status);
    EXPECT_EQ(0u, status.cbInQue);
    port.CancelTransfers();
}

TEST_F(SerialPortCalls, AClosedPortThrowsTheSystemsError) {
    CSerialPort port;
    DCB dcb{};
    try {
        port.GetState(dcb);
        FAIL() << "no exception";
    } catch (const CSerialException& error) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), error.GetError());
    }
    EXPECT_THROW(port.Purge(PURGE_RXCLEAR), CSerialException);
}
