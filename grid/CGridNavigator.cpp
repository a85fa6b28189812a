#include "grid/CGridNavigator.h"

GridMoveResult CGridNavigator::Move(const GridCellId& focus, GridMove move) const {
    switch (move) {
    case GridMove::Right:
        return MoveRight(focus);
    case GridMove::Left:
        return MoveLeft(focus);
    case GridMove::Up:
        return MoveUpDown(focus, false);
    case GridMove::Down:
        return MoveUpDown(focus, true);
    case GridMove::Tab:
        return TabForward(focus);
    case GridMove::ShiftTab:
        return TabBack(focus);
    case GridMove::Home:
        return MoveHome(focus, false);
    case GridMove::CtrlHome:
        return MoveHome(focus, true);
    case GridMove::End:
        return MoveEnd(focus, false);
    case GridMove::CtrlEnd:
        return MoveEnd(focus, true);
    }
    return GridMoveResult{focus, false};
}

GridMoveResult CGridNavigator::MoveRight(const GridCellId& focus) const {
    const int col = m_layout.Cols().NextShown(focus.col);
    return GridMoveResult{col < 0 ? focus : GridCellId(focus.row, col), false};
}

GridMoveResult CGridNavigator::MoveLeft(const GridCellId& focus) const {
    const int col = m_layout.Cols().PreviousShown(focus.col, m_layout.Cols().GetFixedCount());
    return GridMoveResult{col < 0 ? focus : GridCellId(focus.row, col), false};
}

GridMoveResult CGridNavigator::MoveUpDown(const GridCellId& focus, bool down) const {
    const CGridAxis& rows = m_layout.Rows();
    const int row = down ? rows.NextShown(focus.row) : rows.PreviousShown(focus.row, rows.GetFixedCount());
    return GridMoveResult{row < 0 ? focus : GridCellId(row, focus.col), false};
}

GridMoveResult CGridNavigator::TabForward(const GridCellId& focus) const {
    const GridMoveResult right = MoveRight(focus);
    if (right.next != focus) {
        return right;
    }
    const int row = m_layout.Rows().NextShown(focus.row);
    const int col = m_layout.Cols().NextShown(m_layout.Cols().GetFixedCount() - 1);
    if (row < 0 || col < 0) {
        return GridMoveResult{focus, false};
    }
    return GridMoveResult{GridCellId(row, col), true};
}

GridMoveResult CGridNavigator::TabBack(const GridCellId& focus) const {
    const GridMoveResult left = MoveLeft(focus);
    if (left.next != focus) {
        return left;
    }
    const CGridAxis& rows = m_layout.Rows();
    const CGridAxis& cols = m_layout.Cols();
    const int row = rows.PreviousShown(focus.row, rows.GetFixedCount());
    const int col = cols.PreviousShown(cols.GetCount(), cols.GetFixedCount());
    if (row < 0 || col < 0) {
        return GridMoveResult{focus, false};
    }
    return GridMoveResult{GridCellId(row, col), true};
}

int CGridNavigator::ShownFrom(const CGridAxis& axis, int start) {
    for (int i = start; i < axis.GetCount(); ++i) {
        if (axis.GetSize(i) > 0) {
            return i;
        }
    }
    return start;
}

int CGridNavigator::ShownBackTo(const CGridAxis& axis, int start, int stop) {
    for (int i = start; i >= stop && i >= 0; --i) {
        if (axis.GetSize(i) > 0) {
            return i;
        }
    }
    return -1;
}

GridMoveResult CGridNavigator::MoveHome(const GridCellId& focus, bool ctrl) const {
    const CGridAxis& rows = m_layout.Rows();
    const CGridAxis& cols = m_layout.Cols();
    const int startRow = ctrl ? rows.GetFixedCount() : focus.row;
    GridCellId next(ShownFrom(rows, startRow), ShownFrom(cols, cols.GetFixedCount()));
    if (!m_layout.IsValid(next)) {
        return GridMoveResult{focus, false};
    }
    return GridMoveResult{next, false};
}

// The cells skipped to the left and upwards are bounded by the first non-fixed column and
// row: with everything hidden the focus stays where it is rather than landing on a hidden cell.
GridMoveResult CGridNavigator::MoveEnd(const GridCellId& focus, bool ctrl) const {
    const CGridAxis& rows = m_layout.Rows();
    const CGridAxis& cols = m_layout.Cols();
    const int col = ShownBackTo(cols, cols.GetCount() - 1, cols.GetFixedCount());
    const int row = ctrl ? ShownBackTo(rows, rows.GetCount() - 1, rows.GetFixedCount()) : focus.row;
    if (col < 0 || row < 0) {
        return GridMoveResult{focus, false};
    }
    return GridMoveResult{GridCellId(row, col), false};
}
