// Splitting rows and columns into printed pages.
#include "grid/GridPrintBands.h"

#include <vector>

#include <gtest/gtest.h>

TEST(GridPrintBands, BandsTakeWhatFitsAndNeverLeaveAPageEmpty) {
    struct Case {
        const char* name;
        std::vector<int> sizes;
        int extent;
        std::vector<int> starts;  // first entry of each band
    };

    const Case cases[] = {
        {"all fit on one page", {10, 20, 30}, 100, {0}},
        {"exact fill stays on the page", {50, 50, 10}, 100, {0, 2}},
        {"greedy bands", {40, 40, 40, 40, 40}, 100, {0, 2, 4}},
        {"a tall first row is its own band", {150, 10, 10}, 100, {0, 1}},
        {"a tall middle row is its own band", {10, 150, 10}, 100, {0, 1, 2}},
        {"no room at all gives a row per page", {10, 10, 10}, -5, {0, 1, 2}},
        {"hidden rows travel with their band", {60, 0, 40, 0, 10}, 100, {0, 4}},
        {"no rows", {}, 100, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(static_cast<int>(c.starts.size()), CountPrintBands(c.sizes, c.extent));
        for (size_t band = 0; band < c.starts.size(); ++band) {
            EXPECT_EQ(c.starts[band], PrintBandStart(c.sizes, c.extent, static_cast<int>(band))) << band;
        }
        EXPECT_EQ(static_cast<int>(c.sizes.size()),
                  PrintBandStart(c.sizes, c.extent, static_cast<int>(c.starts.size())));
    }
}
