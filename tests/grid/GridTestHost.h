// A top-level test window that owns one grid and records what the grid tells its parent:
// every WM_NOTIFY (code, row, column) and every WM_COMMAND. Answers to notifications
// come from a per-code table.
#pragma once

#include "grid/CGridCtrl.h"

#include <windows.h>

#include <map>
#include <vector>

struct GridTestEvent {
    int code;  // notification code, or 0 for WM_COMMAND
    int row;
    int col;

    bool operator==(const GridTestEvent& other) const {
        return code == other.code && row == other.row && col == other.col;
    }
};

class GridTestHost {
public:
    static constexpr UINT kGridId = 1234;

    GridTestHost();
    ~GridTestHost();

    GridTestHost(const GridTestHost&) = delete;
    GridTestHost& operator=(const GridTestHost&) = delete;

    HWND GetHwnd() const { return m_hwnd; }

    // Creates the grid over the host's client area (0,0)-(width,height).
    bool CreateGrid(CGridCtrl& grid, int width, int height);

    std::vector<GridTestEvent>& Events() { return m_events; }

    void Answer(int code, LRESULT answer) { m_answers[code] = answer; }

    // The events of the given codes only, in order.
    std::vector<GridTestEvent> EventsOf(std::initializer_list<int> codes) const;

    // Handles every message waiting for this thread.
    static void Pump();
    // Sets or clears Ctrl and Shift as GetKeyState sees them.
    static void SetModifiers(bool ctrl, bool shift);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    std::vector<GridTestEvent> m_events;
    std::map<int, LRESULT> m_answers;
};
