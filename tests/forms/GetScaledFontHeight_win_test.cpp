// The scaled font height with real fonts, which under Wine are substitutes for the faces asked.
#include "classlib/win/CDC.h"
#include "forms/fonts/GetScaledFontHeight.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(GetScaledFontHeight, EndsWithAFittingHeightForSubstitutedFaces) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    const char* const faces[] = {"Verdana", "MS Shell Dlg", "NoSuchFaceAtAll"};
    const double scales[] = {0.01, 0.3, 0.5, 1.0, 1.7, 4.0};
    for (const char* face : faces) {
        const int base = MeasureFontHeight(&dc, face, -MulDiv(80, 96, 720));
        ASSERT_GT(base, 0) << face;
        for (const double scale : scales) {
            SCOPED_TRACE(testing::Message() << face << " at " << scale);
            const int height = GetScaledFontHeight(&dc, face, 80, scale, scale + 1.0);
            ASSERT_LE(height, -1);
            if (height < -1) {
                EXPECT_LE(MeasureFontHeight(&dc, face, height), static_cast<int>(base * scale));
            }
        }
        EXPECT_EQ(0, GetScaledFontHeight(&dc, face, 80, 0.0, 1.0));
    }
}

TEST(GetScaledFontHeight, GivesTheBaseHeightUnscaledWhenItMeasuresAlike) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(-MulDiv(80, 96, 720), GetScaledFontHeight(&dc, "Verdana", 80, 1.0, 1.0));
}

TEST(MeasureFontHeight, AnswersZeroWithoutADc) {
    EXPECT_EQ(0, MeasureFontHeight(nullptr, "Verdana", -11));
}
