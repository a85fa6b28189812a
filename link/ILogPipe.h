// A connection to one named pipe of the log server; CLogPipe in the product, a
// recording fake in tests.
#pragma once

#include <string>

class ILogPipe {
public:
    virtual ~ILogPipe() = default;
    // One write of the text; false when it did not reach the server.
    virtual bool Write(const std::string& text) = 0;
    virtual void Close() = 0;
};
