// The log server's pipes exist only on Windows: on POSIX systems every write fails,
// and the logger gives up after its attempts like it does without a server.
#include "link/CLogPipe.h"

CLogPipe::~CLogPipe() = default;

bool CLogPipe::Write(const std::string& text) {
    return false;
}

void CLogPipe::Close() {
    m_handle = nullptr;
}

bool CLogPipe::Open() {
    return false;
}
