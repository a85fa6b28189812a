// The patch model beyond reading and writing single files: the bytes of a worked example, a
// load into a model that already holds records, and saves that no reader would accept.
#include "firmware/CFirmwarePatch.h"

#include <filesystem>
#include <random>
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

std::vector<BYTE> Unpacked(const std::vector<BYTE>& file) {
    const DWORD stated = file[35] | file[36] << 8 | file[37] << 16 | static_cast<DWORD>(file[38]) << 24;
    std::vector<BYTE> payload(stated);
    uLongf bytes = stated;
    EXPECT_EQ(uncompress(payload.data(), &bytes, file.data() + 39, static_cast<uLong>(file.size() - 43)),
              Z_OK);
    payload.resize(bytes);
    return payload;
}

// A path in the temporary folder, removed when the test ends.
class TempPath {
public:
    explicit TempPath(const char* name) {
        std::random_device random;
        m_path = (std::filesystem::temp_directory_path() / (std::to_string(random()) + name)).string();
    }

    ~TempPath() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }

    const char* c_str() const { return m_path.c_str(); }

private:
    std::string m_path;
};

std::vector<BYTE> SavedBytes(const CFirmwarePatch& patch) {
    std::vector<BYTE> file;
    EXPECT_TRUE(patch.SaveToBytes(file));
    return file;
}

}  // namespace

TEST(CFirmwarePatchModel, WritesTheHeaderAndPayloadOfTheWorkedExample) {
    CFirmwarePatch patch;
    patch.SetVersion(0x011E);
    patch.SetBuild(0x0405);
    patch.SetDate(2009, 3, 17);
    patch.SetRecord(0x06, 1, ByteArray({0x12, 0x34}));
    patch.SetDescription("en", "Test");
    const std::vector<BYTE> file = SavedBytes(patch);
    ASSERT_GT(file.size(), 43u);
    const std::vector<BYTE> header = {0x00, 0x01, 0x1E, 0x01, 0x05, 0x04, 0xD9,
                                      0x07, 0x03, 0x11, 0x15, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::vector<BYTE>(file.begin() + 25, file.begin() + 39), header);
    const std::vector<BYTE> payload = {0x05, 0x00, 0x00, 0x00, 0x06, 0x01, 0x02, 0x12, 0x34, 0x08, 0x00,
                                       0x00, 0x00, 0x65, 0x6E, 0x00, 0x54, 0x65, 0x73, 0x74, 0x00};
    EXPECT_EQ(Unpacked(file), payload);
    EXPECT_EQ(file[21] | file[22] << 8 | file[23] << 16 | file[24] << 24, static_cast<int>(file.size()));
}

TEST(CFirmwarePatchModel, LoadAddsToWhatTheModelHolds) {
    CFirmwarePatch source;
    source.SetRecord(0x06, 1, ByteArray({0x12, 0x34}));
    source.SetRecord(0x03, 0, ByteArray({0xAA}));
    source.SetDescription("en", "new");
    const std::vector<BYTE> file = SavedBytes(source);

    CFirmwarePatch patch;
    patch.SetRecord(0x04, 1, ByteArray({0x01}));
    patch.SetRecord(0x06, 0, ByteArray({0x99}));
    patch.SetDescription("de", "alt");
    patch.SetDescription("en", "old");
    ASSERT_TRUE(patch.LoadFromBytes(file.data(), file.size()));

    EXPECT_EQ(patch.GetRecordCount(), 3);
    BYTE id = 0;
    std::vector<BYTE> ids;
    patch.ResetRecordIterator();
    bool more = true;
    while (more) {
        more = patch.GetNextRecordId(id);
        ids.push_back(id);
    }
    EXPECT_EQ(ids, (std::vector<BYTE>{0x03, 0x04, 0x06}));
    BYTE flag = 0;
    CByteArray data;
    ASSERT_TRUE(patch.GetRecord(0x06, flag, data));
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(data.GetSize(), 2);
    CMapStringToString descriptions;
    patch.GetDescriptions(descriptions);
    CString text;
    EXPECT_EQ(descriptions.GetCount(), 2);
    ASSERT_TRUE(descriptions.Lookup("en", text));
    EXPECT_STREQ(text, "new");
}

TEST(CFirmwarePatchModel, AFailedLoadAddsNothing) {
    CFirmwarePatch source;
    source.SetRecord(0x06, 1, ByteArray({0x12, 0x34}));
    source.SetDescription("en", "new");
    std::vector<BYTE> file = SavedBytes(source);
    file[file.size() - 1] ^= 0x01;  // CRC

    CFirmwarePatch patch;
    patch.SetRecord(0x04, 1, ByteArray({0x01}));
    patch.SetDescription("de", "alt");
    EXPECT_FALSE(patch.LoadFromBytes(file.data(), file.size()));
    EXPECT_EQ(patch.GetRecordCount(), 1);
    BYTE flag = 0;
    CByteArray data;
    EXPECT_FALSE(patch.GetRecord(0x06, flag, data));
    CMapStringToString descriptions;
    patch.GetDescriptions(descriptions);
    EXPECT_EQ(descriptions.GetCount(), 1);
}

TEST(CFirmwarePatchModel, LooksUpAndRemovesWithoutTouchingWhatItDoesNotFind) {
    CFirmwarePatch patch;
    BYTE id = 0x55;
    patch.ResetRecordIterator();
    EXPECT_FALSE(patch.GetNextRecordId(id));
    EXPECT_EQ(id, 0x55);

    patch.SetRecord(0x10, 1, ByteArray({1}));
    BYTE flag = 7;
    CByteArray data = ByteArray({8, 9});
    EXPECT_FALSE(patch.GetRecord(0x11, flag, data));
    EXPECT_EQ(flag, 7);
    EXPECT_EQ(data.GetSize(), 2);

    patch.SetDescription("en", "a");
    EXPECT_TRUE(patch.RemoveDescription("en"));
    EXPECT_FALSE(patch.RemoveDescription("en"));

    patch.SetVersion(0x0102);
    patch.SetDate(2020, 2, 29);
    patch.Clear();
    EXPECT_FALSE(patch.HasRecords());
    EXPECT_EQ(patch.GetVersion(), 0x0102);
    EXPECT_EQ(patch.GetYear(), 2020);
    EXPECT_EQ(patch.GetDay(), 29);
}

TEST(CFirmwarePatchModel, DoesNotSaveAFileTooLargeToBeReadAgain) {
    // A description of random bytes does not pack; it pushes the file past 0x100000 bytes.
    std::mt19937 random(7);
    std::string text(0x100000, ' ');
    for (char& c : text) {
        c = static_cast<char>(1 + random() % 255);
    }
    CFirmwarePatch patch;
    patch.SetRecord(0x06, 1, ByteArray({0x12, 0x34}));
    patch.SetDescription("en", text.c_str());
    std::vector<BYTE> file;
    EXPECT_FALSE(patch.SaveToBytes(file));
    TempPath path(".zfp");
    int cause = -1;
    EXPECT_EQ(patch.Save(path.c_str(), cause), 0);
    EXPECT_EQ(cause, 0);
    EXPECT_FALSE(std::filesystem::exists(path.c_str()));
}
