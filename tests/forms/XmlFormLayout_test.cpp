// The arithmetic of the XML form's rows and the wrapping of its label tips.
#include "forms/XmlFormLayout.h"

#include <gtest/gtest.h>

namespace {

// Every character 5 pixels wide.
int FiveEach(const std::string& text) {
    return static_cast<int>(text.size()) * 5;
}

}  // namespace

TEST(XmlFormLayout, MeasuresAtTheDesignSizeAndScaled) {
    const XmlFormLayout::Measures design = XmlFormLayout::Measure(1.0, 1.0, 620, 17);
    EXPECT_EQ(425, design.labelWidth);
    EXPECT_EQ(16, design.rowHeight);
    EXPECT_EQ(100, design.valueWidth);
    const XmlFormLayout::Measures scaled = XmlFormLayout::Measure(1.5, 1.25, 930, 17);
    EXPECT_EQ(3, scaled.leftMargin);
    EXPECT_EQ(2, scaled.topMargin);  // 2.5 truncated
    EXPECT_EQ(20, scaled.rowHeight);
    EXPECT_EQ(22, scaled.markWidth);  // 22.5 truncated
    EXPECT_EQ(930 - 52 - 150 - 22 - 36 - 6 - 17, scaled.labelWidth);
    EXPECT_EQ(0, XmlFormLayout::Measure(1.0, 1.0, 150, 17).labelWidth);
}

TEST(XmlFormLayout, DropDownsAndCheckBoxes) {
    EXPECT_EQ(3, XmlFormLayout::ComboDropRows(2));
    EXPECT_EQ(6, XmlFormLayout::ComboDropRows(5));
    EXPECT_EQ(6, XmlFormLayout::ComboDropRows(9));
    const XmlFormLayout::Box box = XmlFormLayout::CheckBox({20, 100, 120, 116});
    EXPECT_EQ(20, box.left);
    EXPECT_EQ(103, box.top);
    EXPECT_EQ(30, box.right);
    EXPECT_EQ(113, box.bottom);
    EXPECT_TRUE(XmlFormLayout::GridTakesOwnRow(10 * 40 + 30, 100));
    EXPECT_FALSE(XmlFormLayout::GridTakesOwnRow(200, 100));
}

TEST(XmlFormLayout, TipTextsWrapAtSpaces) {
    struct WrapCase {
        const char* text;
        int maxWidth;
        const char* wrapped;
    };

    const WrapCase cases[] = {
        {"short", 100, "short"},
        {"aaa bbb ccc", 35, "aaa bbb\nccc"},
        {"aaa bbb ccc ddd", 20, "aaa\nbbb\nccc\nddd"},
        {"xxxxxxxxxx yy zz", 25, "xxxxxxxxxx\nyy zz"},
        {"aa xxxxxxxxxx", 25, "aa\nxxxxxxxxxx"},
    };
    for (const WrapCase& c : cases) {
        EXPECT_EQ(c.wrapped, XmlFormLayout::WrapTipText(c.text, c.maxWidth, FiveEach)) << c.text;
    }
    const std::string word(300, 'w');
    EXPECT_EQ(word, XmlFormLayout::WrapTipText(word, 100, FiveEach));
}
