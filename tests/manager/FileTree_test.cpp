// The file tree over a folder of its own under Wine: listing and sorting, expanding, walking
// a path, keys, renaming through label editing, new folders, deleting, the context menu's
// states, vanished items and folder watching.
#include "classlib/win/AfxRegisterWndClass.h"
#include "classlib/win/CCmdUI.h"
#include "manager/CFolderWatchThread.h"
#include "manager/CNetShareList.h"
#include "manager/CTreeFileCtrl.h"
#include "manager/res/ManagerResourceIds.h"
#include "tests/manager/ManagerFixtures.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <lmcons.h>
#include <lmshare.h>
#include <new>
#include <shlobj.h>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr UINT kTreeId = 100;

// The tree's owner: records the files the tree asks to open.
class CTreeHost : public CWnd {
public:
    std::vector<std::string> m_opened;

protected:
    LRESULT OnFileAction(WPARAM wParam, LPARAM lParam) {
        if (wParam == CTreeFileCtrl::kOpenFile) {
            m_opened.push_back(reinterpret_cast<const CString*>(lParam)->GetString());
        }
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTreeHost, CWnd)
    ON_MESSAGE(WM_TREE_FILE_ACTION, OnFileAction)
END_MESSAGE_MAP()

// Records whether an update handler enabled its command.
class CRecordingCmdUI : public CCmdUI {
public:
    explicit CRecordingCmdUI(UINT id) : CCmdUI(id, 0, nullptr) {}

    void Enable(BOOL on) override { m_enabled = on != FALSE; }

    bool m_enabled = true;
};

// Handles this thread's messages the way the program's loop does, for a while.
void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        Sleep(10);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

// Answers every dialog box that the shell puts up on the thread (the delete confirmation)
// with Yes while it lives.
class CBoxAnswerer {
public:
    explicit CBoxAnswerer(DWORD threadId) : m_thread([this, threadId] { Run(threadId); }) {}

    ~CBoxAnswerer() {
        m_stop = true;
        m_thread.join();
    }

    CBoxAnswerer(const CBoxAnswerer&) = delete;
    CBoxAnswerer& operator=(const CBoxAnswerer&) = delete;

private:
    static BOOL CALLBACK Answer(HWND window, LPARAM) {
        char className[32] = {};
        GetClassNameA(window, className, sizeof className);
        if (IsWindowVisible(window) && std::string(className) == "#32770") {
            PostMessageA(window, WM_COMMAND, IDYES, 0);
        }
        return TRUE;
    }

    void Run(DWORD threadId) {
        while (!m_stop) {
            EnumThreadWindows(threadId, &CBoxAnswerer::Answer, 0);
            Sleep(50);
        }
    }

    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Stand-ins for the network library's share enumeration: one disk share of g_sharedPath, or a
// refusal that still reports a total.
std::wstring g_sharedPath;
bool g_refuse = false;

DWORD WINAPI FakeShareEnum(LPWSTR, DWORD, LPBYTE* buffer, DWORD, LPDWORD read, LPDWORD total, LPDWORD) {
    *total = 3;
    if (g_refuse) {
        *buffer = nullptr;
        *read = 0;
        return ERROR_ACCESS_DENIED;
    }
    auto* share = new SHARE_INFO_502();
    share->shi502_type = STYPE_DISKTREE;
    share->shi502_path = const_cast<LPWSTR>(g_sharedPath.c_str());
    *buffer = reinterpret_cast<LPBYTE>(share);
    *read = 1;
    return 0;
}

DWORD WINAPI FakeBufferFree(LPVOID buffer) {
    delete static_cast<SHARE_INFO_502*>(buffer);
    return 0;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// A stand-in network: one workgroup with one server with one share. The first answer of each
// enumeration asks for a larger buffer.
struct FakeEnumeration {
    DWORD level;
    bool done;
};

int g_opened = 0;
int g_closed = 0;
int g_moreData = 0;

DWORD APIENTRY FakeOpenEnum(DWORD, DWORD, DWORD, LPNETRESOURCEA resource, LPHANDLE handle) {
    DWORD level = 1;
    if (resource != nullptr) {
        level = resource->dwDisplayType == RESOURCEDISPLAYTYPE_DOMAIN   ? 2
                : resource->dwDisplayType == RESOURCEDISPLAYTYPE_SERVER ? 3
                                                                        : 0;
    }
    if (level == 0) {
        return ERROR_NO_NETWORK;
    }
    *handle = new FakeEnumeration{level, false};
    ++g_opened;
    return NO_ERROR;
}

DWORD APIENTRY FakeEnumResource(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD size) {
    auto* enumeration = static_cast<FakeEnumeration*>(handle);
    if (enumeration->done) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (*size < 0x8000) {
        *size = 0x8000;
        ++g_moreData;
        return ERROR_MORE_DATA;
    }
    static const char* const names[] = {"", "WORKGROUP", "\\\\srv", "\\\\srv\\data"};
    static const DWORD types[] = {0, RESOURCEDISPLAYTYPE_DOMAIN, RESOURCEDISPLAYTYPE_SERVER,
                                  RESOURCEDISPLAYTYPE_SHARE};
    auto* resource = static_cast<NETRESOURCEA*>(buffer);
    *resource = NETRESOURCEA();
    char* text = reinterpret_cast<char*>(resource + 1);
    lstrcpyA(text, names[enumeration->level]);
    resource->lpRemoteName = text;
    resource->dwDisplayType = types[enumeration->level];
    resource->dwScope = RESOURCE_GLOBALNET;
    *count = 1;
    enumeration->done = true;
    return NO_ERROR;
}

DWORD APIENTRY FakeCloseEnum(HANDLE handle) {
    delete static_cast<FakeEnumeration*>(handle);
    ++g_closed;
    return NO_ERROR;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    ASSERT_TRUE(ManagerFixtures::WriteBytes(path, {1, 2, 3})) << path;
    SetFileAttributesA(path.c_str(), attributes);
}

void MakeFolder(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_DIRECTORY) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    SetFileAttributesA(path.c_str(), attributes);
}

class FileTree : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = ManagerFixtures::FreshFolder("tree");
        MakeFolder(m_root + "\\b");
        MakeFolder(m_root + "\\a");
        MakeFolder(m_root + "\\b\\inner");
        MakeFile(m_root + "\\b\\inner\\deep.zfz");
        MakeFolder(m_root + "\\hidden", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
        MakeFile(m_root + "\\z.zfz");
        MakeFile(m_root + "\\Y.txt");
        MakeFile(m_root + "\\secret.txt", FILE_ATTRIBUTE_HIDDEN);
        MakeFile(m_root + "\\system.txt", FILE_ATTRIBUTE_SYSTEM);
        const RECT rect = {0, 0, 400, 600};
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "tree host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    rect, nullptr, nullptr));
    }

    void TearDown() override { m_host.DestroyWindow(); }

    void MakeTree(bool watching = false, int textMode = 2) {
        const RECT rect = {0, 0, 380, 580};
        ASSERT_TRUE(m_tree.Create(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS |
                                      TVS_SHOWSELALWAYS | WS_VISIBLE | WS_BORDER,
                                  rect, &m_host, kTreeId));
        m_tree.SetRootPath(m_root.c_str());
        m_tree.SetWatching(watching);
        m_tree.SetFileTextMode(textMode);
        m_tree.Initialize();
    }

    std::vector<std::string> Texts(HTREEITEM parent) const {
        std::vector<std::string> texts;
        for (HTREEITEM item = m_tree.GetChildItem(parent); item != nullptr;
             item = m_tree.GetNextSiblingItem(item)) {
            texts.push_back(m_tree.GetItemText(item).GetString());
        }
        return texts;
    }

    HTREEITEM Select(const std::string& relative, bool expand = false) {
        return m_tree.SelectPath((m_root + "\\" + relative).c_str(), expand);
    }

    std::string m_root;
    CTreeHost m_host;
    CTreeFileCtrl m_tree;
};

TEST_F(FileTree, ListsFoldersBeforeFilesWithoutHiddenOrSystemEntries) {
    MakeTree();
    EXPECT_EQ(Texts(TVI_ROOT), (std::vector<std::string>{"a", "b", "Y.txt", "z.zfz"}));
    const CTreeFileItem* file = m_tree.GetFileItem(m_tree.PathToItem((m_root + "\\z.zfz").c_str()));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->m_file, 1);
    EXPECT_EQ(file->m_kind, CTreeFileItem::kFileSystem);

    // An empty folder shows an expand button until it was expanded once.
    HTREEITEM empty = m_tree.PathToItem((m_root + "\\a").c_str());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(m_tree.GetChildrenFlag(empty), 1);
    m_tree.Expand(empty, TVE_EXPAND);
    EXPECT_EQ(m_tree.GetChildrenFlag(empty), 0);
}

TEST_F(FileTree, SelectPathWalksDownAndF5KeepsTheSelection) {
    MakeTree();
    HTREEITEM deep = Select("b\\inner\\deep.zfz");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(m_tree.GetSelectedItem(), deep);
    EXPECT_STREQ(m_tree.GetSelectedPath(), (m_root + "\\b\\inner\\deep.zfz").c_str());

    HTREEITEM inner = Select("b\\inner", true);
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(m_tree.GetItemState(inner, TVIS_EXPANDED) & TVIS_EXPANDED);
    m_tree.SetFocus();
    m_tree.PostMessage(WM_KEYDOWN, VK_F5, 0);
    Pump(300);
    EXPECT_STREQ(m_tree.GetSelectedPath(), (m_root + "\\b\\inner").c_str());
    HTREEITEM again = m_tree.GetSelectedItem();
    EXPECT_TRUE(m_tree.GetItemState(again, TVIS_EXPANDED) & TVIS_EXPANDED);
    // Going back after a refresh reaches only items that exist.
    for (int steps = 0; m_tree.CanGoBack() && steps < 30; ++steps) {
        ASSERT_TRUE(m_tree.GoBack());
        EXPECT_FALSE(m_tree.GetSelectedPath().IsEmpty());
    }
}

TEST_F(FileTree, EnterAsksTheOwnerToOpenTheSelectedFile) {
    MakeTree();
    ASSERT_NE(Select("z.zfz"), nullptr);
    m_tree.SetFocus();
    m_tree.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    Pump(200);
    ASSERT_EQ(m_host.m_opened.size(), 1u);
    EXPECT_EQ(m_host.m_opened[0], m_root + "\\z.zfz");
}

TEST_F(FileTree, RenamingThroughTheLabelRenamesOnDiskAndRefusesPathsAsNames) {
    MakeTree();

    struct Case {
        const char* typed;
        const char* expectedOnDisk;  // relative to the root
        const char* expectedText;
    };

    const Case cases[] = {
        {"renamed.txt", "renamed.txt", "renamed.txt"},
        {"..\\escaped.txt", "renamed.txt", "renamed.txt"},  // refused: it would move the file
        {"sub\\x.txt", "renamed.txt", "renamed.txt"},
    };
    std::string current = "Y.txt";
    for (const Case& c : cases) {
        HTREEITEM item = Select(current);
        ASSERT_NE(item, nullptr) << current;
        ASSERT_TRUE(m_tree.RenameItem(item));
        HWND edit = m_tree.GetEditControl();
        ASSERT_NE(edit, nullptr);
        SetWindowTextA(edit, c.typed);
        m_tree.EndEditLabelNow(FALSE);
        Pump(100);
        EXPECT_TRUE(Exists(m_root + "\\" + c.expectedOnDisk)) << c.typed;
        EXPECT_STREQ(m_tree.GetItemText(item), c.expectedText) << c.typed;
        current = c.expectedOnDisk;
    }
    EXPECT_FALSE(Exists(m_root + "\\..\\escaped.txt"));
}

TEST_F(FileTree, RenamingAFileWhoseExtensionIsHiddenKeepsTheExtension) {
    MakeTree(false, 0);
    HTREEITEM item = m_tree.PathToItem((m_root + "\\Y.txt").c_str());
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(m_tree.GetItemText(item), "Y");
    ASSERT_TRUE(m_tree.RenameItem(item));
    SetWindowTextA(m_tree.GetEditControl(), "w");
    m_tree.EndEditLabelNow(FALSE);
    Pump(100);
    EXPECT_TRUE(Exists(m_root + "\\w.txt"));
    EXPECT_FALSE(Exists(m_root + "\\w"));
}

TEST_F(FileTree, ANewFolderTakesTheNextNameOfTheSeriesAndOpensItsLabel) {
    MakeFolder(m_root + "\\b\\Neuer Ordner");
    MakeFolder(m_root + "\\b\\Neuer Ordner (2)");
    MakeTree();
    HTREEITEM parent = Select("b");
    ASSERT_NE(parent, nullptr);
    HTREEITEM created = m_tree.NewFolder(parent, CString());
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(Exists(m_root + "\\b\\Neuer Ordner (3)"));
    EXPECT_STREQ(m_tree.GetItemText(created), "Neuer Ordner (3)");
    EXPECT_EQ(m_tree.GetSelectedItem(), created);
    EXPECT_NE(m_tree.GetEditControl(), nullptr);
    m_tree.EndEditLabelNow(TRUE);
}

TEST_F(FileTree, DeletingSelectsTheNeighbourOrTheParentWithoutExpandButton) {
    MakeTree();
    CBoxAnswerer answerer(GetCurrentThreadId());
    HTREEITEM z = Select("z.zfz");
    ASSERT_NE(z, nullptr);
    ASSERT_TRUE(m_tree.DeleteItem(z));
    EXPECT_FALSE(Exists(m_root + "\\z.zfz"));
    EXPECT_STREQ(m_tree.GetSelectedPath(), (m_root + "\\Y.txt").c_str());

    HTREEITEM only = Select("b\\inner\\deep.zfz");
    ASSERT_NE(only, nullptr);
    ASSERT_TRUE(m_tree.DeleteItem(only));
    EXPECT_FALSE(Exists(m_root + "\\b\\inner\\deep.zfz"));
    HTREEITEM inner = m_tree.GetSelectedItem();
    EXPECT_STREQ(m_tree.ItemToPath(inner), (m_root + "\\b\\inner").c_str());
    EXPECT_EQ(m_tree.GetChildrenFlag(inner), 0);
}

TEST_F(FileTree, MenuEntriesFollowTheSelection) {
    MakeTree();

    struct Case {
        const char* selected;
        bool newFolder;
        bool del;
        bool rename;
    };

    const Case cases[] = {{"Y.txt", false, true, true}, {"b", true, true, true}};
    for (const Case& c : cases) {
        ASSERT_NE(Select(c.selected), nullptr);

        const struct {
            UINT id;
            bool expected;
        } entries[] = {{ID_TREE_NEW_FOLDER, c.newFolder},
                       {ID_TREE_NEW_ZIPPED, false},
                       {ID_TREE_DELETE, c.del},
                       {ID_TREE_RENAME, c.rename}};

        for (const auto& entry : entries) {
            CRecordingCmdUI item(entry.id);
            ASSERT_TRUE(item.DoUpdate(&m_tree));
            EXPECT_EQ(item.m_enabled, entry.expected) << c.selected << " " << entry.id;
        }
    }
}

TEST_F(FileTree, ADropMovesOrCopiesIntoTheTargetFolder) {
    MakeTree();
    auto item = [this](const char* relative) {
        return m_tree.PathToItem((m_root + "\\" + relative).c_str());
    };
    EXPECT_EQ(m_tree.GetDropTarget(item("z.zfz")), nullptr) << "a file takes no drop";
    EXPECT_EQ(m_tree.GetDropTarget(item("b")), item("b"));

    ASSERT_TRUE(m_tree.DropItem(item("z.zfz"), item("b"), false));
    EXPECT_TRUE(Exists(m_root + "\\b\\z.zfz"));
    EXPECT_FALSE(Exists(m_root + "\\z.zfz"));
    EXPECT_EQ(item("z.zfz"), nullptr);

    ASSERT_TRUE(m_tree.DropItem(item("Y.txt"), item("a"), true));
    EXPECT_TRUE(Exists(m_root + "\\a\\Y.txt"));
    EXPECT_TRUE(Exists(m_root + "\\Y.txt"));
    EXPECT_NE(item("Y.txt"), nullptr);
    EXPECT_EQ(m_tree.GetChildrenFlag(item("a")), 1) << "the target can be expanded to show the copy";
}

TEST_F(FileTree, EscapeEndsADragWithoutDropping) {
    MakeTree();
    m_tree.SetAllowDrag(true);
    HTREEITEM dragged = m_tree.PathToItem((m_root + "\\z.zfz").c_str());
    HTREEITEM target = m_tree.PathToItem((m_root + "\\b").c_str());
    ASSERT_NE(dragged, nullptr);
    ASSERT_NE(target, nullptr);
    RECT rect = {};
    m_tree.GetItemRect(dragged, &rect, TRUE);
    NMTREEVIEWA begin = {};
    begin.hdr = {m_tree.GetSafeHwnd(), kTreeId, static_cast<UINT>(TVN_BEGINDRAGA)};
    begin.itemNew.hItem = dragged;
    begin.ptDrag = {rect.left + 2, rect.top + 2};
    m_host.SendMessage(WM_NOTIFY, kTreeId, reinterpret_cast<LPARAM>(&begin));
    ASSERT_EQ(GetCapture(), m_tree.GetSafeHwnd()) << "the drag holds the mouse";

    MSG escape = {m_tree.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(m_tree.PreTranslateMessage(&escape));
    EXPECT_EQ(GetCapture(), nullptr);
    m_tree.GetItemRect(target, &rect, TRUE);
    const LPARAM over = MAKELPARAM(rect.left + 2, rect.top + 2);
    m_tree.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, over);
    m_tree.SendMessage(WM_LBUTTONUP, 0, over);
    EXPECT_TRUE(Exists(m_root + "\\z.zfz"));
    EXPECT_FALSE(Exists(m_root + "\\b\\z.zfz"));
}

TEST_F(FileTree, SharedFoldersShowTheShareOverlayOnlyWhenTheListWasRead) {
    g_sharedPath = Wide(m_root + "\\B");  // the test is not case-sensitive
    CNetShareList::Instance().SetFunctions(&FakeShareEnum, &FakeBufferFree);
    for (bool refuse : {false, true}) {
        g_refuse = refuse;
        if (m_tree.GetSafeHwnd() == nullptr) {
            MakeTree();
        } else {
            m_tree.Refresh();
        }
        EXPECT_EQ(CNetShareList::Instance().GetCount(), refuse ? 0 : 1);
        HTREEITEM b = m_tree.PathToItem((m_root + "\\b").c_str());
        HTREEITEM a = m_tree.PathToItem((m_root + "\\a").c_str());
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(m_tree.GetItemState(b, TVIS_OVERLAYMASK), refuse ? 0u : INDEXTOOVERLAYMASK(1)) << refuse;
        EXPECT_EQ(m_tree.GetItemState(a, TVIS_OVERLAYMASK), 0u);
    }
    CNetShareList::Instance().SetFunctions(nullptr, nullptr);
    CNetShareList::Instance().EnumShares();
}

TEST_F(FileTree, AnItemWhoseFolderWasDeletedOutsideGoesWhenSelected) {
    MakeTree();
    HTREEITEM a = m_tree.PathToItem((m_root + "\\a").c_str());
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(RemoveDirectoryA((m_root + "\\a").c_str()));
    m_tree.SelectItem(a);
    Pump(50);
    EXPECT_EQ(m_tree.PathToItem((m_root + "\\a").c_str()), nullptr);
    EXPECT_EQ(Texts(TVI_ROOT), (std::vector<std::string>{"b", "Y.txt", "z.zfz"}));
}

TEST_F(FileTree, AWatchedFolderShowsAFolderMadeOutside) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    m_root = std::string(temp) + "zfx-watch";
    RemoveDirectoryA((m_root + "\\made outside").c_str());
    RemoveDirectoryA(m_root.c_str());
    MakeFolder(m_root);
    MakeTree(true);
    EXPECT_EQ(m_tree.GetWatchCount(), 1);
    MakeFolder(m_root + "\\made outside");
    for (int i = 0; i < 50 && m_tree.PathToItem((m_root + "\\made outside").c_str()) == nullptr; ++i) {
        Pump(100);
    }
    EXPECT_NE(m_tree.PathToItem((m_root + "\\made outside").c_str()), nullptr);
    m_tree.StopAllWatches();
    EXPECT_EQ(m_tree.GetWatchCount(), 0);
    RemoveDirectoryA((m_root + "\\made outside").c_str());
    RemoveDirectoryA(m_root.c_str());
}

// A worker that does not end within the stop's wait (here: held suspended) outlives its
// watch: when it runs on, it must touch nothing of the watch's freed memory, and it ends.
TEST(FolderWatch, AWorkerThatOutlivesItsWatchTouchesNothingOfIt) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "zfx-late-watch";
    MakeFolder(folder);
    std::atomic<bool> watching{true};
    alignas(CFolderWatchThread) unsigned char storage[sizeof(CFolderWatchThread)];
    auto* watch = new (storage) CFolderWatchThread(folder.c_str(), nullptr, 7, false, watching);
    ASSERT_TRUE(watch->Start());
    const HANDLE worker = OpenThread(SYNCHRONIZE | THREAD_SUSPEND_RESUME, FALSE, watch->GetThreadId());
    ASSERT_NE(worker, nullptr);
    SuspendThread(worker);
    watch->~CFolderWatchThread();
    std::memset(storage, 0xAB, sizeof storage);
    ResumeThread(worker);
    EXPECT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(std::vector<unsigned char>(storage, storage + sizeof storage),
              std::vector<unsigned char>(sizeof storage, 0xAB));
    CloseHandle(worker);
    RemoveDirectoryA(folder.c_str());
}

// The whole shell tree, with label editing, in a host window of its own.
class ShellTree : public ::testing::Test {
protected:
    void SetUp() override {
        const RECT rect = {0, 0, 400, 600};
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "shell tree host",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, nullptr));
        ASSERT_TRUE(tree.Create(TVS_HASBUTTONS | TVS_EDITLABELS | WS_VISIBLE, rect, &host, kTreeId));
        tree.Initialize();
    }

    void TearDown() override {
        tree.DestroyWindow();
        host.DestroyWindow();
    }

    CTreeHost host;
    CTreeFileCtrl tree;
};

// The whole shell tree: drive roots and the special items cannot be renamed or deleted.
TEST_F(ShellTree, DriveRootsAndSpecialItemsCannotBeChanged) {
    ASSERT_NE(tree.GetDesktopItem(), nullptr);
    ASSERT_NE(tree.GetMyComputerItem(), nullptr);
    HTREEITEM drive = tree.SelectPath("C:\\", false);
    ASSERT_NE(drive, nullptr);
    EXPECT_STREQ(tree.GetSelectedPath(), "C:\\");
    for (HTREEITEM item : {drive, tree.GetMyComputerItem(), tree.GetDesktopItem()}) {
        tree.SelectItem(item);
        for (UINT id : {ID_TREE_DELETE, ID_TREE_RENAME}) {
            CRecordingCmdUI entry(id);
            ASSERT_TRUE(entry.DoUpdate(&tree));
            EXPECT_FALSE(entry.m_enabled) << id;
        }
        EXPECT_FALSE(tree.RenameItem(item));
        EXPECT_FALSE(tree.DeleteItem(item));
    }
    tree.DestroyWindow();
    host.DestroyWindow();
}

// A folder beside the Desktop folder whose name starts with the Desktop's, reached through My
// Computer: the new folder made in it is the one item the expansion listed, not a second one.
TEST_F(ShellTree, ANewFolderBesideTheDesktopFolderIsListedOnce) {
    char desktop[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
    const std::string parentPath = std::string(desktop) + " Backup";
    CreateDirectoryA(parentPath.c_str(), nullptr);
    RemoveDirectoryA((parentPath + "\\Neuer Ordner").c_str());
    HTREEITEM parent = tree.SelectPath(parentPath.c_str(), false);
    ASSERT_NE(parent, nullptr);
    HTREEITEM created = tree.NewFolder(parent, CString());
    ASSERT_NE(created, nullptr);
    tree.EndEditLabelNow(TRUE);
    int named = 0;
    for (HTREEITEM child = tree.GetChildItem(parent); child != nullptr;
         child = tree.GetNextSiblingItem(child)) {
        named += tree.GetItemText(child) == "Neuer Ordner" ? 1 : 0;
    }
    EXPECT_EQ(named, 1);
    EXPECT_EQ(tree.PathToItem((parentPath + "\\Neuer Ordner").c_str()), created);
    RemoveDirectoryA((parentPath + "\\Neuer Ordner").c_str());
    RemoveDirectoryA(parentPath.c_str());
}

// Wine has no network: the enumeration is a stand-in, the tree's handling of it is real.
TEST(FileTreeShell, NetworkItemsComeFromTheEnumerationAndAPathWalksThroughThem) {
    CTreeFileCtrl::SetNetworkFunctions({&FakeOpenEnum, &FakeEnumResource, &FakeCloseEnum});
    CTreeHost host;
    const RECT rect = {0, 0, 400, 600};
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "network tree host",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, nullptr));
    CTreeFileCtrl tree;
    ASSERT_TRUE(tree.Create(TVS_HASBUTTONS | WS_VISIBLE, rect, &host, kTreeId));
    tree.Initialize();
    HTREEITEM network = tree.GetNetworkItem();
    ASSERT_NE(network, nullptr);
    tree.Expand(network, TVE_EXPAND);
    HTREEITEM group = tree.GetChildItem(network);
    ASSERT_NE(group, nullptr);
    EXPECT_STREQ(tree.GetItemText(group), "WORKGROUP");
    tree.Expand(group, TVE_EXPAND);
    HTREEITEM server = tree.GetChildItem(group);
    ASSERT_NE(server, nullptr);
    EXPECT_STREQ(tree.GetItemText(server), "srv");
    tree.Expand(server, TVE_EXPAND);
    HTREEITEM share = tree.GetChildItem(server);
    ASSERT_NE(share, nullptr);
    EXPECT_STREQ(tree.GetItemText(share), "data");
    EXPECT_STREQ(tree.ItemToPath(share), "\\\\srv\\data");

    tree.SelectItem(network);
    EXPECT_EQ(tree.SelectPath("\\\\srv\\data", false), share);
    EXPECT_STREQ(tree.GetSelectedPath(), "\\\\srv\\data");
    EXPECT_EQ(tree.PathToItem("\\\\srv\\data"), share) << "a look walks the same way as a selection";
    EXPECT_EQ(tree.NewFolder(share, CString()), nullptr) << "no folders are made on network items";
    EXPECT_FALSE(tree.RenameItem(share));
    EXPECT_GT(g_moreData, 0);
    tree.DestroyWindow();
    host.DestroyWindow();
    EXPECT_EQ(g_opened, g_closed);
    CTreeFileCtrl::ResetNetworkFunctions();
}

}  // namespace
