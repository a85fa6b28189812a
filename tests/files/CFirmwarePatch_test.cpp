// Patch model and patch files, against files built by an independent zlib and CRC-32.
#include "firmware/CFirmwarePatch.h"

#include "CTempFolder.h"
#include "FileBytes.h"
#include "ReferenceFiles.h"
#include "classlib/core/CFileException.h"
#include "link/CFileFrame.h"

#include <string>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

CByteArray ByteArray(std::initializer_list<BYTE> bytes) {
    CByteArray array;
    for (const BYTE b : bytes) {
        array.Add(b);
    }
    return array;
}

// The model the reference patch was made from, with its descriptions set in another order.
void FillReferenceModel(CFirmwarePatch& patch) {
    patch.SetVersion(0x011E);
    patch.SetBuild(0x0405);
    patch.SetDate(2009, 3, 17);
    patch.SetRecord(0x06, 1, ByteArray({0x12, 0x34}));
    patch.SetRecord(0x03, 0, ByteArray({0xAA}));
    patch.SetDescription("en", "Test");
    patch.SetDescription("de", "Hallo");
}

// A patch file around any payload, packed here, with any stated unpacked size.
std::vector<BYTE> PatchAround(const std::vector<BYTE>& payload, DWORD statedBytes) {
    uLongf packedBytes = compressBound(static_cast<uLong>(payload.size()));
    std::vector<BYTE> packed(packedBytes);
    compress2(packed.data(), &packedBytes, payload.data(), static_cast<uLong>(payload.size()), 9);
    packed.resize(packedBytes);
    std::vector<BYTE> file = Bytes(kReferencePatch);
    file.resize(39);
    StoreDwordAt(file, 35, statedBytes);
    file.insert(file.end(), packed.begin(), packed.end());
    file.resize(file.size() + 4);
    StoreDwordAt(file, 21, static_cast<DWORD>(file.size()));
    FixCrc(file);
    return file;
}

}  // namespace

TEST(CFirmwarePatch, ReadsAFileMadeByAnIndependentZlib) {
    CFirmwarePatch patch;
    ASSERT_TRUE(patch.LoadFromBytes(kReferencePatch, sizeof kReferencePatch));
    EXPECT_EQ(patch.GetFormat(), 0x0100);
    EXPECT_EQ(patch.GetVersion(), 0x011E);
    EXPECT_EQ(patch.GetBuild(), 0x0405);
    EXPECT_EQ(patch.GetYear(), 2009);
    EXPECT_EQ(patch.GetMonth(), 3);
    EXPECT_EQ(patch.GetDay(), 17);
    BYTE flag = 0;
    CByteArray data;
    ASSERT_TRUE(patch.GetRecord(0x06, flag, data));
    EXPECT_EQ(flag, 1);
    ASSERT_EQ(data.GetSize(), 2);
    EXPECT_EQ(data[0], 0x12);
    EXPECT_EQ(data[1], 0x34);
    CMapStringToString descriptions;
    patch.GetDescriptions(descriptions);
    CString text;
    EXPECT_TRUE(descriptions.Lookup("de", text));
    EXPECT_STREQ(text, "Hallo");
    EXPECT_EQ(descriptions.GetCount(), 2);
}

TEST(CFirmwarePatch, WritesTheBytesOfTheIndependentReference) {
    CFirmwarePatch patch;
    FillReferenceModel(patch);
    std::vector<BYTE> file;
    ASSERT_TRUE(patch.SaveToBytes(file));
    EXPECT_EQ(file, Bytes(kReferencePatch));
    std::vector<BYTE> again;
    ASSERT_TRUE(patch.SaveToBytes(again));
    EXPECT_EQ(again, file);
}

TEST(CFirmwarePatch, SaveAndLoadGiveBackTheModelThroughAFile) {
    CTempFolder folder;
    const std::string path = folder.Path("p.zfp");
    CFirmwarePatch saved;
    FillReferenceModel(saved);
    int cause = -1;
    ASSERT_EQ(saved.Save(path.c_str(), cause), 1);
    EXPECT_EQ(cause, 0);
    CFirmwarePatch loaded;
    ASSERT_EQ(loaded.Load(path.c_str(), cause), 1);
    EXPECT_EQ(cause, 0);
    std::vector<BYTE> first;
    std::vector<BYTE> second;
    saved.SaveToBytes(first);
    loaded.SaveToBytes(second);
    EXPECT_EQ(first, second);
}

TEST(CFirmwarePatch, RefusesEachDamagedHeader) {
    const ByteDamage cases[] = {
        {"magic", 0, 'X', true},
        {"length field", 21, 0x57, true},
        {"crc", sizeof kReferencePatch - 1, 0x00, false},
        {"format word", 26, 0x02, true},
        {"unpacked size too small for the payload", 35, 0x05, true},
        {"zlib stream", 45, 0xFF, true},
    };
    for (const ByteDamage& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<BYTE> file = Damaged(Bytes(kReferencePatch), c);
        CFirmwarePatch patch;
        EXPECT_FALSE(patch.LoadFromBytes(file.data(), file.size()));
        EXPECT_FALSE(patch.HasRecords());
    }
}

TEST(CFirmwarePatch, RefusesInconsistentPayloads) {
    struct Case {
        const char* name;
        std::vector<BYTE> payload;
    };

    const Case cases[] = {
        {"shorter than the record block size", {0x01, 0x00}},
        {"record block beyond the payload", {0x09, 0x00, 0x00, 0x00, 0x06, 0x01, 0x01, 0x12}},
        {"record running past the block", {0x04, 0x00, 0x00, 0x00, 0x06, 0x01, 0x02, 0x12, 0x34}},
        {"description key without NUL", {0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 'e', 'n'}},
        {"description text without NUL", {0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 'e', 'n', 0, 'x'}},
        {"entry size cut short", {0x00, 0x00, 0x00, 0x00, 0x04, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<BYTE> file = PatchAround(c.payload, static_cast<DWORD>(c.payload.size()));
        CFirmwarePatch patch;
        EXPECT_FALSE(patch.LoadFromBytes(file.data(), file.size()));
        EXPECT_FALSE(patch.HasRecords());
        CMapStringToString descriptions;
        patch.GetDescriptions(descriptions);
        EXPECT_EQ(descriptions.GetCount(), 0);
    }
}

TEST(CFirmwarePatch, RefusesAHugeStatedSizeWithoutAllocatingIt) {
    const std::vector<BYTE> payload = {0x00, 0x00, 0x00, 0x00};
    const std::vector<BYTE> file = PatchAround(payload, 0xFFFFFFF0u);
    CFirmwarePatch patch;
    EXPECT_FALSE(patch.LoadFromBytes(file.data(), file.size()));
}

TEST(CFirmwarePatch, KeepsTheLaterRecordOfAnIdNamedTwiceAndSortsTheIds) {
    // Block of 11 bytes: id 9 (empty), id 7 (AA), id 9 again (BB).
    const std::vector<BYTE> payload = {0x0B, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x07,
                                       0x01, 0x01, 0xAA, 0x09, 0x01, 0x01, 0xBB};
    const std::vector<BYTE> file = PatchAround(payload, static_cast<DWORD>(payload.size()));
    CFirmwarePatch patch;
    ASSERT_TRUE(patch.LoadFromBytes(file.data(), file.size()));
    EXPECT_EQ(patch.GetRecordCount(), 2);
    BYTE id = 0;
    patch.ResetRecordIterator();
    EXPECT_TRUE(patch.GetNextRecordId(id));
    EXPECT_EQ(id, 7);
    EXPECT_FALSE(patch.GetNextRecordId(id));
    EXPECT_EQ(id, 9);
    BYTE flag = 0;
    CByteArray data;
    ASSERT_TRUE(patch.GetRecord(9, flag, data));
    ASSERT_EQ(data.GetSize(), 1);
    EXPECT_EQ(data[0], 0xBB);
}

TEST(CFirmwarePatch, KeepsIdsAscendingAndReplacesARecordInPlace) {
    CFirmwarePatch patch;
    patch.SetRecord(9, 1, ByteArray({1}));
    patch.SetRecord(3, 1, ByteArray({2}));
    patch.SetRecord(7, 1, ByteArray({3}));
    patch.SetRecord(7, 0, ByteArray({4, 5}));
    ASSERT_TRUE(patch.SetRecord(1, 1, CByteArray()));
    CByteArray tooLong;
    tooLong.SetSize(256);
    EXPECT_FALSE(patch.SetRecord(2, 1, tooLong));
    EXPECT_EQ(patch.GetRecordCount(), 4);
    const BYTE expected[] = {1, 3, 7, 9};
    patch.ResetRecordIterator();
    for (const BYTE want : expected) {
        BYTE id = 0;
        const bool more = patch.GetNextRecordId(id);
        EXPECT_EQ(id, want);
        EXPECT_EQ(more, want != 9);
    }
    BYTE flag = 1;
    CByteArray data;
    ASSERT_TRUE(patch.GetRecord(7, flag, data));
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(data.GetSize(), 2);
}

TEST(CFirmwarePatch, WritesAnEmptyDescriptionAsKeyAndTwoNuls) {
    CFirmwarePatch patch;
    patch.SetRecord(1, 1, ByteArray({}));
    patch.SetDescription("hu", "");
    std::vector<BYTE> file;
    ASSERT_TRUE(patch.SaveToBytes(file));
    const std::vector<BYTE> payload = {0x03, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x04,
                                       0x00, 0x00, 0x00, 'h',  'u',  0x00, 0x00};
    EXPECT_EQ(CFileFrame::ReadDword(file.data() + 35), payload.size());
    std::vector<BYTE> unpacked(payload.size());
    uLongf unpackedBytes = static_cast<uLongf>(unpacked.size());
    ASSERT_EQ(
        uncompress(unpacked.data(), &unpackedBytes, file.data() + 39, static_cast<uLong>(file.size() - 43)),
        Z_OK);
    EXPECT_EQ(unpacked, payload);
}

TEST(CFirmwarePatch, AppliesTheSizeLimitsOfTheFile) {
    CTempFolder folder;

    struct Case {
        const char* name;
        std::size_t size;
        bool passesSizeTest;
    };

    const Case cases[] = {{"43 bytes", 43, false},
                          {"44 bytes", 44, true},
                          {"0x100000 bytes", 0x100000, true},
                          {"0x100001 bytes", 0x100001, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> file(c.size, 0);
        std::copy(kReferencePatch, kReferencePatch + 39, file.begin());
        StoreDwordAt(file, 21, static_cast<DWORD>(c.size));
        file[26] = 0x02;  // format word 0x0200: stored, then refused
        FixCrc(file);
        const std::string path = folder.Path("size.zfp");
        CTempFolder::WriteBytes(path, file);
        CFirmwarePatch patch;
        int cause = -1;
        EXPECT_EQ(patch.Load(path.c_str(), cause), 0);
        EXPECT_EQ(cause, 0);
        // Only a file that passed the size test gets as far as storing its format word.
        EXPECT_EQ(patch.GetFormat() == 0x0200, c.passesSizeTest);
    }
}

TEST(CFirmwarePatch, SavesNothingWithoutRecords) {
    CTempFolder folder;
    const std::string path = folder.Path("empty.zfp");
    CFirmwarePatch patch;
    patch.SetDescription("en", "text only");
    int cause = 77;
    EXPECT_EQ(patch.Save(path.c_str(), cause), 0);
    EXPECT_EQ(cause, 77);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CFirmwarePatch, ReportsTheCauseOfAMissingFile) {
    CTempFolder folder;
    CFirmwarePatch patch;
    int cause = 0;
    EXPECT_EQ(patch.Load(folder.Path("missing.zfp").c_str(), cause), 0);
    EXPECT_EQ(cause, CFileException::fileNotFound);
}

TEST(CFirmwarePatch, AFailedSaveLeavesTheOldFileAsItWas) {
    CTempFolder folder;
    const std::string path = folder.Path("keep.zfp");
    const std::vector<BYTE> old = Bytes(kReferencePatch);
    CTempFolder::WriteBytes(path, old);
    // A folder where the new file would be written makes the write fail.
    std::filesystem::create_directory(path + ".new");
    CFirmwarePatch patch;
    patch.SetRecord(1, 1, ByteArray({9, 9, 9}));
    int cause = 0;
    EXPECT_EQ(patch.Save(path.c_str(), cause), 0);
    EXPECT_NE(cause, 0);
    EXPECT_EQ(CTempFolder::ReadBytes(path), old);
}
