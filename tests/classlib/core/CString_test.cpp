#include "classlib/core/CString.h"

#include "SeparatorScope.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string F(const char* format, ...) CLASSLIB_PRINTF(1, 2);

std::string F(const char* format, ...) {
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return std::string(text.GetString(), static_cast<size_t>(text.GetLength()));
}

// Without the compile-time check, for formats that are wrong on purpose.
std::string FUnchecked(const char* format, ...) {
    va_list args;
    va_start(args, format);
    CString text;
    text.FormatV(format, args);
    va_end(args);
    return std::string(text.GetString(), static_cast<size_t>(text.GetLength()));
}

struct FormatRow {
    const char* name;
    std::string actual;
    std::string expected;
};

void CheckRows(const std::vector<FormatRow>& rows) {
    for (const FormatRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected, row.actual);
    }
}

}  // namespace

TEST(CStringFormat, RoundsDecimalTiesAwayFromZero) {
    const SeparatorScope scope('.');
    CheckRows({
        {"1125 * 0.001 to two decimals", F("%.2f", 1125 * 0.001), "1.13"},
        {"0.125 to two decimals", F("%.2f", 0.125), "0.13"},
        {"1.125 with %.02f", F("%.02f", 1.125), "1.13"},
        {"2.5 to no decimals", F("%.0f", 2.5), "3"},
        {"0.5 to no decimals", F("%.0f", 0.5), "1"},
        {"-2.5 to no decimals", F("%.0f", -2.5), "-3"},
        {"0.25 to one decimal", F("%.1f", 0.25), "0.3"},
        {"2.25 left-justified", F("%-6.1f|", 2.25), "2.3   |"},
        {"-0.125 to two decimals", F("%.2f", -0.125), "-0.13"},
        {"1.0625 to three decimals", F("%.3f", 1.0625), "1.063"},
        {"0.125 in exponent form", F("%.1e", 0.125), "1.3e-001"},
    });
}

TEST(CStringFormat, RoundsValuesJustBelowATieDown) {
    // 2.675 is stored as 2.67499999999999982..., 0.35 as 0.34999999999999997...
    const SeparatorScope scope('.');
    CheckRows({
        {"2.675 to two decimals", F("%.2f", 2.675), "2.67"},
        {"0.35 to one decimal", F("%.1f", 0.35), "0.3"},
        {"1.0005 to three decimals", F("%.3f", 1.0005), "1.000"},
        {"9.995 to two decimals", F("%.2f", 9.995), "9.99"},
        {"largest double below one half", F("%.0f", 0.49999999999999994), "0"},
    });
}

TEST(CStringFormat, WritesFixedAndExponentForms) {
    const SeparatorScope scope('.');
    CheckRows({
        {"%f default precision", F("%f", 3.14159), "3.141590"},
        {"%.04f", F("%.04f", 0.12345), "0.1235"},
        {"%.03f", F("%.03f", 12.0), "12.000"},
        {"%.3f", F("%.3f", 1e-10), "0.000"},
        {"%5.2f", F("%5.2f", 3.14159), " 3.14"},
        {"%6.2f negative", F("%6.2f", -1.5), " -1.50"},
        {"%08.3f zero padding after the sign", F("%08.3f", -3.14159), "-003.142"},
        {"%+.1f", F("%+.1f", 0.05), "+0.1"},
        {"% .1f", F("% .1f", 1.0), " 1.0"},
        {"carry into a new digit", F("%.1f", 9.96), "10.0"},
        {"%#.0f keeps the point", F("%#.0f", 3.0), "3."},
        {"zero", F("%.2f", 0.0), "0.00"},
        {"negative zero", F("%.2f", -0.0), "-0.00"},
        {"large exact integer", F("%.1f", 1e21), "1000000000000000000000.0"},
        {"seventeen digits, then zeros", F("%.0f", 1e23), "99999999999999992000000"},
        {"%e", F("%e", 12345.678), "1.234568e+004"},
        {"%.2E", F("%.2E", 0.000125), "1.25E-004"},
        {"%e of zero", F("%e", 0.0), "0.000000e+000"},
        {"%.0e", F("%.0e", 25.0), "3e+001"},
        {"%g small", F("%g", 0.0001), "0.0001"},
        {"%g switches to exponent", F("%g", 1234567.0), "1.23457e+006"},
        {"%g integer", F("%g", 100000.0), "100000"},
        {"%g drops trailing zeros", F("%g", 2.5), "2.5"},
        {"%.3g", F("%.3g", 0.00012345), "0.000123"},
        {"%G", F("%G", 1e-5), "1E-005"},
        {"%.*f", F("%.*f", 2, 1.125), "1.13"},
        {"%*.*f", F("%*.*f", 7, 1, 2.25), "    2.3"},
        {"%Lf", F("%.2Lf", static_cast<long double>(0.125)), "0.13"},
        {"infinity", F("%f", std::numeric_limits<double>::infinity()), "inf"},
        {"negative infinity padded", F("%6.1f", -std::numeric_limits<double>::infinity()), "  -inf"},
        {"zero flag does not pad infinity", F("%06.1f", std::numeric_limits<double>::infinity()), "   inf"},
        {"not a number", F("%.2f", std::nan("")), "nan"},
        {"upper-case infinity", F("%E", std::numeric_limits<double>::infinity()), "INF"},
    });
}

TEST(CStringFormat, WritesTheDecimalSeparatorOfTheLocale) {
    const SeparatorScope scope(',');
    CheckRows({
        {"%.2f tie", F("%.2f", 1.125), "1,13"},
        {"%.3f", F("%.3f", 3.5), "3,500"},
        {"%.0f has no separator", F("%.0f", 2.5), "3"},
        {"%#.0f", F("%#.0f", 3.0), "3,"},
        {"%e", F("%e", 1.5), "1,500000e+000"},
        {"%g", F("%g", 2.5), "2,5"},
        {"%g without fraction", F("%g", 2.0), "2"},
        {"integers are not touched", F("%d.%02d", 1, 5), "1.05"},
    });
    CNumberLocale::SetDecimalSeparator('.');
    EXPECT_EQ("1.13", F("%.2f", 1.125));
}

TEST(CStringFormat, WritesIntegersCharactersAndStrings) {
    const char* nothing = nullptr;
    CheckRows({
        {"program version", F("v%d.%02d.%d-%04d", 1, 5, 3, 42), "v1.05.3-0042"},
        {"firmware version with sharp s", F("%d.%01d / %d.%02d%c", 2, 1, 3, 7, 0xDF), "2.1 / 3.07\xDF"},
        {"%c of 0xDF", F("%c", 0xDF), "\xDF"},
        {"%c of 0xBB and 0xAB", F("%c # %c", 0xBB, 0xAB), "\xBB # \xAB"},
        {"%i", F("%i", -17), "-17"},
        {"%u", F("%u", 4000000000u), "4000000000"},
        {"%x", F("%x", 0xBEEFu), "beef"},
        {"%X", F("%X", 0xBEEFu), "BEEF"},
        {"%02X", F("%02X", 0x0Au), "0A"},
        {"%02X wide value", F("%02X", 0x1ABu), "1AB"},
        {"%04X", F("%04X", 0xABu), "00AB"},
        {"%02x", F("%02x", 0xFu), "0f"},
        {"%02d", F("%02d", 7), "07"},
        {"%03d negative", F("%03d", -7), "-07"},
        {"%04d", F("%04d", 2009), "2009"},
        {"%01d", F("%01d", 0), "0"},
        {"%4d", F("%4d", 42), "  42"},
        {"%6d", F("%6d", -42), "   -42"},
        {"%-5d", F("%-5d|", 42), "42   |"},
        {"%+d", F("%+d", 5), "+5"},
        {"% d", F("% d", 5), " 5"},
        {"%.3d", F("%.3d", 7), "007"},
        {"%5.3d", F("%5.3d", -7), " -007"},
        {"%05.3d ignores the zero flag", FUnchecked("%05.3d", 7), "  007"},
        {"%.0d of zero", F("[%.0d]", 0), "[]"},
        {"%#x", F("%#x", 255u), "0xff"},
        {"%#X of zero", F("%#X", 0u), "0"},
        {"%#o", F("%#o", 8u), "010"},
        {"%*d", F("%*d", 5, 42), "   42"},
        {"%*d negative width", F("%*d|", -4, 1), "1   |"},
        {"%hd", F("%hd", 70000), "4464"},
        {"%hhu", F("%hhu", 300), "44"},
        {"%ld", F("%ld", -123456L), "-123456"},
        {"%lld", F("%lld", -9000000000LL), "-9000000000"},
        {"%llu max", F("%llu", 18446744073709551615ULL), "18446744073709551615"},
        {"%lld min", F("%lld", static_cast<long long>(-9223372036854775807LL - 1)), "-9223372036854775808"},
        {"%zu", F("%zu", static_cast<size_t>(12)), "12"},
        {"%s", F("[%s]", "abc"), "[abc]"},
        {"%s of null", F("%s", nothing), "(null)"},
        {"%.3s", F("%.3s", "abcdef"), "abc"},
        {"%-4s", F("%-4s|", "ab"), "ab  |"},
        {"%4s", F("%4s", "ab"), "  ab"},
        {"%%", F("100 %%"), "100 %"},
        {"%p", F("%p", reinterpret_cast<void*>(static_cast<uintptr_t>(0xAB))),
         std::string(2 * sizeof(void*) - 2, '0') + "AB"},
    });
}

TEST(CStringFormat, CopiesWhatItCannotConvert) {
    // Bad formats stay visible in the text rather than reading arguments that are not there.
    EXPECT_EQ("a%yb", FUnchecked("a%yb"));
    EXPECT_EQ("50%", FUnchecked("50%"));
    EXPECT_EQ("n=", FUnchecked("n=%n", static_cast<int*>(nullptr)));
}

TEST(CStringFormat, FormatsFromItsOwnText) {
    CString text("abc");
    text.Format("%s-%s", text.GetString(), text.GetString());
    EXPECT_STREQ("abc-abc", text);
    text.AppendFormat("+%d", 7);
    EXPECT_STREQ("abc-abc+7", text);
}

TEST(CString, CutsAndSearches) {
    const CString path("C:\\Zarvo\\saves\\car.zcf");
    EXPECT_EQ(14, path.ReverseFind('\\'));
    EXPECT_STREQ("car.zcf", path.Mid(path.ReverseFind('\\') + 1));
    EXPECT_STREQ("C:\\Zarvo\\saves", path.Left(path.ReverseFind('\\')));
    EXPECT_STREQ("zcf", path.Right(3));
    EXPECT_EQ(-1, path.ReverseFind('/'));
    EXPECT_EQ(2, path.Find('\\'));
    EXPECT_EQ(8, path.Find('\\', 3));
    EXPECT_EQ(9, path.Find("saves"));
    EXPECT_EQ(-1, path.Find("saves", 10));
    EXPECT_EQ(-1, path.Find('C', 100));
    EXPECT_EQ(1, path.FindOneOf(":."));

    // Counts and indices outside the string are clamped.
    const CString text("abc");
    EXPECT_STREQ("", text.Left(-1));
    EXPECT_STREQ("abc", text.Left(10));
    EXPECT_STREQ("", text.Mid(5));
    EXPECT_STREQ("bc", text.Mid(1, 99));
    EXPECT_STREQ("abc", text.Mid(-3));
    EXPECT_STREQ("abc", text.Right(4));
    EXPECT_STREQ("12", CString("12ab").SpanIncluding("0123456789"));
    EXPECT_STREQ("ab", CString("ab;cd").SpanExcluding(";"));
}

TEST(CString, EditsInPlace) {
    CString text("Visit %1 or %1");
    EXPECT_EQ(2, text.Replace("%1", "%1%1"));
    EXPECT_STREQ("Visit %1%1 or %1%1", text);
    EXPECT_EQ(0, text.Replace("", "x"));
    EXPECT_EQ(4, text.Replace('%', '#'));
    EXPECT_EQ(4, text.Remove('#'));
    EXPECT_STREQ("Visit 11 or 11", text);

    CString word("ace");
    EXPECT_EQ(4, word.Insert(1, 'b'));
    EXPECT_EQ(6, word.Insert(99, "fg"));
    EXPECT_STREQ("abcefg", word);
    EXPECT_EQ(4, word.Delete(3, 2));
    EXPECT_STREQ("abcg", word);
    EXPECT_EQ(3, word.Delete(3, 99));

    CString padded(" \t\r\n name.zcf \r\n");
    EXPECT_STREQ("name.zcf", padded.Trim());
    CString dots("..x..");
    EXPECT_STREQ("x..", dots.TrimLeft('.'));
    EXPECT_STREQ("x", dots.TrimRight("."));
}

TEST(CString, FoldsCaseOfCodePage1252) {
    CString text(
        "Gr\xFC\xDF"
        "e \xC4\xD6\xDC \x8A\xFF");
    text.MakeUpper();
    // Sharp s has no single upper-case letter in this code page and stays.
    EXPECT_STREQ(
        "GR\xDC\xDF"
        "E \xC4\xD6\xDC \x8A\x9F",
        text);
    text.MakeLower();
    EXPECT_STREQ(
        "gr\xFC\xDF"
        "e \xE4\xF6\xFC \x9A\xFF",
        text);
    EXPECT_EQ(0, CString("\xC4pfel.ZFP").CompareNoCase("\xE4PFEL.zfp"));
    EXPECT_EQ(0, CString("\xD7").CompareNoCase("\xD7"));
    EXPECT_NE(0, CString("\xD7").CompareNoCase("\xF7"));
}

TEST(CString, ComparesUnsignedBytes) {
    EXPECT_LT(CString("abc").Compare("abd"), 0);
    EXPECT_GT(CString("\xE4").Compare("z"), 0);
    EXPECT_LT(CString("ab").Compare("abc"), 0);
    EXPECT_TRUE(CString("de") == "de");
    EXPECT_TRUE("de" == CString("de"));
    EXPECT_TRUE(CString("de") != CString("en"));
    EXPECT_TRUE(CString("Z") < CString("a"));
    EXPECT_TRUE(CString("\xE4") > "z");
    EXPECT_LT(CString("_").CompareNoCase("a"), 0);
    EXPECT_EQ(CString("ab") + "c" + CString('d', 2) + 'e', CString("abcdde"));
}

TEST(CString, FillsItsBufferLikeACFunction) {
    CString text("old");
    char* buffer = text.GetBuffer(8);
    std::snprintf(buffer, 9, "%s", "7 chars");
    text.ReleaseBuffer();
    EXPECT_EQ(7, text.GetLength());
    EXPECT_STREQ("7 chars", text);

    buffer = text.GetBufferSetLength(3);
    buffer[0] = 'x';
    text.ReleaseBuffer(1);
    EXPECT_STREQ("x", text);
}

TEST(CString, LoadsTextsThroughTheInstalledLoader) {
    CString text("kept");
    CString::SetStringLoader(nullptr);
    EXPECT_FALSE(text.LoadString(15002));
    EXPECT_STREQ("kept", text);

    CString::SetStringLoader([](UINT id, CString& out) -> BOOL {
        if (id != 15002) {
            return FALSE;
        }
        out = "English";
        return TRUE;
    });
    EXPECT_TRUE(text.LoadString(15002));
    EXPECT_STREQ("English", text);
    EXPECT_FALSE(text.LoadString(1));
    EXPECT_STREQ("English", text);
    CString::SetStringLoader(nullptr);
}
