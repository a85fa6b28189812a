// What the two programs ask of Windows itself, read from the built files: their application
// manifest, the window classes of every dialog template and of the controls their code creates
// (each must be a system class or registered by the program's InitCommonControlsEx flags:
// Windows, unlike Wine, registers no common control before it is asked to), and the tool
// records the class library hands to the tooltips of the manifest's common controls. This test
// program carries the same manifest, so it runs with the controls the programs get.
#include "classlib/win/CRect.h"
#include "classlib/win/CToolTipCtrl.h"
#include "classlib/win/CWnd.h"
#include "manager/ManagerCommonControls.h"
#include "shell/ZarvoCommonControls.h"
#include "tests/support/TestTrees.h"
#include "tests/support/WinePath.h"

#include <windows.h>

#include <cctype>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct ModuleCloser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

using CDataModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

std::string BinaryDir() {
    return WinePath(BuildTree());
}

struct Program {
    const char* file;
    DWORD controlClasses;
    // Further modules whose templates the program shows (the language modules).
    std::vector<const char*> modules;
};

const std::vector<Program>& Programs() {
    static const std::vector<Program> programs = {
        {"Zarvo.exe", ZarvoCommonControls::kClasses, {"Language\\deutsch.lng"}},
        {"ZFxManager.exe", ManagerCommonControls::kClasses, {}},
    };
    return programs;
}

CDataModule LoadData(const std::string& path) {
    return CDataModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::string ResourceBytes(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    HRSRC found = FindResourceExA(module, type, name, language);
    if (found == nullptr) {
        return std::string();
    }
    HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes != nullptr ? std::string(bytes, SizeofResource(module, found)) : std::string();
}

std::string ManifestOf(const std::string& file) {
    CDataModule module = LoadData(BinaryDir() + "\\" + file);
    if (module == nullptr) {
        return std::string();
    }
    return ResourceBytes(module.get(), MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1),
                         MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
}

TEST(ProgramManifest, AsksForCommonControlsSixTheUsersRightsWindowsSevenToElevenAndSystemDpi) {
    const char* const fragments[] = {
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // 7
        "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // 8
        "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // 8.1
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // 10 and 11
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
    };
    for (const Program& program : Programs()) {
        SCOPED_TRACE(program.file);
        const std::string manifest = ManifestOf(program.file);
        ASSERT_FALSE(manifest.empty()) << "no manifest resource (type 24, id 1)";
        for (const char* fragment : fragments) {
            EXPECT_NE(manifest.find(fragment), std::string::npos) << fragment;
        }
        // Per-monitor awareness would promise a layout that follows a DPI change.
        EXPECT_EQ(manifest.find("PerMonitor"), std::string::npos);
    }
}

// ---- Window classes --------------------------------------------------------------------

const std::set<std::string>& SystemClasses() {
    static const std::set<std::string> classes = {"button",    "edit",     "static", "listbox",
                                                  "scrollbar", "combobox", "#32770", "combolbox"};
    return classes;
}

// The common controls and the InitCommonControlsEx flag that registers each.
const std::map<std::string, DWORD>& CommonControlClasses() {
    static const std::map<std::string, DWORD> classes = {
        {"syslistview32", ICC_LISTVIEW_CLASSES},   {"sysheader32", ICC_LISTVIEW_CLASSES},
        {"systreeview32", ICC_TREEVIEW_CLASSES},   {"tooltips_class32", ICC_BAR_CLASSES},
        {"msctls_trackbar32", ICC_BAR_CLASSES},    {"msctls_statusbar32", ICC_BAR_CLASSES},
        {"toolbarwindow32", ICC_BAR_CLASSES},      {"systabcontrol32", ICC_TAB_CLASSES},
        {"msctls_updown32", ICC_UPDOWN_CLASS},     {"msctls_progress32", ICC_PROGRESS_CLASS},
        {"msctls_hotkey32", ICC_HOTKEY_CLASS},     {"sysanimate32", ICC_ANIMATE_CLASS},
        {"sysdatetimepick32", ICC_DATE_CLASSES},   {"sysmonthcal32", ICC_DATE_CLASSES},
        {"comboboxex32", ICC_USEREX_CLASSES},      {"rebarwindow32", ICC_COOL_CLASSES},
        {"sysipaddress32", ICC_INTERNET_CLASSES},  {"syspager", ICC_PAGESCROLLER_CLASS},
        {"nativefontctl", ICC_NATIVEFNTCTL_CLASS}, {"syslink", ICC_LINK_CLASS},
    };
    return classes;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// Reads the words of a dialog template; every read past the end yields zeros and marks it bad.
class CTemplateReader {
public:
    explicit CTemplateReader(const std::string& bytes) : m_bytes(bytes) {}

    WORD Word() {
        if (m_at + 2 > m_bytes.size()) {
            m_bad = true;
            m_at = m_bytes.size();
            return 0;
        }
        const WORD value =
            static_cast<WORD>(static_cast<BYTE>(m_bytes[m_at]) | (static_cast<BYTE>(m_bytes[m_at + 1]) << 8));
        m_at += 2;
        return value;
    }

    DWORD Dword() {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }

    void Skip(size_t bytes) {
        m_at += bytes;
        if (m_at > m_bytes.size()) {
            m_bad = true;
            m_at = m_bytes.size();
        }
    }

    void Restart() { m_at = 0; }

    void AlignToDword() { Skip((4 - m_at % 4) % 4); }

    // A name or an ordinal: "" for none, "#n" for an ordinal, else the text.
    std::string NameOrOrdinal() {
        const WORD first = Word();
        if (first == 0) {
            return std::string();
        }
        if (first == 0xFFFF) {
            return "#" + std::to_string(Word());
        }
        std::string text(1, static_cast<char>(first));
        for (WORD c = Word(); c != 0 && !m_bad; c = Word()) {
            text += static_cast<char>(c);
        }
        return text;
    }

    bool IsBad() const { return m_bad; }

private:
    const std::string& m_bytes;
    size_t m_at = 0;
    bool m_bad = false;
};

// The class of a template control: the predefined ordinals are the system's own classes.
std::string ControlClass(const std::string& name) {
    static const std::map<std::string, std::string> ordinals = {{"#128", "button"},    {"#129", "edit"},
                                                                {"#130", "static"},    {"#131", "listbox"},
                                                                {"#132", "scrollbar"}, {"#133", "combobox"}};
    const auto ordinal = ordinals.find(name);
    return ordinal != ordinals.end() ? ordinal->second : Lower(name);
}

// The window classes of one template: its own (when it names one) and its controls'.
std::vector<std::string> TemplateClasses(const std::string& bytes, bool& bad) {
    CTemplateReader reader(bytes);
    const WORD version = reader.Word();
    const bool extended = reader.Word() == 0xFFFF && version == 1;
    if (!extended) {
        reader.Restart();
    }
    DWORD style = 0;
    if (extended) {
        reader.Dword();  // help id
        reader.Dword();  // extended style
        style = reader.Dword();
    } else {
        style = reader.Dword();
        reader.Dword();
    }
    const WORD controls = reader.Word();
    reader.Skip(4 * sizeof(WORD));  // position and size
    reader.NameOrOrdinal();         // menu
    std::vector<std::string> classes;
    const std::string dialogClass = reader.NameOrOrdinal();
    classes.push_back(dialogClass.empty() ? "#32770" : Lower(dialogClass));
    reader.NameOrOrdinal();  // title
    if ((style & DS_SETFONT) != 0) {
        reader.Word();  // point size
        if (extended) {
            reader.Word();  // weight
            reader.Word();  // italic, character set
        }
        reader.NameOrOrdinal();  // face
    }
    for (WORD i = 0; i < controls && !reader.IsBad(); ++i) {
        reader.AlignToDword();
        reader.Skip(extended ? 12 : 8);  // (help id,) extended style, style
        reader.Skip(4 * sizeof(WORD));   // position and size
        reader.Skip(extended ? 4 : 2);   // id
        classes.push_back(ControlClass(reader.NameOrOrdinal()));
        reader.NameOrOrdinal();  // text
        reader.Skip(reader.Word());
    }
    bad = reader.IsBad();
    return classes;
}

struct TemplateSearch {
    HMODULE module;
    std::map<std::string, std::set<std::string>>* classUsers;
    std::vector<std::string>* faults;
    int templates = 0;
};

BOOL CALLBACK AddTemplateLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param) {
    auto& search = *reinterpret_cast<TemplateSearch*>(param);
    const std::string id = IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<UINT_PTR>(name)) : name;
    bool bad = false;
    const std::vector<std::string> classes =
        TemplateClasses(ResourceBytes(module, type, name, language), bad);
    if (bad) {
        search.faults->push_back("template " + id + " ends early");
    }
    for (const std::string& windowClass : classes) {
        (*search.classUsers)[windowClass].insert("template " + id);
    }
    ++search.templates;
    return TRUE;
}

BOOL CALLBACK AddTemplate(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    EnumResourceLanguagesA(module, type, name, &AddTemplateLanguage, param);
    return TRUE;
}

// Common-control classes named in the program's code: the class library's controls create
// their windows by these names when a page makes them at run time.
void AddCodeClasses(const std::string& path, std::map<std::string, std::set<std::string>>& classUsers) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string lowerBytes = Lower(bytes);
    for (const auto& [windowClass, flag] : CommonControlClasses()) {
        if (lowerBytes.find('\0' + windowClass + '\0') != std::string::npos) {
            classUsers[windowClass].insert("code");
        }
    }
}

TEST(ProgramWindowClasses, EveryClassOfATemplateOrOfTheCodeIsASystemClassOrRegisteredAtStartUp) {
    for (const Program& program : Programs()) {
        SCOPED_TRACE(program.file);
        std::map<std::string, std::set<std::string>> classUsers;
        std::vector<std::string> faults;
        int templates = 0;
        std::vector<std::string> files = {program.file};
        files.insert(files.end(), program.modules.begin(), program.modules.end());
        for (const std::string& file : files) {
            const std::string path = BinaryDir() + "\\" + file;
            CDataModule module = LoadData(path);
            ASSERT_NE(module, nullptr) << path;
            TemplateSearch search{module.get(), &classUsers, &faults};
            EnumResourceNamesA(module.get(), MAKEINTRESOURCEA(5), &AddTemplate,
                               reinterpret_cast<LONG_PTR>(&search));
            templates += search.templates;
            if (file == program.file) {
                AddCodeClasses(path, classUsers);
            }
        }
        EXPECT_GT(templates, 0) << "no dialog templates read";
        EXPECT_TRUE(faults.empty()) << faults.front();
        std::printf("%s: %d templates\n", program.file, templates);
        for (const auto& [windowClass, users] : classUsers) {
            std::printf("  %-20s %s%s\n", windowClass.c_str(), users.begin()->c_str(),
                        users.size() > 1 ? " and others" : "");
            if (SystemClasses().count(windowClass) != 0) {
                continue;
            }
            const auto control = CommonControlClasses().find(windowClass);
            if (control == CommonControlClasses().end()) {
                ADD_FAILURE() << windowClass << " (" << *users.begin()
                              << ") is neither a system class nor a common control";
                continue;
            }
            EXPECT_EQ(program.controlClasses & control->second, control->second)
                << windowClass << " (" << *users.begin() << ") is not registered at start-up";
        }
    }
}

// ---- Tool records ----------------------------------------------------------------------

// The common-controls version the manifest asks for (its major number), or 0.
int ManifestControlsVersion(const std::string& manifest) {
    const std::string key = "name=\"Microsoft.Windows.Common-Controls\" version=\"";
    const size_t at = manifest.find(key);
    return at == std::string::npos ? 0 : std::atoi(manifest.c_str() + at + key.size());
}

// The record size each controls version takes: version 6 knows the last member.
UINT ToolRecordSizeFor(int controlsVersion) {
    return controlsVersion >= 6 ? TTTOOLINFOA_V3_SIZE : TTTOOLINFOA_V2_SIZE;
}

WNDPROC g_tipProc = nullptr;
std::map<UINT, UINT> g_recordSizes;

LRESULT CALLBACK RecordToolSizes(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TTM_ADDTOOLA || message == TTM_DELTOOLA || message == TTM_UPDATETIPTEXTA) {
        g_recordSizes[message] = reinterpret_cast<const TTTOOLINFOA*>(lParam)->cbSize;
    }
    return CallWindowProcA(g_tipProc, window, message, wParam, lParam);
}

TEST(ProgramToolRecords, CarryTheSizeOfTheManifestsControlsAndAreTaken) {
    const int version = ManifestControlsVersion(ManifestOf("Zarvo.exe"));
    ASSERT_EQ(version, 6);
    // This program runs with the manifest's controls, as the programs do: the library that
    // serves it is the one of the side-by-side assembly of that version.
    HMODULE controls = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(reinterpret_cast<void*>(&InitCommonControlsEx)), &controls));
    char path[MAX_PATH] = {};
    GetModuleFileNameA(controls, path, MAX_PATH);
    EXPECT_NE(Lower(path).find("microsoft.windows.common-controls_6595b64144ccf1df_" +
                               std::to_string(version) + "."),
              std::string::npos)
        << path;

    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "tools", WS_POPUP, CRect(0, 0, 200, 100), nullptr, nullptr));
    CWnd tool;
    ASSERT_TRUE(tool.CreateEx(0, "STATIC", "tool", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), owner.m_hWnd,
                              nullptr));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&owner));
    g_recordSizes.clear();
    g_tipProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(tip.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordToolSizes)));
    EXPECT_TRUE(tip.AddTool(&tool, "whole text"));
    EXPECT_EQ(tip.GetToolCount(), 1);
    tip.UpdateTipText("other text", &tool);
    tip.DelTool(&tool);
    EXPECT_EQ(tip.GetToolCount(), 0);
    SetWindowLongPtrA(tip.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_tipProc));
    const std::map<UINT, UINT> expected = {{TTM_ADDTOOLA, ToolRecordSizeFor(version)},
                                           {TTM_DELTOOLA, ToolRecordSizeFor(version)},
                                           {TTM_UPDATETIPTEXTA, ToolRecordSizeFor(version)}};
    EXPECT_EQ(g_recordSizes, expected);
    tip.DestroyWindow();
    owner.DestroyWindow();
}

}  // namespace
