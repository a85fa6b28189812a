// The viewer's smaller windows in this process under Wine: the start window on its own
// thread, the create-zipped dialog and the "Add a key" dialog (message boxes answered by a
// prompter).
#include "classlib/win/AfxMessageBox.h"
#include "firmware/CAddKeyDlg.h"
#include "firmware/CAddKeyDlgIds.h"
#include "manager/CCreateZippedDlg.h"
#include "manager/CSplashStarter.h"
#include "manager/CSplashThread.h"
#include "manager/CSplashZFZWnd.h"
#include "manager/res/ManagerResourceIds.h"
#include "tests/manager/ManagerFixtures.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Answers message boxes with a fixed button and keeps their texts.
class CRecordedPrompts {
public:
    explicit CRecordedPrompts(int answer) {
        m_previous = AfxSetPrompter([this, answer](const char* text, UINT, const char*) {
            m_texts.push_back(text);
            return answer;
        });
    }

    ~CRecordedPrompts() { AfxSetPrompter(m_previous); }

    CRecordedPrompts(const CRecordedPrompts&) = delete;
    CRecordedPrompts& operator=(const CRecordedPrompts&) = delete;

    std::vector<std::string> m_texts;

private:
    AfxPrompter m_previous;
};

HWND WaitForSplash(CSplashStarter& starter) {
    for (int i = 0; i < 200; ++i) {
        CSplashWnd* splash = starter.GetThread() != nullptr ? starter.GetThread()->GetSplash() : nullptr;
        if (splash != nullptr && splash->GetSafeHwnd() != nullptr) {
            return splash->GetSafeHwnd();
        }
        Sleep(10);
    }
    return nullptr;
}

TEST(StartWindow, StopRightAfterStartClosesTheWindowAndEndsItsThread) {
    CSplashStarter starter;
    ASSERT_TRUE(starter.Start(RUNTIME_CLASS(CSplashZFZWnd)));
    EXPECT_TRUE(starter.Stop());
    EXPECT_FALSE(starter.IsStarted());
    EXPECT_FALSE(starter.Stop()) << "nothing left to stop";
}

TEST(StartWindow, IgnoresCloseUntilStoppedAndCyclesItsDotsAtAFixedSize) {
    CSplashStarter starter;
    ASSERT_TRUE(starter.Start(RUNTIME_CLASS(CSplashZFZWnd)));
    HWND window = WaitForSplash(starter);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT before;
    GetWindowRect(window, &before);

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));

    const auto* splash = static_cast<const CSplashZFZWnd*>(starter.GetThread()->GetSplash());
    std::set<int> seen;
    for (int i = 0; i < 200 && seen.size() < 3; ++i) {
        seen.insert(splash->GetDotCount());
        Sleep(50);
    }
    EXPECT_GE(seen.size(), 3u);
    EXPECT_LE(*seen.rbegin(), 3);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);

    EXPECT_TRUE(starter.Stop());
    EXPECT_FALSE(IsWindow(window));
}

// Types a name (when one is given) and presses OK, then Cancel for a run that OK did not end.
class CScriptedZippedDlg : public CCreateZippedDlg {
public:
    explicit CScriptedZippedDlg(const char* typed) : m_typed(typed) {}

protected:
    BOOL OnInitDialog() override {
        CCreateZippedDlg::OnInitDialog();
        if (m_typed != nullptr) {
            SetDlgItemTextA(m_hWnd, IDC_ZFZ_NAME, m_typed);
        }
        PostMessage(WM_COMMAND, IDOK);
        PostMessage(WM_COMMAND, IDCANCEL);
        return TRUE;
    }

private:
    const char* m_typed;
};

class CreateZipped : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = ManagerFixtures::FreshFolder("zipped");
        m_update = m_folder + "\\a.zfu";
        ASSERT_TRUE(ManagerFixtures::WriteUpdateFile(m_update));
    }

    std::string m_folder;
    std::string m_update;
};

TEST_F(CreateZipped, WritesTheNamedZippedFileBesideTheUpdateFile) {
    struct Case {
        const char* typed;  // null: the proposed name
        const char* written;
    };

    const Case cases[] = {{nullptr, "a.zfz"}, {"abc", "abc.zfz"}, {"x.ZFZ", "x.ZFZ.zfz"}};
    for (const Case& c : cases) {
        CRecordedPrompts prompts(IDOK);
        CScriptedZippedDlg dialog(c.typed);
        dialog.SetSource(m_update.c_str());
        ASSERT_EQ(dialog.DoModal(), IDOK) << (c.typed ? c.typed : "proposed");
        const std::string expected = m_folder + "\\" + c.written;
        EXPECT_STREQ(dialog.GetZippedPath(), expected.c_str());
        EXPECT_TRUE(prompts.m_texts.empty());

        CFirmwareUpdateFile written;
        int cause = 0;
        ASSERT_EQ(written.LoadZippedFile(expected.c_str(), cause), 1) << expected;
        EXPECT_EQ(written.GetFormat(), 0x0100);
        EXPECT_EQ(written.GetFirmware(), ManagerFixtures::kFirmware);
        EXPECT_EQ(written.GetBuild(), ManagerFixtures::kBuild);
        EXPECT_EQ(written.GetProtocol(), ManagerFixtures::kProtocol);
        EXPECT_EQ(written.GetBootloader(), ManagerFixtures::kBootloader);
        EXPECT_EQ(written.GetImage().size(), 64u);
        CMapStringToString descriptions;
        written.GetDescriptions(descriptions);
        EXPECT_EQ(descriptions.GetCount(), 0);
    }
}

TEST_F(CreateZipped, RefusesWhatItCannotWriteAndKeepsAFileTheUserKeeps) {
    const std::string existing = m_folder + "\\a.zfz";
    ASSERT_TRUE(ManagerFixtures::WriteBytes(existing, {9, 9}));
    const std::string garbage = m_folder + "\\bad.zfu";
    ASSERT_TRUE(ManagerFixtures::WriteBytes(garbage, std::vector<BYTE>(64, 1)));

    struct Case {
        std::string source;
        const char* typed;
        int answer;
        std::vector<std::string> prompts;
    };

    const Case cases[] = {
        {m_update, "", IDOK, {"No ZFZ file name given."}},
        {m_update,
         nullptr,
         IDNO,
         {"ZFZ Datei 'a.zfz' schon existiert. \xDC"
          "berschreiben?"}},
        {m_folder, nullptr, IDOK, {"Choose an ZFU file."}},
        {garbage,
         nullptr,
         IDOK,
         {"Ung\xFC"
          "ltiges Dateiformat.",
          "Choose an ZFU file."}},
    };
    for (const Case& c : cases) {
        CRecordedPrompts prompts(c.answer);
        CScriptedZippedDlg dialog(c.typed);
        dialog.SetSource(c.source.c_str());
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << c.source;
        EXPECT_EQ(prompts.m_texts, c.prompts) << c.source;
    }
    CFirmwareUpdateFile kept;
    int cause = 0;
    EXPECT_EQ(kept.LoadZippedFile(existing.c_str(), cause), 0) << "the answer No keeps the old file";
}

TEST(CreateZippedSource, SplitsAFileAndKeepsOnlyTheFolderOfAFolder) {
    const std::string folder = ManagerFixtures::FreshFolder("source");
    ASSERT_TRUE(ManagerFixtures::WriteUpdateFile(folder + "\\u.zfu"));
    CCreateZippedDlg dialog;
    dialog.SetSource((folder + "\\u.zfu").c_str());
    EXPECT_STREQ(dialog.GetFolder(), (folder + "\\").c_str());
    EXPECT_STREQ(dialog.GetFileName(), "u.zfu");
    dialog.SetSource(folder.c_str());
    EXPECT_STREQ(dialog.GetFolder(), (folder + "\\").c_str());
    EXPECT_STREQ(dialog.GetFileName(), "");
    dialog.SetSource((folder + "\\missing.zfu").c_str());
    EXPECT_STREQ(dialog.GetFolder(), "");
    EXPECT_STREQ(dialog.GetFileName(), "");
}

TEST(AddKey, AcceptsTrimmedKeysWithoutForbiddenCharacters) {
    struct Case {
        const char* typed;
        const char* accepted;  // empty: refused
    };

    const Case cases[] = {
        {"  en  ", "en"}, {"en-US", "en-US"}, {"en_gb", "en_gb"}, {"de.at", ""},    {"en/us", ""},
        {"   ", ""},      {"", ""},           {"a\xB4", ""},      {"k`", ""},       {"x|y", ""},
        {"q\"", ""},      {"%", ""},          {"a b", "a b"},     {"\tde\t", "de"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(CAddKeyDlg::CheckKey(c.typed), c.accepted) << c.typed;
    }
}

// Types a key and presses OK, then Cancel for a run that OK did not end.
class CScriptedAddKeyDlg : public CAddKeyDlg {
public:
    CScriptedAddKeyDlg(const char* typed, UINT firstButton) : m_typed(typed), m_firstButton(firstButton) {}

protected:
    BOOL OnInitDialog() override {
        CAddKeyDlg::OnInitDialog();
        SetDlgItemTextA(m_hWnd, IDC_ADD_KEY_EDIT, m_typed);
        char caption[64] = {};
        ::GetWindowTextA(m_hWnd, caption, sizeof caption);
        m_caption = caption;
        PostMessage(WM_COMMAND, m_firstButton);
        PostMessage(WM_COMMAND, IDCANCEL);
        return TRUE;
    }

public:
    std::string m_caption;

private:
    const char* m_typed;
    UINT m_firstButton;
};

TEST(AddKey, OnlyAValidKeyClosesTheDialogWithOk) {
    {
        CRecordedPrompts prompts(IDOK);
        CScriptedAddKeyDlg dialog(" en ", IDOK);
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_STREQ(dialog.GetKey(), "en");
        EXPECT_EQ(dialog.m_caption, "Add a new key");
        EXPECT_TRUE(prompts.m_texts.empty());
    }
    {
        CRecordedPrompts prompts(IDOK);
        CScriptedAddKeyDlg dialog("de.at", IDOK);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_STREQ(dialog.GetKey(), "");
        EXPECT_EQ(prompts.m_texts, std::vector<std::string>{"Please enter a valid key."});
    }
    {
        CScriptedAddKeyDlg dialog("en", IDCANCEL);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_STREQ(dialog.GetKey(), "");
    }
}

}  // namespace
