// The conversion table as the program loads it: the "Xfer" resource linked into this test,
// which must hold the same bytes as the file the native tests read and convert the same way.
#include "XferTestSupport.h"
#include "firmware/CModuleResourceSource.h"
#include "res/ResourceIds.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

TEST(XferResource, HoldsTheFileOfTheSourceTree) {
    std::string linked;
    ASSERT_TRUE(CModuleResourceSource().GetResource(CXferTable::kResourceType, IDR_XFER, linked));
    std::ifstream file(SourcePath("res/xfer.xml"), std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(linked, expected);
    std::string none;
    EXPECT_FALSE(CModuleResourceSource().GetResource(CXferTable::kResourceType, IDR_XFER + 1, none));
}

TEST(XferResource, BuildsTheTableThatConverts) {
    CModuleResourceSource resources;
    CXferTable table(IDR_XFER, resources);
    EXPECT_EQ(ToBytes(table, 0x06, {4660}), (std::vector<BYTE>{0x12, 0x34}));
    EXPECT_EQ(ToValues(table, 0x4F, {0x01, 0x23}).size(), 60u);
    EXPECT_EQ(ToBytes(table, 0x43, std::vector<double>(12, 0.29)),
              ToBytes(ShippedTable(), 0x43, std::vector<double>(12, 0.29)));
}
