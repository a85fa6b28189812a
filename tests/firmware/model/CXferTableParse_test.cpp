// Building a conversion table from XML texts: which elements count, defaults, duplicates,
// statement counts, and what happens to bad programs, bad values and short arrays.
#include "XferTestSupport.h"
#include "expr/ExprEval.h"
#include "firmware/CFileResourceSource.h"
#include "firmware/XferConversion.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

std::string Xfers(const std::string& elements) {
    return "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<xfers>\n" + elements + "</xfers>\n";
}

// A program that marks its element: its one byte is `mark`.
std::string Marked(const std::string& tag, const std::string& id, int mark) {
    return "<" + tag + " id=\"" + id + "\"><degr>b0 = " + std::to_string(mark) + "</degr></" + tag + ">\n";
}

}  // namespace

TEST(CXferTableParse, TakesOnlyElementsWithAnIdAboveZero) {
    struct Case {
        const char* name;
        std::string xml;
        DWORD id;
        BYTE expected;  // 7 when the element was taken, else the value 1 passed through
    };

    const Case cases[] = {
        {"plain", Marked("element", "1A", 7), 0x1A, 7},
        {"small hex digits", Marked("element", "1a", 7), 0x1A, 7},
        {"leading digits only", Marked("element", "1Fzz", 7), 0x1F, 7},
        {"beyond 32 bits", Marked("element", "100000000", 7), 0x7FFFFFFF, 7},
        {"name in other case", Marked("Element", "1A", 7), 0x1A, 1},
        {"id 0", Marked("element", "0", 7), 0, 1},
        {"negative id", Marked("element", "-5", 7), static_cast<DWORD>(-5), 1},
        {"no hex digits", Marked("element", "zz", 7), 0, 1},
        {"empty id", Marked("element", "", 7), 0, 1},
        {"no id", "<element><degr>b0 = 7</degr></element>\n", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CXferTable table;
        ParseText(table, Xfers(c.xml));
        EXPECT_EQ(ToBytes(table, c.id, {1}), std::vector<BYTE>{c.expected});
    }
}

TEST(CXferTableParse, ReadsATextWithoutDeclaration) {
    CXferTable table;
    ParseText(table, "<xfers>" + Marked("element", "30", 7) + "</xfers>");
    EXPECT_EQ(ToBytes(table, 0x30, {1}), std::vector<BYTE>{7});
}

TEST(CXferTableParse, UsesTheLaterOfTwoElementsWithOneId) {
    CXferTable table;
    ParseText(table, Xfers(Marked("element", "30", 7) + Marked("element", "30", 9)));
    EXPECT_EQ(ToBytes(table, 0x30, {1}), std::vector<BYTE>{9});
}

TEST(CXferTableParse, CountsEverySemicolonAndFallsBackToOneByteOneValue) {
    CXferTable table;
    ParseText(table, Xfers("<element id=\"10\"><degr>b0 = v0;</degr></element>\n"
                           "<element id=\"11\"><aggr>v0 = b0 # one; two\n</aggr></element>\n"
                           "<element id=\"12\"><degr></degr><aggr>  </aggr></element>\n"
                           "<element id=\"13\"/>\n"));
    // A trailing ';' adds a byte that nothing assigns: always 0.
    EXPECT_EQ(ToBytes(table, 0x10, {5}), (std::vector<BYTE>{5, 0}));
    // A ';' in a comment counts as well; without degr one value gives one byte.
    EXPECT_EQ(ToValues(table, 0x11, {5}), (std::vector<double>{5, 0}));
    EXPECT_EQ(ToBytes(table, 0x11, {5, 6}), std::vector<BYTE>{5});
    EXPECT_EQ(ToBytes(table, 0x12, {5}), std::vector<BYTE>{5});
    EXPECT_EQ(ToValues(table, 0x12, {5}), std::vector<double>{5});
    EXPECT_EQ(ToValues(table, 0x13, {200}), std::vector<double>{200});
}

TEST(CXferTableParse, LeavesTheTableEmptyWithoutAnXfersElement) {
    const std::string texts[] = {
        "",
        "<?xml version=\"1.0\"?>\n<tables>" + Marked("element", "10", 7) + "</tables>\n",
        "not xml at all",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        CXferTable table;
        ParseText(table, text);
        EXPECT_EQ(ToBytes(table, 0x10, {1, 2}), (std::vector<BYTE>{1, 2}));
    }
}

TEST(CXferTableParse, LeavesTheTableEmptyWithoutTheResource) {
    CFileResourceSource files;
    CXferTable unnamed(2025, files);
    files.SetFile(CXferTable::kResourceType, 2025, SourcePath("res/no-such-file.xml"));
    CXferTable missing(2025, files);
    // The shipped file exists, but under another id.
    files.SetFile(CXferTable::kResourceType, 2026, SourcePath("res/xfer.xml"));
    CXferTable otherId(2025, files);
    for (CXferTable* table : {&unnamed, &missing, &otherId}) {
        EXPECT_EQ(ToBytes(*table, 0x06, {4660}), std::vector<BYTE>{0x34});
    }
}

TEST(CXferTableParse, RaisesTheParseErrorOfABadProgram) {
    const std::string bad[] = {
        "<element id=\"10\"><degr>b0 = (v0</degr></element>",
        "<element id=\"10\"><aggr>v0 = nosuch(b0)</aggr></element>",
        "<element id=\"10\"><aggr>v0 = b0 $ 1</aggr></element>",
    };
    for (const std::string& element : bad) {
        SCOPED_TRACE(element);
        CXferTable table;
        EXPECT_THROW(ParseText(table, Xfers(Marked("element", "0F", 7) + element)), ExprEval::Exception);
        // What came before the bad program is in the table.
        EXPECT_EQ(ToBytes(table, 0x0F, {1}), std::vector<BYTE>{7});
    }
}

TEST(CXferTableParse, RaisesEvaluationErrorsWithNothingConverted) {
    CXferTable table;
    ParseText(table, Xfers("<element id=\"10\"><degr>b0 = 1/v0</degr><aggr>v0 = 1/b0</aggr></element>"));
    CArray<double, double> values;
    values.Add(0);
    CByteArray bytes;
    bytes.Add(9);
    EXPECT_THROW(table.ValuesToBytes(0x10, values, bytes), ExprEval::DivideByZeroException);
    EXPECT_EQ(bytes.GetSize(), 0);
    bytes.Add(0);
    EXPECT_THROW(table.BytesToValues(0x10, bytes, values), ExprEval::DivideByZeroException);
    EXPECT_EQ(values.GetSize(), 0);
}

TEST(CXferTableParse, KeepsVariablesFromOneConversionToTheNext) {
    CXferTable table;
    ParseText(table, Xfers("<element id=\"10\"><degr>b0 = v0; b1 = b1 + 1</degr></element>"));
    EXPECT_EQ(ToBytes(table, 0x10, {5}), (std::vector<BYTE>{5, 1}));
    EXPECT_EQ(ToBytes(table, 0x10, {6}), (std::vector<BYTE>{6, 2}));
}

TEST(CXferTableParse, CountsMissingEntriesOfShortArraysAsZero) {
    CXferTable& table = ShippedTable();
    EXPECT_EQ(ToValues(table, 0x06, {0x12}), std::vector<double>{0x1200});
    EXPECT_EQ(ToBytes(table, 0x41, {5000}), (std::vector<BYTE>{0xFF, 0xFF, 0x00, 0x00}));
    // A value left over from an earlier conversion does not leak into a shorter one.
    ToBytes(table, 0x51, {1, 2, 3, 4});
    EXPECT_EQ(ToBytes(table, 0x51, {1}), (std::vector<BYTE>{0, 1, 0, 0, 0, 0, 0, 0}));
}

TEST(XferConversion, TurnsAnyNumberIntoTheLowByteOfItsWholePart) {
    const double inf = std::numeric_limits<double>::infinity();

    const struct {
        double value;
        BYTE byte;
    } cases[] = {
        {3.9, 3},   {-0.9, 0},     {255.99, 255},         {256, 0},
        {-1, 255},  {-257.5, 255}, {4294967296.0 + 7, 7}, {9.3e18, 0},
        {1e300, 0}, {-1e300, 0},   {std::nan(""), 0},     {inf, 0},
        {-inf, 0},
    };

    for (const auto& c : cases) {
        EXPECT_EQ(XferConversion::ToByte(c.value), c.byte) << c.value;
    }
}
