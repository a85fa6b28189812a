// Whether the texts of a grid fit their cells as laid out: a cell's text, measured in the
// cell's font, must leave `gap` pixels to spare inside the cell (a fixed cell's raised frame
// takes one pixel on each side); each half of a twin cell must hold its own text.
#pragma once

#include "classlib/win/CClientDC.h"
#include "grid/CGridCellTwin.h"
#include "grid/CGridCtrl.h"
#include "grid/GridCellShapes.h"

#include <string>
#include <vector>

// The cells that do not fit, as "row,column: text".
inline std::vector<std::string> CutGridTexts(CGridCtrl& grid, int gap) {
    std::vector<std::string> cut;
    CClientDC dc(&grid);
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            CGridCellBase* cell = grid.GetCell(row, col);
            const int width = grid.GetColumnWidth(col);
            if (cell == nullptr || width <= 0) {
                continue;
            }
            const int frame = cell->IsFixed() ? 2 : 0;
            bool fits = false;
            std::string shown = cell->GetText();
            if (auto* twin = dynamic_cast<CGridCellTwin*>(cell)) {
                const GridTwinHalves halves = SplitTwinCell(0, width);
                const int firstWidth = cell->GetTextExtent(twin->GetFirstText(), &dc).cx;
                const int secondWidth = cell->GetTextExtent(twin->GetSecondText(), &dc).cx;
                fits = firstWidth + gap <= halves.leftEnd && secondWidth + gap <= width - halves.rightStart;
                shown = std::string(twin->GetFirstText()) + "|" + std::string(twin->GetSecondText());
            } else {
                fits = shown.empty() || cell->GetTextExtent(shown.c_str(), &dc).cx + frame + gap <= width;
            }
            if (!fits) {
                cut.push_back(std::to_string(row) + "," + std::to_string(col) + ": " + shown);
            }
        }
    }
    return cut;
}
