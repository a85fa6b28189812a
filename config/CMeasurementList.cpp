// Measurements on the correction map.
#include "config/CMeasurementList.h"

#include "classlib/core/CList.h"
#include "config/CCorrectionMap.h"
#include "config/IMapModelView.h"
#include "link/CConfigFile.h"
#include "link/CDataHandler.h"
#include "link/CLogger.h"

#include <cmath>

namespace {

constexpr int kLogMapEdits = 2000;
// Measurements closer than a quarter of a grid step (both axes together) form one group.
constexpr double kGroupDistance = 0.0625;

// A map with fewer than two breakpoints on an axis has no step; one unit keeps the
// distances finite.
double UsableStep(double step) {
    return step > 0 && std::isfinite(step) ? step : 1.0;
}

}  // namespace

void CMeasurementList::Locate(CMapMeasurement& measurement) const {
    m_map.FindNearestCell(measurement.rpm, measurement.injectionMs, measurement.cell);
}

CMapMeasurement* CMeasurementList::AddMeasurement(int rpm, double injectionMs, int percent, int kind) {
    auto measurement = std::make_unique<CMapMeasurement>();
    measurement->rpm = rpm;
    measurement->injectionMs = injectionMs;
    measurement->percent = percent;
    measurement->flags = kind | kMeasurementNew;
    Locate(*measurement);
    CMapMeasurement* added = measurement.get();
    m_measurements.push_back(std::move(measurement));
    if (m_handler != nullptr) {
        m_handler->SetModified();
    }
    ShowCoverage();
    CLogger::Instance().Log(kLogMapEdits,
                            "CConfigDynamic::AddMeasurement(): %d%% (%d 1/min, %.04f ms) at [%d; %d]",
                            percent, rpm, injectionMs, added->cell.nearestColumn, added->cell.nearestRow);
    return added;
}

void CMeasurementList::ConfirmNewMeasurements(bool deleteMerged) {
    bool removed = false;
    for (auto it = m_measurements.begin(); it != m_measurements.end();) {
        CMapMeasurement& m = **it;
        if (!m.IsNew()) {
            ++it;
            continue;
        }
        if (deleteMerged && m.mergedInto != nullptr) {
            std::unique_ptr<CMapMeasurement> gone = std::move(*it);
            it = m_measurements.erase(it);
            ForgetReferences(gone.get());
            removed = true;
            continue;
        }
        m.flags &= ~kMeasurementNew;
        m.mergedNext = nullptr;
        m.mergedInto = nullptr;
        ++it;
    }
    if (m_handler != nullptr) {
        m_handler->SetModified();
    }
    if (removed) {
        AfterRemoval();
    }
}

void CMeasurementList::DeleteNewMeasurements() {
    bool removed = false;
    for (auto it = m_measurements.begin(); it != m_measurements.end();) {
        if (!(*it)->IsNew()) {
            ++it;
            continue;
        }
        std::unique_ptr<CMapMeasurement> gone = std::move(*it);
        it = m_measurements.erase(it);
        ForgetReferences(gone.get());
        removed = true;
    }
    ShowCoverage();
    if (removed) {
        AfterRemoval();
    }
}

bool CMeasurementList::DeleteAllMeasurements() {
    const bool any = !m_measurements.empty();
    ++m_generation;
    m_measurements.clear();
    for (auto& m : m_undone) {
        m->mergedNext = nullptr;
        m->mergedInto = nullptr;
    }
    if (any) {
        AfterRemoval();
    }
    return any;
}

void CMeasurementList::ClearUndoneMeasurements() {
    if (m_undone.empty()) {
        return;
    }
    m_undone.clear();
    for (auto& m : m_measurements) {
        m->mergedNext = nullptr;
        m->mergedInto = nullptr;
    }
    AfterRemoval();
}

void CMeasurementList::UndoLastMeasurement() {
    if (!HasNewMeasurement()) {
        return;
    }
    m_undone.push_front(std::move(m_measurements.back()));
    m_measurements.pop_back();
    ++m_generation;
}

void CMeasurementList::RedoMeasurement() {
    if (m_undone.empty()) {
        return;
    }
    m_measurements.push_back(std::move(m_undone.front()));
    m_undone.pop_front();
}

bool CMeasurementList::HasNewMeasurement() const {
    return !m_measurements.empty() && m_measurements.back()->IsNew();
}

void CMeasurementList::ChangeMeasurement(CMapMeasurement* measurement,
                                         int rpm,
                                         double injectionMs,
                                         int percent) {
    if (measurement == nullptr) {
        return;
    }
    measurement->rpm = rpm;
    measurement->injectionMs = injectionMs;
    measurement->percent = percent;
    Locate(*measurement);
}

bool CMeasurementList::RemoveMeasurement(const CMapMeasurement* measurement) {
    for (auto it = m_measurements.begin(); it != m_measurements.end(); ++it) {
        if (it->get() == measurement) {
            m_measurements.erase(it);
            ForgetReferences(measurement);
            AfterRemoval();
            return true;
        }
    }
    return false;
}

void CMeasurementList::StoreMeasurements() {
    if (m_handler == nullptr) {
        return;
    }
    m_handler->ClearMeasurements();
    for (const auto& m : m_measurements) {
        if (m->Kind() == kMeasurementKindUser) {
            m_handler->AddMeasurement(m->rpm, m->injectionMs, m->percent);
        }
    }
}

void CMeasurementList::ReloadMeasurements() {
    DeleteAllMeasurements();
    ClearUndoneMeasurements();
    if (m_handler != nullptr) {
        CPtrList stored;
        m_handler->CopyMeasurements(stored);
        for (POSITION pos = stored.GetHeadPosition(); pos != nullptr;) {
            const auto* record = static_cast<const ConfigMeasurement*>(stored.GetNext(pos));
            auto measurement = std::make_unique<CMapMeasurement>();
            measurement->rpm = record->rpm;
            measurement->injectionMs = record->injectionUs * 0.001;
            measurement->percent = record->value;
            measurement->flags = kMeasurementKindUser;
            Locate(*measurement);
            m_measurements.push_back(std::move(measurement));
        }
    }
    ShowCoverage();
    RefreshMeasurementMarks();
}

void CMeasurementList::CollectMeasurementGroups(std::vector<CMapMeasurement*>& groups,
                                                double rpmStep,
                                                double timeStep) {
    rpmStep = UsableStep(rpmStep);
    timeStep = UsableStep(timeStep);
    for (auto it = m_measurements.rbegin(); it != m_measurements.rend(); ++it) {
        CMapMeasurement* m = it->get();
        if (m->Kind() != kMeasurementKindUser) {
            continue;
        }
        m->mergedNext = nullptr;
        m->mergedInto = nullptr;
        CMapMeasurement* joined = nullptr;
        for (CMapMeasurement* g : groups) {
            const double dt = (g->injectionMs - m->injectionMs) / timeStep;
            const double dr = (static_cast<double>(g->rpm) - m->rpm) / rpmStep;
            if (dt * dt + dr * dr < kGroupDistance) {
                joined = g;
                break;
            }
        }
        if (joined == nullptr) {
            groups.insert(groups.begin(), m);
            continue;
        }
        while (joined->mergedNext != nullptr) {
            joined = joined->mergedNext;
        }
        joined->mergedNext = m;
        m->mergedInto = joined;
    }
}

void CMeasurementList::RefreshMeasurementMarks() {
    std::vector<CMapMeasurement*> groups;
    CollectMeasurementGroups(groups, m_map.GetRpmStep(), m_map.GetTimeStep());
    ShowMarks(groups);
}

void CMeasurementList::ShowMarks(const std::vector<CMapMeasurement*>& groups) {
    if (m_view != nullptr) {
        m_view->ShowMeasurementMarks(std::vector<const CMapMeasurement*>(groups.begin(), groups.end()));
    }
}

std::vector<int> CMeasurementList::GetCoverage() const {
    const int columns = m_map.GetColumnCount();
    std::vector<int> coverage(static_cast<std::size_t>(columns * m_map.GetRowCount()), -1);
    for (const auto& m : m_measurements) {
        const CMapCellBracket& b = m->cell;
        for (int r = b.lowerRow; r <= b.upperRow && r < m_map.GetRowCount(); ++r) {
            for (int c = b.lowerColumn; c <= b.upperColumn && c < columns; ++c) {
                coverage[static_cast<std::size_t>(r * columns + c)] = m->Kind();
            }
        }
    }
    return coverage;
}

void CMeasurementList::ForgetReferences(const CMapMeasurement* gone) {
    ++m_generation;
    for (Owned* list : {&m_measurements, &m_undone}) {
        for (auto& m : *list) {
            if (m->mergedNext == gone) {
                m->mergedNext = nullptr;
            }
            if (m->mergedInto == gone) {
                m->mergedInto = nullptr;
            }
        }
    }
}

void CMeasurementList::ShowCoverage() {
    if (m_view != nullptr) {
        m_view->ShowMeasurementCoverage();
    }
}

// The grid's marks point at measurements: after any deletion they are rebuilt from what
// is left, so that none points at a deleted one.
void CMeasurementList::AfterRemoval() {
    RefreshMeasurementMarks();
}
