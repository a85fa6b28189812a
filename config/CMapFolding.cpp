// Folding measurements into the correction map.
#include "config/CMapFolding.h"

#include "config/CCorrectionMap.h"
#include "config/CMeasurementList.h"
#include "link/CLogger.h"
#include "link/CalibrationHelpers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLogMapEdits = 2000;

}  // namespace

bool CMapFolding::PlacePlane(Plane& plane) const {
    if (m_map.IsEmpty()) {
        return false;
    }
    const int lastRpm = m_map.GetRpm(m_map.GetColumnCount() - 1);
    const double lastMs = m_map.GetTimeUs(m_map.GetRowCount() - 1) * 0.001;
    if (lastRpm <= 0 || !(lastMs > 0)) {
        return false;
    }
    plane.xScale = kPlaneSpan / lastRpm;
    plane.yScale = kPlaneSpan / lastMs;
    return true;
}

bool CMapFolding::CombineLastMeasurementsIntoMatrix(int offset, bool masked) {
    CLogger& log = CLogger::Instance();
    log.Log(kLogMapEdits,
            "CConfigDynamic::CombineLastMeasurementsIntoMatrix(): started with offset %d%% and option %s.",
            offset, masked ? "masked" : "not masked");
    Plane plane{};
    if (!PlacePlane(plane)) {
        log.Log(kLogMapEdits,
                "CConfigDynamic::CombineLastMeasurementsIntoMatrix(): %d x %d map has no plane.",
                m_map.GetColumnCount(), m_map.GetRowCount());
        return false;
    }
    m_mesh.SetArea(kPlaneSize, kPlaneSize);
    m_mesh.SeedBorder();
    std::vector<CMapMeasurement*> groups;
    m_measurements.CollectMeasurementGroups(groups, m_map.GetRpmStep(), m_map.GetTimeStep());
    m_measurements.ShowMarks(groups);
    const std::vector<int> mask = BuildMask(groups);
    AddGroupPoints(groups, plane);
    m_mesh.Build();
    const std::vector<int> result = ReadSurface(plane, mask, offset, masked);
    const int columns = m_map.GetColumnCount();
    for (int r = 0; r < m_map.GetRowCount(); ++r) {
        for (int c = 0; c < columns; ++c) {
            m_map.SetCell(r, c, result[static_cast<std::size_t>(r * columns + c)] - offset);
        }
    }
    m_map.WriteWholeMap();
    log.Log(kLogMapEdits, "CConfigDynamic::CombineLastMeasurementsIntoMatrix(): finished.");
    return true;
}

std::vector<int> CMapFolding::BuildMask(const std::vector<CMapMeasurement*>& groups) const {
    const int columns = m_map.GetColumnCount();
    const int rows = m_map.GetRowCount();
    std::vector<int> mask(static_cast<std::size_t>(columns * rows), -1);
    for (const CMapMeasurement* g : groups) {
        for (int r = g->cell.lowerRow; r <= g->cell.upperRow && r < rows; ++r) {
            for (int c = g->cell.lowerColumn; c <= g->cell.upperColumn && c < columns; ++c) {
                mask[static_cast<std::size_t>(r * columns + c)] = g->Kind();
            }
        }
    }
    return mask;
}

void CMapFolding::AddGroupPoints(const std::vector<CMapMeasurement*>& groups, const Plane& plane) {
    for (const CMapMeasurement* g : groups) {
        const double x = g->rpm * plane.xScale + kPlaneMargin;
        const double y = g->injectionMs * plane.yScale + kPlaneMargin;
        // A measurement far beyond the last breakpoint would fall off the plane and be
        // lost while its cells still count as measured; it goes to the plane's edge.
        const double px = std::clamp(x, 0.0, kPlaneSize);
        const double py = std::clamp(y, 0.0, kPlaneSize);
        if (px != x || py != y) {
            CLogger::Instance().Log(
                kLogMapEdits,
                "CConfigDynamic::CombineLastMeasurementsIntoMatrix(): %d%% (%d 1/min, %.04f ms) "
                "moved onto the plane's edge.",
                g->percent, g->rpm, g->injectionMs);
        }
        if (m_mesh.AddPoint(px, py, g->percent, 0) == nullptr) {
            CLogger::Instance().Log(
                kLogMapEdits,
                "CConfigDynamic::CombineLastMeasurementsIntoMatrix(): %d%% (%d 1/min, %.04f ms) "
                "shares its place with another point.",
                g->percent, g->rpm, g->injectionMs);
        }
    }
}

std::vector<int> CMapFolding::ReadSurface(const Plane& plane,
                                          const std::vector<int>& mask,
                                          int offset,
                                          bool masked) {
    const int columns = m_map.GetColumnCount();
    std::vector<int> result(mask.size());
    for (int r = 0; r < m_map.GetRowCount(); ++r) {
        const double y = m_map.GetTimeUs(r) * 0.001 * plane.yScale + kPlaneMargin;
        for (int c = 0; c < columns; ++c) {
            const std::size_t i = static_cast<std::size_t>(r * columns + c);
            if (masked && mask[i] != kMeasurementKindUser) {
                result[i] = offset + m_map.GetSavedCell(r, c);
                continue;
            }
            const double x = m_map.GetRpm(c) * plane.xScale + kPlaneMargin;
            double value = std::floor(m_mesh.GetValueAt(x, y) + 0.5);
            if (!std::isfinite(value)) {
                value = 0;
            }
            // Sibson values lie between the points' percents; the clamp only guards the
            // conversion against a degenerate mesh.
            result[i] = static_cast<int>(std::clamp(value, -1000.0, 1000.0));
        }
    }
    return result;
}

void CMapFolding::SetMeasuredCells(int offset) {
    for (const auto& m : m_measurements.GetMeasurements()) {
        if (m->flags == 0) {
            continue;
        }
        m_map.FillBox(m->percent - offset, m->cell.lowerRow, m->cell.lowerColumn, m->cell.upperRow,
                      m->cell.upperColumn);
    }
}

// The measured columns in ascending order, with their cells scaled into `cells`.
std::vector<int> CMapFolding::MeasuredColumns(std::vector<int>& cells) const {
    const int rows = m_map.GetRowCount();
    const int columns = m_map.GetColumnCount();
    std::vector<bool> measured(static_cast<std::size_t>(columns), false);
    for (const auto& m : m_measurements.GetMeasurements()) {
        const int column = m->cell.nearestColumn;
        if (m->Kind() != 0 || column < 0 || column >= columns) {
            continue;
        }
        measured[static_cast<std::size_t>(column)] = true;
        // Scaled from a flat reference map, every row of the column takes the percent.
        for (int row = 0; row < rows; ++row) {
            cells[static_cast<std::size_t>(row * columns + column)] = m->percent;
        }
    }
    std::vector<int> list;
    for (int column = 0; column < columns; ++column) {
        if (measured[static_cast<std::size_t>(column)]) {
            list.push_back(column);
        }
    }
    return list;
}

void CMapFolding::SpreadColumns(const std::vector<int>& measured, std::vector<int>& cells) const {
    const int rows = m_map.GetRowCount();
    const int columns = m_map.GetColumnCount();
    auto at = [&](int row, int column) -> int& {
        return cells[static_cast<std::size_t>(row * columns + column)];
    };
    for (int row = 0; row < rows; ++row) {
        for (std::size_t i = 0; i + 1 < measured.size(); ++i) {
            const int left = measured[i];
            const int right = measured[i + 1];
            std::vector<int> spread(static_cast<std::size_t>(right - left + 1));
            SpreadValues(at(row, left), at(row, right), static_cast<int>(spread.size()), spread.data());
            for (int column = left; column <= right; ++column) {
                at(row, column) = spread[static_cast<std::size_t>(column - left)];
            }
        }
        for (int column = 0; column < measured.front(); ++column) {
            at(row, column) = at(row, measured.front());
        }
        for (int column = measured.back() + 1; column < columns; ++column) {
            at(row, column) = at(row, measured.back());
        }
    }
}

bool CMapFolding::ScaleColumnsByMeasurements() {
    const int rows = m_map.GetRowCount();
    const int columns = m_map.GetColumnCount();
    std::vector<int> cells(static_cast<std::size_t>(rows * columns), 0);
    const std::vector<int> measured = MeasuredColumns(cells);
    if (measured.empty()) {
        return false;
    }
    SpreadColumns(measured, cells);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            m_map.SetCell(row, column, cells[static_cast<std::size_t>(row * columns + column)]);
        }
    }
    return m_map.WriteWholeMap();
}
