// Runs the configurator against the simulated unit and switches it to German through the
// Language dialog and back, as a user would: the texts of every kind of window follow the
// choice each time, and in German the numbers use the decimal comma, shown and typed. The
// choice is remembered in the registry, which every start of the program reads, so the test
// runs alone and leaves English behind.
#include "tests/shell/ZarvoProcess.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr const char* kSettingsKey = "Software\\ZYLMOR\\Merivan\\v1.02\\Settings";
constexpr int kLanguageButtonId = 1002;
constexpr int kConfigureButtonId = 1000;
constexpr int kLanguageListId = 1081;
constexpr const char* kEnglish = "English";
constexpr const char* kGerman = "Deutsch";
constexpr int kMessageBoxTextId = 0xFFFF;
// Controls of the pages, the OBD adaptation panel and the live status page.
constexpr int kMinInjectionLabelId = 1426;
constexpr int kChangePressEditId = 1421;
constexpr int kMinInjectionEditId = 1427;
constexpr int kRunningTimeLabelId = 1523;
constexpr int kResetDiagnosisId = 1522;
constexpr int kTrimLabelId = 2704;
constexpr int kDataGroupId = 2703;
constexpr int kGasPressureId = 1541;
constexpr int kStaticDataTab = 1;
// The map page's grid, its "New measurement" command and the measurement dialog's engine speed
// and injection time.
constexpr int kMapGridId = 1015;
constexpr UINT kNewMeasurementCommand = 32776;
constexpr int kRevEditId = 1149;
constexpr int kInjectionEditId = 1150;

void WriteLanguageSetting(const char* id) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(id),
                   static_cast<DWORD>(std::string(id).size() + 1));
    RegCloseKey(key);
}

// The text that a control of another process holds; an edit keeps its own, which only the
// message reads.
std::string ControlText(HWND control) {
    char text[256] = {};
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

struct DescendantSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindDescendantWithId(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<DescendantSearch*>(param);
    if (GetDlgCtrlID(window) != search.id) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

// The first window below root, at any depth, with the control id.
HWND FindDescendant(HWND root, int id) {
    DescendantSearch search{id, nullptr};
    EnumChildWindows(root, &FindDescendantWithId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of an item of another process's control, asked with a message whose lParam is
// an item structure (tab or combo box item) holding a text buffer: both live in that process.
template <typename Item>
std::string RemoteItemText(HWND control, UINT message, WPARAM wParam, Item item) {
    DWORD processId = 0;
    GetWindowThreadProcessId(control, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        return "<no access>";
    }
    struct Remote {
        Item item;
        char text[128];
    };
    auto* remote = static_cast<Remote*>(VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
    Remote local = {item, {}};
    local.item.pszText = remote != nullptr ? remote->text : nullptr;
    local.item.cchTextMax = sizeof local.text;
    std::string text = "<no item>";
    if (remote != nullptr && WriteProcessMemory(process, remote, &local, sizeof local, nullptr) &&
        SendMessageA(control, message, wParam, reinterpret_cast<LPARAM>(remote)) &&
        ReadProcessMemory(process, remote, &local, sizeof local, nullptr)) {
        local.text[sizeof local.text - 1] = '\0';
        text = local.text;
    }
    if (remote != nullptr) {
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

std::string TabTitle(HWND tabs, int index) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    return RemoteItemText(tabs, TCM_GETITEMA, index, item);
}

std::string LanguageName(HWND list, int index) {
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    return RemoteItemText(list, CBEM_GETITEMA, 0, item);
}

class ZarvoLanguage : public ZarvoModes {
protected:
    void SetUp() override {
        WriteLanguageSetting("1033");
        ZarvoModes::SetUp();
    }

    void TearDown() override {
        ZarvoModes::TearDown();
        WriteLanguageSetting("1033");
    }

    // A message box of the program (its text has the id 0xFFFF) within the timeout. Every
    // window is looked at, as the box's owner, also a dialog, may be listed before it.
    HWND WaitForMessageBox() {
        struct Found {
            DWORD processId;
            HWND box;
        } found{m_process.dwProcessId, nullptr};

        const WNDENUMPROC findBox = [](HWND window, LPARAM param) -> BOOL {
            auto& f = *reinterpret_cast<Found*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == f.processId && IsWindowVisible(window) &&
                GetDlgItem(window, kMessageBoxTextId) != nullptr) {
                f.box = window;
                return FALSE;
            }
            return TRUE;
        };
        for (DWORD waited = 0; waited < kExitTimeoutMs && found.box == nullptr; waited += kPollMs) {
            Sleep(kPollMs);
            EnumWindows(findBox, reinterpret_cast<LPARAM>(&found));
        }
        return found.box;
    }

    // The text of a message box, which is then answered with the button.
    static std::string Answer(HWND box, int button) {
        if (box == nullptr) {
            return "<no box>";
        }
        const std::string text = WindowText(box, kMessageBoxTextId);
        PostMessageA(box, WM_COMMAND, button, 0);
        WaitUntilGone(box);
        return text;
    }

    // Types the measurement dialog's engine speed and injection time, presses OK and returns
    // the refusal that the program shows.
    std::string Refusal(HWND dialog, const std::string& rev, const char* injection) {
        SendMessageA(GetDlgItem(dialog, kRevEditId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rev.c_str()));
        SendMessageA(GetDlgItem(dialog, kInjectionEditId), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(injection));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return Answer(WaitForMessageBox(), IDOK);
    }

    // The map's axes as the map page shows them to the user: the measurement dialog keeps the
    // engine speed and the injection time between the first and the last breakpoint, and its
    // refusal of a value beyond them names both. The speed's refusal gives the first speed, so
    // that the injection time's refusal comes next.
    std::string AxisRefusal() {
        HWND grid = FindDescendant(m_configure, kMapGridId);
        if (grid == nullptr) {
            return "<no map grid>";
        }
        PostMessageA(GetParent(grid), WM_COMMAND, kNewMeasurementCommand, 0);
        HWND dialog = WaitForDialog(m_main);
        if (dialog == nullptr) {
            return "<no measurement dialog>";
        }
        const std::string revRefusal = Refusal(dialog, "999999", "99");
        const std::size_t from = revRefusal.find('(') + 1;
        const std::string firstRev = revRefusal.substr(from, revRefusal.find(';', from) - from);
        const std::string refusal = Refusal(dialog, firstRev, "99");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        WaitUntilGone(dialog);
        return refusal;
    }

    static bool WaitUntilGone(HWND window) {
        for (DWORD waited = 0; waited < kExitTimeoutMs; waited += kPollMs) {
            if (!IsWindow(window) || !IsWindowVisible(window)) {
                return true;
            }
            Sleep(kPollMs);
        }
        return false;
    }

    // A text once it reads `expected`, or what it reads at the timeout.
    static std::string WaitForText(const std::function<std::string()>& read, const std::string& expected) {
        std::string text = read();
        for (DWORD waited = 0; waited < kExitTimeoutMs && text != expected; waited += kPollMs) {
            Sleep(kPollMs);
            text = read();
        }
        return text;
    }

    static std::string WaitForText(HWND control, const std::string& expected) {
        return WaitForText([control] { return WindowText(control); }, expected);
    }

    // The start of the main window's title once it reads `start`, else the whole title.
    std::string WaitForTitleStart(const std::string& start) {
        std::string title = WindowText(m_main);
        for (DWORD waited = 0; waited < kExitTimeoutMs && title.rfind(start, 0) != 0; waited += kPollMs) {
            Sleep(kPollMs);
            title = WindowText(m_main);
        }
        return title.rfind(start, 0) == 0 ? start : title;
    }

    // Opens the Language dialog from the main menu and picks the language of that name.
    void ChooseLanguage(const std::string& name) {
        Click(kLanguageButtonId);
        HWND dialog = WaitForDialog(m_main);
        ASSERT_NE(dialog, nullptr) << "no Language dialog";
        HWND list = GetDlgItem(dialog, kLanguageListId);
        ASSERT_NE(list, nullptr);
        const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        int index = 0;
        while (index < count && LanguageName(list, index) != name) {
            ++index;
        }
        ASSERT_LT(index, count) << "no language " << name << " beside the program";
        SendMessageA(list, CB_SETCURSEL, index, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kLanguageListId, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
        ASSERT_TRUE(WaitUntilGone(dialog)) << "the Language dialog stayed";
    }

    // Asks to reset the diagnosis, reads the question and answers No.
    std::string ResetQuestion() {
        HWND button = FindDescendant(m_diagnosis, kResetDiagnosisId);
        if (button == nullptr) {
            return "<no button>";
        }
        PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(kResetDiagnosisId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return Answer(WaitForDialog(m_main), IDNO);
    }

    struct Place {
        const char* what;
        std::function<std::string()> read;
        std::string english;
        std::string german;
    };

    // One text of each kind of place, in English and German.
    std::vector<Place> Places() {
        const auto text = [](HWND control) { return [control] { return WindowText(control); }; };
        HWND tabs = GetDlgItem(m_configure, kTabCtrlId);
        return {
            {"main-menu button", text(GetDlgItem(m_main, kConfigureButtonId)), "Configure", "Konfigurieren"},
            {"tab title", [tabs] { return TabTitle(tabs, kStaticDataTab); }, "Static Data", "Grunddaten"},
            {"Configure page label", text(FindDescendant(m_configure, kMinInjectionLabelId)),
             "Minimal injection time", "Minimale Einspritzzeit"},
            {"Diagnosis page label", text(FindDescendant(m_diagnosis, kRunningTimeLabelId)), "Total running time:",
             "Gesamtbetriebszeit:"},
            {"OBD adaptation panel", text(FindDescendant(m_configure, kTrimLabelId)), "trim 1:", "Trimm 1:"},
            {"OBD adaptation panel group", text(FindDescendant(m_configure, kDataGroupId)), "data (%)",
             "Daten (%)"},
            {"connection status", text(GetDlgItem(FindStatusPanel(m_main), kStatusTextId)),
             "CONNECTED to COM" + m_port, "VERBUNDEN mit COM" + m_port},
            // Last: by now the windows have all handled the change, so one box is enough.
            {"message box", [this] { return ResetQuestion(); }, "Are you sure you want to reset diagnosis?",
             "M\xF6" "chten Sie die Diagnose wirklich zur\xFC" "cksetzen?"},
        };
    }

    void ExpectTexts(bool german) {
        // The language broadcast is posted to every window: each place gets its time.
        for (const Place& place : Places()) {
            SCOPED_TRACE(place.what);
            const std::string& expected = german ? place.german : place.english;
            EXPECT_EQ(WaitForText(place.read, expected), expected);
        }
    }
};

TEST_F(ZarvoLanguage, EveryKindOfPlaceChangesToGermanAndBack) {
    ExpectTexts(false);
    ChooseLanguage(kGerman);
    ASSERT_FALSE(HasFatalFailure());
    ExpectTexts(true);
    ChooseLanguage(kEnglish);
    ASSERT_FALSE(HasFatalFailure());
    ExpectTexts(false);
    ASSERT_TRUE(CloseAndWait(m_main)) << "the program did not end; its windows:"
                                      << ProcessWindowTitles(m_process.dwProcessId);
}

// In German a setting, a map axis value and a live value are shown with a decimal comma, and a
// decimal typed with it is taken, while one typed with a point is refused.
TEST_F(ZarvoLanguage, GermanShowsAndTakesDecimalsWithAComma) {
    ChooseLanguage(kGerman);
    ASSERT_FALSE(HasFatalFailure());
    WaitForText(GetDlgItem(m_main, kConfigureButtonId), "Konfigurieren");
    Click(kConfigureButtonId);
    ASSERT_EQ(WaitForTitleStart("Pirolex: Konfigurieren - "), "Pirolex: Konfigurieren - ");

    HWND setting = FindDescendant(m_configure, kChangePressEditId);
    ASSERT_NE(setting, nullptr);
    EXPECT_NE(ControlText(setting).find(','), std::string::npos) << ControlText(setting);
    HWND live = GetDlgItem(m_liveStatus, kGasPressureId);
    ASSERT_NE(live, nullptr);
    EXPECT_NE(WindowText(live).find(','), std::string::npos) << WindowText(live);
    EXPECT_EQ(AxisRefusal(),
              "Element au\xDF"
              "erhalb des Bereichs: 99,00 <- (2,00; 10,50).");

    HWND edit = FindDescendant(m_configure, kMinInjectionEditId);
    ASSERT_NE(edit, nullptr);
    const auto type = [edit](const char* text) {
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        PostMessageA(GetParent(edit), WM_COMMAND, MAKEWPARAM(kMinInjectionEditId, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(edit));
    };
    type("1,5");
    EXPECT_EQ(WaitForText([edit] { return ControlText(edit); }, "1,50"), "1,50");
    EXPECT_EQ(FindOtherWindowOf(m_process.dwProcessId, "", m_main), nullptr) << "a comma was refused";
    type("1.5");
    HWND box = WaitForDialog(m_main);
    ASSERT_NE(box, nullptr) << "a point was taken";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntilGone(box));

    Escape();
    ASSERT_EQ(WaitForTitleStart("Pirolex: Hauptmen\xFC - "), "Pirolex: Hauptmen\xFC - ");
    ChooseLanguage(kEnglish);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(CloseAndWait(m_main)) << "the program did not end; its windows:"
                                      << ProcessWindowTitles(m_process.dwProcessId);
}

}  // namespace
