// The property page base: its run-time class and its two hooks.
#include "forms/CPropertyPageDHAcceptable.h"

#include <gtest/gtest.h>

TEST(CPropertyPageDHAcceptable, IsAPropertyPageWhoseHooksAnswerZero) {
    CPropertyPageDHAcceptable page(9002);
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CPropertyPageDHAcceptable)));
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CPropertyPage)));
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_EQ(0u, page.GetCaptionId());
    EXPECT_EQ(0, page.FirstHook(1, 2));
    EXPECT_EQ(0, page.SecondHook(-1, 0x7FFFFFFF));
}
