// One object of T for each thread that asks for one, held in a process-wide table.
// Objects with destructors must not live in thread-local storage here: at thread exit
// the MinGW runtime frees that storage before it runs their destructors, which then
// write into freed memory and corrupt the heap.
#pragma once

#include <windows.h>

#include <mutex>
#include <unordered_map>

template <typename T>
class PerThread {
public:
    // The calling thread's object; it stays where it is while other threads add theirs.
    T& Get() {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_objects[GetCurrentThreadId()];
    }

private:
    std::mutex m_mutex;
    std::unordered_map<DWORD, T> m_objects;
};
