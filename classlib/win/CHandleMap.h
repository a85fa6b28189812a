// Which C++ object stands for which window. Permanent entries (created, subclassed
// or attached windows) are shared by all threads under one lock, so a window's object
// is found from any thread; temporary wrappers belong to the thread that asked.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <unordered_map>

class CWnd;

class CHandleMap {
public:
    static CHandleMap& Instance();

    // FALSE when hwnd has an object already.
    bool Add(HWND hwnd, CWnd* wnd);
    void Remove(HWND hwnd);
    CWnd* Find(HWND hwnd) const;

    // A wrapper for a window that has no permanent object; owned by the calling thread.
    CWnd* Temporary(HWND hwnd);
    void DeleteTemporaries();

private:
    CHandleMap() = default;

    mutable std::mutex m_mutex;
    std::unordered_map<HWND, CWnd*> m_permanent;  // guarded by m_mutex; objects not owned
};
