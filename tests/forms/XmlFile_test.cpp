// Files: writing with header and byte-order mark, reading 8-bit and 16-bit files, the encoding
// guess, and the report of LoadFile.

#include "XmlTestSupport.h"
#include "forms/XmlElement.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Utf16Le(const std::string& ascii) {
    std::string wide;
    for (char c : ascii) {
        wide.push_back(c);
        wide.push_back('\0');
    }
    return wide;
}

}  // namespace

TEST(XmlFile, WritesTheCatalogueLayoutByteForByte) {
    ScopedXmlOptions options(XmlCharEncoding::SingleByte, true, true);
    XmlElement root = XmlElement::CreateTopElement("xml", true);
    root.AddAttribute("version", "1.0");
    root.AddAttribute("encoding", "iso-8859-1");
    XmlElement firmware = root.AddChild("document").AddChild("firmware");
    firmware.AddChild("version").AddText("1.05");
    firmware.AddChild("description").AddText("Gr\xFC\xDF & <neu>");
    TempXmlFile file("catalogue.xml");
    ASSERT_EQ(XmlErrorCode::None, root.WriteToFile(file.Path(), "ISO-8859-1", true));
    EXPECT_EQ(
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
        "<document>\n"
        "\t<firmware>\n"
        "\t\t<version>\n"
        "\t\t\t1.05\n"
        "\t\t</version>\n"
        "\t\t<description>\n"
        "\t\t\tGr\xFC\xDF &amp; &lt;neu&gt;\n"
        "\t\t</description>\n"
        "\t</firmware>\n"
        "</document>\n",
        file.ReadBytes());
    const XmlElement read = XmlElement::LoadFile(file.Path());
    EXPECT_EQ(DescribeTree(root), DescribeTree(read));
}

TEST(XmlFile, WritesAHeaderAndTheUtf8Mark) {
    struct Case {
        const char* name;
        XmlCharEncoding encoding;
        const char* encodingName;
        const char* expected;
    };

    const Case cases[] = {
        {"UTF-8 gets the mark", XmlCharEncoding::Utf8, "latin1",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<a/>"},
        {"Shift-JIS", XmlCharEncoding::ShiftJis, nullptr,
         "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n<a/>"},
        {"given name", XmlCharEncoding::SingleByte, "windows-1252",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<a/>"},
        {"default name", XmlCharEncoding::SingleByte, nullptr,
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a/>"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        ScopedXmlOptions options(row.encoding, true, true);
        TempXmlFile file("header.xml");
        ASSERT_EQ(XmlErrorCode::None,
                  XmlElement::CreateTopElement("a").WriteToFile(file.Path(), row.encodingName, false));
        EXPECT_EQ(row.expected, file.ReadBytes());
    }
    ScopedXmlOptions options(XmlCharEncoding::Utf8, true, true);
    TempXmlFile file("declared.xml");
    const XmlElement declared = XmlElement::ParseString("<!--c--><?xml version=\"1.0\"?><a/>");
    ASSERT_EQ(XmlErrorCode::None, declared.WriteToFile(file.Path(), nullptr, false));
    EXPECT_EQ("\xEF\xBB\xBF<!--c--><?xml version=\"1.0\"?><a/>", file.ReadBytes());
}

TEST(XmlFile, ReportsFilesThatCannotBeReadOrWritten) {
    XmlParseResults results;
    EXPECT_TRUE(XmlElement::ParseFile("/no/such/folder/x.xml", nullptr, &results).IsEmpty());
    EXPECT_EQ(XmlErrorCode::FileNotFound, results.error);
    TempXmlFile empty("empty.xml");
    empty.WriteBytes("");
    EXPECT_TRUE(XmlElement::ParseFile(empty.Path(), nullptr, &results).IsEmpty());
    EXPECT_EQ(XmlErrorCode::NoData, results.error);
    EXPECT_EQ(XmlErrorCode::CannotOpenForWriting,
              XmlElement::CreateTopElement("a").WriteToFile("/no/such/folder/x.xml", nullptr, false));
}

TEST(XmlFile, ReadsSixteenBitFilesAsEightBitText) {
    const std::string wide = "\xFF\xFE" + Utf16Le("<a>x") + std::string("\xE9\x00", 2) + Utf16Le("</a>");
    TempXmlFile file("wide.xml");
    file.WriteBytes(wide);
    {
        ScopedXmlOptions options(XmlCharEncoding::Utf8, true, true);
        EXPECT_STREQ("x\xC3\xA9", XmlElement::ParseFile(file.Path()).GetText(0));
    }
    {
        ScopedXmlOptions options(XmlCharEncoding::SingleByte, true, true);
        EXPECT_STREQ("x\xE9", XmlElement::ParseFile(file.Path()).GetText(0));
    }
    // Without the mark, and with an odd byte at the end.
    file.WriteBytes(Utf16Le("<b>y</b>") + "\x01");
    EXPECT_STREQ("y", XmlElement::ParseFile(file.Path()).GetText(0));
    // An unpaired surrogate cannot become UTF-8.
    file.WriteBytes("\xFF\xFE" + Utf16Le("<a>") + std::string("\x00\xD8", 2) + Utf16Le("</a>"));
    XmlParseResults results;
    EXPECT_TRUE(XmlElement::ParseFile(file.Path(), nullptr, &results).IsEmpty());
    EXPECT_EQ(XmlErrorCode::WideConversion, results.error);
}

TEST(XmlFile, SkipsTheUtf8MarkOnlyWithDetection) {
    TempXmlFile file("marked.xml");
    file.WriteBytes("\xEF\xBB\xBF<a/>");
    EXPECT_EQ("<'a'>", DescribeTree(XmlElement::ParseFile(file.Path())));
    ScopedXmlOptions options(XmlCharEncoding::Utf8, false, true);
    EXPECT_EQ("<(null) T'\xEF\xBB\xBF' <'a'>>", DescribeTree(XmlElement::ParseFile(file.Path())));
}

TEST(XmlFile, GuessesTheEncoding) {
    struct Case {
        const char* name;
        std::string buffer;
        bool lookForDeclaration;
        XmlCharEncoding expected;
    };

    const std::string ascii = "<document><entry>abc</entry></document>";
    const Case cases[] = {
        {"too short", "<a>\xE9</a>", true, XmlCharEncoding::None},
        {"16-bit text", "\xFF\xFE" + Utf16Le("<document></document>"), false, XmlCharEncoding::None},
        {"byte-order mark", "\xEF\xBB\xBF" + ascii, true, XmlCharEncoding::Utf8},
        {"ASCII walks as UTF-8", ascii, false, XmlCharEncoding::Utf8},
        {"Latin-1 byte breaks the walk", "<document>Gr\xFC\xDF</document>", false,
         XmlCharEncoding::SingleByte},
        {"valid UTF-8", "<document>Gr\xC3\xBC\xC3\x9F</document>", false, XmlCharEncoding::Utf8},
        {"declared ISO", "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>" + ascii, true,
         XmlCharEncoding::SingleByte},
        {"declared UTF-8", "<?xml version='1.0' encoding = ' UTF8'?>" + ascii, true, XmlCharEncoding::Utf8},
        {"declared UTF-8 but not", "<?xml encoding=\"utf-8\"?><d>\xE9</d>" + ascii, true,
         XmlCharEncoding::None},
        {"declared Shift-JIS", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>" + ascii, true,
         XmlCharEncoding::SingleByte},
        {"declared SJIS", "<?xml version=\"1.0\" encoding=\"sjis\"?>" + ascii, true,
         XmlCharEncoding::ShiftJis},
        {"no equals sign", "<?xml encoding \"iso-8859-1\"?>" + ascii, true, XmlCharEncoding::Utf8},
        {"declaration beyond 200 bytes", std::string(200, ' ') + "<?xml encoding=\"sjis\"?>", true,
         XmlCharEncoding::Utf8},
        {"lead byte cut off at the end", ascii + "\xE3", false, XmlCharEncoding::Utf8},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.expected,
                  XmlElement::GuessEncoding(row.buffer.data(), row.buffer.size(), row.lookForDeclaration));
    }
}

TEST(XmlFile, LoadFileTakesTheEncodingFromTheDeclaration) {
    ScopedXmlOptions options(XmlCharEncoding::Utf8, true, true);
    TempXmlFile file("latin.xml");
    // In UTF-8 the byte E9 would swallow the following "<b" and the element would be lost.
    file.WriteBytes("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><d><a>\xE9</a><b/></d>");
    const XmlElement root = XmlElement::LoadFile(file.Path(), "d");
    EXPECT_EQ("<'d' <'a' T'\xE9'> <'b'>>", DescribeTree(root));
}

TEST(XmlFile, LoadFileReportsErrorsForTheUser) {
    TempXmlFile file("report.xml");
    file.WriteBytes("<a>\n<b></c>\n</a>");
    std::string report;
    EXPECT_TRUE(XmlElement::LoadFile(file.Path(), nullptr, &report).IsEmpty());
    EXPECT_EQ(std::string("XML Parsing error inside file '") + file.Path() +
                  "'.\nError: Unmatched end tag\nAt line 2, column 8.\n",
              report);
    file.WriteBytes("<a/>");
    EXPECT_TRUE(XmlElement::LoadFile(file.Path(), "root", &report).IsEmpty());
    EXPECT_EQ(std::string("XML Parsing error inside file '") + file.Path() +
                  "'.\nError: First Tag not found\nAt line 0, column 0.\nFirst Tag should be 'root'.\n",
              report);
}
