// The map for the calibration dialog tests: a small map of cells and a base, measurements
// kept as new or undone, and every call the dialog makes recorded as a line of text.
#pragma once

#include "calib/ICalibrationMap.h"

#include <cstdio>
#include <string>
#include <vector>

class CRecordingMap : public ICalibrationMap {
public:
    struct Measurement {
        int rpm;
        double injectionMs;
        int percent;
        int kind;
    };

    CRecordingMap() : cells(kRows * kColumns, 0) {}

    int GetRowCount() override { return kRows; }

    int GetColumnCount() override { return kColumns; }

    // The nearest cell is looked up by rpm only: column = rpm / 1000, clamped.
    bool FindNearestCell(int rpm, double, int& row, int& column) override {
        row = 0;
        column = rpm / 1000 < kColumns ? rpm / 1000 : kColumns - 1;
        return true;
    }

    int GetCell(int row, int column) override { return cells[row * kColumns + column]; }

    int GetInterpolatedValue(int rpm, double) override {
        int row = 0;
        int column = 0;
        FindNearestCell(rpm, 0.0, row, column);
        return GetCell(row, column);
    }

    int GetBasePercent() override { return base; }

    int SetBasePercent(int percent) override {
        Record("base " + std::to_string(percent));
        if (refuseBase) {
            return 0;
        }
        base = percent;
        return 1;
    }

    void FillBox(int percent, int firstRow, int firstColumn, int lastRow, int lastColumn) override {
        char line[64];
        std::snprintf(line, sizeof(line), "fill %d (%d,%d)-(%d,%d)", percent, firstRow, firstColumn, lastRow,
                      lastColumn);
        Record(line);
        for (int r = firstRow; r <= lastRow; ++r) {
            for (int c = firstColumn; c <= lastColumn; ++c) {
                cells[r * kColumns + c] = percent;
            }
        }
    }

    void RestoreSavedMatrix() override {
        Record("restore");
        cells = savedCells;
        base = savedBase;
    }

    // The fold puts every cell back to its saved total relative to offset, then the newest
    // measurement's percent less the offset into the cell of its rpm.
    void CombineLastMeasurementsIntoMatrix(int offset, bool masked) override {
        Record("combine " + std::to_string(offset) + (masked ? " masked" : " full"));
        for (size_t i = 0; i < cells.size(); ++i) {
            cells[i] = savedCells[i] + savedBase - offset;
        }
        for (const Measurement& m : measurements) {
            int row = 0;
            int column = 0;
            FindNearestCell(m.rpm, m.injectionMs, row, column);
            cells[row * kColumns + column] = m.percent - offset;
        }
    }

    void AddMeasurement(int rpm, double injectionMs, int percent, int kind) override {
        char line[64];
        std::snprintf(line, sizeof(line), "add %d %.2f %d %d", rpm, injectionMs, percent, kind);
        Record(line);
        measurements.push_back({rpm, injectionMs, percent, kind});
    }

    bool HasNewMeasurement() override { return !measurements.empty(); }

    bool HasUndoneMeasurements() override { return !undone.empty(); }

    void UndoLastMeasurement() override {
        Record("undo");
        undone.push_back(measurements.back());
        measurements.pop_back();
    }

    void RedoMeasurement() override {
        Record("redo");
        measurements.push_back(undone.back());
        undone.pop_back();
    }

    void ClearUndoneMeasurements() override {
        Record("clear undone");
        undone.clear();
    }

    void ShowMeasurementCoverage() override { Record("coverage"); }

    // What the page does before it runs a dialog.
    void SaveMatrix() {
        savedCells = cells;
        savedBase = base;
    }

    void Record(const std::string& line) { calls.push_back(line); }

    static constexpr int kRows = 2;
    static constexpr int kColumns = 4;

    std::vector<int> cells;
    int base = 0;
    std::vector<int> savedCells = std::vector<int>(kRows * kColumns, 0);
    int savedBase = 0;
    bool refuseBase = false;
    std::vector<Measurement> measurements;
    std::vector<Measurement> undone;
    std::vector<std::string> calls;
};
