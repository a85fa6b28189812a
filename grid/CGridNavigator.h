// Where the focus cell goes for a movement key: the arrow keys, Tab and Shift+Tab, Home
// and End (with or without Ctrl). Rows and columns of size 0 are skipped and the focus
// never enters the fixed rows or columns. Page keys depend on scrolling and stay with
// the window.
#pragma once

#include "grid/CGridLayout.h"
#include "grid/GridCellId.h"

enum class GridMove {
    Right,
    Left,
    Up,
    Down,
    Tab,
    ShiftTab,
    Home,
    CtrlHome,
    End,
    CtrlEnd,
};

struct GridMoveResult {
    GridCellId next;          // the focus cell itself when it cannot move
    bool lineChange = false;  // Tab or Shift+Tab went on to another row
};

class CGridNavigator {
public:
    explicit CGridNavigator(const CGridLayout& layout) : m_layout(layout) {}

    GridMoveResult Move(const GridCellId& focus, GridMove move) const;

private:
    GridMoveResult MoveRight(const GridCellId& focus) const;
    GridMoveResult MoveLeft(const GridCellId& focus) const;
    GridMoveResult MoveUpDown(const GridCellId& focus, bool down) const;
    GridMoveResult TabForward(const GridCellId& focus) const;
    GridMoveResult TabBack(const GridCellId& focus) const;
    GridMoveResult MoveHome(const GridCellId& focus, bool ctrl) const;
    GridMoveResult MoveEnd(const GridCellId& focus, bool ctrl) const;
    // The first shown index from start onwards (start itself when none is shown).
    static int ShownFrom(const CGridAxis& axis, int start);
    // The last shown index from start back to stop, or -1 when none is shown.
    static int ShownBackTo(const CGridAxis& axis, int start, int stop);

    const CGridLayout& m_layout;
};
