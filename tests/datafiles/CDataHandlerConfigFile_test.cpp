// Configuration files saved and loaded through the data handler: what comes back, the
// messages of each fault, and what a failed load leaves alone.
#include "tests/datafiles/DataFilesFixture.h"
#include "tests/files/FileBytes.h"

#include <filesystem>

namespace {

struct Record {
    WORD id;
    std::vector<BYTE> data;
};

// A configuration file built by hand: header of the given program version, the records
// and a matching CRC-32.
std::vector<BYTE> ConfigFile(const std::vector<Record>& records, BYTE minor = kProgramMinor) {
    const char magic[] = "ZYLMor_Config_File";
    std::vector<BYTE> file(magic, magic + 18);
    file.push_back(0x51);
    file.insert(file.end(), 4, 0);
    file.push_back(minor);
    file.push_back(kProgramMajor);
    for (const Record& record : records) {
        file.push_back(static_cast<BYTE>(record.id));
        file.push_back(static_cast<BYTE>(record.id >> 8));
        file.push_back(static_cast<BYTE>(record.data.size()));
        file.push_back(static_cast<BYTE>(record.data.size() >> 8));
        file.insert(file.end(), record.data.begin(), record.data.end());
    }
    file.insert(file.end(), 4, 0);
    StoreDwordAt(file, 19, static_cast<DWORD>(file.size()));
    FixCrc(file);
    return file;
}

std::vector<ConfigMeasurement> Measurements(CDataHandler& handler) {
    CPtrList list;
    handler.CopyMeasurements(list);
    std::vector<ConfigMeasurement> records;
    for (POSITION position = list.GetHeadPosition(); position != nullptr;) {
        records.push_back(*static_cast<ConfigMeasurement*>(list.GetNext(position)));
    }
    return records;
}

}  // namespace

class CDataHandlerConfigFile : public DataFilesFixture {
protected:
    std::string Save(const char* name) {
        const std::string path = folder.Path(name);
        EXPECT_EQ(1, handler->SaveConfigFile(path.c_str()));
        return path;
    }

    std::string WriteFile(const char* name, const std::vector<BYTE>& bytes) {
        const std::string path = folder.Path(name);
        CTempFolder::WriteBytes(path, bytes);
        return path;
    }
};

TEST_F(CDataHandlerConfigFile, SavedConfigurationLoadsBackWithSettingsMeasurementsAndTables) {
    TakeUnit();
    queue.tables = true;
    Image(kImageWorking)[kSettingBOffset] = 0x42;
    for (int table = 0; table < 4; ++table) {
        std::memset(Image(kImageWorking) + kTableOffsets[table], 0x10 + table, 1024);
    }
    handler->AddMeasurement(1500, 2.5, 7);
    handler->AddMeasurement(3000, 4.125, -3);
    const std::string path = Save("car.zcf");
    EXPECT_EQ(std::vector<std::string>{"car.zcf"}, mainWindow.fileNames);
    EXPECT_FALSE(mainWindow.modifiedMarks.back());
    EXPECT_FALSE(handler->IsModified());

    // A program without a unit loads it, and saves it again: the tables come from the file.
    queue.tables = false;
    std::unique_ptr<CDataHandler> other = MakeHandler();
    for (int id = 0; id < kElementCount; ++id) {
        if (other->GetDescriptor(id)->GetAccess() == kAccessSetting) {
            other->Subscribe(&window, id, kFlagLoaded);
        }
    }
    Forget();
    EXPECT_EQ(0, other->LoadConfigFile(path.c_str()));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_TRUE(SettingsEqual(Image(kImageWorking), other->GetImage(kImageWorking)));
    EXPECT_EQ(0x42, other->GetImage(kImageWorking)[kSettingBOffset]);
    const std::vector<ConfigMeasurement> loaded = Measurements(*other);
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(3000, loaded[1].rpm);
    EXPECT_EQ(4125, loaded[1].injectionUs);
    EXPECT_EQ(-3, loaded[1].value);
    EXPECT_FALSE(other->IsModified());
    const std::vector<PostedMessage> posts = window.MessagesOf(WM_DH_ELEMENT_CHANGED);
    EXPECT_EQ(other->GetSettingDescriptors().size(), posts.size());
    for (const PostedMessage& post : posts) {
        EXPECT_EQ(kReasonLoaded, post.lParam & ~0xFFFF) << post;
    }

    const std::string again = folder.Path("again.zcf");
    ASSERT_EQ(1, other->SaveConfigFile(again.c_str()));
    std::vector<BYTE> first = CTempFolder::ReadBytes(path);
    std::vector<BYTE> second = CTempFolder::ReadBytes(again);
    ASSERT_EQ(first.size(), second.size());
    // Only the random bits of byte 18 and so the CRC-32 may differ.
    first[18] = second[18] = 0;
    first.resize(first.size() - 4);
    second.resize(second.size() - 4);
    EXPECT_EQ(first, second);
}

TEST_F(CDataHandlerConfigFile, FaultyFileIsRefusedWithItsMessageAndChangesNothing) {
    TakeUnit();
    const std::vector<BYTE> good = CTempFolder::ReadBytes(Save("good.zcf"));
    const std::size_t crcAt = good.size() - 4;

    struct Case {
        const char* name;
        std::size_t offset;
        BYTE value;
        bool fixCrc;
        int result;
    };

    const Case cases[] = {
        {"magic", 0, 'z', true, CConfigFile::kBadMagic},
        {"format version", 18, 0x52, true, CConfigFile::kBadFormatVersion},
        {"length field", 19, static_cast<BYTE>(good[19] + 1), true, CConfigFile::kBadLength},
        {"CRC-32", crcAt, static_cast<BYTE>(good[crcAt] ^ 1), false, CConfigFile::kBadCrc},
        {"other major", 24, kProgramMajor + 1, true, CConfigFile::kOtherMajor},
        {"newer minor", 23, kProgramMinor + 1, true, CConfigFile::kNewerMinor},
    };
    handler->AddMeasurement(100, 1.0, 1);
    Image(kImageWorking)[kSettingBOffset] = 0x99;
    SubscribeToSettings(kFlagLoaded);
    const std::vector<BYTE> before(Image(kImageWorking), Image(kImageWorking) + kImageBytes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forget();
        std::vector<BYTE> bad = good;
        bad[c.offset] = c.value;
        if (c.fixCrc) {
            FixCrc(bad);
        }
        EXPECT_EQ(c.result, handler->LoadConfigFile(WriteFile("bad.zcf", bad).c_str()));
        ASSERT_EQ(1u, user.messages.size());
        EXPECT_EQ("Invalid file format.", user.messages[0].text);
        EXPECT_EQ(IUserPrompter::Box::Error, user.messages[0].box);
        EXPECT_EQ(0, std::memcmp(before.data(), Image(kImageWorking), kImageBytes));
        EXPECT_EQ(1u, Measurements(*handler).size());
        EXPECT_TRUE(window.Messages().empty());
        EXPECT_TRUE(handler->IsModified());
    }
}

TEST_F(CDataHandlerConfigFile, FileOfWrongSizeOrMissingIsRefusedBeforeParsing) {
    TakeUnit();
    const std::vector<BYTE> good = CTempFolder::ReadBytes(Save("good.zcf"));
    std::vector<BYTE> tooLong = good;
    tooLong.resize(16385);

    struct Case {
        const char* name;
        std::string path;
        std::string message;
    };

    const std::string missing = folder.Path("missing.zcf");
    const Case cases[] = {
        {"28 bytes", WriteFile("short.zcf", std::vector<BYTE>(good.begin(), good.begin() + 28)),
         "Invalid file format."},
        {"16385 bytes", WriteFile("long.zcf", tooLong), "Invalid file format."},
        {"missing", missing, "Error opening file: " + missing + ".\nError code: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Forget();
        EXPECT_EQ(-1, handler->LoadConfigFile(c.path.c_str()));
        ASSERT_EQ(1u, user.messages.size());
        EXPECT_EQ(0u, user.messages[0].text.find(c.message)) << user.messages[0].text;
        EXPECT_TRUE(window.Messages().empty());
    }
}

TEST_F(CDataHandlerConfigFile, OlderFileIsConvertedSkippingRecordsItDoesNotKnow) {
    TakeUnit(0x11);
    Image(kImageWorking)[kSettingBOffset] = 0x99;
    const std::vector<BYTE> file = ConfigFile({{kSettingA, {0x77}},
                                               {kSettingB, {1, 2}},  // the element is one byte now
                                               {7, {0x66}},
                                               {200, {1, 2, 3}},  // an element no longer known
                                               {75, std::vector<BYTE>(12, 1)}},
                                              kProgramMinor - 1);
    EXPECT_EQ(CConfigFile::kOlderMinor, handler->LoadConfigFile(WriteFile("old.zcf", file).c_str()));
    ASSERT_EQ(1u, user.messages.size());
    EXPECT_EQ("Older file format converted.", user.messages[0].text);
    EXPECT_EQ(IUserPrompter::Box::Warning, user.messages[0].box);
    EXPECT_EQ(0x77, Image(kImageWorking)[kSettingAOffset]);
    EXPECT_EQ(0x66, Image(kImageWorking)[35]);
    EXPECT_EQ(0x99, Image(kImageWorking)[kSettingBOffset]);
    EXPECT_EQ(1u, Measurements(*handler).size());
    EXPECT_FALSE(handler->IsModified());
}

TEST_F(CDataHandlerConfigFile, FileWithoutRecordsLoadsAndChangesNoSetting) {
    TakeUnit(0x11);
    const std::vector<BYTE> before(Image(kImageWorking), Image(kImageWorking) + kImageBytes);
    const std::vector<BYTE> file = ConfigFile({});
    ASSERT_EQ(29u, file.size());
    EXPECT_EQ(0, handler->LoadConfigFile(WriteFile("empty.zcf", file).c_str()));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_TRUE(SettingsEqual(before.data(), Image(kImageWorking)));
    EXPECT_EQ(std::vector<std::string>{"empty.zcf"}, mainWindow.fileNames);
}

TEST_F(CDataHandlerConfigFile, LoadingWhileConnectedWritesOnlyTheSettingsThatDiffer) {
    TakeUnit(0x11);
    ConnectIdle();
    const std::vector<BYTE> file = ConfigFile({{kSettingA, {0x11}}, {kSettingB, {0x42}}});
    EXPECT_EQ(0, handler->LoadConfigFile(WriteFile("edit.zcf", file).c_str()));
    EXPECT_EQ(std::vector<int>{kSettingB}, QueuedElements());
    ASSERT_EQ(1u, queue.requests.size());
    EXPECT_EQ(22, queue.requests[0].row);
}

TEST_F(CDataHandlerConfigFile, LoadingWhileTheUnitIsBusyWritesNothing) {
    TakeUnit(0x11);
    handler->DataHandler(2, 3);
    Forget();
    const std::vector<BYTE> file = ConfigFile({{kSettingB, {0x42}}});
    EXPECT_EQ(0, handler->LoadConfigFile(WriteFile("edit.zcf", file).c_str()));
    EXPECT_TRUE(queue.requests.empty());
    EXPECT_EQ(0x42, Image(kImageWorking)[kSettingBOffset]);
}

TEST_F(CDataHandlerConfigFile, NothingToSaveWithoutUnitOrFile) {
    const std::string path = folder.Path("nothing.zcf");
    EXPECT_EQ(-1, handler->SaveConfigFile(path.c_str()));
    ASSERT_EQ(1u, user.messages.size());
    EXPECT_EQ("Nothing to save. Please connect an MCU or load a configuration.", user.messages[0].text);
    EXPECT_EQ(IUserPrompter::Box::Error, user.messages[0].box);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(CDataHandlerConfigFile, FileThatCannotBeCreatedIsReportedAndLeavesTheDataUnsaved) {
    TakeUnit();
    const std::string path = folder.Path("no-such-folder/car.zcf");
    EXPECT_EQ(0, handler->SaveConfigFile(path.c_str()));
    ASSERT_EQ(1u, user.messages.size());
    EXPECT_EQ(0u, user.messages[0].text.find("Error opening file: " + path + ".\nError code: "))
        << user.messages[0].text;
    EXPECT_TRUE(mainWindow.fileNames.empty());
    EXPECT_TRUE(handler->IsModified());
}

TEST_F(CDataHandlerConfigFile, SaveSplitsThePathIntoFolderAndName) {
    TakeUnit();
    Save("named.zcf");
    Image(kImageWorking)[kSettingBOffset] = 0x42;
    EXPECT_TRUE(handler->IsModified());
    // The next question about the unit suggests the current name.
    user.yesToQuestions = true;
    user.direction = kTransferFromUnit;
    SetUnitId(kImageUnit, "OTHER-UNIT-00002");
    handler->CheckConnectedUnit();
    EXPECT_EQ(std::vector<std::string>{"named.zcf"}, user.suggestedNames);
}
