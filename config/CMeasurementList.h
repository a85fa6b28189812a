// The measurements recorded on the correction map, oldest first, and those taken back
// by an undo, most recent first; their grouping into one representative per place; and
// their exchange with the data handler's list, which configuration files carry.
#pragma once

#include "config/CMapMeasurement.h"

#include <list>
#include <memory>
#include <vector>

class CCorrectionMap;
class CDataHandler;
class IMapModelView;

class CMeasurementList {
public:
    using Owned = std::list<std::unique_ptr<CMapMeasurement>>;

    // The map gives the nearest cells; it must outlive the list.
    explicit CMeasurementList(const CCorrectionMap& map) : m_map(map) {}

    CMeasurementList(const CMeasurementList&) = delete;
    CMeasurementList& operator=(const CMeasurementList&) = delete;

    // Neither is owned; without them nothing is stored or shown.
    void SetDataHandler(CDataHandler* handler) { m_handler = handler; }

    void SetView(IMapModelView* view) { m_view = view; }

    CMapMeasurement* AddMeasurement(int rpm, double injectionMs, int percent, int kind);
    // New measurements lose their mark; with deleteMerged those chained into another by
    // the last grouping are deleted instead.
    void ConfirmNewMeasurements(bool deleteMerged);
    void DeleteNewMeasurements();
    // True when there was at least one.
    bool DeleteAllMeasurements();
    void ClearUndoneMeasurements();
    void UndoLastMeasurement();
    void RedoMeasurement();
    bool HasNewMeasurement() const;

    bool HasUndoneMeasurements() const { return !m_undone.empty(); }

    // Replaces a measurement's values and finds its cells again.
    void ChangeMeasurement(CMapMeasurement* measurement, int rpm, double injectionMs, int percent);
    // Deletes one measurement of the list; false when it is not there.
    bool RemoveMeasurement(const CMapMeasurement* measurement);

    void StoreMeasurements();
    void ReloadMeasurements();

    // One representative per place, oldest group first: the newest kind-1 measurement
    // of each place, with the older ones near it chained behind it.
    void CollectMeasurementGroups(std::vector<CMapMeasurement*>& groups, double rpmStep, double timeStep);
    void RefreshMeasurementMarks();
    // Shows the representatives as the grid's marks.
    void ShowMarks(const std::vector<CMapMeasurement*>& groups);
    // The kind of the last measurement whose bracket holds each cell, -1 for none; row
    // by row over the map.
    std::vector<int> GetCoverage() const;

    const Owned& GetMeasurements() const { return m_measurements; }

    // Changes whenever a measurement leaves the list or is freed: a pointer taken before
    // may be used only while this stays the same.
    unsigned GetGeneration() const { return m_generation; }

    const Owned& GetUndone() const { return m_undone; }

private:
    void Locate(CMapMeasurement& measurement) const;
    void ForgetReferences(const CMapMeasurement* gone);
    void ShowCoverage();
    void AfterRemoval();

    const CCorrectionMap& m_map;
    CDataHandler* m_handler = nullptr;  // not owned
    IMapModelView* m_view = nullptr;    // not owned
    Owned m_measurements;
    Owned m_undone;
    unsigned m_generation = 0;
};
