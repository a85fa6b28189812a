// The patch editor page under Wine on a small form of its own and the program's conversion
// table: publishing the form as records, loading a patch into the form and the header edits,
// edits becoming flagged records, saving with the header checks, and the description keys.
#include "firmware/CPatchEditorPage.h"

#include "link/DataHandlerMessages.h"
#include "tests/config/pages/PageHost.h"
#include "tests/firmware/editor/PatchEditorTestIds.h"

#include <windows.h>

#include <deque>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The page with its dialogs answered from queues instead of shown.
class TestPatchEditorPage : public CPatchEditorPage {
public:
    explicit TestPatchEditorPage(UINT xferResourceId = kXferResourceId)
        : CPatchEditorPage(IDR_PATCH_EDITOR_TEST_FORM, xferResourceId, nullptr) {}

    std::deque<std::string> files;  // each file dialog takes the first; none: Cancel
    std::deque<std::string> keys;   // each add-key dialog takes the first; none: Cancel
    std::vector<BOOL> fileDialogs;  // TRUE for an open dialog, FALSE for a save dialog

protected:
    bool ChooseFile(BOOL open, CString& path) override {
        fileDialogs.push_back(open);
        return Take(files, path);
    }

    bool AskNewKey(CString& key) override { return Take(keys, key); }

private:
    static bool Take(std::deque<std::string>& answers, CString& answer) {
        if (answers.empty()) {
            return false;
        }
        answer = answers.front().c_str();
        answers.pop_front();
        return true;
    }
};

using Record = std::vector<int>;  // flag, then the bytes; empty: no record

Record RecordOf(const CFirmwarePatch& patch, BYTE id) {
    BYTE flag = 0;
    CByteArray bytes;
    if (!patch.GetRecord(id, flag, bytes)) {
        return {};
    }
    Record record{flag};
    for (INT_PTR i = 0; i < bytes.GetSize(); ++i) {
        record.push_back(bytes[i]);
    }
    return record;
}

CByteArray Bytes(std::initializer_list<BYTE> bytes) {
    CByteArray array;
    for (const BYTE b : bytes) {
        array.Add(b);
    }
    return array;
}

class PatchEditorPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        char folder[MAX_PATH] = {};
        GetTempPathA(sizeof(folder), folder);
        base = std::string(folder) + "patcheditor" + std::to_string(GetCurrentProcessId()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        ASSERT_TRUE(page.Create(CPatchEditorPage::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        PumpMessages();
        boxes.clear();
    }

    void TearDown() override {
        page.DestroyWindow();
        for (const std::string& path : written) {
            DeleteFileA(path.c_str());
        }
    }

    std::string Path(const char* name) {
        written.push_back(base + name);
        return written.back();
    }

    // A patch of version 1.30, build 5 of branch 1, dated 15.3.2024, with a record for the
    // form's word element and one for an id the form does not have, in English and German.
    std::string WriteGoldenPatch() {
        CFirmwarePatch patch;
        patch.SetVersion(0x011E);
        patch.SetBuild(5 + 1 * 1024);
        patch.SetDate(2024, 3, 15);
        patch.SetRecord(0x06, 1, Bytes({0x12, 0x34}));
        patch.SetRecord(0x50, 1, Bytes({7}));
        patch.SetDescription("en", "English text");
        patch.SetDescription("de", "Deutscher Text");
        const std::string path = Path("golden.zfp");
        int cause = 0;
        EXPECT_EQ(patch.Save(path.c_str(), cause), 1);
        return path;
    }

    void Load(const std::string& path) {
        page.files.push_back(path);
        Click(IDC_PATCH_LOAD);
    }

    HWND Item(int id) const { return GetDlgItem(page.GetSafeHwnd(), id); }

    std::string Text(int id) const { return WindowText(Item(id)); }

    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

    void Click(int id) {
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(id)));
        PumpMessages();
    }

    void Notify(int id, int code) {
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(Item(id)));
        PumpMessages();
    }

    // Enter (IDOK) or Escape (IDCANCEL) on the page.
    void Press(int key) {
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, key, 0);
        PumpMessages();
    }

    // Replaces the edit's text as typing over a full selection does (undoable).
    void Type(int id, const char* text) {
        SendMessageA(Item(id), EM_SETSEL, 0, -1);
        SendMessageA(Item(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }

    void TypeHeader(const std::vector<const char*>& texts) {
        const int ids[] = {IDC_PATCH_MAJOR, IDC_PATCH_MINOR, IDC_PATCH_BUILD, IDC_PATCH_BRANCH,
                           IDC_PATCH_YEAR,  IDC_PATCH_MONTH, IDC_PATCH_DAY};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            SetWindowTextA(Item(ids[i]), texts[i]);
        }
    }

    void SelectKey(int index) {
        SendMessageA(Item(IDC_PATCH_KEYS), CB_SETCURSEL, index, 0);
        Notify(IDC_PATCH_KEYS, CBN_SELENDOK);
    }

    // The window of the first field of a form element.
    HWND FieldControl(int32_t id) const {
        const FormElement* element = page.FindElement(id);
        return element != nullptr ? Item(static_cast<int>(element->fields[0]->controlId)) : nullptr;
    }

    Record PageRecord(BYTE id) const { return RecordOf(page.GetPatch(), id); }

    std::string base;
    std::vector<std::string> written;
    TestPatchEditorPage page;
};

TEST_F(PatchEditorPageTest, StartsWithEveryElementAsAnUnflaggedRecordAndNoKeys) {
    EXPECT_EQ(page.GetPatch().GetRecordCount(), 5);
    EXPECT_EQ(PageRecord(0x06), (Record{0, 0x03, 0xE8}));
    EXPECT_EQ(PageRecord(0x0E), (Record{0, 25}));
    EXPECT_EQ(PageRecord(0x46), (Record{0, 5}));
    EXPECT_EQ(PageRecord(0x4B), (Record{0, 0xFB}));
    EXPECT_EQ(Text(IDC_PATCH_KEY_LIST), "*** Empty ***");
    EXPECT_FALSE(Enabled(IDC_PATCH_KEYS));
    EXPECT_FALSE(Enabled(IDC_PATCH_DELETE_KEY));
    EXPECT_FALSE(Enabled(IDC_PATCH_DESCRIPTION));
    EXPECT_EQ(Text(IDC_PATCH_LOAD), "Load");
    EXPECT_EQ(Text(IDC_PATCH_VERSION_LABEL), "Version (major/minor/build/branch):");
    EXPECT_EQ(Text(IDC_PATCH_NEW_KEY), "Add a new key");
    SendMessageA(page.GetSafeHwnd(), WM_DH_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(Text(IDC_PATCH_KEY_LIST), "*** Empty ***");
    EXPECT_EQ(Text(IDC_PATCH_SAVE), "Save");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PatchEditorPageTest, TheFixedControlsLieAboveTheFormWithoutOverlapping) {
    std::vector<RECT> placed;
    for (int id = IDC_PATCH_LOAD; id <= IDC_PATCH_DESCRIPTION; ++id) {
        RECT rect = {};
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(nullptr, page.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        for (const RECT& other : placed) {
            RECT overlap = {};
            EXPECT_FALSE(IntersectRect(&overlap, &rect, &other)) << id;
        }
        // At scale 1 the form's rows start at 10 * 8 + 12 * 17 + 2.
        EXPECT_LE(rect.bottom, 286) << id;
        placed.push_back(rect);
    }
    RECT firstRow = {};
    GetWindowRect(FieldControl(0x06), &firstRow);
    MapWindowPoints(nullptr, page.GetSafeHwnd(), reinterpret_cast<POINT*>(&firstRow), 2);
    EXPECT_GE(firstRow.top, 286);
}

TEST_F(PatchEditorPageTest, LoadingShowsTheHeaderTheKeysAndTheRecordsInTheForm) {
    // A change before the load, which the load's reset takes back.
    page.FindElement(0x0E)->fields[0]->Edit()->currentNumber = 900;
    Load(WriteGoldenPatch());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(page.fileDialogs, std::vector<BOOL>{TRUE});
    const int header[] = {IDC_PATCH_MAJOR, IDC_PATCH_MINOR, IDC_PATCH_BUILD, IDC_PATCH_BRANCH,
                          IDC_PATCH_YEAR,  IDC_PATCH_MONTH, IDC_PATCH_DAY};
    const char* shown[] = {"1", "30", "5", "1", "2024", "3", "15"};
    for (std::size_t i = 0; i < std::size(header); ++i) {
        EXPECT_EQ(Text(header[i]), shown[i]) << i;
    }
    EXPECT_EQ(Text(IDC_PATCH_KEY_LIST), "{de;en}");
    EXPECT_EQ(Text(IDC_PATCH_KEYS), "de");
    CString folder;
    ASSERT_TRUE(ReadDirectorySetting("Patches", folder));
    EXPECT_EQ(std::string(folder), base.substr(0, base.rfind('\\')));
    EXPECT_EQ(Text(IDC_PATCH_DESCRIPTION), "Deutscher Text");
    EXPECT_TRUE(Enabled(IDC_PATCH_DELETE_KEY));
    // The record's element shows its value and mark; the others are reset and stored unflagged.
    EXPECT_EQ(page.FindElement(0x06)->fields[0]->Edit()->currentNumber, 4660);
    EXPECT_EQ(page.FindElement(0x06)->marked, 1);
    EXPECT_EQ(WindowText(FieldControl(0x06)), "4660");
    EXPECT_EQ(page.FindElement(0x0E)->fields[0]->Edit()->currentNumber, 250);
    EXPECT_EQ(WindowText(FieldControl(0x0E)), "250");
    EXPECT_EQ(PageRecord(0x06), (Record{1, 0x12, 0x34}));
    EXPECT_EQ(PageRecord(0x0E), (Record{0, 25}));
    EXPECT_EQ(PageRecord(0x46), (Record{0, 5}));
    EXPECT_EQ(PageRecord(0x50), (Record{1, 7}));
    SelectKey(1);
    EXPECT_EQ(Text(IDC_PATCH_DESCRIPTION), "English text");
    // A language change keeps the list of keys.
    SendMessageA(page.GetSafeHwnd(), WM_DH_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(Text(IDC_PATCH_KEY_LIST), "{de;en}");
}

TEST_F(PatchEditorPageTest, ConversionErrorsAreShownAndKeepTheRecords) {
    TestPatchEditorPage failing(IDR_PATCH_EDITOR_TEST_XFER);
    failing.SetDataHandler(&handler);
    failing.SetResourceManager(&resources);
    failing.SetFontCache(&fonts);
    ASSERT_TRUE(failing.Create(CPatchEditorPage::kTemplateId, &main));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(RecordOf(failing.GetPatch(), 0x06), (Record{0, 0}));  // 1/1000 truncated
    FormElement* word = failing.FindElement(0x06);
    word->fields[0]->Edit()->currentNumber = 0;
    SendMessageA(failing.GetSafeHwnd(), WM_FORM_ELEMENT_CHANGED, 1, reinterpret_cast<LPARAM>(word));
    EXPECT_EQ(boxes, std::vector<std::string>{"Attempt to write an invalid element: 06."});
    EXPECT_EQ(RecordOf(failing.GetPatch(), 0x06), (Record{0, 0}));

    // A record of 0 cannot be shown: the element is reset and the record stays as loaded.
    boxes.clear();
    CFirmwarePatch patch;
    patch.SetRecord(0x06, 1, Bytes({0}));
    const std::string path = Path("zero.zfp");
    int cause = 0;
    ASSERT_EQ(patch.Save(path.c_str(), cause), 1);
    failing.files.push_back(path);
    SendMessageA(failing.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_PATCH_LOAD, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_EQ(boxes, std::vector<std::string>{"Attempt to write an invalid element: 06."});
    EXPECT_EQ(word->fields[0]->Edit()->currentNumber, 1000);
    EXPECT_EQ(word->marked, 1);
    EXPECT_EQ(RecordOf(failing.GetPatch(), 0x06), (Record{1, 0}));
    failing.DestroyWindow();
}

TEST_F(PatchEditorPageTest, AFailedLoadKeepsThePatchAndTheForm) {
    const std::string path = Path("broken.zfp");
    std::ofstream(path, std::ios::binary) << "not a patch";
    page.FindElement(0x06)->fields[0]->Edit()->currentNumber = 4660;
    SendMessageA(page.GetSafeHwnd(), WM_FORM_ELEMENT_CHANGED, 1,
                 reinterpret_cast<LPARAM>(page.FindElement(0x06)));
    Load(path);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Error reading file: " + path + ".\nError code: 0.");
    EXPECT_EQ(page.GetPatch().GetRecordCount(), 5);
    EXPECT_EQ(PageRecord(0x06), (Record{1, 0x12, 0x34}));
    boxes.clear();
    Load(base + "missing.zfp");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Error reading file: " + base + "missing.zfp.\nError code: ", 0), 0u);
    EXPECT_NE(boxes[0], "Error reading file: " + base + "missing.zfp.\nError code: 0.");
}

TEST_F(PatchEditorPageTest, AnElementChangeStoresTheConvertedBytesWithItsFlag) {
    FormElement* element = page.FindElement(0x4B);
    element->fields[0]->Edit()->currentNumber = -1;
    SendMessageA(page.GetSafeHwnd(), WM_FORM_ELEMENT_CHANGED, 1, reinterpret_cast<LPARAM>(element));
    EXPECT_EQ(PageRecord(0x4B), (Record{1, 0xFF}));
    element->fields[0]->Edit()->currentNumber = -5;
    SendMessageA(page.GetSafeHwnd(), WM_FORM_ELEMENT_CHANGED, 0, reinterpret_cast<LPARAM>(element));
    EXPECT_EQ(PageRecord(0x4B), (Record{0, 0xFB}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PatchEditorPageTest, EditingAFieldFlagsItsRecordAndSavingWritesIt) {
    Load(WriteGoldenPatch());
    HWND field = FieldControl(0x0E);
    ASSERT_NE(field, nullptr);
    SetWindowTextA(field, "300");
    SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(field));
    PumpMessages();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(page.FindElement(0x0E)->marked, 1);
    EXPECT_EQ(PageRecord(0x0E), (Record{1, 30}));

    TypeHeader({"2", "5", "1023", "63", "2000", "2", "29"});
    const std::string saved = Path("saved.zfp");
    page.files.push_back(saved);
    Click(IDC_PATCH_SAVE);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(page.fileDialogs, (std::vector<BOOL>{TRUE, FALSE}));
    CFirmwarePatch reread;
    int cause = 0;
    ASSERT_EQ(reread.Load(saved.c_str(), cause), 1);
    EXPECT_EQ(reread.GetVersion(), 0x0205);
    EXPECT_EQ(reread.GetBuild(), 0xFFFF);
    EXPECT_EQ(reread.GetYear(), 2000);
    EXPECT_EQ(reread.GetMonth(), 2);
    EXPECT_EQ(reread.GetDay(), 29);
    EXPECT_EQ(reread.GetRecordCount(), page.GetPatch().GetRecordCount());
    for (const BYTE id : {0x06, 0x0E, 0x46, 0x4B, 0x4F, 0x50}) {
        EXPECT_EQ(RecordOf(reread, id), PageRecord(id)) << int(id);
    }
    EXPECT_EQ(RecordOf(reread, 0x0E), (Record{1, 30}));
    CMapStringToString descriptions;
    reread.GetDescriptions(descriptions);
    CString text;
    EXPECT_TRUE(descriptions.Lookup("de", text));
    EXPECT_EQ(std::string(text), "Deutscher Text");
}

TEST_F(PatchEditorPageTest, SavingChecksTheHeaderEditsInOrder) {
    struct Case {
        const char* name;
        std::vector<const char*> header;
        const char* box;
        int focused;
    };

    const Case cases[] = {
        {"major",
         {"300", "5", "1", "0", "2024", "1", "1"},
         "Element out of range: 300 <- (1; 255).",
         IDC_PATCH_MAJOR},
        {"minor", {"1", "x", "1", "0", "2024", "1", "1"}, "Invalid version element: x.", IDC_PATCH_MINOR},
        {"branch",
         {"1", "5", "1", "64", "2024", "1", "1"},
         "Element out of range: 64 <- (0; 63).",
         IDC_PATCH_BRANCH},
        {"no leap year",
         {"1", "5", "1", "0", "2100", "2", "29"},
         "Element out of range: 29 <- (1; 28).",
         IDC_PATCH_DAY},
        {"april",
         {"1", "5", "1", "0", "2024", "4", "31"},
         "Element out of range: 31 <- (1; 30).",
         IDC_PATCH_DAY},
        {"empty year", {"1", "5", "1", "0", "", "4", "1"}, "Invalid version element: .", IDC_PATCH_YEAR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        page.fileDialogs.clear();
        TypeHeader(c.header);
        Click(IDC_PATCH_SAVE);
        EXPECT_EQ(boxes, std::vector<std::string>{c.box});
        EXPECT_TRUE(page.fileDialogs.empty());
        EXPECT_EQ(GetFocus(), Item(c.focused));
    }
}

TEST_F(PatchEditorPageTest, EnterRewritesAHeaderEditAndUndoesInvalidText) {
    SetFocus(Item(IDC_PATCH_MINOR));
    Type(IDC_PATCH_MINOR, "007");
    Press(IDOK);
    EXPECT_EQ(Text(IDC_PATCH_MINOR), "7");
    EXPECT_TRUE(boxes.empty());

    Type(IDC_PATCH_MINOR, "100");
    Press(IDOK);
    EXPECT_EQ(boxes, std::vector<std::string>{"Element out of range: 100 <- (0; 99)."});
    EXPECT_EQ(Text(IDC_PATCH_MINOR), "7");

    // The day is checked against 31 while typing, whatever the month.
    boxes.clear();
    Type(IDC_PATCH_DAY, "31");
    Notify(IDC_PATCH_DAY, EN_KILLFOCUS);
    EXPECT_EQ(Text(IDC_PATCH_DAY), "31");
    EXPECT_TRUE(boxes.empty());

    SetFocus(Item(IDC_PATCH_MINOR));
    Type(IDC_PATCH_MINOR, "12");
    Press(IDCANCEL);
    EXPECT_EQ(Text(IDC_PATCH_MINOR), "7");
    EXPECT_TRUE(page.IsWindowVisible());
}

TEST_F(PatchEditorPageTest, KeysAreAddedOnceAndDeletingSelectsTheNeighbour) {
    page.keys = {"en", "en", "de"};
    Click(IDC_PATCH_NEW_KEY);
    EXPECT_EQ(Text(IDC_PATCH_KEY_LIST), "{en}");
    EXPECT_TRUE(Enabled(IDC_PATCH_DESCRIPTION));
    Click(IDC_PATCH_NEW_KEY);
    EXPECT_EQ(boxes, std::vector<std::string>{"Key already exists."});
    Click(IDC_PATCH_NEW_KEY);
    EXPECT_EQ(Text(IDC_PATCH_KEY_LIST), "{de;en}");
    EXPECT_EQ(Text(IDC_PATCH_KEYS), "en");

    // The description typed for a key is its text when the edit loses the focus.
    SelectKey(0);
    SetWindowTextA(Item(IDC_PATCH_DESCRIPTION), "Beschreibung");
    Notify(IDC_PATCH_DESCRIPTION, EN_KILLFOCUS);
    EXPECT_EQ(Text(IDC_PATCH_DESCRIPTION), "Beschreibung");
    CMapStringToString descriptions;
    page.GetPatch().GetDescriptions(descriptions);
    CString text;
    ASSERT_TRUE(descriptions.Lookup("de", text));
    EXPECT_EQ(std::string(text), "Beschreibung");

    boxes.clear();
    Click(IDC_PATCH_DELETE_KEY);
    EXPECT_EQ(boxes, std::vector<std::string>{"Are you sure you want to delete?"});
    EXPECT_EQ(Text(IDC_PATCH_KEY_LIST), "{en}");
    EXPECT_EQ(Text(IDC_PATCH_KEYS), "en");
    Click(IDC_PATCH_DELETE_KEY);
    EXPECT_EQ(Text(IDC_PATCH_KEY_LIST), "*** Empty ***");
    EXPECT_FALSE(Enabled(IDC_PATCH_DELETE_KEY));
    EXPECT_EQ(Text(IDC_PATCH_DESCRIPTION), "");
}

}  // namespace
