#include "grid/GridPrintBands.h"

#include <cstddef>

namespace {

// A new band starts when the band so far is not empty and the entry would overflow it.
bool StartsBand(int sum, int size, int pageExtent) {
    return sum > 0 && sum + size > pageExtent;
}

}  // namespace

int CountPrintBands(const std::vector<int>& sizes, int pageExtent) {
    int bands = 1;
    int sum = 0;
    for (int size : sizes) {
        if (StartsBand(sum, size, pageExtent)) {
            ++bands;
            sum = 0;
        }
        sum += size;
    }
    return bands;
}

int PrintBandStart(const std::vector<int>& sizes, int pageExtent, int band) {
    int current = 0;
    int sum = 0;
    for (std::size_t index = 0; index < sizes.size(); ++index) {
        if (StartsBand(sum, sizes[index], pageExtent)) {
            ++current;
            sum = 0;
        }
        if (current == band) {
            return static_cast<int>(index);
        }
        sum += sizes[index];
    }
    return static_cast<int>(sizes.size());
}
