// The data saver page under Wine: its settings and their checks, its texts in the chosen
// language, and a recording fed by live cycles whose engine speed starts and stops, checked in
// the files it leaves.
#include "diag/CDataSaverPage.h"

#include "link/DataHandlerMessages.h"
#include "tests/config/pages/CLanguageSwitch.h"
#include "tests/config/pages/PageHost.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Answers the save dialog with Cancel and keeps the filter that it was given.
class CFilterRecordingPage : public CDataSaverPage {
public:
    using CDataSaverPage::CDataSaverPage;

    std::vector<std::string> filters;

protected:
    bool ChooseFile(const CString&, const CString& filter, CString&) override {
        filters.emplace_back(filter.GetString());
        return false;
    }
};

class DataSaverPageTest : public PageHost {
protected:
    void SetUp() override {
        PageHost::SetUp();
        char folder[MAX_PATH] = {};
        GetTempPathA(sizeof(folder), folder);
        base = std::string(folder) + "saverpage" + std::to_string(GetCurrentProcessId()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name();
        page.SetDataHandler(&handler);
        page.SetResourceManager(&resources);
        page.SetFontCache(&fonts);
        ASSERT_TRUE(page.Create(CDataSaverPage::kTemplateId, &main));
        page.ShowWindow(SW_SHOW);
        ConnectIdle();
        boxes.clear();
    }

    void TearDown() override {
        page.DestroyWindow();
        for (const std::string& path : Files()) {
            DeleteFileA(path.c_str());
        }
    }

    // The files that the recording made, in the order of their names.
    std::vector<std::string> Files() const {
        std::vector<std::string> files;
        WIN32_FIND_DATAA found;
        const std::string folder = base.substr(0, base.rfind('\\') + 1);
        HANDLE search = FindFirstFileA((base + "(*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return files;
        }
        do {
            files.push_back(folder + found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(files.begin(), files.end());
        return files;
    }

    HWND Item(int id) const { return GetDlgItem(page.GetSafeHwnd(), id); }

    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

    std::string Text(int id) const { return WindowText(Item(id)); }

    void Click(int id) {
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(id)));
        PumpMessages();
    }

    void ChooseStoreMode(int index) {
        SendMessageA(Item(CDataSaverPage::kStoreModeId), CB_SETCURSEL, index, 0);
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CDataSaverPage::kStoreModeId, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(Item(CDataSaverPage::kStoreModeId)));
        PumpMessages();
    }

    // Replaces the edit's text as typing over a full selection does (undoable).
    void Type(int id, const char* text) {
        SendMessageA(Item(id), EM_SETSEL, 0, -1);
        SendMessageA(Item(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }

    void LeavePeriod() {
        SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CDataSaverPage::kPeriodId, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(Item(CDataSaverPage::kPeriodId)));
        PumpMessages();
    }

    // One live cycle with the engine at that speed.
    void Cycle(int speed) {
        BYTE* bytes = handler.GetImage(kImageWorking) + handler.GetElementOffset(26);
        bytes[0] = static_cast<BYTE>(speed & 0xFF);
        bytes[1] = static_cast<BYTE>(speed >> 8);
        page.PostMessage(WM_DH_NEW_DATA, 0, 0);
        PumpMessages();
    }

    void StartRecording() {
        SetWindowTextA(Item(CDataSaverPage::kFileNameId), ("  " + base + ".txt ").c_str());
        Click(CDataSaverPage::kStartStopId);
    }

    // The items of a combo box, in order.
    std::vector<std::string> Items(int id) const {
        std::vector<std::string> items;
        const int count = static_cast<int>(SendMessageA(Item(id), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            SendMessageA(Item(id), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.emplace_back(text);
        }
        return items;
    }

    std::string base;
    CFilterRecordingPage page{nullptr};
};

TEST_F(DataSaverPageTest, StartsInRawModeAndOffersThePeriodOnlyWhenPeriodic) {
    EXPECT_EQ(Text(CDataSaverPage::kPeriodId), "1000");
    EXPECT_EQ(Text(CDataSaverPage::kStartStopId), "START");
    EXPECT_EQ(Text(CDataSaverPage::kStoreModeId), "Raw (as they come)");
    EXPECT_EQ(Text(CDataSaverPage::kReckoningId), "Nearest");
    EXPECT_FALSE(Enabled(CDataSaverPage::kPeriodId));
    EXPECT_FALSE(Enabled(CDataSaverPage::kReckoningId));
    ChooseStoreMode(1);
    EXPECT_TRUE(Enabled(CDataSaverPage::kPeriodId));
    EXPECT_TRUE(Enabled(CDataSaverPage::kReckoningId));
    ChooseStoreMode(0);
    EXPECT_FALSE(Enabled(CDataSaverPage::kPeriodId));
}

// The language broadcast reloads the labels, the button and the combo boxes' items (each keeping
// its selection), and the Browse dialog filters in the language chosen.
TEST_F(DataSaverPageTest, TheLanguageBroadcastChangesItsTextsAndBack) {
    struct Texts {
        std::vector<std::string> labels;
        std::vector<std::string> storeModes;
        std::vector<std::string> reckonings;
        std::string filter;
    };

    const Texts english = {{"File name:", "Browse", "Data store mode:", "Reckoning mode:", "START"},
                           {"Raw (as they come)", "Periodic"},
                           {"Nearest", "Average", "Interpolation"},
                           "All files (*.*)|*.*||"};
    const Texts german = {{"Dateiname:", "Durchsuchen", "Speichermodus:", "Berechnungsart:", "START"},
                          {"Roh (wie empfangen)", "Periodisch"},
                          {"N\xE4"
                           "chster",
                           "Mittelwert", "Interpolation"},
                          "Alle Dateien (*.*)|*.*||"};
    CLanguageSwitch language;
    language.LendTo(page, resources);
    ChooseStoreMode(1);
    SendMessageA(Item(CDataSaverPage::kReckoningId), CB_SETCURSEL, 2, 0);
    for (const auto& [name, expected] : {std::pair{"Deutsch", german}, std::pair{"English", english}}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(language.Select(name));
        page.PostMessage(WM_DH_LANGUAGE_CHANGED, 0, 0);
        PumpMessages();
        EXPECT_EQ((std::vector<std::string>{
                      Text(CDataSaverPage::kFileLabelId), Text(CDataSaverPage::kBrowseId),
                      Text(CDataSaverPage::kStoreModeLabelId), Text(CDataSaverPage::kReckoningLabelId),
                      Text(CDataSaverPage::kStartStopId)}),
                  expected.labels);
        EXPECT_EQ(Items(CDataSaverPage::kStoreModeId), expected.storeModes);
        EXPECT_EQ(Items(CDataSaverPage::kReckoningId), expected.reckonings);
        EXPECT_EQ(Text(CDataSaverPage::kStoreModeId), expected.storeModes[1]);
        EXPECT_EQ(Text(CDataSaverPage::kReckoningId), expected.reckonings[2]);
        page.filters.clear();
        Click(CDataSaverPage::kBrowseId);
        EXPECT_EQ(page.filters, std::vector<std::string>{expected.filter});
    }
}

TEST_F(DataSaverPageTest, ChecksThePeriodAndUndoesRefusedText) {
    struct Case {
        const char* typed;
        const char* box;
        const char* shown;
        int period;
    };

    const Case cases[] = {
        {"700000", "Element out of range: 700000 <- (0; 600000).", "1000", 1000},
        {"-1", "Element out of range: -1 <- (0; 600000).", "1000", 1000},
        {"12s", "Attempt to write an invalid element: 12s.", "1000", 1000},
        {"600000", "", "600000", 600000},
        {"0", "", "0", 0},
    };
    ChooseStoreMode(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        boxes.clear();
        SetWindowTextA(Item(CDataSaverPage::kPeriodId), "1000");
        SendMessageA(Item(CDataSaverPage::kPeriodId), EM_EMPTYUNDOBUFFER, 0, 0);
        Type(CDataSaverPage::kPeriodId, c.typed);
        LeavePeriod();
        EXPECT_EQ(boxes, c.box[0] != '\0' ? std::vector<std::string>{c.box} : std::vector<std::string>{});
        EXPECT_EQ(Text(CDataSaverPage::kPeriodId), c.shown);
        if (c.box[0] == '\0') {
            EXPECT_EQ(page.GetPeriod(), c.period);
        }
    }
}

TEST_F(DataSaverPageTest, RefusesAnEmptyOrUnusableFileName) {
    SetWindowTextA(Item(CDataSaverPage::kFileNameId), "   ");
    Click(CDataSaverPage::kStartStopId);
    const std::string missing = base + "_missing\\log.txt";
    SetWindowTextA(Item(CDataSaverPage::kFileNameId), missing.c_str());
    Click(CDataSaverPage::kStartStopId);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Dateiname ist leer.", "Ung\xFCltige Dateiname: " + missing}));
    EXPECT_FALSE(page.IsRecording());
    EXPECT_EQ(Text(CDataSaverPage::kStartStopId), "START");
}

TEST_F(DataSaverPageTest, RecordsOneFilePerEngineRun) {
    StartRecording();
    ASSERT_TRUE(page.IsRecording());
    EXPECT_EQ(Text(CDataSaverPage::kStatusId), "Angefangen.");
    EXPECT_EQ(Text(CDataSaverPage::kStartStopId), "STOP");
    for (const int id :
         {CDataSaverPage::kFileNameId, CDataSaverPage::kBrowseId, CDataSaverPage::kStoreModeId}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Files().empty()) << "a file before the engine turned";

    Cycle(0);
    Cycle(800);
    EXPECT_EQ(Text(CDataSaverPage::kStatusId), "L\xE4uft... \\");
    Cycle(810);
    EXPECT_EQ(Text(CDataSaverPage::kStatusId), "L\xE4uft... |");
    EXPECT_EQ(Text(CDataSaverPage::kRowsId), "Reihe: 2");
    EXPECT_EQ(Text(CDataSaverPage::kSizeId)
                  .rfind("Gr\xF6\xDF"
                         "e: ",
                         0),
              0u);
    Cycle(0);
    ASSERT_EQ(Files().size(), 1u);
    EXPECT_EQ(Text(CDataSaverPage::kStatusId), "Datei wurde gespeichert: " + Files()[0] + ".");
    EXPECT_EQ(Text(CDataSaverPage::kRowsId), "");
    Cycle(900);
    Cycle(0);
    Click(CDataSaverPage::kStartStopId);
    EXPECT_EQ(Text(CDataSaverPage::kStatusId), "No more data income.");
    EXPECT_EQ(Text(CDataSaverPage::kStartStopId), "START");
    EXPECT_TRUE(Enabled(CDataSaverPage::kFileNameId));

    const std::vector<std::string> files = Files();
    ASSERT_EQ(files.size(), 2u);
    const std::string first = ReadAll(files[0]);
    const std::string second = ReadAll(files[1]);
    EXPECT_EQ(Count(first, "\tBENZIN\t"), 2);
    EXPECT_EQ(Count(second, "\tBENZIN\t"), 1);
    for (const std::string& text : {first, second}) {
        EXPECT_EQ(Count(text, "START: "), 1);
        EXPECT_EQ(Count(text, "STOPP: "), 1);
        EXPECT_EQ(Count(text, "Datum\tZeit\t"), 1);
    }
}

TEST_F(DataSaverPageTest, AConnectionLossWritesTheRowsAndKeepsTheFileOpen) {
    StartRecording();
    Cycle(800);
    ASSERT_EQ(Files().size(), 1u);
    const std::size_t framed = ReadAll(Files()[0]).size();
    Cycle(820);
    EXPECT_EQ(ReadAll(Files()[0]).size(), framed) << "a row written at once";
    page.PostMessage(WM_DH_STATUS_CHANGED, 1, 7);
    PumpMessages();
    EXPECT_EQ(Text(CDataSaverPage::kStatusId), "Pause (Nicht Verbunden)");
    EXPECT_EQ(Count(ReadAll(Files()[0]), "\tBENZIN\t"), 2);
    EXPECT_TRUE(page.IsRecording());

    Click(CDataSaverPage::kStartStopId);
    EXPECT_EQ(Text(CDataSaverPage::kStatusId), "Erfolgreich abgeschlossen.");
    EXPECT_EQ(Count(ReadAll(Files()[0]), "STOPP: "), 1);
}

TEST_F(DataSaverPageTest, ClosingThePageWhileRecordingFinishesTheFile) {
    StartRecording();
    Cycle(800);
    page.DestroyWindow();
    ASSERT_EQ(Files().size(), 1u);
    EXPECT_EQ(Count(ReadAll(Files()[0]), "STOPP: "), 1);
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
