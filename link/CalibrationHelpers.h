// Number helpers shared by the adaptive map, the calibration cores and the table grids.
// None keeps state except NextUniqueId's counter.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/WinTypes.h"

// Fills `values` (count entries) with integers spread evenly from first to last.
void SpreadValues(int first, int last, int count, int* values);

// Judges an injection time (µs, scaled by a percent) against the engine cycle at `rpm`:
// 1 longer than the cycle, 2 within 5 percent of it, -1 or -2 too short or too far from the
// window that the crank angle allows, 0 fine. 0 also for a standstill (rpm <= 0).
int ClassifyRevInjection(int rpm, int injectionUs, int percent, int crankAngleDeg, int minimumUs);

// Places (x, y) between the centres of two neighbouring cells of each ascending axis: the index
// of the lower cell and the fraction of the way to the next one.
void LocateAxisCell(int x,
                    int y,
                    int count1,
                    int count2,
                    const int* axis1,
                    const int* axis2,
                    int* index1,
                    double* fraction1,
                    int* index2,
                    double* fraction2);

// Weighted mix of two colours (red in the low byte); black when a weight is negative or both are 0.
DWORD BlendColors(DWORD colorA, DWORD colorB, double weightA, double weightB);

// Sum of the values divided by the number of non-zero ones; 0 when there are none.
int AverageNonZero(const int* values, int count);

// Copies the source values that are 0 or at least 1000; the other places of `destination` stay.
void CopyZeroOrLargeValues(const int* source, int* destination, int count);

int CountBits(DWORD value);

// Process-wide id counter for generated controls; the first id is 1323. Thread-safe.
int NextUniqueId();

// The value with `decimals` digits after the separator ("%.<d>f"), none when decimals <= 0.
CString FormatDouble(double value, int decimals);
