// The box of changed correction-map cells: its corners, its cell order, and maps whose
// stated sizes do not fit their element.
#include "link/MapBox.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr std::size_t kMapBytes = 1024;

// A map with count1 x count2 cells, every cell holding a value of its own.
std::vector<BYTE> MakeMap(int count1, int count2) {
    std::vector<BYTE> map(kMapBytes, 0);
    map[0] = static_cast<BYTE>(count1);
    map[1 + 2 * count1] = static_cast<BYTE>(count2);
    const std::size_t cells = 2 + 2 * count1 + 2 * count2;
    for (int i = 0; i < count1 * count2; ++i) {
        map[cells + i] = static_cast<BYTE>(i * 7 + 1);
    }
    return map;
}

TEST(MapBox, TallBoxOfAWideMapRunsAlongXOutside) {
    // 16 x 18: 18 > 16, so the second axis runs fastest: cell (x, y) at 70 + x * 18 + y.
    std::vector<BYTE> unit = MakeMap(16, 18);
    std::vector<BYTE> working = unit;
    working[70 + 2 * 18 + 5] ^= 0xFF;
    working[70 + 4 * 18 + 9] ^= 0xFF;
    BYTE record[kBoxRecordBytes] = {};
    ASSERT_EQ(BuildChangedBox(unit.data(), working.data(), kMapBytes, record), 4u + 3 * 5);
    EXPECT_EQ(std::vector<BYTE>(record, record + 4), (std::vector<BYTE>{2, 5, 4, 9}));
    EXPECT_EQ(record[4], working[70 + 2 * 18 + 5]);
    EXPECT_EQ(record[5], working[70 + 2 * 18 + 6]) << "y runs inside";
    EXPECT_EQ(record[9], working[70 + 3 * 18 + 5]);
    EXPECT_EQ(record[18], working[70 + 4 * 18 + 9]);
}

TEST(MapBox, WideBoxRunsAlongYOutside) {
    std::vector<BYTE> unit = MakeMap(16, 18);
    std::vector<BYTE> working = unit;
    working[70 + 1 * 18 + 3] ^= 0x55;
    working[70 + 6 * 18 + 4] ^= 0x55;
    BYTE record[kBoxRecordBytes] = {};
    ASSERT_EQ(BuildChangedBox(unit.data(), working.data(), kMapBytes, record), 4u + 6 * 2);
    EXPECT_EQ(std::vector<BYTE>(record, record + 4), (std::vector<BYTE>{1, 3, 6, 4}));
    EXPECT_EQ(record[5], working[70 + 2 * 18 + 3]) << "x runs inside";
    EXPECT_EQ(record[10], working[70 + 1 * 18 + 4]);
}

TEST(MapBox, MapWithTheLongerFirstAxisIsStoredRowByRow) {
    // 4 x 3: cell (x, y) at 16 + y * 4 + x.
    std::vector<BYTE> unit = MakeMap(4, 3);
    std::vector<BYTE> working = unit;
    working[16 + 1 * 4 + 2] = 0xAB;
    BYTE record[kBoxRecordBytes] = {};
    ASSERT_EQ(BuildChangedBox(unit.data(), working.data(), kMapBytes, record), 5u);
    EXPECT_EQ(std::vector<BYTE>(record, record + 5), (std::vector<BYTE>{2, 1, 2, 1, 0xAB}));
}

TEST(MapBox, NothingIsWrittenWhenTheBoxCannotBeTrusted) {
    struct Case {
        const char* name;
        std::vector<BYTE> unit;
        std::vector<BYTE> working;
    };

    std::vector<BYTE> changed = MakeMap(16, 18);
    changed[100] ^= 1;
    std::vector<BYTE> otherCount = MakeMap(16, 17);
    otherCount[80] ^= 1;
    std::vector<BYTE> huge(kMapBytes, 0xFF);  // 255 x 255 cells cannot fit
    std::vector<BYTE> hugeChanged = huge;
    hugeChanged[kMapBytes - 1] = 0;
    const Case cases[] = {
        {"no cell differs", MakeMap(16, 18), MakeMap(16, 18)},
        {"axis counts differ", MakeMap(16, 18), otherCount},
        {"cells beyond the element", huge, hugeChanged},
        {"only the unit's map fits", MakeMap(16, 18), huge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BYTE record[kBoxRecordBytes] = {};
        EXPECT_EQ(BuildChangedBox(c.unit.data(), c.working.data(), kMapBytes, record), 0u);
    }
    BYTE record[kBoxRecordBytes] = {};
    EXPECT_GT(BuildChangedBox(MakeMap(16, 18).data(), changed.data(), kMapBytes, record), 0u);
}

TEST(MapBox, RecordLengthFollowsItsCorners) {
    struct Case {
        BYTE corners[4];
        std::size_t length;
    };

    const Case cases[] = {
        {{0, 0, 0, 0}, 5},
        {{2, 5, 4, 9}, 19},
        {{3, 0, 2, 0}, 0},    // inverted x
        {{0, 4, 0, 3}, 0},    // inverted y
        {{0, 0, 31, 31}, 0},  // 1024 cells do not fit beside the corners
        {{0, 0, 31, 30}, 4 + 32 * 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::vector<int>(c.corners, c.corners + 4)));
        EXPECT_EQ(BoxRecordLength(c.corners), c.length);
    }
}

}  // namespace
