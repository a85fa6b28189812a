// Reading the data of scan replies: supported PIDs, code lists and the VIN.
#include "diag/ObdScanData.h"

#include <gtest/gtest.h>

TEST(ObdScanData, AsksTheFreezeFrameForExactlyTheMaskedPids) {
    ObdPidBitmaps everything;
    for (DWORD& range : everything.ranges) {
        range = 0xFFFFFFFF;
    }
    std::vector<int> pids;
    for (int pid = 0; pid <= 130; ++pid) {
        if (IsObdFreezeFramePid(everything, pid)) {
            pids.push_back(pid);
        }
    }
    std::vector<int> expected;
    for (const auto& span : {std::make_pair(0x02, 0x04), std::make_pair(0x06, 0x1E),
                             std::make_pair(0x22, 0x40), std::make_pair(0x53, 0x5F)}) {
        for (int pid = span.first; pid <= span.second; ++pid) {
            expected.push_back(pid);
        }
    }
    EXPECT_EQ(pids, expected);
}

TEST(ObdScanData, ReadsTheCarsBitmapsWithTheFirstPidInBit31) {
    DWORD bitmap = 0;
    ASSERT_TRUE(ReadObdBitmap({0x41, 0xBE, 0x3F, 0xA8, 0x13}, 1, bitmap));
    EXPECT_EQ(bitmap, 0xBE3FA813u);
    ObdPidBitmaps car;
    car.ranges[0] = bitmap;
    // BE = 1011 1110: PIDs 01, 03, 04, 05, 06, 07; 01 and 05 are not in the mask.
    EXPECT_FALSE(IsObdFreezeFramePid(car, 0x01));
    EXPECT_FALSE(IsObdFreezeFramePid(car, 0x02));
    EXPECT_TRUE(IsObdFreezeFramePid(car, 0x03));
    EXPECT_FALSE(IsObdFreezeFramePid(car, 0x05));
    EXPECT_TRUE(IsObdFreezeFramePid(car, 0x06));
    EXPECT_TRUE(IsObdBitSet(bitmap, 1));
    EXPECT_TRUE(IsObdBitSet(bitmap, 32));  // 13: the next range is supported
    EXPECT_FALSE(IsObdBitSet(bitmap, 0));
    EXPECT_FALSE(IsObdBitSet(bitmap, 33));

    bitmap = 7;
    EXPECT_FALSE(ReadObdBitmap({0xBE, 0x3F, 0xA8}, 0, bitmap));
    EXPECT_FALSE(ReadObdBitmap({0xBE, 0x3F, 0xA8, 0x13}, 1, bitmap));
    EXPECT_FALSE(ReadObdBitmap({0xBE, 0x3F, 0xA8, 0x13}, 9, bitmap));
    EXPECT_EQ(bitmap, 7u);
}

TEST(ObdScanData, ReadsCodesUpToTheFirstZero) {
    EXPECT_EQ(ReadObdCodes({0x01, 0x33, 0x56, 0x34, 0x00, 0x00, 0x01, 0x00}),
              (std::vector<WORD>{0x3301, 0x3456}));
    EXPECT_EQ(ReadObdCodes({0x01, 0x33, 0x56}), std::vector<WORD>{0x3301});
    EXPECT_EQ(ReadObdCodes({0x00, 0x01}), std::vector<WORD>{0x0100});
    EXPECT_TRUE(ReadObdCodes({}).empty());
}

TEST(ObdScanData, AssemblesTheVinInSequenceOrder) {
    const std::vector<BYTE> data = {
        0x03, 'L',  'X',  '1',  '2',                            //
        0x01, 0x00, 0x00, 0x00, 'W', 0x02, 'V', 'W', 'Z', 'Z',  //
        0x05, '5',  '6',  '7',  '8',                            //
        0x04, '3',  '-',  '4',  ' ',                            //
        0xFF,                                                   // beyond the five records
    };
    std::string vin = "old";
    ASSERT_TRUE(AssembleVin(data, vin));
    EXPECT_EQ(vin, "WVWZZLX12345678");
    vin = "old";
    EXPECT_FALSE(AssembleVin(std::vector<BYTE>(data.begin(), data.begin() + 24), vin));
    EXPECT_EQ(vin, "old");
}
