// Decoding of the OBD block: signed trims, single-bit statuses, the optional tail.
#include "calib/CObdBlock.h"

#include <gtest/gtest.h>

TEST(CObdBlock, DecodesTrimsStatusesAndTheOptionalTail) {
    const BYTE bytes[CObdBlock::kBytes] = {0xFB, 3, 0x80, 0x7F, 0,    0,    0x1F, 0x12,
                                           16,   0, 0,    0,    0x14, 0xFE, 5,    0};
    CObdBlock block;
    block.Decode(bytes, true);
    EXPECT_EQ(-5, block.shortTrim1);
    EXPECT_EQ(3, block.longTrim1);
    EXPECT_EQ(-128, block.shortTrim2);
    EXPECT_EQ(127, block.longTrim2);
    EXPECT_TRUE(block.AreTrimsValid());
    EXPECT_EQ(0, block.status2);  // two bits set: no defined state
    EXPECT_EQ(16, block.status1);
    EXPECT_EQ(95, block.GetScalePercent());
    EXPECT_EQ(0x14, block.options);
    EXPECT_EQ(-2, block.shortReference);
    EXPECT_EQ(5, block.longReference);

    block.Decode(bytes, false);
    EXPECT_EQ(0, block.options);
    EXPECT_EQ(0, block.shortReference);
    EXPECT_EQ(0, block.longReference);

    const BYTE partlyValid[CObdBlock::kBytes] = {0, 0, 0, 0, 0, 0, 0xF7, 0, 2, 0, 0, 80};
    block.Decode(partlyValid, true);
    EXPECT_FALSE(block.AreTrimsValid());
    EXPECT_EQ(80, block.GetScalePercent());
}
