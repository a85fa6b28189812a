// One exchange of frames with the unit over a port, and the ping with its version
// check. Runs on the communicator's worker thread only.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CCommTrace.h"
#include "link/IClock.h"
#include "link/IPort.h"

class CRepeatedLines;
class CSerialException;

#include <cstddef>
#include <functional>
#include <vector>

constexpr BYTE kSenderIdNormal = 0xAA;
constexpr BYTE kAnswerIdNormal = 0x55;
constexpr BYTE kSenderIdUpdate = 0x99;
constexpr BYTE kAnswerIdUpdate = 0x66;

// One request frame and where its reply goes.
struct FrameRequest {
    BYTE senderId = kSenderIdNormal;
    BYTE answerId = kAnswerIdNormal;
    WORD code = 0;  // only the low byte goes on the wire
    int requestLength = 0;
    int replyLength = 0;
    const BYTE* source = nullptr;
    std::size_t sourceSize = 0;  // bytes readable at source
    BYTE* destination = nullptr;
    std::size_t destinationSize = 0;  // bytes the destination can take
};

// A request that sends all of data under the given ids and takes replyLength bytes
// into destination. The data must outlive the request.
FrameRequest MakeFrameRequest(BYTE senderId,
                              BYTE answerId,
                              BYTE code,
                              const std::vector<BYTE>& data,
                              int replyLength,
                              BYTE* destination,
                              std::size_t destinationSize);

class CFrameExchange {
public:
    static constexpr int kFrameBufferBytes = 256;
    static constexpr DWORD kDefaultByteTimeoutMs = 200;
    static constexpr DWORD kPollSleepMs = 6;
    static constexpr DWORD kDrainSilenceMs = 20;
    static constexpr DWORD kDrainPollMs = 3;

    // The port, clock, trace and failure lines are not owned and must outlive the
    // exchange. A port failure is logged through the failure lines, so that one that
    // comes back on every try is written once with its count.
    CFrameExchange(IPort& port, IClock& clock, CCommTrace& trace, CRepeatedLines& failures);

    void SetHeartbeat(std::function<void()> heartbeat) { m_heartbeat = std::move(heartbeat); }

    void SetByteTimeoutMs(DWORD timeoutMs) { m_byteTimeoutMs = timeoutMs; }

    void SetPort(IPort& port) { m_port = &port; }

    void SetClock(IClock& clock) { m_clock = &clock; }

    // The number of the port just opened, which keeps its failure lines apart.
    void SetPortNumber(int portNumber) { m_portNumber = portNumber; }

    // Sends the request and receives the reply; a result code of ExchangeResult.h.
    // On success the reply data (count byte included) are in the destination.
    int TransmitReceive(const FrameRequest& request);

    // Pings the unit: 0 connected, 32 update mode, 16 or 17 incompatible version,
    // else a failure code as for an exchange.
    int Ping(BYTE senderId);

private:
    enum class ByteRead {
        Got,
        TimedOut,
        Failed
    };

    int BuildRequest(const FrameRequest& request, BYTE* frame);
    int SendFrame(const BYTE* frame, int length);
    ByteRead ReadByte(BYTE& value);
    void Drain();
    int JudgeReplyHead(const FrameRequest& request, const BYTE* reply, int& dataBytes);
    int ReceiveReply(const FrameRequest& request, BYTE* reply);
    int ReadPingReply(BYTE* reply);
    int JudgeVersion(const BYTE* reply);
    void Beat();
    int FailureKey(int kind) const;
    void LogFailure(int kind, const char* operation, const CSerialException& e);

    IPort* m_port;    // not owned
    IClock* m_clock;  // not owned
    CCommTrace& m_trace;
    CRepeatedLines& m_failures;
    std::function<void()> m_heartbeat;
    DWORD m_byteTimeoutMs = kDefaultByteTimeoutMs;
    int m_portNumber = 0;
};
