// The per-cycle injection time: implausible short readings keep the cylinder's last
// value, a zero reading takes the cylinder out of the average.
#include "calib/CInjectionFilter.h"

#include <vector>

#include <gtest/gtest.h>

TEST(CInjectionFilter, KeepsPreviousValueForShortReadingsAndSkipsIdleCylinders) {
    struct Row {
        const char* name;
        std::vector<int> readingsUs;
        double expectedMs;
    };

    // One filter through all rows: each row builds on the slots the previous left.
    const Row rows[] = {
        {"all cylinders at 4000", {4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000}, 4.0},
        {"a 500 reading keeps 4000", {500, 4000, 4000, 4000, 4000, 4000, 4000, 4000}, 4.0},
        {"999 is still too short", {999, 2000, 2000, 2000, 2000, 2000, 2000, 2000}, 2.25},
        {"1000 is taken", {1000, 2000, 2000, 2000, 2000, 2000, 2000, 2000}, 1.875},
        {"zero cylinders drop out", {0, 0, 0, 0, 3000, 3001, 3000, 3000}, 3.0},
        {"all idle", {0, 0, 0, 0, 0, 0, 0, 0}, 0.0},
        {"short readings after idle stay idle", {1, 999, 0, 0, 0, 0, 0, 0}, 0.0},
    };
    CInjectionFilter filter;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_DOUBLE_EQ(row.expectedMs, filter.Update(row.readingsUs.data()));
    }
}
