// The font cache: one font per 60-byte description, all of them freed with the cache.
#include "forms/fonts/CFontCache.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace {

LOGFONTA Request(LONG height, LONG weight, const char* face) {
    LOGFONTA logFont;
    std::memset(&logFont, 0, sizeof(logFont));
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
    return logFont;
}

}  // namespace

TEST(CFontCache, GivesTheSameFontForTheSameDescriptionAndNewOnesOtherwise) {
    CFontCache cache;
    const LOGFONTA verdana = Request(-11, FW_NORMAL, "Verdana");
    CFont* first = cache.GetFont(&verdana);
    ASSERT_NE(nullptr, first);
    EXPECT_NE(nullptr, first->GetSafeHandle());
    EXPECT_EQ(first, cache.GetFont(&verdana));
    EXPECT_EQ(first, cache.FindFont(&verdana));

    const LOGFONTA others[] = {Request(-12, FW_NORMAL, "Verdana"), Request(-11, FW_BOLD, "Verdana"),
                               Request(-11, FW_NORMAL, "MS Shell Dlg")};
    for (const LOGFONTA& other : others) {
        SCOPED_TRACE(other.lfFaceName);
        EXPECT_EQ(nullptr, cache.FindFont(&other));
        CFont* font = cache.GetFont(&other);
        EXPECT_NE(first, font);
        EXPECT_EQ(font, cache.GetFont(&other));
    }
    EXPECT_EQ(first, cache.GetFont(&verdana));
}

TEST(CFontCache, TellsDescriptionsApartByTheBytesAfterTheFaceName) {
    CFontCache cache;
    const LOGFONTA clean = Request(-11, FW_NORMAL, "Verdana");
    LOGFONTA tail = clean;
    tail.lfFaceName[LF_FACESIZE - 1] = 'x';
    CFont* cleanFont = cache.GetFont(&clean);
    CFont* tailFont = cache.GetFont(&tail);
    EXPECT_NE(cleanFont, tailFont);
    // The system does not keep the tail, yet repeating the request must not add fonts.
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(tailFont, cache.GetFont(&tail));
    }
    EXPECT_EQ(cleanFont, cache.GetFont(&clean));
}

TEST(CFontCache, AnswersNullForNoRequest) {
    CFontCache cache;
    EXPECT_EQ(nullptr, cache.GetFont(nullptr));
    EXPECT_EQ(nullptr, cache.FindFont(nullptr));
}

TEST(CFontCache, FreesEveryFontWhenDestroyed) {
    std::vector<HGDIOBJ> handles;
    {
        CFontCache cache;
        for (LONG height = -8; height >= -20; height -= 3) {
            const LOGFONTA request = Request(height, FW_NORMAL, "Verdana");
            handles.push_back(cache.GetFont(&request)->GetSafeHandle());
            EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(handles.back()));
        }
    }
    for (const HGDIOBJ handle : handles) {
        EXPECT_EQ(0u, GetObjectType(handle));
    }
}
