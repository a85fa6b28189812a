// One exchange at a time with the simulated unit over the real serial port under
// Wine, with the unit told to spoil its answer: each fault gives its result code and
// trace line, and the line is usable again for the next exchange.
#include "link/CFrameExchange.h"
#include "link/CRepeatedLines.h"
#include "link/CSerialPort.h"
#include "link/CSystemClock.h"
#include "link/ExchangeResult.h"
#include "tests/link/CUnitSim.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

// Longer than the pauses of the late and gap faults (300 ms): a line this long quiet
// carries nothing more of a spoilt answer.
constexpr DWORD kQuietMs = 400;

class FrameExchangeOnComPort : public ::testing::Test {
protected:
    FrameExchangeOnComPort()
        : trace(CSystemClock::Instance()), exchange(port, CSystemClock::Instance(), trace, failures) {}

    void SetUp() override {
        ASSERT_NE(0, CUnitSim::Port()) << "run through tests/link/with-link-units";
        Control("clear-faults");
        Control("mode normal");
        Control("version 1.30");
        port.Open(CUnitSim::Port(), 9600, kParityNone, 8, kStopBitsOne, kFlowNone, false);
        port.SetTimeouts(kNormalTimeouts);
    }

    void Control(const std::string& line) {
        std::string error;
        ASSERT_TRUE(CUnitSim::SendControl(line, error)) << error;
    }

    // Reads away what a spoilt answer left on the line.
    void DrainLine() {
        BYTE byte = 0;
        ULONGLONG quietSince = GetTickCount64();
        while (GetTickCount64() - quietSince < kQuietMs) {
            if (port.Read(&byte, 1) == 1) {
                quietSince = GetTickCount64();
            }
            Sleep(2);
        }
    }

    int Exchange(WORD code, int replyLength) {
        FrameRequest request;
        request.code = code;
        request.replyLength = replyLength;
        request.destination = reply;
        request.destinationSize = sizeof reply;
        return exchange.TransmitReceive(request);
    }

    CSerialPort port;
    CCommTrace trace;
    CRepeatedLines failures{2000};
    CFrameExchange exchange;
    BYTE reply[1024] = {};
};

}  // namespace

TEST_F(FrameExchangeOnComPort, GivesEachFaultOfTheUnitItsResultCodeAndTraceLine) {
    struct Case {
        const char* fault;
        WORD code;
        int replyLength;
        int result;
        const char* traceLine;
    } cases[] = {
        {"fault silence cmd 20", 20, 2, kResultByteTimeout, "Rx Timeouted: ''"},
        {"fault late cmd 20 delay 300", 20, 2, kResultByteTimeout, "Rx Timeouted: ''"},
        {"fault gap cmd 20 delay 300", 20, 2, kResultByteTimeout, "Rx Timeouted: '55'"},
        {"fault truncate cmd 20 keep 3", 20, 2, kResultByteTimeout, "Rx Timeouted: '55 94 "},
        {"fault wrong-id cmd 20", 20, 2, kResultWrongId, "Rx (5): '66 94 "},
        {"fault bad-checksum cmd 20", 20, 2, kResultChecksumError, "Rx Checksum Error: '55 94 "},
        {"fault error cmd 20", 20, 2, kResultUnitRefused, "Rx (-25): '55 E7 B2'"},
        {"fault error cmd 20 code E1", 20, 2, -31, "Rx (-31): '55 E1 B4'"},
        {"fault oversize cmd 40", 40, -2, kResultChecksumError, "Rx Too Long: '55 A8 FF'"},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Control(c.fault);
        EXPECT_EQ(c.result, Exchange(c.code, c.replyLength));
        ASSERT_FALSE(trace.IsEmpty());
        EXPECT_NE(std::string::npos, trace.Lines().back().find(c.traceLine)) << trace.Lines().back();
        DrainLine();
        EXPECT_EQ(kResultSuccess, Exchange(c.code, c.replyLength)) << "the exchange after the fault";
    }
}
