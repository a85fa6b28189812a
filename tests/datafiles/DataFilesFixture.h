// A data handler wired to recording fakes and scripted answers, a folder for its files,
// and the steps that bring it into a state: holding a unit's data, connected and idle.
#pragma once

#include "link/CDataHandler.h"
#include "link/CommRequest.h"
#include "link/DataHandlerMessages.h"
#include "tests/datafiles/CRecordingResources.h"
#include "tests/datafiles/CScriptedUser.h"
#include "tests/datamodel/CRecordingMainWindow.h"
#include "tests/datamodel/CRecordingQueue.h"
#include "tests/datamodel/CRecordingWindow.h"
#include "tests/files/CTempFolder.h"

#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

// The program these tests stand for: version 2.05.
constexpr int kProgramMajor = 2;
constexpr int kProgramMinor = 5;

// Settings used by the tests: their offsets in the images.
constexpr int kSettingA = 0;  // 1 byte at 3, written with row 17
constexpr int kSettingAOffset = 3;
constexpr int kSettingB = 35;  // 1 byte at 1140, written with row 22
constexpr int kSettingBOffset = 1140;
constexpr int kUnitIdOffset = 2267;
constexpr int kEngineStatusByte3 = 2172 + 3;
constexpr int kTableOffsets[] = {2328, 3385, 4442, 5499};  // elements 80, 82, 84, 86

class DataFilesFixture : public testing::Test {
protected:
    DataFilesFixture() { handler = MakeHandler(); }

    std::unique_ptr<CDataHandler> MakeHandler() {
        auto made = std::make_unique<CDataHandler>();
        made->SetRequestQueue(&queue);
        made->SetMainWindow(&mainWindow);
        made->SetUserPrompter(&user);
        made->SetResourceManager(&resources);
        made->SetProgramVersion(kProgramMajor, kProgramMinor);
        return made;
    }

    BYTE* Image(int image) { return handler->GetImage(image); }

    void SetUnitId(int image, const char* id) { std::memcpy(Image(image) + kUnitIdOffset, id, 16); }

    // A unit was read for the first time: its data becomes the working data.
    void TakeUnit(BYTE settingA = 0x11, const char* id = "UNIT-0000000001A") {
        Image(kImageUnit)[kSettingAOffset] = settingA;
        SetUnitId(kImageUnit, id);
        handler->CheckConnectedUnit();
        Forget();
    }

    // Status 2 and an idle unit.
    void ConnectIdle() {
        handler->DataHandler(2, 3);
        Image(kImageWorking)[kEngineStatusByte3] = 255;
        CommRequest request;
        request.descriptor = handler->GetDescriptor(DATA_STATUS_ENGINE_STATUS);
        handler->OnTaskFinished(&request, 1);
        Forget();
    }

    // Forgets what the fakes recorded so far.
    void Forget() {
        queue.requests.clear();
        mainWindow.posted.Clear();
        mainWindow.modifiedMarks.clear();
        mainWindow.fileNames.clear();
        user.messages.clear();
        user.directionQuestions.clear();
        window.Clear();
    }

    void SubscribeToSettings(int flags) {
        for (int id = 0; id < kElementCount; ++id) {
            if (handler->GetDescriptor(id)->GetAccess() == kAccessSetting) {
                handler->Subscribe(&window, id, flags);
            }
        }
    }

    // The elements of the requests queued so far.
    std::vector<int> QueuedElements() const {
        std::vector<int> elements;
        for (const QueuedRequest& request : queue.requests) {
            elements.push_back(request.element);
        }
        return elements;
    }

    bool SettingsEqual(const BYTE* a, const BYTE* b) const { return !handler->CompareImages(a, b, nullptr); }

    CRecordingQueue queue;
    CRecordingMainWindow mainWindow;
    CScriptedUser user;
    CRecordingResources resources;
    CRecordingWindow window;
    CTempFolder folder;
    std::unique_ptr<CDataHandler> handler;
};
