// The check after a full read: whether the unit's data or the edits win, the questions it
// asks, and the identity elements it always takes from the unit.
#include "tests/datafiles/DataFilesFixture.h"

class CDataHandlerConnectedUnit : public DataFilesFixture {
protected:
    // Working data from a configuration file, no unit read yet.
    std::string LoadFile(BYTE settingB) {
        handler = MakeHandler();
        TakeUnit();
        Image(kImageWorking)[kSettingBOffset] = settingB;
        const std::string path = folder.Path("file.zcf");
        EXPECT_EQ(1, handler->SaveConfigFile(path.c_str()));
        handler = MakeHandler();
        EXPECT_EQ(0, handler->LoadConfigFile(path.c_str()));
        Forget();
        return path;
    }
};

TEST_F(CDataHandlerConnectedUnit, FirstUnitWithoutFileIsTakenAsUntitled) {
    SubscribeToSettings(kFlagLoaded);
    Image(kImageUnit)[kSettingAOffset] = 0x11;
    handler->CheckConnectedUnit();
    EXPECT_EQ(0x11, Image(kImageWorking)[kSettingAOffset]);
    EXPECT_EQ(0, std::memcmp(Image(kImageUnit), Image(kImageLastKnown), kImageBytes));
    EXPECT_EQ(std::vector<std::string>{"Untitled"}, mainWindow.fileNames);
    EXPECT_TRUE(mainWindow.modifiedMarks.back());
    EXPECT_TRUE(handler->HasConfiguration());
    EXPECT_TRUE(handler->IsModified());
    EXPECT_EQ(handler->GetSettingDescriptors().size(), window.MessagesOf(WM_DH_ELEMENT_CHANGED).size());
    EXPECT_TRUE(user.directionQuestions.empty());
}

TEST_F(CDataHandlerConnectedUnit, FileAndNewUnitAskWhichWayTheDataGoes) {
    struct Case {
        const char* name;
        int answer;
        BYTE settingB;  // expected in image 0 afterwards
        bool written;   // the edits were queued for the unit
    };

    const Case cases[] = {
        {"MCU -> Memory", kTransferFromUnit, 0x00, false},
        {"Memory -> MCU", kTransferToUnit, 0x42, true},
        {"Cancel", kTransferCancel, 0x42, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadFile(0x42);
        ConnectIdle();
        handler->AddMeasurement(1, 1.0, 1);
        user.direction = c.answer;
        handler->CheckConnectedUnit();
        ASSERT_EQ(1u, user.directionQuestions.size());
        EXPECT_EQ(0u, user.directionQuestions[0].find("It seems a new MCU has been connected."));
        EXPECT_EQ(c.settingB, Image(kImageWorking)[kSettingBOffset]);
        EXPECT_EQ(c.written, !queue.requests.empty());
        // The file was saved, so nothing is offered to save.
        EXPECT_TRUE(user.messages.empty());
        CPtrList measurements;
        handler->CopyMeasurements(measurements);
        EXPECT_EQ(c.answer == kTransferFromUnit ? 0 : 1, measurements.GetCount());
    }
}

TEST_F(CDataHandlerConnectedUnit, UnsavedEditsAreOfferedForSavingBeforeTheUnitOverwritesThem) {
    LoadFile(0x42);
    Image(kImageWorking)[kSettingBOffset] = 0x43;
    user.direction = kTransferFromUnit;
    user.yesToQuestions = true;
    const std::string savedPath = folder.Path("before.zcf");
    user.savePaths = {folder.Path("no-such-folder/x.zcf"), savedPath};
    handler->CheckConnectedUnit();
    ASSERT_EQ(2u, user.messages.size());
    EXPECT_EQ("OK. Do you want to save this configuration before overwriting from MCU?",
              user.messages[0].text);
    EXPECT_EQ(IUserPrompter::Box::Question, user.messages[0].box);
    EXPECT_EQ(0u, user.messages[1].text.find("Error opening file: "));
    EXPECT_EQ((std::vector<std::string>{"file.zcf", "file.zcf"}), user.suggestedNames);
    // The unit's data in the handler, the edits in the saved file.
    EXPECT_EQ("Untitled", mainWindow.fileNames.back());
    EXPECT_EQ(0x00, Image(kImageWorking)[kSettingBOffset]);
    std::unique_ptr<CDataHandler> reader = MakeHandler();
    ASSERT_EQ(0, reader->LoadConfigFile(savedPath.c_str()));
    EXPECT_EQ(0x43, reader->GetImage(kImageWorking)[kSettingBOffset]);
}

TEST_F(CDataHandlerConnectedUnit, SameUnitWithChangedDataGetsTheEditsWithoutAQuestion) {
    TakeUnit(0x11);
    ConnectIdle();
    Image(kImageWorking)[kSettingBOffset] = 0x42;
    Image(kImageUnit)[kSettingAOffset] = 0x12;  // changed on the unit since it was last seen
    handler->CheckConnectedUnit();
    EXPECT_TRUE(user.directionQuestions.empty());
    EXPECT_EQ((std::vector<int>{kSettingA, kSettingB}), QueuedElements());
    EXPECT_EQ(0, std::memcmp(Image(kImageUnit), Image(kImageLastKnown), kImageBytes));
}

TEST_F(CDataHandlerConnectedUnit, OtherUnitOrForcedPromptAsks) {
    struct Case {
        const char* name;
        const char* unitId;
        bool force;
        bool asked;
    };

    const Case cases[] = {
        {"same unit", "UNIT-0000000001A", false, false},
        {"other unit", "UNIT-0000000002B", false, true},
        {"same unit after a firmware update", "UNIT-0000000001A", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        handler = MakeHandler();
        TakeUnit(0x11);
        SetUnitId(kImageUnit, c.unitId);
        Image(kImageUnit)[kSettingAOffset] = 0x12;
        if (c.force) {
            handler->ForceNewUnitPrompt();
        }
        handler->CheckConnectedUnit();
        EXPECT_EQ(c.asked ? 1u : 0u, user.directionQuestions.size());
        if (c.force) {
            // The prompt is forced once only.
            Forget();
            handler->CheckConnectedUnit();
            EXPECT_TRUE(user.directionQuestions.empty());
        }
    }
}

TEST_F(CDataHandlerConnectedUnit, IdentityIsTakenFromTheUnitWhateverTheAnswer) {
    LoadFile(0x42);
    for (int id = 0; id < kElementCount; ++id) {
        if (handler->GetDescriptor(id)->GetAccess() == kAccessIdentity) {
            handler->Subscribe(&window, id, kFlagLoaded);
        }
    }
    SetUnitId(kImageUnit, "UNIT-0000000003C");
    user.direction = kTransferToUnit;
    handler->CheckConnectedUnit();
    EXPECT_EQ(0, std::memcmp("UNIT-0000000003C", Image(kImageWorking) + kUnitIdOffset, 16));
    EXPECT_EQ(0, std::memcmp("UNIT-0000000003C", Image(kImageLastKnown) + kUnitIdOffset, 16));
    EXPECT_FALSE(window.MessagesOf(WM_DH_ELEMENT_CHANGED).empty());
    EXPECT_EQ(0x42, Image(kImageWorking)[kSettingBOffset]);
}
