// Folds the measurements into the correction map: one point per group of measurements
// is placed in a 500 x 500 plane, a natural-neighbour surface through them (and twelve
// border points) is read back at every cell, and the whole map is written. Masked, only
// the cells that a group brackets take the surface; the others go back to the copy
// saved when the calibration started.
#pragma once

#include "config/CMapMeasurement.h"
#include "config/CMeshBuilder.h"

#include <vector>

class CCorrectionMap;
class CMeasurementList;

class CMapFolding {
public:
    static constexpr double kPlaneSize = 500.0;
    static constexpr double kPlaneMargin = 50.0;
    static constexpr double kPlaneSpan = 400.0;

    // Neither is owned; both must outlive the folding.
    CMapFolding(CCorrectionMap& map, CMeasurementList& measurements)
        : m_map(map), m_measurements(measurements) {}

    CMapFolding(const CMapFolding&) = delete;
    CMapFolding& operator=(const CMapFolding&) = delete;

    // Cell totals become the surface (or the saved totals), stored relative to offset,
    // which the caller then makes the base. False, with the map unchanged, for a map
    // whose axes cannot be placed in the plane.
    bool CombineLastMeasurementsIntoMatrix(int offset, bool masked);
    // Every measurement with flags sets its bracket to its percent less the offset.
    void SetMeasuredCells(int offset);
    // Each column holding a measurement of kind 0 is scaled from a flat reference map to
    // that measurement's percent; the columns between two measured ones are spread row
    // by row, those outside take the nearest measured column, and the whole map is
    // written. False, with the map unchanged, when no column is measured.
    bool ScaleColumnsByMeasurements();

    CMeshBuilder& GetMeshBuilder() { return m_mesh; }

private:
    struct Plane {
        double xScale;
        double yScale;
    };

    bool PlacePlane(Plane& plane) const;
    std::vector<int> MeasuredColumns(std::vector<int>& cells) const;
    void SpreadColumns(const std::vector<int>& measured, std::vector<int>& cells) const;
    std::vector<int> BuildMask(const std::vector<CMapMeasurement*>& groups) const;
    void AddGroupPoints(const std::vector<CMapMeasurement*>& groups, const Plane& plane);
    std::vector<int> ReadSurface(const Plane& plane, const std::vector<int>& mask, int offset, bool masked);

    CCorrectionMap& m_map;
    CMeasurementList& m_measurements;
    CMeshBuilder m_mesh;
};
