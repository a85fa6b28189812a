// The main window for tests: records its messages, modified marks, titles, names and the
// marks of held edits.
#pragma once

#include "link/IMainWindow.h"
#include "tests/datamodel/CRecordingWindow.h"

#include <string>
#include <vector>

class CRecordingMainWindow : public IMainWindow {
public:
    void PostMessage(UINT message, UINT_PTR wParam, LONG_PTR lParam) override {
        posted.PostMessage(message, wParam, lParam);
    }

    void SetModified(BOOL modified) override { modifiedMarks.push_back(modified != FALSE); }

    void UpdateTitle() override { ++titleUpdates; }

    void SetFileName(LPCSTR fileName) override { fileNames.push_back(fileName); }

    void SetEditsHeld(BOOL held) override { editsHeldMarks.push_back(held != FALSE); }

    CRecordingWindow posted;
    std::vector<bool> modifiedMarks;
    int titleUpdates = 0;
    std::vector<std::string> fileNames;
    std::vector<bool> editsHeldMarks;
};
