// Message boxes go to the prompter with the program's name as caption.
#include "classlib/win/AfxMessageBox.h"

#include "classlib/win/AfxGetAppName.h"

#include <string>

#include <gtest/gtest.h>

TEST(AfxMessageBox, AsksThePrompterWithTheExecutableNameAsCaption) {
    std::string seenText;
    std::string seenCaption;
    UINT seenType = 0;
    AfxPrompter previous = AfxSetPrompter([&](const char* text, UINT type, const char* caption) {
        seenText = text;
        seenType = type;
        seenCaption = caption;
        return IDNO;
    });
    EXPECT_FALSE(previous);

    EXPECT_EQ(IDNO, AfxMessageBox("Save changes?", MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ("Save changes?", seenText);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION), seenType);
    EXPECT_EQ("classlib_win_test", seenCaption);
    EXPECT_STREQ("classlib_win_test", AfxGetAppName());

    AfxPrompter mine = AfxSetPrompter(AfxPrompter());
    EXPECT_TRUE(mine);
}
