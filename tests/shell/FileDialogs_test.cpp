// The enlarged file dialogs under Wine. Wine reports a version from 6 on by default, where the
// configurator keeps the plain dialog; the test therefore runs itself again as a child process
// for which Wine's per-program setting reports Windows XP, and drives the modal common dialog
// there from a timer: it must grow toward the middle of its owner, keep the name column's
// width in another folder, and its description pane must show the history of a selected
// update file and nothing for a folder or another file.
#include "classlib/win/CRegistryKey.h"
#include "classlib/win/CWnd.h"
#include "link/CDataHandler.h"
#include "shell/CFileDialogExtLayout.h"
#include "shell/CFileDialogExtView.h"
#include "shell/CFileDialogPreview.h"
#include "shell/CResourceManager.h"
#include "tests/files/CTempFolder.h"
#include "tests/files/FileBytes.h"
#include "tests/files/ReferenceFiles.h"

#include <windows.h>

#include <algorithm>
#include <commctrl.h>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr char kChildVariable[] = "ZARVO_FILE_DIALOG_CHILD";
constexpr DWORD kChildTimeoutMs = 120000;

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

std::string ProgramName() {
    const std::string path = ProgramPath();
    return path.substr(path.rfind('\\') + 1);
}

bool IsChild() {
    return std::getenv(kChildVariable) != nullptr;
}

// Wine's version for this program alone, put back as it was at the end.
class CWineVersionForProgram {
public:
    explicit CWineVersionForProgram(LPCSTR version)
        : m_path("Software\\Wine\\AppDefaults\\" + ProgramName()) {
        CRegistryKey key;
        if (key.Create(HKEY_CURRENT_USER, m_path.c_str(), KEY_READ | KEY_WRITE) != ERROR_SUCCESS) {
            return;
        }
        CString previous;
        m_hadValue = key.QueryText("Version", previous) == ERROR_SUCCESS;
        m_previous = previous;
        m_set = key.SetText("Version", version) == ERROR_SUCCESS;
    }

    ~CWineVersionForProgram() {
        CRegistryKey key;
        if (key.Open(HKEY_CURRENT_USER, m_path.c_str(), KEY_WRITE) != ERROR_SUCCESS) {
            return;
        }
        if (m_hadValue) {
            key.SetText("Version", m_previous.c_str());
            return;
        }
        RegDeleteValueA(key.Get(), "Version");
    }

    CWineVersionForProgram(const CWineVersionForProgram&) = delete;
    CWineVersionForProgram& operator=(const CWineVersionForProgram&) = delete;

    bool IsSet() const { return m_set; }

private:
    std::string m_path;
    std::string m_previous;
    bool m_hadValue = false;
    bool m_set = false;
};

// Runs this program's XP tests in a child process; its exit code, or -1.
DWORD RunChild() {
    const std::string commandLine = "\"" + ProgramPath() + "\" --gtest_filter=FileDialogsXp.*";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    SetEnvironmentVariableA(kChildVariable, "1");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    SetEnvironmentVariableA(kChildVariable, nullptr);
    if (!started) {
        return static_cast<DWORD>(-1);
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, kChildTimeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, static_cast<UINT>(-1));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// ---- Driving the modal common dialog ---------------------------------------------------

using Step = std::function<void(HWND)>;

struct DialogDriver {
    std::vector<Step> steps;
    size_t next = 0;
    int ticks = 0;
};

DialogDriver g_driver;

constexpr int kTicksBeforeGivingUp = 200;

BOOL CALLBACK FindCommonDialog(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    if (std::string(name) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// One step per tick once the common dialog shows; cancels it when the steps take too long.
void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindCommonDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        return;
    }
    if (++g_driver.ticks > kTicksBeforeGivingUp) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (g_driver.next < g_driver.steps.size()) {
        g_driver.steps[g_driver.next++](dialog);
    }
}

INT_PTR RunWithSteps(CFileDialog& dialog, std::vector<Step> steps) {
    g_driver = DialogDriver();
    g_driver.steps = std::move(steps);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveDialog);
    const INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    g_driver = DialogDriver();
    return result;
}

HWND FindList(HWND dialog) {
    return CFileDialogExtView::FindList(GetDlgItem(dialog, CFileDialogExtView::kShellViewId));
}

int NameColumnWidth(HWND dialog) {
    return static_cast<int>(SendMessageA(FindList(dialog), LVM_GETCOLUMNWIDTH, 0, 0));
}

// Selects the list's item of that name, which the shell view reports as a selection change.
bool SelectFile(HWND dialog, const char* name) {
    const HWND list = FindList(dialog);
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
    const int item = static_cast<int>(
        SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    if (item < 0) {
        return false;
    }
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    return true;
}

// The child dialog that holds the description pane.
HWND PaneDialog(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, CFileDialogPreview::kDescriptionId) != nullptr) {
            return child;
        }
    }
    return nullptr;
}

std::string DescriptionText(HWND dialog) {
    char text[1024] = {};
    const HWND edit = GetDlgItem(PaneDialog(dialog), CFileDialogPreview::kDescriptionId);
    return std::string(text, GetWindowTextA(edit, text, sizeof(text)));
}

// Remembers the common dialog's rectangle just before the view is set up and grown.
class CMeasuredPreview : public CFileDialogPreview {
public:
    using CFileDialogPreview::CFileDialogPreview;

    RECT before = {};

protected:
    BOOL OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == CFileDialogExtView::kSetUpMessage && wParam == 1) {
            GetWindowRect(GetCommonDialog(), &before);
        }
        return CFileDialogPreview::OnHookMessage(message, wParam, lParam, result);
    }
};

std::string ProgramFolder() {
    const std::string path = ProgramPath();
    return path.substr(0, path.rfind('\\') + 1);
}

CFileDialogExtLayout::Box ToBox(const RECT& rect) {
    return CFileDialogExtLayout::Box{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

TEST(FileDialogs, EnlargedDialogsRunWhereWineReportsWindowsXp) {
    if (IsChild()) {
        GTEST_SKIP() << "runs in the parent only";
    }
    EXPECT_FALSE(CFileDialogExt2::IsNeeded());
    CWineVersionForProgram version("winxp64");
    ASSERT_TRUE(version.IsSet());
    EXPECT_EQ(0u, RunChild());
}

TEST(FileDialogsXp, PreviewGrowsAndDescribesTheSelectedUpdateFile) {
    if (!IsChild()) {
        GTEST_SKIP() << "runs in the child process for which Wine reports Windows XP";
    }
    ASSERT_TRUE(CFileDialogExt2::IsNeeded());
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const std::string catalogue = ProgramFolder() + "firmware.xml";
    DeleteFileA(catalogue.c_str());
    CTempFolder folder;
    CTempFolder::WriteBytes(folder.Path("update.zfu"), Bytes(kReferenceZipped));
    CTempFolder::WriteBytes(folder.Path("notes.txt"), std::vector<BYTE>(40, 'x'));
    CreateDirectoryA(folder.Path("sub").c_str(), nullptr);

    CWnd owner;
    const CRect ownerRect(20, 20, 1240, 1000);
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, ownerRect, nullptr, nullptr));
    RECT before = {};
    RECT after = {};
    std::string label;
    std::vector<std::string> texts;
    std::pair<int, int> editMargins;
    int widthBefore = 0;
    int widthAfter = 0;
    {
        CResourceManager resources;
        CDataHandler handler;
        handler.SetResourceManager(&resources);
        CMeasuredPreview dialog(TRUE, nullptr, nullptr, OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                                "All files|*.*||", &owner);
        dialog.SetDataHandler(&handler);
        dialog.SetResourceManager(&resources);
        dialog.SetInitialFolder(folder.Path("").c_str());
        // The pane's text after each selection, in this order. Wine keeps the last file's name in
        // the name box when a folder is selected, so the folder comes before any file.
        const char* const selections[] = {"sub", "update.zfu", "notes.txt", "update.zfu"};
        std::vector<Step> steps = {[&](HWND common) {
            GetWindowRect(common, &after);
            char text[64] = {};
            GetDlgItemTextA(PaneDialog(common), CFileDialogPreview::kLabelId, text, sizeof(text));
            label = text;
            // The pane's edit keeps a right margin of its left one plus a scroll bar's width.
            const HWND pane = PaneDialog(common);
            CRect client;
            GetClientRect(pane, &client);
            CRect edit;
            GetWindowRect(GetDlgItem(pane, CFileDialogPreview::kDescriptionId), &edit);
            MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&edit), 2);
            editMargins = {edit.left + GetSystemMetrics(SM_CXVSCROLL), client.right - edit.right};
        }};
        for (const char* name : selections) {
            steps.push_back([&texts, name](HWND common) {
                texts.push_back(SelectFile(common, name) ? DescriptionText(common)
                                                         : std::string("(not listed)"));
            });
        }
        // Into the subfolder: the common dialog builds a new view, whose name column keeps the width.
        steps.push_back([&](HWND common) {
            widthBefore = NameColumnWidth(common);
            SetDlgItemTextA(common, cmb13, "sub");
            SetDlgItemTextA(common, edt1, "sub");
            PostMessageA(common, WM_COMMAND, IDOK, 0);
        });
        steps.push_back([&](HWND common) {
            widthAfter = NameColumnWidth(common);
            PostMessageA(common, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(IDCANCEL, RunWithSteps(dialog, std::move(steps)));
        before = dialog.before;
    }
    owner.DestroyWindow();

    EXPECT_EQ("Description:", label);
    EXPECT_EQ(editMargins.first, editMargins.second);
    ASSERT_EQ(4u, texts.size());
    EXPECT_EQ("", texts[0]);
    EXPECT_NE(std::string::npos, texts[1].find("v3.05-0078 (2)")) << texts[1];
    EXPECT_NE(std::string::npos, texts[1].find("New firmware")) << texts[1];
    EXPECT_EQ("", texts[2]);
    EXPECT_EQ(texts[1], texts[3]);

    EXPECT_GT(widthBefore, 0);
    EXPECT_EQ(widthBefore, widthAfter);

    // The dialog grew toward the middle of its owner, by halves on either side.
    const CFileDialogExtLayout::Box target = CFileDialogExtLayout::Target(ToBox(ownerRect));
    const CFileDialogExtLayout::Box original = ToBox(before);
    const CFileDialogExtLayout::Box grown = ToBox(after);
    ASSERT_LT(original.Width(), target.Width());
    EXPECT_GE(grown.Width(), target.Width());
    EXPECT_EQ(std::max(original.Height(), target.Height()), grown.Height());
    const int leftGrowth = original.left - grown.left;
    const int rightGrowth = grown.right - original.right;
    EXPECT_TRUE(rightGrowth == leftGrowth || rightGrowth == leftGrowth + 1)
        << leftGrowth << " " << rightGrowth;
    EXPECT_NE(GetFileAttributesA(catalogue.c_str()), INVALID_FILE_ATTRIBUTES)
        << "descriptions reach the catalogue";
    DeleteFileA(catalogue.c_str());
}
