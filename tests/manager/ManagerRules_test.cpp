// The viewer's rules that need no window: listed description keys and their summary, the
// shortened path of the file-name field, the selection history, new-folder and rename names,
// network item names and the names of the create-zipped dialog.
#include "manager/CSelectionHistory.h"
#include "manager/EllipsizePath.h"
#include "manager/FileTreePaths.h"
#include "manager/ViewerKeys.h"
#include "manager/ZippedFileNames.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

using Entries = std::initializer_list<std::pair<const char*, const char*>>;

// A description map holding entries.
struct Descriptions : CMapStringToString {
    explicit Descriptions(Entries entries) {
        for (const auto& entry : entries) {
            SetAt(entry.first, entry.second);
        }
    }
};

std::set<std::string> Keys(const CDescriptionKeyList& list) {
    std::set<std::string> keys;
    for (int i = 0; i < list.GetCount(); ++i) {
        keys.insert(list.GetKey(i).GetString());
    }
    return keys;
}

TEST(DescriptionKeyList, ListsOnlyGermanHungarianAndEnglishWithTheirTexts) {
    CDescriptionKeyList list = ViewerKeys::MakeList();
    list.Refresh(
        Descriptions(Entries{{"de", "Deutsch"}, {"fr", "Francais"}, {"EN", "English"}, {"hu", "Magyar"}}),
        CDescriptionKeyList::kSelectFirst, -1);
    EXPECT_EQ(Keys(list), (std::set<std::string>{"de", "EN", "hu"}));
    for (int i = 0; i < list.GetCount(); ++i) {
        const CString key = list.GetKey(i);
        const char* expected = key == "de" ? "Deutsch" : key == "EN" ? "English" : "Magyar";
        EXPECT_STREQ(list.GetText(i), expected) << key.GetString();
    }
    EXPECT_EQ(list.GetSelection(), 0);
}

TEST(DescriptionKeyList, SummaryJoinsTheListedKeysInListOrder) {
    CDescriptionKeyList list = ViewerKeys::MakeList();
    list.Refresh(Descriptions(Entries{{"de", "a"}, {"en", "b"}, {"fr", "c"}}),
                 CDescriptionKeyList::kSelectFirst, -1);
    ASSERT_EQ(list.GetCount(), 2);
    const CString expected = "{" + list.GetKey(0) + ";" + list.GetKey(1) + "}";
    EXPECT_STREQ(list.GetSummary(ViewerKeys::kNoKeysText), expected);

    list.Refresh(Descriptions(Entries{{"fr", "c"}}), CDescriptionKeyList::kSelectFirst, -1);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetSelection(), -1);
    EXPECT_STREQ(list.GetSummary(ViewerKeys::kNoKeysText), "*** Leer ***");
}

TEST(DescriptionKeyList, RefillKeepsTheChoiceOrMovesToTheNeighbourAfterADeletion) {
    const Descriptions all({{"de", "1"}, {"en", "2"}, {"hu", "3"}});
    CDescriptionKeyList list = ViewerKeys::MakeList();
    list.Refresh(all, CDescriptionKeyList::kSelectFirst, -1);
    ASSERT_EQ(list.GetCount(), 3);
    const CString second = list.GetKey(1);
    const CString third = list.GetKey(2);

    list.Refresh(all, CDescriptionKeyList::kKeepSelected, 2);
    EXPECT_EQ(list.GetKey(list.GetSelection()), third);

    // After deleting the third entry the second is chosen; after deleting the first, the
    // (old) second one.
    Descriptions withoutThird({{"de", "1"}, {"en", "2"}, {"hu", "3"}});
    withoutThird.RemoveKey(third);
    list.Refresh(all, CDescriptionKeyList::kSelectFirst, -1);
    list.Refresh(withoutThird, CDescriptionKeyList::kSelectNeighbour, 2);
    EXPECT_EQ(list.GetKey(list.GetSelection()), second);

    list.Refresh(all, CDescriptionKeyList::kSelectFirst, -1);
    const CString first = list.GetKey(0);
    Descriptions withoutFirst({{"de", "1"}, {"en", "2"}, {"hu", "3"}});
    withoutFirst.RemoveKey(first);
    list.Refresh(withoutFirst, CDescriptionKeyList::kSelectNeighbour, 0);
    EXPECT_EQ(list.GetKey(list.GetSelection()), second);
}

// Every character 7 pixels wide, so the expected texts are exact.
int SevenPerChar(const CString& text) {
    return text.GetLength() * 7;
}

TEST(EllipsizePath, CutsTheMiddleJustEnoughToFit) {
    const CString path = "C:\\firmware\\releases\\2024\\unit.zfz";  // 34 characters

    struct Case {
        int width;
        const char* expected;
    };

    const Case cases[] = {
        {34 * 7, "C:\\firmware\\releases\\2024\\unit.zfz"},  // fits as it is
        {33 * 7, "C:\\firmware\\rel...s\\2024\\unit.zfz"},   // an exact fit ends the search
        {20 * 7 + 3, "C:\\firmw...\\unit.zfz"},              // the shortest cut that fits
        {12 * 7, "C:\\f...t.zfz"},
        {1, "C...z"},  // nothing fits: the longest cut
    };
    for (const Case& c : cases) {
        const CString shortened = EllipsizePath(path, c.width, SevenPerChar);
        EXPECT_STREQ(shortened, c.expected) << c.width;
        if (c.width > 5 * 7) {
            EXPECT_LE(SevenPerChar(shortened), c.width);
        }
    }
}

TEST(SelectionHistory, KeepsAtMostOneMoreThanTheLimitAndDropsTheOldest) {
    CSelectionHistory history;
    int items[25];
    for (int& item : items) {
        history.PushBack(&item);
    }
    EXPECT_EQ(history.GetBackCount(), 21);
    EXPECT_EQ(history.PopBack(), &items[24]);

    history.SetMaxHistory(5);
    EXPECT_EQ(history.GetBackCount(), 5);
    EXPECT_EQ(history.PopBack(), &items[8]);  // the newest entries went
}

TEST(SelectionHistory, ForgottenItemsNeverComeBack) {
    CSelectionHistory history;
    int a = 0;
    int b = 0;
    history.PushBack(&a);
    history.PushBack(&b);
    history.PushForward(&b);
    history.Forget(&b);
    EXPECT_EQ(history.GetForwardCount(), 0);
    EXPECT_EQ(history.PopBack(), &a);
    EXPECT_EQ(history.PopBack(), nullptr);
    EXPECT_FALSE(history.CanGoBack());
}

TEST(FileTreePaths, NewFolderNameTakesTheFirstFreeNameOfTheSeries) {
    std::set<std::string> existing = {"C:\\fx\\Neuer Ordner", "C:\\fx\\Neuer Ordner (2)"};
    auto exists = [&existing](const CString& path) { return existing.count(path.GetString()) != 0; };
    EXPECT_STREQ(FileTreePaths::MakeNewFolderName("C:\\fx\\", exists), "C:\\fx\\Neuer Ordner (3)");
    EXPECT_STREQ(FileTreePaths::MakeNewFolderName("C:\\other", exists), "C:\\other\\Neuer Ordner");
}

TEST(FileTreePaths, DriveRootsAndNames) {
    EXPECT_TRUE(FileTreePaths::IsDriveRoot("C:\\"));
    EXPECT_TRUE(FileTreePaths::IsDriveRoot("d:\\"));
    for (const char* path : {"C:", "C:\\x", "1:\\", "\\\\s", ""}) {
        EXPECT_FALSE(FileTreePaths::IsDriveRoot(path)) << path;
    }
    for (const char* name :
         {"", ".", "..", "a\\b", "..\\x", "a/b", "c:x", "a*", "a?", "a\"", "a<", "a>", "a|"}) {
        EXPECT_FALSE(FileTreePaths::IsValidItemName(name)) << name;
    }
    for (const char* name : {"a", "a.zfz", "Neuer Ordner (2)", "x..y"}) {
        EXPECT_TRUE(FileTreePaths::IsValidItemName(name)) << name;
    }
}

TEST(FileTreePaths, RenameTargetKeepsAHiddenExtension) {
    EXPECT_STREQ(FileTreePaths::BuildRenameTarget("C:\\", "b", ""), "C:\\b");
    EXPECT_STREQ(FileTreePaths::BuildRenameTarget("C:\\fx", "b", ".zfz"), "C:\\fx\\b.zfz");
    EXPECT_STREQ(FileTreePaths::ExtensionOf("a.b.zfz"), ".zfz");
    EXPECT_STREQ(FileTreePaths::ExtensionOf("noext"), "");
}

TEST(FileTreePaths, NetworkNamesLoseUpToTwoLeadingBackslashes) {
    EXPECT_STREQ(FileTreePaths::NetworkItemName("\\\\server", "x"), "server");
    EXPECT_STREQ(FileTreePaths::NetworkItemName("\\\\\\odd", ""), "\\odd");
    EXPECT_STREQ(FileTreePaths::NetworkItemName("", "Workgroup"), "Workgroup");
    EXPECT_STREQ(FileTreePaths::ShareText("server\\share"), "share");
}

// A drive root keeps its backslash whichever way a path is cut, and a folder whose name only
// begins with another's does not lie below it.
TEST(FileTreePaths, PathsAreCutAndJoinedAtBackslashes) {
    EXPECT_STREQ(FileTreePaths::StripTrailingBackslash("C:\\fx\\"), "C:\\fx");
    EXPECT_STREQ(FileTreePaths::StripTrailingBackslash("C:\\"), "C:\\");
    EXPECT_STREQ(FileTreePaths::ParentFolderOf("C:\\fx\\a.zfz"), "C:\\fx");
    EXPECT_STREQ(FileTreePaths::ParentFolderOf("C:\\a.zfz"), "C:\\");
    EXPECT_STREQ(FileTreePaths::ParentFolderOf("a.zfz"), "");
    EXPECT_STREQ(FileTreePaths::JoinPath("C:\\", "*.*"), "C:\\*.*");
    EXPECT_STREQ(FileTreePaths::JoinPath("C:\\fx", "a"), "C:\\fx\\a");
    EXPECT_STREQ(FileTreePaths::WithTrailingBackslash("C:\\fx"), "C:\\fx\\");

    struct Case {
        const char* path;
        const char* folder;
        bool inside;
    };

    const Case cases[] = {
        {"C:\\Desktop", "C:\\Desktop", true},
        {"c:\\desktop\\a", "C:\\Desktop", true},
        {"C:\\Desktop Backup", "C:\\Desktop", false},
        {"C:\\Desk", "C:\\Desktop", false},
        {"C:\\Desktop", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileTreePaths::IsInFolder(c.path, c.folder), c.inside) << c.path << " in " << c.folder;
    }
}

TEST(ZippedFileNames, ProposedAndWrittenNames) {
    EXPECT_STREQ(ZippedFileNames::ProposedName("D:\\fw\\a.zfu"), "a.zfz");

    struct Case {
        const char* typed;
        const char* written;
    };

    const Case cases[] = {{"abc", "abc.zfz"}, {"x.ZFZ", "x.ZFZ.zfz"}, {"a.zfz", "a.zfz"}, {"zfz", "zfz.zfz"}};
    for (const Case& c : cases) {
        EXPECT_STREQ(ZippedFileNames::TargetName(c.typed), c.written) << c.typed;
    }
    CString folder;
    CString name;
    ZippedFileNames::SplitFilePath("D:\\fw\\a.zfu", folder, name);
    EXPECT_STREQ(folder, "D:\\fw\\");
    EXPECT_STREQ(name, "a.zfu");
    ZippedFileNames::SplitFilePath("a.zfu", folder, name);
    EXPECT_STREQ(folder, "");
    EXPECT_STREQ(name, "a.zfu");
}

}  // namespace
