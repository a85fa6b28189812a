// The frame exchange: request building, per-byte reading with a time-out, judging
// the reply head, error frames, checksums, and the ping's version check.
// Runs on the communicator's worker thread.
#include "link/CFrameExchange.h"

#include "link/CCommandTable.h"
#include "link/CRepeatedLines.h"
#include "link/CSerialException.h"
#include "link/ExchangeResult.h"
#include "link/FrameChecksum.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr BYTE kPingCode = 0x01;
constexpr BYTE kPingEcho = 0x81;
constexpr BYTE kEchoBit = 0x80;
constexpr int kHeadBytes = 3;
constexpr int kPingFrameBytes = 5;

// Kinds of port failure; with the port number they make the failure line's key.
constexpr int kWriteFailure = 1;
constexpr int kReadFailure = 2;
constexpr int kDrainFailure = 3;
constexpr int kFailureKinds = 4;

std::string Quoted(const char* label, const BYTE* bytes, int count) {
    return std::string(label) + ": '" + CCommTrace::FormatBytes(bytes, count) + "'";
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Printf(const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

int SignExtended(BYTE code) {
    return static_cast<int>(static_cast<signed char>(code));
}

}  // namespace

FrameRequest MakeFrameRequest(BYTE senderId,
                              BYTE answerId,
                              BYTE code,
                              const std::vector<BYTE>& data,
                              int replyLength,
                              BYTE* destination,
                              std::size_t destinationSize) {
    FrameRequest frame;
    frame.senderId = senderId;
    frame.answerId = answerId;
    frame.code = code;
    frame.requestLength = static_cast<int>(data.size());
    frame.replyLength = replyLength;
    frame.source = data.data();
    frame.sourceSize = data.size();
    frame.destination = destination;
    frame.destinationSize = destinationSize;
    return frame;
}

CFrameExchange::CFrameExchange(IPort& port, IClock& clock, CCommTrace& trace, CRepeatedLines& failures)
    : m_port(&port), m_clock(&clock), m_trace(trace), m_failures(failures) {}

// Negative, so that the keys stay apart from the scan's (0 and the port numbers).
int CFrameExchange::FailureKey(int kind) const {
    return -(m_portNumber * kFailureKinds + kind);
}

void CFrameExchange::LogFailure(int kind, const char* operation, const CSerialException& e) {
    m_failures.Log(FailureKey(kind),
                   std::string("CFrameExchange: ") + operation + " failed: " + e.what() + ".");
}

void CFrameExchange::Beat() {
    if (m_heartbeat) {
        m_heartbeat();
    }
}

int CFrameExchange::TransmitReceive(const FrameRequest& request) {
    Beat();
    BYTE frame[kFrameBufferBytes];
    const int length = BuildRequest(request, frame);
    if (length < 0) {
        m_trace.Add("Tx: Failed");
        return kResultShortWrite;
    }
    m_trace.Add(Quoted("Tx", frame, length));
    const int sent = SendFrame(frame, length);
    if (sent != kResultSuccess) {
        m_trace.Add("Tx: Failed");
        return sent;
    }
    BYTE reply[kFrameBufferBytes];
    return ReceiveReply(request, reply);
}

// Returns the frame length, or -1 when the data do not fit the frame buffer or the
// source does not hold them.
int CFrameExchange::BuildRequest(const FrameRequest& request, BYTE* frame) {
    int dataBytes = 0;
    if (request.requestLength != 0) {
        if (request.source == nullptr || request.sourceSize == 0) {
            return -1;
        }
        dataBytes = CCommandTable::DataBytes(request.requestLength, request.source[0]);
    }
    if (dataBytes + kHeadBytes > kFrameBufferBytes ||
        static_cast<std::size_t>(dataBytes) > request.sourceSize) {
        return -1;
    }
    frame[0] = request.senderId;
    frame[1] = static_cast<BYTE>(request.code & 0xFF);
    if (dataBytes > 0) {
        std::memcpy(frame + 2, request.source, static_cast<std::size_t>(dataBytes));
    }
    const int length = dataBytes + kHeadBytes;
    SetChecksum(frame, length);
    return length;
}

int CFrameExchange::SendFrame(const BYTE* frame, int length) {
    DWORD written = 0;
    try {
        written = m_port->Write(frame, static_cast<DWORD>(length));
    } catch (const CSerialException& e) {
        LogFailure(kWriteFailure, "writing the frame", e);
        return kResultWriteError;
    }
    m_failures.End(FailureKey(kWriteFailure));
    return written < static_cast<DWORD>(length) ? kResultShortWrite : kResultSuccess;
}

CFrameExchange::ByteRead CFrameExchange::ReadByte(BYTE& value) {
    const DWORD start = m_clock->NowMs();
    for (;;) {
        DWORD got = 0;
        try {
            got = m_port->Read(&value, 1);
        } catch (const CSerialException& e) {
            LogFailure(kReadFailure, "reading a byte", e);
            return ByteRead::Failed;
        }
        m_failures.End(FailureKey(kReadFailure));
        if (got == 1) {
            return ByteRead::Got;
        }
        if (m_clock->NowMs() - start > m_byteTimeoutMs) {
            return ByteRead::TimedOut;
        }
        m_clock->SleepMs(kPollSleepMs);
    }
}

// Reads and discards until the line has been silent for more than 20 ms, so that
// the rest of a bad reply does not land in the next exchange.
void CFrameExchange::Drain() {
    DWORD lastByte = m_clock->NowMs();
    for (;;) {
        BYTE discard = 0;
        DWORD got = 0;
        try {
            got = m_port->Read(&discard, 1);
        } catch (const CSerialException& e) {
            // A port that fails to read has nothing more to drain.
            LogFailure(kDrainFailure, "draining the port", e);
            return;
        }
        m_failures.End(FailureKey(kDrainFailure));
        if (got == 1) {
            lastByte = m_clock->NowMs();
            continue;
        }
        if (m_clock->NowMs() - lastByte > kDrainSilenceMs) {
            return;
        }
        m_clock->SleepMs(kDrainPollMs);
    }
}

// Judges the first three bytes. Returns -1 for a good head (dataBytes then holds the
// reply's data length) or the result code of a failed exchange.
int CFrameExchange::JudgeReplyHead(const FrameRequest& request, const BYTE* reply, int& dataBytes) {
    if (reply[0] != request.answerId) {
        return kResultWrongId;
    }
    const BYTE echo = static_cast<BYTE>((request.code & 0xFF) | kEchoBit);
    if (reply[1] != echo) {
        if (!CheckChecksum(reply, kHeadBytes)) {
            return kResultChecksumError;
        }
        if (reply[1] != 0) {
            return SignExtended(reply[1]);
        }
    }
    dataBytes = CCommandTable::DataBytes(request.replyLength, reply[2]);
    return -1;
}

int CFrameExchange::ReceiveReply(const FrameRequest& request, BYTE* reply) {
    int received = 0;
    int total = kHeadBytes + 1;
    while (received < total) {
        const ByteRead outcome = ReadByte(reply[received]);
        if (outcome == ByteRead::TimedOut) {
            m_trace.Add(Quoted("Rx Timeouted", reply, received));
            return kResultByteTimeout;
        }
        if (outcome == ByteRead::Failed) {
            m_trace.Add(Quoted("Rx Failed", reply, received));
            return kResultReadError;
        }
        ++received;
        if (received != kHeadBytes) {
            continue;
        }
        int dataBytes = 0;
        const int headResult = JudgeReplyHead(request, reply, dataBytes);
        if (headResult != -1) {
            Drain();
            m_trace.Add(Printf("Rx (%d)", headResult) + ": '" + CCommTrace::FormatBytes(reply, kHeadBytes) +
                        "'");
            return headResult;
        }
        if (request.replyLength == 0) {
            total = kHeadBytes;
            break;
        }
        total = kHeadBytes + dataBytes;
        const bool overBuffer = total > kFrameBufferBytes;
        const bool overDestination =
            request.destination != nullptr && static_cast<std::size_t>(dataBytes) > request.destinationSize;
        if (overBuffer || overDestination) {
            Drain();
            m_trace.Add(Quoted("Rx Too Long", reply, kHeadBytes));
            return kResultChecksumError;
        }
    }
    if (!CheckChecksum(reply, total)) {
        m_trace.Add(Quoted("Rx Checksum Error", reply, total));
        return kResultChecksumError;
    }
    const int dataBytes = total - kHeadBytes;
    if (request.destination != nullptr && dataBytes > 0) {
        std::memcpy(request.destination, reply + 2, static_cast<std::size_t>(dataBytes));
    }
    m_trace.Add(Quoted("Rx", reply, total));
    return kResultSuccess;
}

int CFrameExchange::Ping(BYTE senderId) {
    Beat();
    BYTE frame[kPingFrameBytes] = {senderId, kPingCode,
                                   static_cast<BYTE>(senderId == kSenderIdNormal ? 0x1E : 0x0A), 0x01, 0};
    SetChecksum(frame, kPingFrameBytes);
    const int sent = SendFrame(frame, kPingFrameBytes);
    if (sent != kResultSuccess) {
        m_trace.Add("Ping(): Write Failed");
        return sent;
    }
    BYTE reply[kPingFrameBytes];
    const int readResult = ReadPingReply(reply);
    if (readResult != kResultSuccess) {
        return readResult;
    }
    return JudgeVersion(reply);
}

int CFrameExchange::ReadPingReply(BYTE* reply) {
    for (int received = 0; received < kPingFrameBytes; ++received) {
        const ByteRead outcome = ReadByte(reply[received]);
        if (outcome == ByteRead::TimedOut) {
            m_trace.Add("Ping(): Timeouted");
            return kResultByteTimeout;
        }
        if (outcome == ByteRead::Failed) {
            m_trace.Add("Ping(): Read Failed");
            return kResultReadError;
        }
        if (received + 1 != kHeadBytes) {
            continue;
        }
        if (reply[0] != kAnswerIdNormal && reply[0] != kAnswerIdUpdate) {
            m_trace.Add(Printf("Ping(): Wrong ID: 0x%02x", static_cast<unsigned>(reply[0])));
            return kResultWrongId;
        }
        if (reply[1] == kPingEcho) {
            continue;
        }
        if (!CheckChecksum(reply, kHeadBytes)) {
            m_trace.Add("Ping(): Checksum Error");
            return kResultChecksumError;
        }
        const int code = SignExtended(reply[1]);
        m_trace.Add(Printf("Ping(): Error Code: %d", code));
        // An error code that equals a ping outcome (0, 16, 17, 32) would read as a unit
        // that answered; an error frame is no answer to a ping.
        return IsUnitPresent(code) ? kResultWrongId : code;
    }
    if (!CheckChecksum(reply, kPingFrameBytes)) {
        m_trace.Add("Ping(): Checksum Error");
        return kResultChecksumError;
    }
    return kResultSuccess;
}

int CFrameExchange::JudgeVersion(const BYTE* reply) {
    const int major = reply[3];
    const int minor = reply[2] & 0x7F;
    if (reply[0] == kAnswerIdNormal) {
        if (major == 1 && minor >= 30 && minor <= 39) {
            return kPingConnected;
        }
        m_trace.Add(Printf("Ping(): Incompatible Version: %d.%02d", major, minor));
        return kPingIncompatible;
    }
    if (major == 1 && minor >= 10 && minor <= 19) {
        return kPingUpdateMode;
    }
    m_trace.Add(Printf("Ping(): Incompatible Version (update): %d.%02d", major, minor));
    return kPingIncompatibleUpdate;
}
