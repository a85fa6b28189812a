// The simulated unit seen from Windows: the COM port that with-unitsim maps to
// it answers the ping, carries every byte value unchanged and survives being
// closed and reopened.
#include "tests/unitsim/CTestComPort.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kPing = {0xAA, 0x01, 0x1E, 0x01, 0xB4};
const Bytes kPingReply = {0x55, 0x81, 0x1E, 0x01, 0xCB};
// Far above the unit's reply time, far below the test's time limit.
constexpr DWORD kReplyTimeoutMs = 2000;

int UnitPort() {
    const char* port = std::getenv("ZARVO_UNITSIM_PORT");
    return port != nullptr ? std::atoi(port) : 0;
}

// The control file's Unix path as seen through drive Z:.
std::string ControlFileWindowsPath() {
    const char* path = std::getenv("ZARVO_UNITSIM_CONTROL");
    if (path == nullptr) {
        return {};
    }
    std::string windowsPath = std::string("Z:") + path;
    for (char& c : windowsPath) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windowsPath;
}

// Appends one command line to the unit's control file; it is in force for
// every byte written to the port afterwards.
void SendControl(const std::string& line) {
    const std::string path = ControlFileWindowsPath();
    ASSERT_FALSE(path.empty()) << "ZARVO_UNITSIM_CONTROL is not set: run through with-unitsim";
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path << ": " << GetLastError();
    const std::string text = line + "\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok && written == text.size()) << "WriteFile: " << GetLastError();
}

class UnitSimComPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(UnitPort(), 0) << "ZARVO_UNITSIM_PORT is not set: run through with-unitsim";
    }

    void OpenPort(CTestComPort& port) {
        std::string error;
        ASSERT_TRUE(port.Open(UnitPort(), error)) << "COM" << UnitPort() << ": " << error;
    }

    // Every value in rising and in falling order, through the unit's echo mode.
    void ExchangeAllByteValues() {
        Bytes rising(256);
        for (std::size_t i = 0; i < rising.size(); ++i) {
            rising[i] = static_cast<uint8_t>(i);
        }
        const Bytes falling(rising.rbegin(), rising.rend());
        CTestComPort port;
        ASSERT_NO_FATAL_FAILURE(OpenPort(port));
        for (const Bytes& bytes : {rising, falling}) {
            ASSERT_TRUE(port.Write(bytes));
            EXPECT_EQ(port.ReadFor(bytes.size(), kReplyTimeoutMs), bytes);
        }
    }
};

}  // namespace

TEST_F(UnitSimComPort, AnswersThePingAsANormalUnit130) {
    CTestComPort port;
    ASSERT_NO_FATAL_FAILURE(OpenPort(port));
    ASSERT_TRUE(port.Write(kPing));
    EXPECT_EQ(port.ReadFor(kPingReply.size(), kReplyTimeoutMs), kPingReply);
}

TEST_F(UnitSimComPort, CarriesAllByteValuesBothWaysUnchanged) {
    ASSERT_NO_FATAL_FAILURE(SendControl("echo on"));
    ExchangeAllByteValues();
    SendControl("echo off");
}

TEST_F(UnitSimComPort, StillAnswersAfterThePortIsClosedAndReopenedTwentyTimes) {
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        CTestComPort port;
        ASSERT_NO_FATAL_FAILURE(OpenPort(port));
        ASSERT_TRUE(port.Write(kPing));
        ASSERT_EQ(port.ReadFor(kPingReply.size(), kReplyTimeoutMs), kPingReply);
    }
}
