// Threads whose owner gave up waiting for their end: their objects are kept here for the
// rest of the process, since freeing one under its running thread would be worse.
#pragma once

#include <memory>

class CWinThread;

class CKeptThreads {
public:
    static void Keep(std::unique_ptr<CWinThread> thread);
    // Whether thread's object is among the kept ones; there for tests to check.
    static bool Holds(const CWinThread* thread);
};
