// The element table against a transcription that names each element's commands by
// their codes: the rows must lead to those codes through the command table.
#include "link/ElementTable.h"

#include "link/CCommandTable.h"
#include "link/CDataDescriptor.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

struct ExpectedElement {
    int id;
    int offset;
    int length;
    int access;
    int readCode;  // -1: none
    int writeCode;
    int blockStart;
    int blockMode;
    int prefix;
};

const ExpectedElement kExpected[] = {
    {0, 3, 1, 2, 30, 60, 0, 1, -1},
    {1, 4, 1, 2, 30, 60, 0, 1, -1},
    {2, 5, 1, 2, 30, 60, 0, 1, -1},
    {3, 6, 1, 2, 30, 60, 0, 1, -1},
    {4, 7, 1, 2, 30, 60, 0, 1, -1},
    {5, 8, 2, 2, 30, 60, 0, 1, -1},
    {6, 18, 1, 2, 30, 60, 0, 1, -1},
    {7, 35, 1, 2, 46, 68, 35, 1, -1},
    {8, 36, 1024, 2, 0x8029, 0x802A, 36, 3, -1},
    {9, 1061, 1, 2, 82, 83, 1060, 2, 1},
    {10, 1063, 1, 2, 82, 83, 1062, 2, 9},
    {11, 1065, 1, 2, 82, 83, 1064, 2, 17},
    {12, 1067, 1, 2, 82, 83, 1066, 2, 26},
    {13, 1069, 1, 2, 82, 83, 1068, 2, 27},
    {14, 1071, 1, 2, 82, 83, 1070, 2, 30},
    {15, 1073, 1, 2, 82, 83, 1072, 2, 29},
    {16, 1075, 1, 2, 82, 83, 1074, 2, 28},
    {17, 1077, 1, 2, 82, 83, 1076, 2, 33},
    {18, 1079, 1, 2, 82, 83, 1078, 2, 34},
    {19, 1081, 1, 2, 82, 83, 1080, 2, 35},
    {20, 1083, 1, 2, 82, 83, 1082, 2, 36},
    {21, 1085, 1, 2, 82, 83, 1084, 2, 37},
    {22, 1087, 1, 2, 82, 83, 1086, 2, 38},
    {23, 1089, 1, 2, 82, 83, 1088, 2, 39},
    {24, 1091, 1, 2, 82, 83, 1090, 2, 40},
    {25, 1093, 1, 2, 82, 83, 1092, 2, 41},
    {26, 2177, 2, 1, 50, -1, 2177, 1, -1},
    {27, 2179, 16, 1, 50, -1, 2177, 1, -1},
    {28, 2195, 16, 1, 50, -1, 2177, 1, -1},
    {29, 2232, 2, 1, 51, -1, 2229, 1, -1},
    {30, 2172, 5, 1, 24, -1, 2172, 1, -1},
    {31, 2229, 1, 1, 51, -1, 2229, 1, -1},
    {32, 1135, 1, 3, -1, 25, 1135, 1, -1},
    {33, 2245, 2, 1, 51, -1, 2229, 1, -1},
    {34, 2243, 2, 1, 51, -1, 2229, 1, -1},
    {35, 1140, 1, 2, 31, 61, 1140, 1, -1},
    {36, 1141, 1, 2, 31, 61, 1140, 1, -1},
    {37, 1142, 1, 2, 31, 61, 1140, 1, -1},
    {38, 1143, 1, 2, 31, 61, 1140, 1, -1},
    {39, 1144, 0, 3, -1, 76, 1144, 1, -1},
    {40, 1144, 0, 3, -1, 75, 1144, 1, -1},
    {41, 1144, 0, 3, -1, 80, 1144, 1, -1},
    {42, 1144, 0, 3, -1, 84, 1144, 1, -1},
    {43, 1144, 1024, 1, 0x8051, -1, 1144, 1, -1},
    {44, 0, 1, 2, 30, 60, 0, 1, -1},
    {45, 1, 1, 2, 30, 60, 0, 1, -1},
    {46, 2, 1, 2, 30, 60, 0, 1, -1},
    {47, 10, 2, 2, 30, 60, 0, 1, -1},
    {48, 12, 2, 2, 30, 60, 0, 1, -1},
    {49, 14, 2, 2, 30, 60, 0, 1, -1},
    {50, 16, 2, 2, 30, 60, 0, 1, -1},
    {51, 2168, 0, 3, -1, 85, 2168, 1, -1},
    {52, 2169, 1, 2, 82, 83, 2168, 2, 31},
    {53, 2171, 1, 2, 82, 83, 2170, 2, 32},
    {54, 2211, 1, 1, 50, -1, 2177, 1, -1},
    {55, 2212, 1, 1, 50, -1, 2177, 1, -1},
    {56, 2230, 2, 1, 51, -1, 2229, 1, -1},
    {57, 2234, 2, 1, 51, -1, 2229, 1, -1},
    {58, 2236, 2, 1, 51, -1, 2229, 1, -1},
    {59, 2238, 2, 1, 51, -1, 2229, 1, -1},
    {60, 2240, 1, 1, 51, -1, 2229, 1, -1},
    {61, 2241, 2, 1, 51, -1, 2229, 1, -1},
    {62, 2249, 2, 1, 51, -1, 2229, 1, -1},
    {63, 2247, 2, 1, 51, -1, 2229, 1, -1},
    {64, 2267, 16, 4, 32, -1, 2267, 1, -1},
    {65, 2283, 4, 4, 32, -1, 2267, 1, -1},
    {66, 2287, 4, 4, 32, -1, 2267, 1, -1},
    {67, 2291, 4, 4, 32, -1, 2267, 1, -1},
    {68, 2295, 4, 4, 32, -1, 2267, 1, -1},
    {69, 2303, 4, 4, 32, -1, 2267, 1, -1},
    {70, 2307, 4, 4, 32, -1, 2267, 1, -1},
    {71, 19, 2, 2, 30, 60, 0, 1, -1},
    {72, 21, 2, 2, 30, 60, 0, 1, -1},
    {73, 23, 2, 2, 30, 60, 0, 1, -1},
    {74, 25, 1, 2, 30, 60, 0, 1, -1},
    {75, -1, 12, -1, -1, -1, -1, 0, -1},
    {76, 2299, 4, 4, 32, -1, 2267, 1, -1},
    {77, 2213, 4, 1, 50, -1, 2177, 1, -1},
    {78, 2217, 4, 1, 50, -1, 2177, 1, -1},
    {79, 2327, 1, 4, 19, -1, 2327, 1, -1},
    {80, 2328, 1024, 4, 0x8001, -1, 2328, 3, -1},
    {81, 3352, 33, 4, 0x8002, -1, 3352, 3, -1},
    {82, 3385, 1024, 4, 0x8001, -1, 3385, 3, -1},
    {83, 4409, 33, 4, 0x8002, -1, 4409, 3, -1},
    {84, 4442, 1024, 4, 0x8001, -1, 4442, 3, -1},
    {85, 5466, 33, 4, 0x8002, -1, 5466, 3, -1},
    {86, 5499, 1024, 4, 0x8001, -1, 5499, 3, -1},
    {87, 6523, 33, 4, 0x8002, -1, 6523, 3, -1},
    {88, 6556, 1024, 4, 0x8001, -1, 6556, 3, -1},
    {89, 7580, 33, 4, 0x8002, -1, 7580, 3, -1},
    {90, 2251, 1, 1, 51, -1, 2229, 1, -1},
    {91, 2252, 2, 1, 51, -1, 2229, 1, -1},
    {92, 2254, 1, 1, 51, -1, 2229, 1, -1},
    {93, 26, 1, 2, 30, 60, 0, 1, -1},
    {94, 27, 1, 2, 30, 60, 0, 1, -1},
    {95, 7613, 16, 1, 48, -1, 7613, 1, -1},
    {96, 7613, 0, 3, -1, 49, 7613, 1, -1},
    {97, 7639, 256, 3, -1, 16, 7639, 1, -1},
    {98, 8151, 1, 3, -1, 18, 8151, 1, -1},
    {99, 7895, 256, 4, 17, -1, 7895, 1, -1},
    {100, 28, 1, 2, 30, 60, 0, 1, -1},
    {101, 29, 1, 2, 30, 60, 0, 1, -1},
    {102, 30, 1, 2, 30, 60, 0, 1, -1},
    {103, 32, 1, 2, 30, 60, 0, 1, -1},
    {104, 33, 1, 2, 30, 60, 0, 1, -1},
    {105, 34, 1, 2, 30, 60, 0, 1, -1},
    {106, 2311, 2, 4, 32, -1, 2267, 1, -1},
    {107, -1, 1026, -1, -1, -1, -1, 0, -1},
    {108, 2313, 4, 4, 32, -1, 2267, 1, -1},
    {109, 8152, 16, 4, 33, 34, 8152, 3, -1},
    {110, 8168, 32, 4, 90, -1, 8168, 1, -1},
    {111, 8200, 4, 4, 90, -1, 8200, 1, -1},
    {112, 8204, 4, 4, 90, -1, 8204, 1, -1},
    {113, 8208, 1, 3, 90, -1, 8208, 1, -1},
    {114, 8209, 1, 3, 91, -1, 8209, 1, -1},
    {115, 8210, 1, 3, 92, -1, 8210, 1, -1},
    {116, -1, 0, 3, 93, 94, -1, 1, -1},
    {117, -1, 0, 3, 19, 19, -1, 1, -1},
    {118, -1, 0, 3, 42, 64, -1, 1, -1},
    {119, 8211, 1024, 4, -1, -1, 8211, 3, -1},
    {120, 9235, 1024, 4, -1, -1, 9235, 3, -1},
    {121, 10259, 0, 3, -1, 0x8003, 10259, 1, -1},
    {122, 31, 1, 2, 30, 60, 0, 1, -1},
};

int CodeOfRow(const CCommandTable& table, int row) {
    return row == kNoRow ? -1 : table.Get(row).code;
}

TEST(ElementTable, EveryElementLiesWhereItsTranscriptionSaysAndMovesWithItsCommands) {
    ASSERT_EQ(sizeof(kExpected) / sizeof(kExpected[0]), static_cast<std::size_t>(kElementCount));
    std::vector<CDataDescriptor> descriptors(kElementCount);
    ApplyElementTable(descriptors.data());
    const CCommandTable table;
    for (const ExpectedElement& e : kExpected) {
        SCOPED_TRACE("element " + std::to_string(e.id));
        const CDataDescriptor& d = descriptors[static_cast<std::size_t>(e.id)];
        EXPECT_EQ(d.GetID(), e.id);
        EXPECT_EQ(d.GetOffset(), e.offset);
        EXPECT_EQ(d.GetLength(), e.length);
        EXPECT_EQ(d.GetAccess(), e.access);
        EXPECT_EQ(CodeOfRow(table, d.GetReadRow()), e.readCode);
        EXPECT_EQ(CodeOfRow(table, d.GetWriteRow()), e.writeCode);
        EXPECT_EQ(d.GetBlockStart(), e.blockStart);
        EXPECT_EQ(d.GetBlockMode(), e.blockMode);
        if (e.prefix < 0) {
            EXPECT_EQ(d.GetPrefixLength(), 0u);
        } else {
            ASSERT_EQ(d.GetPrefixLength(), 1u);
            EXPECT_EQ(d.GetPrefix()[0], e.prefix);
        }
    }
}

TEST(ElementTable, ElementsWithDataNeitherOverlapNorLeaveTheImage) {
    for (int a = 0; a < kElementCount; ++a) {
        const ElementRow& first = GetElementRow(a);
        if (first.offset < 0 || first.length == 0) {
            continue;
        }
        SCOPED_TRACE("element " + std::to_string(a));
        EXPECT_LE(first.offset + first.length, kImageBytes);
        EXPECT_LE(first.blockStart, first.offset);
        if (first.blockMode == kBlockIndexed) {
            EXPECT_EQ(first.blockStart, first.offset - 1) << "the prefix byte goes just before the value";
        }
        for (int b = a + 1; b < kElementCount; ++b) {
            const ElementRow& second = GetElementRow(b);
            if (second.offset < 0 || second.length == 0) {
                continue;
            }
            const bool apart =
                first.offset + first.length <= second.offset || second.offset + second.length <= first.offset;
            EXPECT_TRUE(apart) << "overlaps element " << b;
        }
    }
}

}  // namespace
