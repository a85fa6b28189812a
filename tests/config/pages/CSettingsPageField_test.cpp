// The settings page's edit fields: element bytes to shown text, typed text to element bytes,
// the inclusive ranges and the range message.
#include "config/CSettingsPageField.h"

#include <string>

#include <gtest/gtest.h>

namespace {

const CSettingsPageField& Field(int element) {
    const CSettingsPageField* field = CSettingsPageField::Find(element);
    EXPECT_NE(field, nullptr) << element;
    return *field;
}

struct ShownCase {
    int element;
    BYTE bytes[2];
    int encoded;
    const char* shown;
};

TEST(CSettingsPageField, ShowsElementBytesInTheFieldsUnits) {
    const ShownCase cases[] = {
        {3, {12, 0}, 12, "1200"},         // rpm in hundreds
        {4, {0xF6, 0}, -10, "-10"},       // signed degrees
        {5, {0xD2, 0x04}, 1234, "1.23"},  // thousandths of a bar, low byte first
        {50, {0x90, 0x01}, 400, "0.40"}, {71, {0xDC, 0x05}, 1500, "1500"},
        {1, {255, 0}, 255, "255"},       {103, {0xFF, 0}, -1, "-1"},
    };
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(c.element);
        const CSettingsPageField& field = Field(c.element);
        EXPECT_EQ(field.ReadEncoded(c.bytes), c.encoded);
        EXPECT_EQ(std::string(field.Display(c.encoded)), c.shown);
        BYTE written[2] = {0xAA, 0xAA};
        field.WriteEncoded(c.encoded, written);
        EXPECT_EQ(written[0], c.bytes[0]);
        if (field.GetByteCount() == 2) {
            EXPECT_EQ(written[1], c.bytes[1]);
        } else {
            EXPECT_EQ(written[1], 0xAA) << "a one-byte field wrote a second byte";
        }
    }
}

struct TypedCase {
    int element;
    const char* typed;
    const char* separator;
    bool inRange;
    int encoded;  // when in range
};

TEST(CSettingsPageField, TurnsTypedNumbersIntoElementValuesWithinInclusiveRanges) {
    const TypedCase cases[] = {
        {3, "250", ".", true, 2},  // whole hundreds
        {3, "200", ".", true, 2},      {3, "2000", ".", true, 20},
        {3, "199", ".", false, 0},     {3, "2050", ".", false, 0},
        {4, "80", ".", true, 80},      {4, "-1", ".", false, 0},
        {5, "1.239", ".", true, 1230},  // cut to hundredths
        {5, "0.255", ".", true, 250},  {5, "0.2", ".", true, 200},
        {5, "4", ".", true, 4000},     {5, "4.5", ".", false, 0},
        {5, "0.19", ".", false, 0},    {5, "1,5", ",", true, 1500},  // the locale's separator
        {50, "0.57", ".", true, 570},  // not 560: 0.57 x 100 is 56.99999... in binary
        {50, "1.15", ".", true, 1150}, {50, "2.01", ".", true, 2010},
        {73, "0", ".", false, 0},      {73, "16", ".", true, 16},
        {102, "3", ".", false, 0},     {102, "10", ".", true, 10},
        {103, "-1", ".", true, -1},    {103, "-2", ".", false, 0},
        {100, "150", ".", false, 0},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " into element " + std::to_string(c.element));
        const CSettingsPageField& field = Field(c.element);
        double value = 0;
        ASSERT_TRUE(field.Parse(c.typed, c.separator, value));
        EXPECT_EQ(field.InRange(value), c.inRange);
        if (c.inRange) {
            EXPECT_EQ(field.Encode(value), c.encoded);
        }
    }
}

TEST(CSettingsPageField, RangeMessageNamesValueAndBoundsInTheFieldsFormat) {
    const CString pattern = "Element out of range: %s <- %c%s; %s%c.";
    EXPECT_EQ(std::string(Field(3).RangeMessage(pattern, 2050)),
              "Element out of range: 2050 <- (200; 2000).");
    EXPECT_EQ(std::string(Field(4).RangeMessage(pattern, 95)), "Element out of range: 95 <- (0; 80).");
    EXPECT_EQ(std::string(Field(5).RangeMessage(pattern, 4.5)),
              "Element out of range: 4.50 <- (0.20; 4.00).");
    EXPECT_EQ(std::string(Field(100).RangeMessage(pattern, 150)), "Element out of range: 150 <- (0; 100).");
    EXPECT_EQ(std::string(Field(103).RangeMessage(pattern, -5)), "Element out of range: -5 <- (-1; 100).");
}

TEST(CSettingsPageField, OnlyTheEditElementsHaveFields) {
    for (const int element : {3, 4, 5, 71, 50, 72, 73, 1, 93, 94, 102, 100, 101, 103, 104, 105}) {
        EXPECT_NE(CSettingsPageField::Find(element), nullptr) << element;
    }
    for (const int element : {0, 2, 35, 36, 45, 74, 122, 8}) {
        EXPECT_EQ(CSettingsPageField::Find(element), nullptr) << element;
    }
}

}  // namespace
