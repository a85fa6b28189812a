// Printing onto metafiles in place of printer pages: page count, header, footer and the
// fixed rows on every page.
#include "GridTestFixture.h"
#include "classlib/win/CPrintInfo.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
    auto* texts = reinterpret_cast<std::vector<std::string>*>(data);
    if (record->iType == EMR_EXTTEXTOUTW) {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars =
            reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
        std::string narrow;
        for (DWORD i = 0; i < text->emrtext.nChars; ++i) {
            narrow += static_cast<char>(chars[i]);
        }
        texts->push_back(narrow);
    } else if (record->iType == EMR_EXTTEXTOUTA) {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
        const char* chars = reinterpret_cast<const char*>(record) + text->emrtext.offString;
        texts->emplace_back(chars, text->emrtext.nChars);
    }
    return 1;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    for (const std::string& each : texts) {
        if (each == text) {
            return true;
        }
    }
    return false;
}

// Prints every page of the grid into its own metafile and returns each page's texts.
std::vector<std::vector<std::string>> PrintPages(CGridCtrl& grid) {
    std::vector<std::vector<std::string>> pages;
    HDC reference = GetDC(nullptr);
    CDC counting;
    counting.Attach(CreateEnhMetaFileA(reference, nullptr, nullptr, nullptr));
    CPrintInfo info;
    info.m_rectDraw = CRect(0, 0, counting.GetDeviceCaps(HORZRES), counting.GetDeviceCaps(VERTRES));
    grid.OnBeginPrinting(&counting, &info);
    DeleteEnhMetaFile(CloseEnhMetaFile(counting.Detach()));
    for (UINT page = info.GetMinPage(); page <= info.GetMaxPage(); ++page) {
        CDC dc;
        dc.Attach(CreateEnhMetaFileA(reference, nullptr, nullptr, nullptr));
        dc.SetPrinting(TRUE);
        info.m_nCurPage = page;
        grid.OnPrint(&dc, &info);
        HENHMETAFILE metafile = CloseEnhMetaFile(dc.Detach());
        std::vector<std::string> texts;
        EnumEnhMetaFile(nullptr, metafile, CollectText, &texts, nullptr);
        DeleteEnhMetaFile(metafile);
        pages.push_back(texts);
    }
    grid.OnEndPrinting(nullptr, &info);
    ReleaseDC(nullptr, reference);
    return pages;
}

}  // namespace

TEST_F(GridTest, ASmallGridPrintsOnePageWithHeaderFooterAndAllCells) {
    // The page is as wide as the grid and as high as the paper's shape makes it, so wide
    // columns give a page tall enough for all rows.
    Build(4, 3);
    for (int col = 0; col < 3; ++col) {
        m_grid.SetColumnWidth(col, 300);
    }
    SetWindowTextA(m_host.GetHwnd(), "Printed table");
    const std::vector<std::vector<std::string>> pages = PrintPages(m_grid);
    ASSERT_EQ(1u, pages.size());
    EXPECT_TRUE(Contains(pages[0], "Page 1 of 1"));
    EXPECT_TRUE(Contains(pages[0], "Printed table"));
    EXPECT_TRUE(Contains(pages[0], "0,1"));
    EXPECT_TRUE(Contains(pages[0], "3,2"));
}

TEST_F(GridTest, ALongGridRepeatsItsFixedRowAndColumnOnEveryPage) {
    Build(120, 3);
    const std::vector<std::vector<std::string>> pages = PrintPages(m_grid);
    ASSERT_GT(pages.size(), 1u);
    for (size_t page = 0; page < pages.size(); ++page) {
        SCOPED_TRACE(page);
        EXPECT_TRUE(Contains(pages[page], "0,1"));
        EXPECT_TRUE(Contains(pages[page], "0,0"));
        const std::string footer = "Page " + std::to_string(page + 1) + " of " + std::to_string(pages.size());
        EXPECT_TRUE(Contains(pages[page], footer));
    }
    EXPECT_TRUE(Contains(pages.front(), "1,1"));
    EXPECT_FALSE(Contains(pages.back(), "1,1"));
    EXPECT_TRUE(Contains(pages.back(), "119,1"));
}

TEST_F(GridTest, ARowTallerThanThePageStillPrintsOnAPageOfItsOwn) {
    Build(4, 3);
    m_grid.SetRowHeight(2, 5000);
    const std::vector<std::vector<std::string>> pages = PrintPages(m_grid);
    ASSERT_EQ(3u, pages.size());
    EXPECT_TRUE(Contains(pages[0], "1,1"));
    EXPECT_TRUE(Contains(pages[1], "2,1"));
    EXPECT_TRUE(Contains(pages[2], "3,1"));
    EXPECT_TRUE(Contains(pages[1], "Page 2 of 3"));
}
