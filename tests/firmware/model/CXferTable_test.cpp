// The shipped conversion table: which ids it holds with how many bytes and values, the
// conversions the patch editor relies on, and round trips over every possible record.
#include "XferTestSupport.h"

#include <cstdio>
#include <set>

#include <gtest/gtest.h>

namespace {

std::vector<DWORD> Ids(std::initializer_list<std::pair<DWORD, DWORD>> spans) {
    std::vector<DWORD> ids;
    for (const auto& span : spans) {
        for (DWORD id = span.first; id <= span.second; ++id) {
            ids.push_back(id);
        }
    }
    return ids;
}

struct Kind {
    const char* name;
    std::vector<DWORD> ids;
    std::size_t bytes;
    std::size_t values;
    bool words;  // whether bytes pair up into words that convert together
};

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = {
        {"one byte unchanged",
         Ids({{0x04, 0x05},
              {0x07, 0x07},
              {0x0D, 0x0D},
              {0x19, 0x19},
              {0x2A, 0x3F},
              {0x49, 0x4A},
              {0x4D, 0x4E},
              {0x50, 0x50}}),
         1, 1, false},
        {"word", Ids({{0x06, 0x06}, {0x08, 0x0C}, {0x0F, 0x18}, {0x1A, 0x1F}, {0x21, 0x29}, {0x47, 0x48}}), 2,
         1, true},
        {"tens", Ids({{0x0E, 0x0E}}), 1, 1, false},
        {"signed byte", Ids({{0x4B, 0x4C}}), 1, 1, false},
        {"seven flags", Ids({{0x46, 0x46}}), 1, 7, false},
        {"scaled word and word", Ids({{0x41, 0x42}}), 4, 2, true},
        {"scaled words and hundredths", Ids({{0x43, 0x43}}), 24, 12, true},
        {"scaled words and signed bytes", Ids({{0x44, 0x45}}), 30, 20, true},
        {"trouble codes", Ids({{0x4F, 0x4F}}), 20, 60, false},
        {"word, thousandths, signed words", Ids({{0x51, 0x51}}), 8, 4, true},
    };
    return kinds;
}

std::string Hex(DWORD id) {
    char text[16];
    std::snprintf(text, sizeof text, "%02lX", static_cast<unsigned long>(id));
    return text;
}

// Bytes -> values -> bytes over every record of the kind, so that a conversion that loses a
// step anywhere shows. Where bytes convert one by one, every byte passes through every
// position; where they pair up into words, every word passes through every pair (the pairs
// offset from each other). The first id of a kind takes all inputs, the others every 251st.
void CheckRoundTrips(const Kind& kind, DWORD id, bool exhaustive) {
    CXferTable& table = ShippedTable();
    const BYTE lostBits = id == 0x46 ? 0x80 : 0x00;  // seven flags: bit 7 has no value
    const DWORD inputs = kind.words ? 0x10000 : 0x100;
    const DWORD step = exhaustive ? 1 : 251;
    for (DWORD w = 0; w < inputs; w += step) {
        std::vector<BYTE> bytes;
        for (std::size_t i = 0; i < kind.bytes; ++i) {
            const DWORD word = (w + static_cast<DWORD>(i / 2) * 0x1357) & 0xFFFF;
            const BYTE half = static_cast<BYTE>(i % 2 == 0 ? word >> 8 : word);
            bytes.push_back(kind.words ? half : static_cast<BYTE>(w + i * 37));
        }
        std::vector<BYTE> expected = bytes;
        expected[0] &= static_cast<BYTE>(~lostBits);
        ASSERT_EQ(ToBytes(table, id, ToValues(table, id, bytes)), expected) << "input " << w;
    }
}

}  // namespace

TEST(CXferTable, HoldsEveryIdWithItsByteAndValueCounts) {
    CXferTable& table = ShippedTable();
    std::set<DWORD> listed;
    for (const Kind& kind : Kinds()) {
        for (const DWORD id : kind.ids) {
            SCOPED_TRACE(std::string(kind.name) + " " + Hex(id));
            listed.insert(id);
            // Missing entries count as 0, so empty input shows the counts.
            EXPECT_EQ(ToBytes(table, id, {}).size(), kind.bytes);
            EXPECT_EQ(ToValues(table, id, {}).size(), kind.values);
        }
    }
    EXPECT_EQ(listed.size(), 76u);
    for (DWORD id = 0; id < 0x100; ++id) {
        if (listed.count(id) == 0) {
            // An id without an entry converts value by value: nothing in, nothing out.
            EXPECT_TRUE(ToBytes(table, id, {}).empty()) << Hex(id);
        }
    }
}

TEST(CXferTable, ConvertsRecordBytesToEditorValues) {
    struct Case {
        DWORD id;
        std::vector<BYTE> bytes;
        std::vector<double> values;
    };

    const Case cases[] = {
        {0x06, {0x12, 0x34}, {4660}},
        {0x4B, {0xFF}, {-1}},
        {0x4C, {0x7F}, {127}},
        {0x0E, {25}, {250}},
        {0x46, {0x05}, {1, 0, 1, 0, 0, 0, 0}},
        {0x46, {0xC0}, {0, 0, 0, 0, 0, 0, 1}},
        {0x41, {0xFF, 0xFF, 0x01, 0x02}, {5000, 258}},
        {0x51, {0x00, 0x01, 0x03, 0xE9, 0xFF, 0xFF, 0x80, 0x00}, {1, 1001 / 1000.0, -1, -32768}},
        {0x20, {0xFF, 0x01}, {255, 1}},  // not listed: byte by byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.id));
        EXPECT_EQ(ToValues(ShippedTable(), c.id, c.bytes), c.values);
    }
}

TEST(CXferTable, SpellsTroubleCodesAsCharacterCodes) {
    std::vector<BYTE> bytes(20, 0);
    bytes[0] = 0x01;
    bytes[1] = 0x23;
    bytes[2] = 0xC1;  // U0100
    bytes[4] = 0x7A;  // C3A..: a digit above 9 stays a character past '9'
    bytes[5] = 0xBC;
    bytes[6] = 0x80;  // B0000
    const std::vector<double> values = ToValues(ShippedTable(), 0x4F, bytes);
    ASSERT_EQ(values.size(), 60u);
    const std::vector<double> expected[] = {
        {'P', '0', '1', '2', '3', 0},
        {'U', '0', '1', '0', '0', 0},
        {'C', '3', '0' + 10, '0' + 11, '0' + 12, 0},
        {'B', '0', '0', '0', '0', 0},
        {'P', '0', '0', '0', '0', 0},
    };
    for (std::size_t code = 0; code < 5; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(std::vector<double>(values.begin() + 6 * code, values.begin() + 6 * code + 6),
                  expected[code]);
    }
}

TEST(CXferTable, ConvertsTypedEditorValuesToRecordBytes) {
    struct Case {
        const char* name;
        DWORD id;
        std::vector<double> values;
        std::size_t firstByte;
        std::vector<BYTE> bytes;
    };

    std::vector<double> hundredths(12, 0);
    hundredths[6] = 0.29;  // 0.29 * 100 is 28.999999999999996
    hundredths[11] = 655.35;
    std::vector<double> signedBytes(20, 0);
    signedBytes[10] = -128;
    signedBytes[19] = -1;
    const Case cases[] = {
        {"word", 0x06, {4660}, 0, {0x12, 0x34}},
        {"signed byte", 0x4B, {-1}, 0, {0xFF}},
        {"tens, truncated", 0x0E, {255}, 0, {25}},
        {"flags", 0x46, {1, 0, 1, 0, 0, 0, 0}, 0, {0x05}},
        {"scaled top and plain word", 0x42, {5000, 258}, 0, {0xFF, 0xFF, 0x01, 0x02}},
        {"hundredths round to the nearest step",
         0x43,
         hundredths,
         12,
         {0x00, 0x1D, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}},
        {"signed bytes", 0x44, signedBytes, 20, {0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF}},
        {"trouble code", 0x4F, {'U', '0', '1', '0', '0', 0}, 0, {0xC1, 0x00}},
        {"thousandths round to the nearest step",
         0x51,
         {65535, 1.001, -1, -32768},
         0,
         {0xFF, 0xFF, 0x03, 0xE9, 0xFF, 0xFF, 0x80, 0x00}},
        {"not listed: truncated, low 8 bits", 0x20, {3.9, 300, -1}, 0, {0x03, 0x2C, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<BYTE> bytes = ToBytes(ShippedTable(), c.id, c.values);
        ASSERT_GE(bytes.size(), c.firstByte + c.bytes.size());
        EXPECT_EQ(
            std::vector<BYTE>(bytes.begin() + c.firstByte, bytes.begin() + c.firstByte + c.bytes.size()),
            c.bytes);
    }
}

TEST(CXferTable, HundredthsAndThousandthsSurviveEveryStep) {
    // Editor values as the editor shows them, back to the word they came from.
    CXferTable& table = ShippedTable();
    std::vector<double> hundredths(12, 0);
    std::vector<double> thousandths = {0, 0, 0, 0};
    for (int w = 0; w < 0x10000; ++w) {
        hundredths[6] = w / 100.0;
        thousandths[1] = w / 1000.0;
        const std::vector<BYTE> a = ToBytes(table, 0x43, hundredths);
        const std::vector<BYTE> b = ToBytes(table, 0x51, thousandths);
        ASSERT_EQ(a[12] * 256 + a[13], w);
        ASSERT_EQ(b[2] * 256 + b[3], w);
    }
}

TEST(CXferTable, EveryRecordSurvivesTheWayToEditorValuesAndBack) {
    for (const Kind& kind : Kinds()) {
        bool first = true;
        for (const DWORD id : kind.ids) {
            SCOPED_TRACE(std::string(kind.name) + " " + Hex(id));
            CheckRoundTrips(kind, id, first);
            first = false;
        }
    }
}
