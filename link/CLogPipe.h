// Client end of one named pipe of the log server. Used under the logger's lock.
#pragma once

#include "link/ILogPipe.h"

#include <string>

class CLogPipe : public ILogPipe {
public:
    // Tries to open a pipe that stays busy before giving up, 50 ms apart.
    static constexpr int kBusyTries = 10;

    explicit CLogPipe(std::string name) : m_name(std::move(name)) {}

    ~CLogPipe() override;
    CLogPipe(const CLogPipe&) = delete;
    CLogPipe& operator=(const CLogPipe&) = delete;

    bool Write(const std::string& text) override;
    void Close() override;

private:
    bool Open();

    std::string m_name;
    void* m_handle = nullptr;  // the pipe's handle; null while closed
};
