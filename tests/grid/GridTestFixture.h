// A grid inside a test host, built with fixed-size cells, and the inputs tests send it.
#pragma once

#include "GridTestHost.h"
#include "classlib/win/CDC.h"
#include "grid/CGridCtrl.h"

#include <windows.h>

#include <gtest/gtest.h>

inline constexpr int kWidth = 40;   // every column
inline constexpr int kHeight = 20;  // every row

class GridTest : public ::testing::Test {
protected:
    // rows x cols with one fixed row and column, cell texts "r,c".
    void Build(int rows, int cols, int clientWidth = 300, int clientHeight = 200) {
        ASSERT_TRUE(m_host.CreateGrid(m_grid, clientWidth, clientHeight));
        Fill(rows, cols);
    }

    // The cells of Build in a grid that exists already.
    void Fill(int rows, int cols) {
        m_grid.SetRowCount(rows);
        m_grid.SetColumnCount(cols);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
        for (int row = 0; row < rows; ++row) {
            m_grid.SetRowHeight(row, kHeight);
            for (int col = 0; col < cols; ++col) {
                m_grid.SetCellTextFormat(row, col, "%d,%d", row, col);
            }
        }
        for (int col = 0; col < cols; ++col) {
            m_grid.SetColumnWidth(col, kWidth);
        }
        m_host.Events().clear();
    }

    static CPoint CellCentre(int row, int col) {
        return CPoint(col * kWidth + kWidth / 2, row * kHeight + kHeight / 2);
    }

    void Key(UINT key) { m_grid.SendMessage(WM_KEYDOWN, key); }

    void Click(CPoint point, UINT flags = 0) {
        m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | flags, MAKELPARAM(point.x, point.y));
        m_grid.SendMessage(WM_LBUTTONUP, flags, MAKELPARAM(point.x, point.y));
    }

    // Hovers at from, presses there, moves to `to` with the button held and releases there.
    void Drag(CPoint from, CPoint to) {
        m_grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
        m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        m_grid.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }

    HWND Editor() { return GetDlgItem(m_grid.GetSafeHwnd(), CGridCtrl::kEditorId); }

    GridTestHost m_host;
    CGridCtrl m_grid;
};

// Draws a grid into a 32-bit DIB of its client size and answers pixel reads.
class GridRendering {
public:
    explicit GridRendering(CGridCtrl& grid) {
        RECT client = {};
        ::GetClientRect(grid.GetSafeHwnd(), &client);
        BITMAPINFO info = {};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_memory.CreateCompatibleDC(nullptr);
        m_previous = m_memory.SelectObject(m_bitmap);
        grid.OnDraw(&m_memory);
    }

    ~GridRendering() {
        m_memory.SelectObject(m_previous);
        DeleteObject(m_bitmap);
    }

    GridRendering(const GridRendering&) = delete;
    GridRendering& operator=(const GridRendering&) = delete;

    COLORREF Pixel(int x, int y) { return m_memory.GetPixel(x, y); }

private:
    HBITMAP m_bitmap = nullptr;
    CDC m_memory;
    HGDIOBJ m_previous = nullptr;
};
