// A correction map, its measurements and its folding over a data handler wired to
// recording fakes and connected to an idle unit, so that every write of elements 7 and
// 8 lands in the recording queue. Maps are given as axes and a cell function.
#pragma once

#include "config/CCorrectionMap.h"
#include "config/CMapFolding.h"
#include "config/CMeasurementList.h"
#include "config/IMapModelView.h"
#include "tests/datamodel/DataHandlerFixture.h"

#include <algorithm>
#include <functional>
#include <vector>

// Element 8 bytes as the unit sends them; cells row by row when there are at least as
// many rpm breakpoints as time breakpoints, else column by column.
inline std::vector<BYTE> EncodeMap(const std::vector<int>& rpm,
                                   const std::vector<int>& timeUs,
                                   const std::function<int(int row, int column)>& percent) {
    const std::size_t needed = 2 + 2 * (rpm.size() + timeUs.size()) + rpm.size() * timeUs.size();
    std::vector<BYTE> bytes(std::max<std::size_t>(1024, needed), 0);
    std::size_t at = 0;
    bytes[at++] = static_cast<BYTE>(rpm.size());
    for (int r : rpm) {
        bytes[at++] = static_cast<BYTE>(r);
        bytes[at++] = static_cast<BYTE>(r >> 8);
    }
    bytes[at++] = static_cast<BYTE>(timeUs.size());
    for (int t : timeUs) {
        bytes[at++] = static_cast<BYTE>(t);
        bytes[at++] = static_cast<BYTE>(t >> 8);
    }
    const int columns = static_cast<int>(rpm.size());
    const int rows = static_cast<int>(timeUs.size());
    const auto stored = [&](int row, int column) { return static_cast<BYTE>(percent(row, column) - 28); };
    if (columns >= rows) {
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                bytes[at++] = stored(row, column);
            }
        }
    } else {
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                bytes[at++] = stored(row, column);
            }
        }
    }
    return bytes;
}

// Records what the model asks the grid to show.
class CRecordingMapView : public IMapModelView {
public:
    void ShowMeasurementCoverage() override { ++coverageShown; }

    void ShowMeasurementMarks(const std::vector<const CMapMeasurement*>& representatives) override {
        marks = representatives;
        ++marksShown;
    }

    int coverageShown = 0;
    int marksShown = 0;
    std::vector<const CMapMeasurement*> marks;
};

class MapModelFixture : public DataHandlerFixture {
protected:
    MapModelFixture() {
        map.SetDataHandler(handler.get());
        measurements.SetDataHandler(handler.get());
        measurements.SetView(&view);
        ConnectIdle();
    }

    // Loads the map and forgets the requests so far.
    void Load(const std::vector<int>& rpm,
              const std::vector<int>& timeUs,
              const std::function<int(int, int)>& percent,
              int basePercent = 28) {
        const std::vector<BYTE> bytes = EncodeMap(rpm, timeUs, percent);
        ASSERT_TRUE(map.ParseElementData(bytes.data(), bytes.size()));
        map.ParseBaseElementData(static_cast<BYTE>(basePercent - 28));
        queue.requests.clear();
    }

    // A 5 x 4 map: rpm 1000..5000, 2..8 ms, cell percent = 10 row + column.
    void LoadGrid() {
        Load({1000, 2000, 3000, 4000, 5000}, {2000, 4000, 6000, 8000},
             [](int r, int c) { return 10 * r + c; });
    }

    // The requests queued for an element since the last clear.
    std::vector<QueuedRequest> Writes(int element) const {
        std::vector<QueuedRequest> found;
        for (const QueuedRequest& r : queue.requests) {
            if (r.element == element) {
                found.push_back(r);
            }
        }
        return found;
    }

    // The map as the data handler's working image holds it, decoded again.
    CCorrectionMap WorkingMap() {
        std::vector<BYTE> bytes(1024);
        handler->ReadData(kElementCorrectionMap, bytes.data());
        CCorrectionMap decoded;
        decoded.ParseElementData(bytes.data(), bytes.size());
        return decoded;
    }

    CCorrectionMap map;
    CMeasurementList measurements{map};
    CMapFolding folding{map, measurements};
    CRecordingMapView view;
};
