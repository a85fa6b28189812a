// One measurement recorded on the correction map: the total correction percent that the
// engine needed at an rpm and an injection time, with the cells around it.
#pragma once

// Bits 0-14 of the flags: the kind; bit 15: new (recorded, not yet confirmed).
constexpr int kMeasurementKindMask = 0x7fff;
constexpr int kMeasurementNew = 0x8000;
// Entered by the user or loaded with a configuration.
constexpr int kMeasurementKindUser = 1;

// The nearest cell of a place on the map and the cells that bracket it.
struct CMapCellBracket {
    int nearestColumn = 0;
    int nearestRow = 0;
    int lowerColumn = 0;
    int upperColumn = 0;
    int lowerRow = 0;
    int upperRow = 0;
};

struct CMapMeasurement {
    int rpm = 0;
    double injectionMs = 0;
    CMapCellBracket cell;
    int percent = 0;
    int flags = 0;
    // Set by the grouping, cleared when the measurement is confirmed; not owned.
    CMapMeasurement* mergedNext = nullptr;
    CMapMeasurement* mergedInto = nullptr;

    int Kind() const { return flags & kMeasurementKindMask; }

    bool IsNew() const { return (flags & kMeasurementNew) != 0; }
};
