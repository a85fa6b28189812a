// A data handler wired to recording fakes, and the steps that bring it into a state:
// connected, and the unit idle or busy after its engine status was read.
#pragma once

#include "link/CDataHandler.h"
#include "link/CommRequest.h"
#include "tests/datamodel/CRecordingMainWindow.h"
#include "tests/datamodel/CRecordingQueue.h"
#include "tests/datamodel/CRecordingWindow.h"
#include "tests/datamodel/CScriptedPrompter.h"

#include <memory>

#include <gtest/gtest.h>

constexpr int kEngineStatusOffset = 2172;

class DataHandlerFixture : public testing::Test {
protected:
    DataHandlerFixture() { NewHandler(); }

    // Replaces the handler with a new one wired to the fakes.
    void NewHandler() {
        handler = std::make_unique<CDataHandler>();
        handler->SetRequestQueue(&queue);
        handler->SetMainWindow(&mainWindow);
        handler->SetPrompter(&prompter);
    }

    BYTE* Working() { return handler->GetImage(kImageWorking); }

    // Completes a one-shot request about an element (or none) as the worker would.
    void Finish(int element, int kind = kKindOrdinary, int success = 1) {
        CommRequest request;
        request.descriptor = element >= 0 ? handler->GetDescriptor(element) : nullptr;
        request.kind = kind;
        handler->OnTaskFinished(&request, success);
    }

    // The worker read the engine status with this job byte.
    void ReadEngineStatus(BYTE jobByte) {
        Working()[kEngineStatusOffset + 3] = jobByte;
        Finish(DATA_STATUS_ENGINE_STATUS);
    }

    // Status 2 on COM7 and an idle unit; the requests of the full read are forgotten.
    void ConnectIdle(int status = 2) {
        handler->DataHandler(status, 7);
        ReadEngineStatus(255);
        queue.requests.clear();
        mainWindow.posted.Clear();
    }

    CRecordingQueue queue;
    CRecordingMainWindow mainWindow;
    CScriptedPrompter prompter;
    std::unique_ptr<CDataHandler> handler;
};
