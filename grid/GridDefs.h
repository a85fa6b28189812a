// Constants shared by the grid window, its cells and the pages that use them: cell state
// bits, notification codes, mouse modes and the "take it from the default cell" values.
#pragma once

#include <cstdint>

// Cell state bits.
constexpr std::uint32_t GRID_STATE_FOCUSED = 0x01;
constexpr std::uint32_t GRID_STATE_SELECTED = 0x02;
constexpr std::uint32_t GRID_STATE_DROPHILITED = 0x04;
constexpr std::uint32_t GRID_STATE_READONLY = 0x08;
constexpr std::uint32_t GRID_STATE_FIXED = 0x10;
constexpr std::uint32_t GRID_STATE_FIXEDROW = 0x20;
constexpr std::uint32_t GRID_STATE_FIXEDCOL = 0x40;
constexpr std::uint32_t GRID_STATE_MODIFIED = 0x80;

// Attribute values that mean "use the default cell's".
constexpr std::uint32_t GRID_COLOUR_DEFAULT = 0xFF000000;
constexpr std::uint32_t GRID_FORMAT_DEFAULT = 0xFFFFFFFF;
constexpr std::uint32_t GRID_MARGIN_DEFAULT = 0xFFFFFFFF;

// Grid-line modes.
constexpr int GRID_LINES_NONE = 0;
constexpr int GRID_LINES_HORZ = 1;
constexpr int GRID_LINES_VERT = 2;
constexpr int GRID_LINES_BOTH = 3;

// Mask bits of a cell-item record.
constexpr std::uint32_t GRID_ITEM_TEXT = 0x001;
constexpr std::uint32_t GRID_ITEM_IMAGE = 0x002;
constexpr std::uint32_t GRID_ITEM_DATA = 0x004;
constexpr std::uint32_t GRID_ITEM_STATE = 0x008;
constexpr std::uint32_t GRID_ITEM_BACKCOLOUR = 0x010;
constexpr std::uint32_t GRID_ITEM_TEXTCOLOUR = 0x020;
constexpr std::uint32_t GRID_ITEM_FORMAT = 0x040;
constexpr std::uint32_t GRID_ITEM_FONT = 0x080;
constexpr std::uint32_t GRID_ITEM_MARGIN = 0x100;

// Notification codes sent to the parent with WM_NOTIFY (compare as int).
constexpr int GRIDN_SELCHANGING = -100;
constexpr int GRIDN_SELCHANGED = -101;
constexpr int GRIDN_BEGINEDIT = -105;
constexpr int GRIDN_ENDEDIT = -106;
constexpr int GRIDN_BEGINDRAG = -109;
constexpr int GRIDN_CACHEHINT = -113;
constexpr int GRIDN_CELLINFO = -150;
constexpr int GRIDN_CLICK = -2;
constexpr int GRIDN_DBLCLK = -3;
constexpr int GRIDN_RCLICK = -5;

// Mouse modes.
enum GridMouseMode {
    GRID_MOUSE_NOTHING = 0,
    GRID_MOUSE_SELECT_ALL = 1,
    GRID_MOUSE_SELECT_COL = 2,
    GRID_MOUSE_SELECT_ROW = 3,
    GRID_MOUSE_SELECT_CELLS = 4,
    GRID_MOUSE_SCROLLING_CELLS = 5,
    GRID_MOUSE_OVER_ROW_DIVIDE = 6,
    GRID_MOUSE_SIZING_ROW = 7,
    GRID_MOUSE_OVER_COL_DIVIDE = 8,
    GRID_MOUSE_SIZING_COL = 9,
    GRID_MOUSE_PREPARE_EDIT = 10,
    GRID_MOUSE_PREPARE_DRAG = 11,
    GRID_MOUSE_DRAGGING = 12,
};

// Flags of CGridCtrl::GetNextCell.
constexpr int GRID_NEXT_FOCUSED = 0x0001;
constexpr int GRID_NEXT_SELECTED = 0x0002;
constexpr int GRID_NEXT_DROPHILITED = 0x0004;
constexpr int GRID_NEXT_READONLY = 0x0008;
constexpr int GRID_NEXT_FIXED = 0x0010;
constexpr int GRID_NEXT_MODIFIED = 0x0020;
constexpr int GRID_NEXT_ABOVE = 0x0100;
constexpr int GRID_NEXT_BELOW = 0x0200;
constexpr int GRID_NEXT_TOLEFT = 0x0400;
constexpr int GRID_NEXT_TORIGHT = 0x0800;
constexpr int GRID_NEXT_ALL = 0x0E00;
constexpr int GRID_NEXT_AREA = 0x0A00;

// The standard edit command ids the grid answers (cut, copy, paste, select all).
constexpr unsigned GRID_CMD_EDIT_CUT = 0xE123;
constexpr unsigned GRID_CMD_EDIT_COPY = 0xE122;
constexpr unsigned GRID_CMD_EDIT_PASTE = 0xE125;
constexpr unsigned GRID_CMD_EDIT_SELECT_ALL = 0xE12A;
