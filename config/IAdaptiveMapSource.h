// What the adaptive tables page needs of the adaptive correction map for its summarized
// view: a cell's percent and the map's base percent. The map page provides it; the main
// dialog hands it to the page.
#pragma once

class IAdaptiveMapSource {
public:
    virtual ~IAdaptiveMapSource() = default;
    // The map's percent at (injection-time row, rpm column); 0 outside the map.
    virtual int GetMapCell(int row, int column) = 0;
    virtual int GetMapBasePercent() = 0;
};
