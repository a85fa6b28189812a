// A data handler stand-in for tests that drive the worker pass by pass: records
// statuses, completions with their rows, and the progress messages of the full read
// and of firmware uploads.
#pragma once

#include "link/CommRequest.h"
#include "link/ICommunicatorSink.h"

#include <array>
#include <utility>
#include <vector>

class CProgressSink : public ICommunicatorSink {
public:
    void DataHandler(int status, int) override { statuses.push_back(status); }

    void OnTaskFinished(CommRequest* request, int success) override {
        finished.emplace_back(request->row, success);
    }

    bool OnLiveCycleEnd() override { return true; }

    std::vector<CDataDescriptor*> GetSettingDescriptors() override { return {}; }

    void OnFullReadProgress(UINT_PTR wParam, LONG_PTR lParam) override {
        fullRead.emplace_back(static_cast<int>(wParam), static_cast<int>(lParam));
    }

    void PostUpdateProgress(UINT_PTR code, LONG_PTR perMille) override {
        update.emplace_back(static_cast<int>(code), static_cast<int>(perMille));
    }

    void OnUpdateModeInfo(WORD word0, WORD word1, WORD word2) override { words = {word0, word1, word2}; }

    std::vector<int> statuses;
    std::vector<std::pair<int, int>> finished;  // row, success
    std::vector<std::pair<int, int>> fullRead;  // wParam, lParam of 0x623
    std::vector<std::pair<int, int>> update;    // wParam, lParam of 0x622
    std::array<WORD, 3> words{};
};
