// What the calibration dialog tests share: a data handler on recording fakes whose link is
// up with an idle unit, the program's resource manager and font cache, a stand-in map page
// window, a message pump, message boxes answered and recorded instead of shown, and the
// bytes written to element 32 in order.
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

inline void CalibTestVersion(int& major, int& minor) {
    major = 1;
    minor = 2;
}

// The queue of the link, remembering the value of each element write as it was queued.
class CValueRecordingQueue : public CRecordingQueue {
public:
    struct Write {
        int element;
        std::vector<BYTE> bytes;
    };

    bool QueueRequest(CDataDescriptor* descriptor,
                      int kind,
                      int row,
                      const BYTE* source,
                      BYTE* destination,
                      std::size_t destinationSize) override {
        if (descriptor != nullptr && handler != nullptr) {
            const int element = descriptor->GetID();
            const BYTE* image = handler->GetImage(kImageWorking) + handler->GetElementOffset(element);
            writes.push_back({element, std::vector<BYTE>(image, image + handler->GetElementLength(element))});
        }
        return CRecordingQueue::QueueRequest(descriptor, kind, row, source, destination, destinationSize);
    }

    // The first byte of every write of element, in order.
    std::vector<int> FirstBytesOf(int element) const {
        std::vector<int> values;
        for (const Write& write : writes) {
            if (write.element == element && !write.bytes.empty()) {
                values.push_back(write.bytes[0]);
            }
        }
        return values;
    }

    CDataHandler* handler = nullptr;  // not owned
    std::vector<Write> writes;
};

class CalibDialogHost : public testing::Test {
protected:
    CalibDialogHost() {
        SetAppVersionSource(&CalibTestVersion);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        queue.handler = &handler;
        handler.SetRequestQueue(&queue);
        handler.SetMainWindow(&mainWindow);
        handler.SetPrompter(&prompter);
        m_previousPrompter = AfxSetPrompter([this](const char* text, UINT type, const char*) {
            boxes.push_back(text);
            boxTypes.push_back(type);
            return answer;
        });
    }

    ~CalibDialogHost() override { AfxSetPrompter(m_previousPrompter); }

    void SetUp() override {
        ASSERT_TRUE(page.Create(kPageTemplateId, nullptr));
        page.MoveWindow(0, 0, 700, 500, TRUE);
        page.ShowWindow(SW_SHOW);
        PumpMessages();
    }

    // The link comes up on COM7 with an idle unit; the requests of the full read are forgotten.
    void ConnectIdle() {
        handler.DataHandler(2, 7);
        SetElement(kEngineStatus, {0, 0, 0, 255, 0});
        CommRequest request;
        request.descriptor = handler.GetDescriptor(kEngineStatus);
        request.kind = kKindOrdinary;
        handler.OnTaskFinished(&request, 1);
        PumpMessages();
        queue.requests.clear();
        queue.writes.clear();
    }

    void SetElement(int element, const std::vector<BYTE>& bytes) {
        std::memcpy(handler.GetImage(kImageWorking) + handler.GetElementOffset(element), bytes.data(),
                    bytes.size());
    }

    // The live elements of one polling cycle, OBD block included.
    struct LiveCycle {
        int rpm = 2000;
        int injectionUs = 4000;
        int fuel = 255;  // on gas
        int temperatureC = 80;
        int shortTrim1 = 0;
        int longTrim1 = 0;
        int status1 = 2;  // closed loop
        int validity = 0x0F;
    };

    void SetLiveElements(const LiveCycle& c) {
        SetElement(26, {static_cast<BYTE>(c.rpm & 0xFF), static_cast<BYTE>(c.rpm >> 8)});
        std::vector<BYTE> times;
        for (int i = 0; i < 8; ++i) {
            times.push_back(static_cast<BYTE>(c.injectionUs & 0xFF));
            times.push_back(static_cast<BYTE>(c.injectionUs >> 8));
        }
        SetElement(27, times);
        SetElement(kEngineStatus, {static_cast<BYTE>(c.fuel), 0, 0, 255, 0});
        SetElement(31, {static_cast<BYTE>(c.temperatureC)});
        std::vector<BYTE> obd(16, 0);
        obd[0] = static_cast<BYTE>(c.shortTrim1);
        obd[1] = static_cast<BYTE>(c.longTrim1);
        obd[6] = static_cast<BYTE>(c.validity);
        obd[8] = static_cast<BYTE>(c.status1);
        SetElement(95, obd);
    }

    static constexpr UINT kPageTemplateId = 102;
    static constexpr int kEngineStatus = 30;

    CValueRecordingQueue queue;
    CRecordingMainWindow mainWindow;
    CScriptedPrompter prompter;
    CDataHandler handler;

    // One for the whole run: making one reads the language modules and the text tables.
    static CResourceManager& SharedResources() {
        static CResourceManager shared;
        return shared;
    }

    CResourceManager& resources = SharedResources();
    CFontCache fonts;
    CDialog page{kPageTemplateId, nullptr};
    std::vector<std::string> boxes;
    std::vector<UINT> boxTypes;
    int answer = IDOK;

private:
    AfxPrompter m_previousPrompter;
};

// Replaces an edit's text.
inline void TypeInto(CWnd& dialog, int id, const char* text) {
    SetDlgItemTextA(dialog.GetSafeHwnd(), id, text);
}

inline std::string ItemText(CWnd& dialog, int id) {
    return WindowText(GetDlgItem(dialog.GetSafeHwnd(), id));
}

inline bool ItemEnabled(CWnd& dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog.GetSafeHwnd(), id)) != FALSE;
}

inline bool ItemVisible(CWnd& dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog.GetSafeHwnd(), id)) != FALSE;
}

inline void Click(CWnd& dialog, int id) {
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.GetSafeHwnd(), id)));
    PumpMessages();
}

// Runs the dialog modally; action runs once from a timer inside the modal loop. A dialog
// still up well after that is ended with kGaveUp, so a fault cannot hang the test.
constexpr INT_PTR kGaveUp = -2;

struct ModalScript {
    CDialog* dialog = nullptr;
    std::function<void()> action;
    bool done = false;
    int idleTicks = 0;
};

inline ModalScript*& CurrentModalScript() {
    static ModalScript* script = nullptr;
    return script;
}

inline void CALLBACK RunModalScriptTick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* script = CurrentModalScript();
    if (script == nullptr || script->dialog->GetSafeHwnd() == nullptr) {
        return;
    }
    if (!script->done) {
        script->done = true;
        script->action();
        return;
    }
    if (++script->idleTicks > 50) {
        script->dialog->EndDialog(static_cast<int>(kGaveUp));
    }
}

inline INT_PTR RunModal(CDialog& dialog, std::function<void()> action) {
    ModalScript script;
    script.dialog = &dialog;
    script.action = std::move(action);
    CurrentModalScript() = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &RunModalScriptTick);
    const INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    CurrentModalScript() = nullptr;
    return result;
}
