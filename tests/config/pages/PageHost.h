// What the windowed page and dialog tests share: a data handler on recording fakes, the
// program's resource manager and font cache, a stand-in main window to parent the windows,
// a message pump, and message boxes answered and recorded instead of shown.
#pragma once

#include "classlib/win/AfxMessageBox.h"
#include "classlib/win/CDialog.h"
#include "forms/fonts/CFontCache.h"
#include "link/CDataHandler.h"
#include "link/CommRequest.h"
#include "link/RecentSettings.h"
#include "shell/CResourceManager.h"
#include "tests/datamodel/CRecordingMainWindow.h"
#include "tests/datamodel/CRecordingQueue.h"
#include "tests/datamodel/CScriptedPrompter.h"

#include <windows.h>

#include <commctrl.h>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline std::string WindowText(HWND window) {
    char text[512] = {};
    return std::string(text, GetWindowTextA(window, text, sizeof(text)));
}

// Visible controls of a page (group boxes aside) that overlap another or leave the page,
// as "id/id" or "id out" texts; empty when the layout is clean.
inline std::vector<std::string> LayoutClashes(HWND page) {
    struct Placed {
        int id;
        RECT rect;
    };

    std::vector<Placed> placed;
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        char className[32] = {};
        GetClassNameA(child, className, sizeof(className));
        const bool groupBox = std::string(className) == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX;
        if ((style & WS_VISIBLE) == 0 || groupBox) {
            continue;
        }
        RECT rect = {};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
        placed.push_back({GetDlgCtrlID(child), rect});
    }
    RECT client = {};
    GetClientRect(page, &client);
    std::vector<std::string> clashes;
    for (size_t i = 0; i < placed.size(); ++i) {
        const RECT& a = placed[i].rect;
        if (a.left < 0 || a.top < 0 || a.right > client.right || a.bottom > client.bottom ||
            a.right <= a.left || a.bottom <= a.top) {
            clashes.push_back(std::to_string(placed[i].id) + " out");
        }
        for (size_t j = i + 1; j < placed.size(); ++j) {
            RECT overlap = {};
            if (IntersectRect(&overlap, &a, &placed[j].rect)) {
                clashes.push_back(std::to_string(placed[i].id) + "/" + std::to_string(placed[j].id));
            }
        }
    }
    return clashes;
}

inline void PageTestVersion(int& major, int& minor) {
    major = 1;
    minor = 2;
}

class PageHost : public testing::Test {
protected:
    PageHost() {
        SetAppVersionSource(&PageTestVersion);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        handler.SetRequestQueue(&queue);
        handler.SetMainWindow(&mainWindow);
        handler.SetPrompter(&prompter);
        m_previousPrompter = AfxSetPrompter([this](const char* text, UINT, const char*) {
            boxes.push_back(text);
            if (duringBox) {
                duringBox();
            }
            return IDOK;
        });
    }

    ~PageHost() override { AfxSetPrompter(m_previousPrompter); }

    void SetUp() override {
        ASSERT_TRUE(main.Create(kMainTemplateId, nullptr));
        main.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    // The link comes up on COM7 with an idle unit; the requests of the full read are forgotten.
    void ConnectIdle() {
        handler.DataHandler(2, 7);
        constexpr int kEngineStatus = 30;
        BYTE status[5] = {0, 0, 0, 255, 0};
        std::memcpy(handler.GetImage(kImageWorking) + handler.GetElementOffset(kEngineStatus), status,
                    sizeof(status));
        CommRequest request;
        request.descriptor = handler.GetDescriptor(kEngineStatus);
        request.kind = kKindOrdinary;
        handler.OnTaskFinished(&request, 1);
        PumpMessages();
        queue.requests.clear();
    }

    // The elements that the queue was asked to write, in order.
    std::vector<int> QueuedElements() const {
        std::vector<int> elements;
        for (const QueuedRequest& request : queue.requests) {
            elements.push_back(request.element);
        }
        return elements;
    }

    static constexpr UINT kMainTemplateId = 102;

    CRecordingQueue queue;
    CRecordingMainWindow mainWindow;
    CScriptedPrompter prompter;
    CDataHandler handler;
    CResourceManager resources;
    CFontCache fonts;
    CDialog main{kMainTemplateId, nullptr};
    std::vector<std::string> boxes;
    // Runs while a box is "open", as the user's focus change or a posted message would.
    std::function<void()> duringBox;

private:
    AfxPrompter m_previousPrompter;
};
