// The common frame: check order, size limits and the written length and CRC-32.
#include "link/CFileFrame.h"

#include "FileBytes.h"

#include <gtest/gtest.h>

namespace {

const CFileFrame kFrame("MAGIC", 5, 12, 64);

std::vector<BYTE> SmallFile() {
    std::vector<BYTE> file = kFrame.Begin();
    CFileFrame::AppendWord(file, 0x1234);
    CFileFrame::AppendDword(file, 0xA1B2C3D4);
    kFrame.Finish(file);
    return file;
}

}  // namespace

TEST(CFileFrame, WritesMagicLengthAndCrcLittleEndian) {
    const std::vector<BYTE> file = SmallFile();
    // CRC-32 of the first 15 bytes, computed independently (Python's binascii.crc32).
    const std::vector<BYTE> expected = {'M',  'A',  'G',  'I',  'C',  0x13, 0x00, 0x00, 0x00, 0x34,
                                        0x12, 0xD4, 0xC3, 0xB2, 0xA1, 0x4C, 0x9B, 0xA1, 0x1B};
    EXPECT_EQ(file, expected);
}

TEST(CFileFrame, ReportsTheFirstFaultInOrder) {
    struct Case {
        const char* name;
        std::size_t offset;
        CFileFrame::Fault fault;
    };

    const Case cases[] = {{"intact", 0, CFileFrame::Fault::None},
                          {"magic", 1, CFileFrame::Fault::BadMagic},
                          {"length", 5, CFileFrame::Fault::BadLength},
                          {"body", 11, CFileFrame::Fault::BadCrc},
                          {"crc", 18, CFileFrame::Fault::BadCrc}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> file = SmallFile();
        if (c.fault != CFileFrame::Fault::None) {
            file[c.offset] ^= 0x40;
        }
        EXPECT_EQ(kFrame.Check(file.data(), file.size()), c.fault);
    }
}

TEST(CFileFrame, AcceptsSizesAboveTheMinimumUpToTheMaximum) {
    EXPECT_FALSE(kFrame.FitsSize(12));
    EXPECT_TRUE(kFrame.FitsSize(13));
    EXPECT_TRUE(kFrame.FitsSize(64));
    EXPECT_FALSE(kFrame.FitsSize(65));
}

TEST(CFileFrame, FindsNoMagicInATooShortFile) {
    const BYTE file[] = {'M', 'A', 'G'};
    EXPECT_EQ(kFrame.Check(file, sizeof file), CFileFrame::Fault::BadMagic);
}

TEST(CFileFrame, FinishesOnlyAFileThatWouldPassTheSizeTest) {
    struct Case {
        const char* name;
        std::size_t bytesBeforeCrc;
        bool finished;
    };

    const Case cases[] = {{"at the maximum", 60, true}, {"one byte over", 61, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> file = kFrame.Begin();
        file.resize(c.bytesBeforeCrc, 0x5A);
        const std::vector<BYTE> before = file;
        EXPECT_EQ(kFrame.FinishWithinSize(file), c.finished);
        if (c.finished) {
            EXPECT_EQ(kFrame.Check(file.data(), file.size()), CFileFrame::Fault::None);
        } else {
            EXPECT_EQ(file, before);
        }
    }
}
