// A stand-in for the serial port that answers each written request with the answers
// recorded for it in "freeze.log". Runs on the communicator's worker thread.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/IClock.h"
#include "link/IPort.h"

#include <map>
#include <string>
#include <vector>

class CFreezeLogPort : public IPort {
public:
    static constexpr std::size_t kMaxAnswerBytes = 1024;

    // Reads "freeze.log" beside the program when it exists.
    CFreezeLogPort();
    // Reads the given recording; the clock takes the port's delays (not owned).
    CFreezeLogPort(const std::string& path, IClock& clock);

    void Open(int portNumber,
              DWORD baudRate,
              int parity,
              BYTE dataBits,
              int stopBits,
              int flow,
              bool overlapped) override;

    void Close() override { m_open = false; }

    bool IsOpen() const override { return m_open; }

    DWORD Read(void* buffer, DWORD count) override;
    DWORD Write(const void* buffer, DWORD count) override;

    void SetTimeouts(const PortTimeouts&) override {}

    void ListPorts(std::vector<int>& ports) override { ports = {1, 3}; }

    // Hexadecimal groups of a line as bytes: each group of up to 8 digits gives
    // (digits + 1) / 2 bytes, most significant first; longer groups are split.
    static std::vector<BYTE> ParseHexLine(const std::string& line);

private:
    struct AnswerList {
        std::size_t next = 0;
        std::vector<std::vector<BYTE>> answers;
    };

    void Load(const std::string& path);

    IClock* m_clock;
    std::map<std::string, AnswerList> m_answers;
    std::vector<BYTE> m_answer;
    std::size_t m_readPosition = 0;
    bool m_open = false;
};
