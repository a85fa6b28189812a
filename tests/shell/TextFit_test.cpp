// Every text of the configurator fits its control, in English and in German: the main menu,
// its status strip, the Language, About and exit dialogs and every page of both modes, as the
// main dialog lays them out. The main dialog runs modally on the test's main thread; a second
// thread drives it as a user would and measures each visible static text, button and check box
// with the control's own font. The dialogs that only a unit's state opens (transfer direction,
// progress, block transfer, firmware update and patch, sensor characteristic, measurement edit,
// the calibration windows and their settings), the update file dialog's description pane, and
// the pages that the main dialog does not show with the simulated unit (data saver, phase test,
// event actions, OBD-II, patch editor and its "Add a key" dialog) are opened on their own in both
// languages.
#include "calib/CAdaptSettingsDlg.h"
#include "calib/CCalibSettingsDlg.h"
#include "calib/CalibrationTextIds.h"
#include "calib/CalibratorAdapDlg.h"
#include "calib/CalibratorContDlg.h"
#include "calib/CalibratorCore.h"
#include "calib/CalibratorCoreAdap.h"
#include "calib/CalibratorCoreCont.h"
#include "calib/CalibratorPts.h"
#include "classlib/win/AfxMessageBox.h"
#include "config/CMeasurementEditDlg.h"
#include "config/CSensorCurvePreset.h"
#include "config/CSensorSettingDlg.h"
#include "diag/CDataSaverPage.h"
#include "diag/CEventActionsPage.h"
#include "diag/CObdPage.h"
#include "diag/CPhaseTestPage.h"
#include "firmware/CAddKeyDlg.h"
#include "firmware/CAddKeyDlgIds.h"
#include "firmware/CFirmwarePatch.h"
#include "firmware/CFirmwarePatchDlg.h"
#include "firmware/CFirmwareUpdateDlg.h"
#include "firmware/CPatchEditorPage.h"
#include "link/DataHandlerMessages.h"
#include "link/RecentSettings.h"
#include "shell/CBusyProgressDlg.h"
#include "shell/CFileDialogPreview.h"
#include "shell/CRetrieveDataDlg.h"
#include "shell/CTransferDirectionDlg.h"
#include "shell/CTransferProgressDlg.h"
#include "shell/CZarvoApp.h"
#include "shell/CZarvoDlg.h"
#include "tests/calib/dialogs/CRecordingMap.h"
#include "tests/support/LanguageIndex.h"

#include <windows.h>

#include <commctrl.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Answers the main dialog's application queries (version, accelerators) without running it.
CZarvoApp g_testApp;

constexpr DWORD kWaitMs = 10000;
// The link's port scan and the full read take their time on a busy machine.
constexpr DWORD kConnectWaitMs = 60000;
constexpr int kConfigureButton = 1000;
constexpr int kDiagnosisButton = 1001;
constexpr int kLanguageButton = 1002;
constexpr int kExitButton = 1003;
constexpr int kStatusText = 1013;
constexpr int kSettingsInput = 1413;  // "Change at rev" on the settings page
constexpr int kLanguageList = 1081;
constexpr int kTabControl = 1315;
constexpr UINT kAboutCommand = 16;
// The settings page's buttons that open a sensor's characteristic (enabled only for a sensor
// with a user-defined characteristic, so the walk opens them when it finds them enabled).
constexpr int kCurveButtons[] = {1441, 1444, 1447};

// Its own registry key, so that the language it leaves behind concerns no other test.
void TestVersion(int& major, int& minor) {
    major = 1;
    minor = 97;
}

std::string ClassName(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    return std::string(text, static_cast<size_t>(GetWindowTextA(window, text, sizeof(text))));
}

// The text as a prefix-drawing control shows it: "&&" is one "&", a lone "&" underlines.
std::string WithoutPrefixes(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

enum class TextKind {
    kNone,
    kSingleLine,
    kWrapped
};

// What a control does with its text: draws it on one line, wraps it, or neither (pictures,
// frames, group boxes, owner-drawn statics and texts that are meant to be cut with an ellipsis).
TextKind KindOf(HWND control, bool& prefixes, int& reserved) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const std::string className = ClassName(control);
    reserved = 0;
    if (className == "Static") {
        prefixes = (style & SS_NOPREFIX) == 0;
        if ((style & SS_ELLIPSISMASK) != 0) {
            return TextKind::kNone;
        }
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            return (style & SS_CENTERIMAGE) != 0 ? TextKind::kSingleLine : TextKind::kWrapped;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            return TextKind::kSingleLine;
        default:
            return TextKind::kNone;
        }
    }
    if (className != "Button") {
        return TextKind::kNone;
    }
    prefixes = true;
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:
        return TextKind::kNone;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        if ((style & BS_PUSHLIKE) == 0) {
            // The box and the gap before the text.
            reserved = GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
        }
        break;
    default:
        break;
    }
    return (style & BS_MULTILINE) != 0 ? TextKind::kWrapped : TextKind::kSingleLine;
}

// "" when the control's text fits it, else what it needs against what it has.
std::string Misfit(HWND control) {
    bool prefixes = false;
    int reserved = 0;
    const TextKind kind = KindOf(control, prefixes, reserved);
    const std::string text = WindowText(control);
    if (kind == TextKind::kNone || text.empty()) {
        return "";
    }
    RECT client = {};
    GetClientRect(control, &client);
    const int width = client.right - reserved;
    HDC dc = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    const std::string shown = prefixes ? WithoutPrefixes(text) : text;
    SIZE line = {};
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &line);
    std::string misfit;
    if (kind == TextKind::kSingleLine && line.cx > width) {
        misfit = "one line " + std::to_string(line.cx) + " wide in " + std::to_string(width);
    } else if (kind == TextKind::kWrapped) {
        RECT needed = {0, 0, width, 0};
        const UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (prefixes ? 0 : DT_NOPREFIX);
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed, flags);
        if (needed.bottom > client.bottom || needed.right > width) {
            misfit = "wrapped " + std::to_string(needed.right) + " x " + std::to_string(needed.bottom) +
                     " in " + std::to_string(width) + " x " + std::to_string(client.bottom) + " (one line " +
                     std::to_string(line.cx) + " wide)";
        }
    }
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return misfit;
}

BOOL CALLBACK AddChild(HWND child, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

// A status format as the window shows it: each "%d" a three-digit number, "%%" a percent sign.
std::string WithNumber(const std::string& format) {
    std::string text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%d") == 0) {
            text += "100";
            ++i;
        } else if (format.compare(i, 2, "%%") == 0) {
            text += '%';
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

// English texts that cannot fit where they are shown because the Parts fix the text, the font
// and the size of the window that shows it: the string id and why. Their German texts must fit.
struct KnownMisfit {
    UINT textId;
    const char* reason;
};

const KnownMisfit kKnownMisfits[] = {
    {15278,
     "the calibration windows' one-line status: their Parts fix the window at 294 layout units wide and "
     "its texts in Verdana 10 pt, narrower than \"Waiting for sufficient engine temperature (%d \xB0"
     "C).\""},
};

bool IsKnownMisfit(const std::string& shown) {
    for (const KnownMisfit& known : kKnownMisfits) {
        char english[1024] = {};
        LoadStringA(GetModuleHandleA(nullptr), known.textId, english, sizeof(english));
        if (shown == WithNumber(english)) {
            return true;
        }
    }
    return false;
}

// Adds a line for each visible control below the window whose text does not fit it.
void CheckTexts(const std::string& place, HWND root, std::vector<std::string>& failures) {
    std::vector<HWND> controls;
    EnumChildWindows(root, &AddChild, reinterpret_cast<LPARAM>(&controls));
    for (HWND control : controls) {
        const std::string misfit = IsWindowVisible(control) ? Misfit(control) : "";
        if (!misfit.empty() && !IsKnownMisfit(WindowText(control))) {
            failures.push_back(place + ", control " + std::to_string(GetDlgCtrlID(control)) + " \"" +
                               WindowText(control) + "\": " + misfit);
        }
    }
}

// Waits until the condition holds; false after the given time.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = kWaitMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        if (condition()) {
            return true;
        }
        Sleep(20);
    }
    return condition();
}

struct ThreadWindowSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<ThreadWindowSearch*>(search);
    if (GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window) && ClassName(window) == "#32770") {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// Drives the main dialog from a second thread and gathers every text that does not fit.
class CTextFitWalk {
public:
    explicit CTextFitWalk(CZarvoDlg& dialog) : m_dialog(dialog) {}

    void Run() {
        if (!WaitFor([this] {
                return m_dialog.GetSafeHwnd() != nullptr && IsWindowVisible(m_dialog.GetSafeHwnd());
            })) {
            m_failures.push_back("the main dialog did not come up");
            return;
        }
        m_main = m_dialog.GetSafeHwnd();
        m_thread = GetWindowThreadProcessId(m_main, nullptr);
        // Connected and the full read over, so that the pages show the unit's data: the
        // settings page enables its inputs as their elements arrive.
        if (!WaitFor(
                [this] {
                    HWND input = FindControl(kSettingsInput);
                    return StatusText().rfind("CONNECTED", 0) == 0 && input != nullptr &&
                           IsWindowEnabled(input) && OwnedDialog() == nullptr;
                },
                kConnectWaitMs)) {
            m_failures.push_back("no connection to the unit: " + StatusText());
        }
        WalkLanguage("English");
        ChooseLanguage("Deutsch", "VERBUNDEN");
        WalkLanguage("Deutsch");
        ChooseLanguage("English", "CONNECTED");
        ::PostMessageA(m_main, WM_COMMAND, IDCANCEL, 0);
        HWND exitDialog = nullptr;
        if (WaitFor([&] { return (exitDialog = OwnedDialog()) != nullptr || !IsWindow(m_main); }) &&
            exitDialog != nullptr) {
            ::PostMessageA(exitDialog, WM_COMMAND, IDOK, 0);
        }
    }

    const std::vector<std::string>& Failures() const { return m_failures; }

private:
    void WalkLanguage(const std::string& language) {
        // Posted behind the language broadcast, so every window has its new texts before the walk.
        CheckDialog(language + " About", IDOK,
                    [this] { ::PostMessageA(m_main, WM_SYSCOMMAND, kAboutCommand, 0); });
        Check(language + " main menu", m_main);
        WalkMode(language + " Configure", kConfigureButton);
        WalkMode(language + " Diagnosis", kDiagnosisButton);
        // Unsaved data from the unit: leaving asks first.
        CheckDialog(language + " Exit", IDCANCEL,
                    [this] { ::PostMessageA(m_main, WM_COMMAND, kExitButton, 0); });
    }

    // Opens a dialog, checks it and closes it with the given button.
    template <typename Opener>
    void CheckDialog(const std::string& place, int closeButton, Opener open) {
        HWND dialog = OpenDialog(open);
        if (dialog == nullptr) {
            m_failures.push_back(place + ": the dialog did not open");
            return;
        }
        Check(place, dialog);
        ::PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(closeButton), 0);
        WaitFor([this] { return OwnedDialog() == nullptr; });
    }

    // The first control of that id among the main window's descendants.
    HWND FindControl(int id) const {
        std::vector<HWND> children;
        EnumChildWindows(m_main, &AddChild, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) {
            if (GetDlgCtrlID(child) == id) {
                return child;
            }
        }
        return nullptr;
    }

    std::string StatusText() const {
        HWND status = FindControl(kStatusText);
        return status != nullptr ? WindowText(status) : "";
    }

    // The enabled, visible control of that id among the main window's descendants.
    HWND ShownControl(int id) const {
        std::vector<HWND> children;
        EnumChildWindows(m_main, &AddChild, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) {
            if (GetDlgCtrlID(child) == id && IsWindowVisible(child) && IsWindowEnabled(child)) {
                return child;
            }
        }
        return nullptr;
    }

    void WalkMode(const std::string& place, int button) {
        ::PostMessageA(m_main, WM_COMMAND, static_cast<WPARAM>(button), 0);
        HWND tabs = nullptr;
        if (!WaitFor([&] { return (tabs = VisibleTabControl()) != nullptr; })) {
            m_failures.push_back(place + ": no tab control came up");
            return;
        }
        HWND host = GetParent(tabs);
        const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int tab = 0; tab < count; ++tab) {
            SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
            NMHDR header = {tabs, static_cast<UINT_PTR>(kTabControl), static_cast<UINT>(TCN_SELCHANGE)};
            SendMessageA(host, WM_NOTIFY, static_cast<WPARAM>(kTabControl),
                         reinterpret_cast<LPARAM>(&header));
            Check(place + " tab " + std::to_string(tab), m_main);
            for (int id : kCurveButtons) {
                if (HWND button = ShownControl(id)) {
                    CheckDialog(place + " sensor " + std::to_string(id), IDCANCEL, [button, id] {
                        ::PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(button));
                    });
                }
            }
        }
        ::PostMessageA(m_main, WM_COMMAND, IDCANCEL, 0);
        if (!WaitFor([this] { return VisibleTabControl() == nullptr; })) {
            m_failures.push_back(place + ": the mode did not end");
        }
    }

    // Chooses the language in the Language dialog and waits until the status strip, which
    // the language broadcast reaches, reads the connection in it.
    void ChooseLanguage(const std::string& name, const std::string& connected) {
        HWND dialog = OpenDialog([this] { ::PostMessageA(m_main, WM_COMMAND, kLanguageButton, 0); });
        if (dialog == nullptr) {
            m_failures.push_back("the Language dialog did not open");
            return;
        }
        Check("Language dialog", dialog);
        HWND list = GetDlgItem(dialog, kLanguageList);
        const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            COMBOBOXEXITEMA item = {};
            item.mask = CBEIF_TEXT;
            item.iItem = i;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            SendMessageA(list, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            if (name == text) {
                SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            }
        }
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        if (!WaitFor([&] { return OwnedDialog() == nullptr && StatusText().rfind(connected, 0) == 0; })) {
            m_failures.push_back("the status strip does not show " + name + ": " + StatusText());
        }
    }

    template <typename Opener>
    HWND OpenDialog(Opener open) {
        open();
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = OwnedDialog()) != nullptr; });
        if (dialog != nullptr) {
            SendMessageA(dialog, WM_NULL, 0, 0);
        }
        return dialog;
    }

    HWND OwnedDialog() const {
        ThreadWindowSearch search{m_main, nullptr};
        EnumThreadWindows(m_thread, &FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    HWND VisibleTabControl() const {
        std::vector<HWND> children;
        EnumChildWindows(m_main, &AddChild, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) {
            if (ClassName(child) == WC_TABCONTROLA && IsWindowVisible(child)) {
                return child;
            }
        }
        return nullptr;
    }

    void Check(const std::string& place, HWND root) {
        SendMessageA(root, WM_NULL, 0, 0);
        CheckTexts(place, root, m_failures);
    }

    CZarvoDlg& m_dialog;
    HWND m_main = nullptr;
    DWORD m_thread = 0;
    std::vector<std::string> m_failures;
};

}  // namespace

TEST(TextFit, EveryTextFitsItsControlInBothLanguages) {
    SetAppVersionSource(&TestVersion);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    std::vector<std::string> boxes;
    AfxPrompter previous = AfxSetPrompter([&boxes](const char* text, UINT, const char*) {
        boxes.push_back(text);
        return IDOK;
    });

    CZarvoDlg dialog;
    CTextFitWalk walk(dialog);
    std::thread driver([&walk] { walk.Run(); });
    dialog.DoModal();
    driver.join();
    AfxSetPrompter(previous);

    for (const std::string& failure : walk.Failures()) {
        ADD_FAILURE() << failure;
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

namespace {

// The main dialog's layout scale on this screen: its client area, the work area less its frame,
// against the 620 by 440 design.
void ProgramScale(double& scaleX, double& scaleY) {
    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT frame = {};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    scaleX = (workArea.right - workArea.left - (frame.right - frame.left)) / 620.0;
    scaleY = (workArea.bottom - workArea.top - (frame.bottom - frame.top)) / 440.0;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class DialogTextFit : public ::testing::Test {
protected:
    void SetUp() override {
        SetAppVersionSource(&TestVersion);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        ProgramScale(m_scaleX, m_scaleY);
        ASSERT_TRUE(m_main.Create(CZarvoDlg::kTemplateId, nullptr));
        m_resources = std::make_unique<CResourceManager>();
    }

    void TearDown() override {
        m_resources->SelectLanguage(LanguageIndex(*m_resources, "English"));
        m_main.DestroyWindow();
    }

    // Opens the dialog as a modeless child of the stand-in main window, lets it lay itself
    // out, runs the steps that change its texts and checks it after each.
    void CheckDialog(const std::string& place,
                     CDialog& dialog,
                     UINT templateId,
                     std::vector<std::function<void()>> steps = {}) {
        ASSERT_TRUE(dialog.Create(templateId, &m_main)) << place;
        dialog.ShowWindow(SW_SHOW);
        PumpMessages();
        CheckTexts(place, dialog.GetSafeHwnd(), m_failures);
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i]();
            PumpMessages();
            CheckTexts(place + " step " + std::to_string(i + 1), dialog.GetSafeHwnd(), m_failures);
        }
        dialog.DestroyWindow();
    }

    // The string table's texts in the current language, numbers as the program fills them in.
    std::vector<std::string> Texts(const std::vector<UINT>& ids) const {
        std::vector<std::string> texts;
        for (UINT id : ids) {
            CString format;
            m_resources->GetString(id, format);
            texts.push_back(WithNumber(format.GetString()));
        }
        return texts;
    }

    // Adds a step for each text that the control of the dialog shows in turn.
    static void AddTextSteps(std::vector<std::function<void()>>& steps,
                             CDialog& dialog,
                             int controlId,
                             const std::vector<std::string>& texts) {
        for (const std::string& text : texts) {
            steps.push_back([&dialog, controlId, text] {
                SetDlgItemTextA(dialog.GetSafeHwnd(), controlId, text.c_str());
            });
        }
    }

    // What a calibration window shows over a run: the buttons that only some states show, and
    // each status line in its status control.
    std::vector<std::function<void()>> CalibrationSteps(CDialog& dialog) {
        std::vector<std::function<void()>> steps = {[&dialog] {
            std::vector<HWND> controls;
            EnumChildWindows(dialog.GetSafeHwnd(), &AddChild, reinterpret_cast<LPARAM>(&controls));
            for (HWND control : controls) {
                ShowWindow(control, SW_SHOW);
            }
        }};
        std::vector<UINT> ids;
        for (UINT id = IDS_CALIB_START; id <= IDS_CALIB_WRONG_REACTION; ++id) {
            if (id != IDS_CALIB_CANCEL_QUESTION) {
                ids.push_back(id);
            }
        }
        AddTextSteps(steps, dialog, CCalibratorDlgBase::kStatusId, Texts(ids));
        return steps;
    }

    // The progress windows of a block transfer and of a firmware patch: each progress line and
    // each state they show.
    template <typename Window>
    void CheckProgressWindow(const std::string& place,
                             Window& window,
                             int progressId,
                             const std::vector<UINT>& progressTexts,
                             int stateId) {
        std::vector<std::function<void()>> steps;
        AddTextSteps(steps, window, progressId, Texts(progressTexts));
        // "Waiting ...", "Failed. Connection lost. ...", "Finished successfully.", "Programming ..."
        AddTextSteps(steps, window, stateId, Texts({15391, 15393, 15395, 15397}));
        CheckPage(place, window, std::move(steps));
    }

    // A page as the main dialog would set it up, checked as it opens.
    template <typename Page>
    void CheckPage(const std::string& place, Page& page, std::vector<std::function<void()>> steps = {}) {
        page.SetDataHandler(&m_handler);
        page.SetResourceManager(m_resources.get());
        page.SetFontCache(&m_fonts);
        page.SetScale(m_scaleX, m_scaleY);
        CheckDialog(place, page, Page::kTemplateId, std::move(steps));
    }

    // The pages that the main dialog does not show with the simulated unit, and what they open.
    void CheckPages(const std::string& language) {
        CDataSaverPage saver;
        std::vector<std::function<void()>> saverSteps;
        // The states of a recording and its counters, as the page words them in any language.
        AddTextSteps(saverSteps, saver, CDataSaverPage::kStatusId,
                     {"Angefangen.", "L\xE4uft... |", "Pause (Nicht Verbunden)", "Erfolgreich abgeschlossen.",
                      "No more data income."});
        AddTextSteps(saverSteps, saver, CDataSaverPage::kRowsId, {"Reihe: 100000"});
        AddTextSteps(saverSteps, saver, CDataSaverPage::kSizeId,
                     {"Gr\xF6\xDF"
                      "e: 10000000 Byte"});
        CheckPage(language + " data saver", saver, saverSteps);

        CPhaseTestPage phase;
        CheckPage(language + " phase test", phase);

        CObdPage obd;
        CheckPage(language + " OBD-II", obd);

        CPatchEditorPage editor;
        CheckPage(language + " patch editor", editor);

        CEventActionsPage events;
        events.SetDataHandler(&m_handler);
        events.SetResourceManager(m_resources.get());
        events.SetOwnerWindows(&m_main, nullptr);
        CheckDialog(language + " event actions", events, CEventActionsPage::kTemplateId);

        CAddKeyDlg addKey(&m_main);
        addKey.SetResourceManager(m_resources.get());
        CheckDialog(language + " add a key", addKey, IDD_ADD_KEY);

        // The description pane below the update file dialog's controls, labelled as it is there.
        CDialog pane(CFileDialogPreview::kTemplateId, &m_main);
        CheckDialog(language + " update file description", pane, CFileDialogPreview::kTemplateId,
                    {[this, &pane] {
                        SetDlgItemTextA(pane.GetSafeHwnd(), CFileDialogPreview::kLabelId,
                                        Texts({CFileDialogPreview::kIdsDescription})[0].c_str());
                    }});
    }

    // A calibration window set up as the map page sets it up, with its core.
    template <typename Window, typename Core>
    void CheckCalibrationWindow(const std::string& place, Window& window, Core& core) {
        CRecordingMap map;
        window.SetConfigDynamic(&map);
        window.SetDataHandler(&m_handler);
        window.SetResourceManager(m_resources.get());
        window.SetFontCache(&m_fonts);
        window.SetScale(m_scaleX, m_scaleY);
        window.SetCore(&core);
        CheckDialog(place, window, Window::kTemplateId, CalibrationSteps(window));
    }

    void CheckAll(const std::string& language) {
        CString message;
        m_resources->GetString(15116, message);
        for (bool linkUp : {true, false}) {
            CTransferDirectionDlg direction(&m_main);
            direction.SetResourceManager(m_resources.get());
            direction.SetMessage(message);
            direction.SetLinkUp(linkUp);
            CheckDialog(language + " transfer direction" + (linkUp ? "" : " without link"), direction,
                        CTransferDirectionDlg::kTemplateId);
        }

        CRetrieveDataDlg retrieve;
        retrieve.SetResourceManager(m_resources.get());
        retrieve.SetFontCache(&m_fonts);
        retrieve.SetScale(m_scaleX, m_scaleY);
        CheckDialog(language + " retrieving", retrieve, CRetrieveDataDlg::kTemplateId);

        CBusyProgressDlg busy;
        busy.SetDataHandler(&m_handler);
        busy.SetResourceManager(m_resources.get());
        busy.SetFontCache(&m_fonts);
        busy.SetScale(m_scaleX, m_scaleY);
        CheckDialog(language + " unit busy", busy, CBusyProgressDlg::kTemplateId);

        CFirmwareUpdateDlg update(nullptr);
        update.SetDataHandler(&m_handler);
        update.SetResourceManager(m_resources.get());
        update.SetFontCache(&m_fonts);
        update.SetScale(m_scaleX, m_scaleY);
        m_handler.RegisterWindow(&update);
        CheckDialog(language + " firmware update", update, CFirmwareUpdateDlg::kTemplateId,
                    {[&] { update.OnUpdateProgress(CFirmwareUpdateDlg::kCodeErasing, 1000); },
                     [&] { update.OnUpdateProgress(CFirmwareUpdateDlg::kCodeWriting, 1000); },
                     [&] { update.OnUpdateProgress(CFirmwareUpdateDlg::kCodeFinished, 1000); },
                     [&] { update.OnUpdateProgress(CFirmwareUpdateDlg::kCodeWriteError, 0); },
                     [&] { update.OnUpdateProgress(CFirmwareUpdateDlg::kCodeBroken, 0); },
                     [&] {
                         update.OnUpdateProgress(CFirmwareUpdateDlg::kCodeWriting, 500);
                         update.PostMessage(WM_DH_STATUS_CHANGED, 1, 12);
                     }});
        m_handler.UnregisterWindow(&update);

        CTransferProgressDlg transfer(&m_main);
        // "Writing: %d%%.", "Initializing: %d%%.", "Reading: %d%%."
        CheckProgressWindow(language + " block transfer", transfer, CTransferProgressDlg::kProgressTextId,
                            {15389, 15390, 15423}, CTransferProgressDlg::kStateTextId);

        CFirmwarePatch patch;
        CFirmwarePatchDlg patchProgress(&m_main);
        patchProgress.SetPatch(&patch);
        CheckProgressWindow(language + " firmware patch", patchProgress, CFirmwarePatchDlg::kPhaseTextId,
                            {15389, 15390}, CFirmwarePatchDlg::kStatusTextId);

        CMeasurementEditDlg edit(&m_main);
        edit.SetResourceManager(m_resources.get());
        edit.SetRev(2500, 600, 8000);
        edit.SetInjection(4.5, 0.0, 25.0);
        edit.SetMeasurement(12, -99, 99);
        CheckDialog(language + " measurement edit", edit, CMeasurementEditDlg::kTemplateId);

        for (int button : kCurveButtons) {
            CSensorSettingDlg sensor(&m_main);
            sensor.SetDataHandler(&m_handler);
            sensor.SetResourceManager(m_resources.get());
            sensor.SetFontCache(&m_fonts);
            sensor.SetScale(m_scaleX, m_scaleY);
            sensor.ApplyPreset(*CSensorCurvePreset::FindByButton(button));
            CheckDialog(language + " sensor " + std::to_string(button), sensor,
                        CSensorSettingDlg::kTemplateId);
        }

        CalibratorCore pointCore;
        CalibratorPts point(&m_main);
        CheckCalibrationWindow(language + " point calibration", point, pointCore);
        CalibratorCoreAdap adaptiveCore;
        CalibratorAdapDlg adaptive(&m_main);
        CheckCalibrationWindow(language + " adaptive calibration", adaptive, adaptiveCore);
        CalibratorCoreCont continuousCore;
        CalibratorContDlg continuous(&m_main);
        CheckCalibrationWindow(language + " continuous calibration", continuous, continuousCore);

        CCalibSettingsDlg pointSettings(&m_main);
        pointSettings.SetCore(&pointCore);
        pointSettings.SetResourceManager(m_resources.get());
        CheckDialog(language + " calibration settings", pointSettings, CCalibSettingsDlg::kTemplateId);

        CAdaptSettingsDlg adaptiveSettings(&m_main);
        adaptiveSettings.SetCores(&adaptiveCore, &continuousCore);
        adaptiveSettings.SetResourceManager(m_resources.get());
        CheckDialog(language + " adaptive calibration settings", adaptiveSettings,
                    CAdaptSettingsDlg::kTemplateId);

        CheckPages(language);
    }

    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    CDataHandler m_handler;
    CFontCache m_fonts;
    CDialog m_main{CZarvoDlg::kTemplateId, nullptr};
    std::unique_ptr<CResourceManager> m_resources;
    std::vector<std::string> m_failures;
};

}  // namespace

TEST_F(DialogTextFit, EveryTextFitsItsControlInBothLanguages) {
    CheckAll("English");
    ASSERT_TRUE(m_resources->SelectLanguage(LanguageIndex(*m_resources, "Deutsch")));
    CheckAll("Deutsch");
    for (const std::string& failure : m_failures) {
        ADD_FAILURE() << failure;
    }
}
