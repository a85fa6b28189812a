// The user for tests: answers questions, the direction dialog and the save dialog from a
// script, and records every message shown.
#pragma once

#include "link/IUserPrompter.h"

#include <deque>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    IUserPrompter::Box box;
};

class CScriptedUser : public IUserPrompter {
public:
    bool ShowMessage(LPCSTR text, Box box) override {
        messages.push_back({text, box});
        return box == Box::Question && yesToQuestions;
    }

    int AskTransferDirection(LPCSTR message) override {
        directionQuestions.push_back(message);
        return direction;
    }

    bool ChooseConfigFileToSave(LPCSTR suggestedName, CString& path) override {
        suggestedNames.push_back(suggestedName);
        if (savePaths.empty()) {
            return false;
        }
        path = savePaths.front().c_str();
        savePaths.pop_front();
        return true;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

    bool yesToQuestions = false;
    int direction = kTransferCancel;
    std::deque<std::string> savePaths;  // answers of the save dialog; empty: cancel
    std::vector<ShownMessage> messages;
    std::vector<std::string> directionQuestions;
    std::vector<std::string> suggestedNames;
};
