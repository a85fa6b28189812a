// What the map model asks of the window that shows it: the page's grid in the product,
// a recorder in tests.
#pragma once

#include "config/CMapMeasurement.h"

#include <vector>

class IMapModelView {
public:
    virtual ~IMapModelView() = default;
    // The measurements now cover other cells: recolour the cells by coverage.
    virtual void ShowMeasurementCoverage() = 0;
    // Replaces the grid's marks by one per representative, in this order, and repaints
    // them. The pointers stay valid until the next call.
    virtual void ShowMeasurementMarks(const std::vector<const CMapMeasurement*>& representatives) = 0;
};
