// What the calibration dialogs do with the adaptive correction map and its measurements.
// The map page implements it over its map model; tests give a recording map. Percents are
// plain percents, not the stored form. UI thread only.
#pragma once

class ICalibrationMap {
public:
    virtual ~ICalibrationMap() = default;

    virtual int GetRowCount() = 0;
    virtual int GetColumnCount() = 0;
    // The cell nearest to an operating point; false (row and column 0) on an empty map.
    virtual bool FindNearestCell(int rpm, double injectionMs, int& row, int& column) = 0;
    virtual int GetCell(int row, int column) = 0;
    // Bilinear between the cells around the point, without the base; 0 on an empty map.
    virtual int GetInterpolatedValue(int rpm, double injectionMs) = 0;
    virtual int GetBasePercent() = 0;
    // Stores and writes the base; 0 when the map refuses the percent (nothing changes).
    virtual int SetBasePercent(int percent) = 0;
    // Sets every cell of the box to percent and writes it to the unit.
    virtual void FillBox(int percent, int firstRow, int firstColumn, int lastRow, int lastColumn) = 0;
    // Puts back the cells and base saved when the calibration began and writes them.
    virtual void RestoreSavedMatrix() = 0;
    // Folds the measurements into the map relative to offset (which the caller then makes
    // the base); masked, only the cells the measurements bracket change.
    virtual void CombineLastMeasurementsIntoMatrix(int offset, bool masked) = 0;

    virtual void AddMeasurement(int rpm, double injectionMs, int percent, int kind) = 0;
    virtual bool HasNewMeasurement() = 0;
    virtual bool HasUndoneMeasurements() = 0;
    virtual void UndoLastMeasurement() = 0;
    virtual void RedoMeasurement() = 0;
    virtual void ClearUndoneMeasurements() = 0;
    // Recolours the map's cells by the measurements that now cover them.
    virtual void ShowMeasurementCoverage() = 0;
};
