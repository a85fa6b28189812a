// The trouble-code lists: the unit's ring put in order, snapshots read from the ordered list,
// the codes' texts and the tip's line breaking.
#include "diag/DtcSnapshotList.h"

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<BYTE>;
using Element = std::array<BYTE, kDtcElementBytes>;
using List = std::array<BYTE, kDtcListBytes>;

// An element with n and m words ahead of the ring, the ring position p and the ring's cells
// from position 2 on.
Element MakeElement(int n, int m, int p, const Bytes& ring) {
    Element element{};
    element[0] = static_cast<BYTE>(n);
    element[1 + 2 * n] = static_cast<BYTE>(m);
    const int base = 2 * n + 2 * m + 2;
    element[base] = static_cast<BYTE>(p >> 8);
    element[base + 1] = static_cast<BYTE>(p);
    for (size_t i = 0; i < ring.size(); ++i) {
        element[base + 2 + i] = ring[i];
    }
    return element;
}

Bytes Linear(const Element& element, size_t count, bool* filled = nullptr) {
    List list{};
    const bool result = LinearizeDtcList(element.data(), list.data());
    if (filled != nullptr) {
        *filled = result;
    }
    return Bytes(list.begin(), list.begin() + count);
}

TEST(DtcSnapshotList, PutsTheRingInOrderOldestFirst) {
    // n = 2, m = 3: six ring positions, of which 2..5 hold bytes 10, 11, 12, 13.
    struct Case {
        const char* name;
        int p;
        Bytes expected;  // the first six list bytes
        bool filled;
    };

    const Case cases[] = {
        {"not wrapped yet: p 0 reads as 2", 0, {10, 11, 12, 13, 0xFF, 0xFF}, true},
        {"p 2", 2, {10, 11, 12, 13, 0xFF, 0xFF}, true},
        {"wrapped at 4", 4, {12, 13, 10, 11, 0xFF, 0xFF}, true},
        {"wrapped at 5", 5, {13, 10, 11, 12, 0xFF, 0xFF}, true},
        {"p 1 is empty", 1, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false},
        {"p at the ring's size is empty", 6, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false},
        {"p beyond the ring is empty", 0x1234, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool filled = false;
        EXPECT_EQ(Linear(MakeElement(2, 3, c.p, {10, 11, 12, 13}), 6, &filled), c.expected);
        EXPECT_EQ(filled, c.filled);
    }
}

TEST(DtcSnapshotList, ReadsOnlyRingsThatFitTheElement) {
    struct Case {
        int n;
        int m;
        bool filled;
    };

    const Case cases[] = {
        {30, 30, true},     // ring ends at byte 1022
        {30, 31, false},    // it would end at 1054
        {255, 255, false},  // the largest counts the bytes allow
        {1, 2, false},      // no cell behind the position
        {1, 1, false},     {0, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + " x " + std::to_string(c.m));
        bool filled = !c.filled;
        const Bytes list = Linear(MakeElement(c.n, c.m, 0, {}), 4, &filled);
        EXPECT_EQ(filled, c.filled);
        if (!c.filled) {
            EXPECT_EQ(list, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
        }
    }
}

TEST(DtcSnapshotList, ReadsSnapshotsUntilTheEndMark) {
    List list;
    list.fill(0xFF);
    const Bytes records = {
        0x00, 0x01, 2, 3, 0x82, 0x01, 0x33, 0x56, 0x34,  // 0001:02:03, MIL, P0133 C1634
        0x01, 0x00, 0, 9, 0x00,                          // 0256:00:09, no codes
        0x00, 0x02, 0, 0, 0x41, 0x0A, 0x00,              // bit 6 is no MIL; code 0x000A
    };
    std::copy(records.begin(), records.end(), list.begin());
    const std::vector<DtcSnapshot> snapshots = ReadDtcSnapshots(list.data());
    ASSERT_EQ(snapshots.size(), 3u);

    EXPECT_EQ(snapshots[0].hours, 1);
    EXPECT_EQ(snapshots[0].minutes, 2);
    EXPECT_EQ(snapshots[0].seconds, 3);
    EXPECT_TRUE(snapshots[0].mil);
    EXPECT_EQ(snapshots[0].count, 2);
    EXPECT_EQ(JoinDtcCodes(snapshots[0], "Invalid code: 0x%04X"), "P0133, C1634");

    EXPECT_EQ(snapshots[1].hours, 256);
    EXPECT_FALSE(snapshots[1].mil);
    EXPECT_EQ(snapshots[1].count, 0);
    EXPECT_EQ(JoinDtcCodes(snapshots[1], "Invalid code: 0x%04X"), "");

    EXPECT_FALSE(snapshots[2].mil);
    EXPECT_EQ(snapshots[2].count, 1);
    EXPECT_EQ(JoinDtcCodes(snapshots[2], "Invalid code: 0x%04X"), "Invalid code: 0x000A");
}

TEST(DtcSnapshotList, ShowsNoCodesThatWouldPassTheListsEnd) {
    List list;
    list.fill(0);
    // Snapshots of 0 codes (5 bytes each) up to offset 1005, then one of 7 codes at 1005:
    // 1005 is not below 1019 - 14, so its codes are left out; the walk stops before 1020.
    for (int offset = 0; offset < 1005; offset += 5) {
        list[offset + 4] = 0;
    }
    list[1005 + 4] = 7;
    const std::vector<DtcSnapshot> snapshots = ReadDtcSnapshots(list.data());
    ASSERT_EQ(snapshots.size(), 202u);
    EXPECT_EQ(snapshots.back().count, 7);
    EXPECT_TRUE(snapshots.back().codes.empty());

    // One code less and it fits.
    list[1005 + 4] = 6;
    EXPECT_EQ(ReadDtcSnapshots(list.data()).back().codes.size(), 6u);
}

TEST(DtcSnapshotList, WrapsTipTextsAtBlanksNearTheMiddle) {
    struct Case {
        const char* name;
        std::string text;
        int limit;
        std::string expected;
    };

    const std::string noBlank(200, 'x');
    const Case cases[] = {
        {"short text", "P0133, C1634", 80, "P0133, C1634"},
        {"one blank in the middle", "aaaa bbbb", 5, "aaaa\nbbbb"},
        {"nearest blank above the middle first", "aa bb cc", 6, "aa bb\ncc"},
        {"recursion on both halves", "a1 a2 a3 a4 a5 a6 a7 a8", 6, "a1 a2\na3 a4\na5 a6\na7 a8"},
        {"200 characters without blank", noBlank, 80, noBlank},
        {"blank only at the far end", "abcdefgh ", 5, "abcdefgh "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(std::string(WrapTipText(c.text.c_str(), c.limit)), c.expected);
    }
}

}  // namespace
