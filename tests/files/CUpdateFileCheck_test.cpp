// The checks of update files against the program and the unit, with their message numbers.
#include "link/CUpdateFileCheck.h"

#include "FileBytes.h"
#include "ReferenceFiles.h"

#include <array>

#include <gtest/gtest.h>

namespace {

constexpr WORD kUnitVersion = 0x0205;  // 2.05

struct Words {
    WORD protocol;
    WORD firmware;
    WORD bootloader;
};

// Protocol, firmware and bootloader words; the build word between them stays.
void StoreWords(std::vector<BYTE>& file, std::size_t protocolOffset, const Words& words) {
    StoreWordAt(file, protocolOffset, words.protocol);
    StoreWordAt(file, protocolOffset + 4, words.firmware);
    StoreWordAt(file, protocolOffset + 6, words.bootloader);
}

std::vector<BYTE> UpdateWith(const Words& words, bool waiveFirmwareCheck) {
    std::vector<BYTE> file = Bytes(kReferenceUpdate);
    StoreWords(file, 26, words);
    if (waiveFirmwareCheck) {
        file[35] |= 0x80;
    }
    FixCrc(file);
    return file;
}

std::vector<BYTE> ZippedWith(const Words& words) {
    std::vector<BYTE> file = Bytes(kReferenceZipped);
    StoreWords(file, 28, words);
    FixCrc(file);
    return file;
}

}  // namespace

TEST(CUpdateFileCheck, GivesEachVerdictWithItsNumbers) {
    struct Case {
        const char* name;
        Words words;
        bool zipped;
        bool waived;
        UINT message;
        std::array<int, 4> arguments;
    };

    const Case cases[] = {
        {"protocol 1.29", {0x011D, 0x0205, 0x0205}, false, false, 15204, {1, 30, 1, 29}},
        {"protocol 1.40", {0x0128, 0x0205, 0x0205}, true, false, 15204, {1, 30, 1, 40}},
        {"protocol 2.30", {0x021E, 0x0205, 0x0205}, false, false, 15204, {1, 30, 2, 30}},
        {"protocol 1.30", {0x011E, 0x0205, 0x0205}, false, false, 0, {}},
        {"protocol 1.39", {0x0127, 0x0205, 0x0205}, true, false, 0, {}},
        {"firmware 2.04", {0x011E, 0x0204, 0x0205}, false, false, 15203, {2, 5, 2, 4}},
        {"zipped firmware 2.04", {0x011E, 0x0204, 0x0205}, true, false, 15203, {2, 5, 2, 4}},
        {"firmware 2.04 waived", {0x011E, 0x0204, 0x0205}, false, true, 0, {}},
        {"firmware 3.00", {0x011E, 0x0300, 0x0100}, true, false, 0, {}},
        {"firmware minor with bit 7", {0x011E, 0x0285, 0x0205}, false, false, 0, {}},
        {"bootloader 2.06", {0x011E, 0x0205, 0x0206}, false, false, 15205, {2, 5, 2, 6}},
        {"bootloader 2.06 waived", {0x011E, 0x0204, 0x0206}, false, true, 15205, {2, 5, 2, 6}},
        {"zipped bootloader 3.00", {0x011E, 0x0305, 0x0300}, true, false, 15205, {2, 5, 3, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<BYTE> file = c.zipped ? ZippedWith(c.words) : UpdateWith(c.words, c.waived);
        CUpdateFileCheck check;
        EXPECT_EQ(check.Check(file.data(), file.size(), kUnitVersion), c.message);
        EXPECT_EQ(check.GetArguments(), c.arguments);
        if (c.message == 0) {
            EXPECT_EQ(check.GetContents().image.size(), 40u);
        }
    }
}

TEST(CUpdateFileCheck, RefusesDamagedFilesAsInvalidFormat) {
    std::vector<BYTE> badCrc = Bytes(kReferenceUpdate);
    badCrc[40] ^= 1;
    std::vector<BYTE> badLength = Bytes(kReferenceZipped);
    badLength[22] += 1;
    FixCrc(badLength);
    std::vector<BYTE> badFormat = Bytes(kReferenceZipped);
    badFormat[26] = 0x01;
    FixCrc(badFormat);
    std::vector<BYTE> badStream = Bytes(kReferenceZipped);
    badStream[45] ^= 0xFF;
    FixCrc(badStream);
    std::vector<BYTE> oneByteImage = Bytes(kReferenceUpdate);
    oneByteImage.erase(oneByteImage.begin() + 35, oneByteImage.end() - 4);
    StoreDwordAt(oneByteImage, 22, 39);
    FixCrc(oneByteImage);
    const std::vector<BYTE> unknown = {'Z', 'Y', 'L', 'M', 'o', 'r'};

    struct Case {
        const char* name;
        const std::vector<BYTE>& file;
    };

    const Case cases[] = {{"crc", badCrc},
                          {"length field", badLength},
                          {"format word", badFormat},
                          {"zlib stream", badStream},
                          {"one image byte", oneByteImage},
                          {"short magic", unknown}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CUpdateFileCheck check;
        EXPECT_EQ(check.Check(c.file.data(), c.file.size(), kUnitVersion),
                  CUpdateFileCheck::kInvalidFileFormat);
    }
}

TEST(CUpdateFileCheck, ReadsThePreviewOfAZippedFile) {
    CUpdateFileCheck check;
    ASSERT_TRUE(check.ReadInfo(kReferenceZipped, sizeof kReferenceZipped));
    EXPECT_TRUE(check.IsZipped());
    EXPECT_STREQ(check.GetVersionText(), "3.05");
    EXPECT_STREQ(check.GetBuildText(), "0078");
    EXPECT_STREQ(check.GetBranchText(), "2");
    ASSERT_EQ(check.GetContents().descriptions.size(), 3u);
    EXPECT_EQ(check.GetContents().descriptions[2].first, "fr");
}

TEST(CUpdateFileCheck, DoesNotTryADamagedUpdateFileAsZipped) {
    std::vector<BYTE> file = Bytes(kReferenceUpdate);
    file[40] ^= 1;
    CUpdateFileCheck check;
    EXPECT_FALSE(check.ReadInfo(file.data(), file.size()));
    EXPECT_FALSE(check.IsZipped());
}
