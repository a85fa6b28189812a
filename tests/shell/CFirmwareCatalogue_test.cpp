// The firmware catalogue: sorted insertion, the search for an entry's place, the version
// history blocks byte for byte, and reading and writing "firmware.xml".
#include "shell/CFirmwareCatalogue.h"

#include "ShellTestSupport.h"

#include <initializer_list>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace {

using Pairs = std::initializer_list<std::pair<const char*, const char*>>;

void Add(CFirmwareCatalogue& catalogue, int major, int minor, int build, int branch, Pairs descriptions) {
    CMapStringToString map;
    for (const auto& pair : descriptions) {
        map.SetAt(pair.first, pair.second);
    }
    catalogue.AddFirmwareDescriptions(major, minor, build, branch, map);
}

std::string Text(const XmlElement& entry, const char* name) {
    const char* text = entry.GetChild(name).GetText(0);
    return text != nullptr ? text : "";
}

// One line per entry: "version/build/branch/language=description", in document order.
std::string Entries(const CFirmwareCatalogue& catalogue) {
    std::string lines;
    const XmlElement document = catalogue.Root().GetChild("document");
    for (int i = 0; i < document.ChildCount(); ++i) {
        const XmlElement entry = document.GetChildAt(i);
        for (const char* name : {"version", "build", "branch", "language"}) {
            lines += Text(entry, name);
            lines += name[0] == 'l' ? "=" : "/";
        }
        lines += Text(entry, "description");
        lines += "\n";
    }
    return lines;
}

std::string Block(const char* build, const char* description, const char* version = "1.05") {
    return std::string("--------------------\r\nv") + version + "-" + build +
           "\r\n--------------------\r\n\r\n" + description + "\r\n\r\n\r\n";
}

const char* const kEmptyCatalogue = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n";

// A history fixture: version 1.05 in English and German, with side branches, and a neighbour.
CFirmwareCatalogue HistoryCatalogue() {
    CFirmwareCatalogue catalogue;
    Add(catalogue, 1, 5, 130, 0, {{"en", "Build 130"}});
    Add(catalogue, 1, 5, 100, 0, {{"en", "Build 100"}});
    Add(catalogue, 1, 5, 120, 2, {{"en", "Build 120 branch 2"}});
    Add(catalogue, 1, 5, 110, 0, {{"en", "Build 110"}, {"de", "Version 110"}});
    Add(catalogue, 1, 5, 115, 1, {{"en", "Build 115 branch 1"}});
    Add(catalogue, 1, 5, 120, 0, {{"en", "Build 120"}, {"de", "Version 120"}});
    Add(catalogue, 1, 6, 50, 0, {{"en", "Next version"}});
    Add(catalogue, 1, 4, 120, 0, {{"en", "Older version"}});
    return catalogue;
}

}  // namespace

TEST(CFirmwareCatalogue, KeepsEntriesSortedByVersionBuildBranchAndLanguage) {
    CFirmwareCatalogue catalogue;
    Add(catalogue, 1, 5, 12, 0, {{"fr", "douze"}, {"EN", "twelve"}, {"de", "zwoelf"}});
    Add(catalogue, 1, 5, 3, 0, {{"en", "three"}});
    Add(catalogue, 1, 5, 12, 1, {{"en", "twelve, side"}});
    Add(catalogue, 1, 10, 1, 0, {{"en", "ten"}});
    Add(catalogue, 1, 9, 1, 0, {{"en", "nine"}});
    Add(catalogue, 0, 99, 1023, 63, {{"en", "oldest"}});
    Add(catalogue, 1, 5, 12, 0, {{"it", "dodici"}, {"cz", "dvanact"}});
    EXPECT_EQ(
        "0.99/1023/63/en=oldest\n"
        "1.05/0003/0/en=three\n"
        "1.05/0012/0/cz=dvanact\n"
        "1.05/0012/0/de=zwoelf\n"
        "1.05/0012/0/EN=twelve\n"
        "1.05/0012/0/fr=douze\n"
        "1.05/0012/0/it=dodici\n"
        "1.05/0012/1/en=twelve, side\n"
        "1.09/0001/0/en=nine\n"
        "1.10/0001/0/en=ten\n",
        Entries(catalogue));
}

TEST(CFirmwareCatalogue, AddingTheSameDescriptionsTwiceKeepsOneEntryPerLanguage) {
    CFirmwareCatalogue catalogue;
    Add(catalogue, 1, 5, 12, 0, {{"en", "first"}, {"de", "erste"}});
    const std::string once = Entries(catalogue);
    Add(catalogue, 1, 5, 12, 0, {{"en", "first"}, {"de", "erste"}});
    EXPECT_EQ(once, Entries(catalogue));
    Add(catalogue, 1, 5, 12, 0, {{"EN", "second"}, {"fr", "seconde"}});
    EXPECT_EQ(
        "1.05/0012/0/de=erste\n"
        "1.05/0012/0/en=first\n"
        "1.05/0012/0/fr=seconde\n",
        Entries(catalogue));
}

TEST(CFirmwareCatalogue, FindsThePlaceOfAnEntryAndCarriesTheSearchStart) {
    CFirmwareCatalogue catalogue;
    Add(catalogue, 1, 5, 100, 0, {{"en", "a"}});
    Add(catalogue, 1, 5, 120, 0, {{"de", "b"}, {"en", "c"}});

    struct Case {
        const char* name;
        int major;
        int minor;
        int build;
        int branch;
        const char* language;
        int expected;
        int searchStartAfter;
    };

    const Case cases[] = {
        {"present, language ignoring case", 1, 5, 120, 0, "EN", CFirmwareCatalogue::kEntryExists, 0},
        {"before every entry", 1, 4, 999, 0, "en", 0, -1},
        {"between builds", 1, 5, 110, 0, "en", 1, 0},
        {"between languages", 1, 5, 120, 0, "e", 2, 0},
        {"after the last language", 1, 5, 120, 0, "fr", CFirmwareCatalogue::kAtEnd, 0},
        {"a greater branch", 1, 5, 120, 1, "de", CFirmwareCatalogue::kAtEnd, 2},
        {"a greater major", 2, 0, 0, 0, "de", CFirmwareCatalogue::kAtEnd, 2},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        int searchStart = -1;
        EXPECT_EQ(row.expected, catalogue.FindFirmwarePosition(searchStart, row.major, row.minor, row.build,
                                                               row.branch, row.language));
        EXPECT_EQ(row.searchStartAfter, searchStart);
    }
    // A search start past an entry no longer sees it.
    int searchStart = 2;
    EXPECT_EQ(2, catalogue.FindFirmwarePosition(searchStart, 1, 5, 100, 0, "en"));
    EXPECT_EQ(2, searchStart);
}

TEST(CFirmwareCatalogue, BuildsTheVersionHistoryNewestFirst) {
    const CFirmwareCatalogue catalogue = HistoryCatalogue();
    const std::string branchBlock =
        "--------------------\r\nv1.05-0120 (2)\r\n--------------------\r\n\r\nBuild 120 branch "
        "2\r\n\r\n\r\n";
    const std::string older = Block("0110", "Build 110") + Block("0100", "Build 100");

    struct Case {
        const char* name;
        const char* version;
        const char* build;
        const char* branch;
        const char* language;
        std::string expected;
    };

    const Case cases[] = {
        {"the asked build, then the older ones of the main line", "1.05", "0120", "0", "en",
         Block("0120", "Build 120") + older},
        {"languages compare ignoring case", "1.05", "0120", "0", "EN", Block("0120", "Build 120") + older},
        {"a side branch heads its main-line build", "1.05", "0120", "2", "en",
         branchBlock + Block("0120", "Build 120") + older},
        {"a build the catalogue lacks gets a heading", "1.05", "0125", "0", "en",
         "--------------------\r\nv1.05-0125\r\n--------------------\r\n\r\n" + Block("0120", "Build 120") +
             older},
        {"a lacking side branch gets a heading with its branch", "1.05", "0120", "3", "en",
         "--------------------\r\nv1.05-0120 (3)\r\n--------------------\r\n\r\n" +
             Block("0120", "Build 120") + older},
        {"only the current language", "1.05", "0120", "0", "de",
         Block("0120", "Version 120") + Block("0110", "Version 110")},
        {"a language without entries", "1.05", "0120", "0", "fr", ""},
        {"versions compare as texts", "1.5", "0120", "0", "en", ""},
        {"older than every build", "1.05", "0099", "0", "en", ""},
        {"the first build of a version", "1.06", "0050", "0", "en", Block("0050", "Next version", "1.06")},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        CString text = "stale";
        catalogue.GetVersionHistory(row.version, row.build, row.branch, row.language, text);
        EXPECT_EQ(row.expected, text.GetString());
    }
}

TEST(CFirmwareCatalogue, GivesNoHistoryWithoutADocumentElement) {
    TempShellFile file("nodocument.xml");
    file.WriteBytes("<?xml version=\"1.0\"?>\n<other/>\n");
    CFirmwareCatalogue catalogue;
    catalogue.Open(file.Path());
    CString text = "stale";
    catalogue.GetVersionHistory("1.05", "0120", "0", "en", text);
    EXPECT_TRUE(text.IsEmpty());

    Add(catalogue, 1, 5, 120, 0, {{"en", "now"}});
    catalogue.GetVersionHistory("1.05", "0120", "0", "en", text);
    EXPECT_EQ(Block("0120", "now"), text.GetString());
}

TEST(CFirmwareCatalogue, WritesTheGoldenFile) {
    CFirmwareCatalogue catalogue;
    Add(catalogue, 1, 5, 12, 0, {{"en", "Faster start"}, {"de", "Schneller Start \xFC\xDF"}});
    Add(catalogue, 1, 5, 3, 0, {{"en", "First & <best>"}});
    Add(catalogue, 1, 5, 12, 0, {{"en", "Changed"}, {"de", "Anders"}});
    Add(catalogue, 1, 4, 200, 2, {{"en", "Side branch"}});
    TempShellFile file("golden.xml");
    ASSERT_EQ(XmlErrorCode::None, catalogue.Write(file.Path()));
    const std::string golden = ReadSourceFile("tests/shell/golden/firmware.xml");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(golden, file.ReadBytes());
}

TEST(CFirmwareCatalogue, ReadsBackWhatItWrote) {
    TempShellFile file("roundtrip.xml");
    {
        CFirmwareCatalogue catalogue;
        catalogue.Open(file.Path());
        ASSERT_EQ(XmlErrorCode::None, catalogue.Write(file.Path()));
        EXPECT_EQ(kEmptyCatalogue, file.ReadBytes());
        Add(catalogue, 1, 5, 120, 0, {{"en", "Build 120"}});
        Add(catalogue, 1, 5, 110, 0, {{"en", "Build 110"}});
        ASSERT_EQ(XmlErrorCode::None, catalogue.Write(file.Path()));
    }
    const std::string written = file.ReadBytes();
    CFirmwareCatalogue catalogue;
    catalogue.Open(file.Path());
    Add(catalogue, 1, 5, 110, 0, {{"en", "again"}});
    CString text;
    catalogue.GetVersionHistory("1.05", "0120", "0", "en", text);
    EXPECT_EQ(Block("0120", "Build 120") + Block("0110", "Build 110"), text.GetString());
    ASSERT_EQ(XmlErrorCode::None, catalogue.Write(file.Path()));
    EXPECT_EQ(written, file.ReadBytes());
}

TEST(CFirmwareCatalogue, KeepsAnUnreadableFileUntilEntriesAreAdded) {
    TempShellFile file("damaged.xml");
    const std::string damaged = "<?xml version=\"1.0\"?>\n<document><firmware></firmwar></document>\n";
    file.WriteBytes(damaged);
    CFirmwareCatalogue catalogue;
    catalogue.Open(file.Path());
    EXPECT_EQ(XmlErrorCode::None, catalogue.Write(file.Path()));
    EXPECT_EQ(damaged, file.ReadBytes());

    Add(catalogue, 1, 5, 120, 0, {{"en", "new"}});
    EXPECT_EQ(XmlErrorCode::None, catalogue.Write(file.Path()));
    EXPECT_NE(std::string::npos, file.ReadBytes().find("<document>\n\t<firmware>\n\t\t<name>\n\t\t\tName\n"));
}

TEST(CFirmwareCatalogue, ReportsAFileThatCannotBeWritten) {
    CFirmwareCatalogue catalogue;
    const std::string path = std::string(TempShellFile("missing").Path()) + "/folder/firmware.xml";
    EXPECT_NE(XmlErrorCode::None, catalogue.Write(path.c_str()));
}

TEST(CFirmwareCatalogue, ReadsHandWrittenVersionsAndSkipsAttributesOfTheDocument) {
    TempShellFile file("handwritten.xml");
    file.WriteBytes(
        "<?xml version=\"1.0\"?>\n"
        "<document origin=\"hand\">\n"
        "<firmware><version>x.y</version><build>zz</build><branch></branch><language>en</language>"
        "</firmware>\n"
        "<firmware><version>7</version><build>12</build><language>en</language><description>seven"
        "</description></firmware>\n"
        "</document>\n");
    CFirmwareCatalogue catalogue;
    catalogue.Open(file.Path());
    Add(catalogue, 0, 0, 0, 1, {{"en", "after the zeros"}});
    Add(catalogue, 0, 5, 0, 0, {{"en", "five"}});
    Add(catalogue, 0, 7, 12, 0, {{"EN", "not added"}});
    Add(catalogue, 0, 8, 0, 0, {{"en", "eight"}});
    EXPECT_EQ(
        "x.y/zz//en=\n"
        "0.00/0000/1/en=after the zeros\n"
        "0.05/0000/0/en=five\n"
        "7/12//en=seven\n"
        "0.08/0000/0/en=eight\n",
        Entries(catalogue));
}
