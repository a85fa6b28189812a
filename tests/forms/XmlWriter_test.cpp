// Writing: the exact text of elements, attributes, texts and clear sections, the formatted
// layout, and round trips through parse and write in every encoding.

#include "XmlTestSupport.h"
#include "forms/XmlElement.h"

#include <string>

#include <gtest/gtest.h>

TEST(XmlWriter, WritesTheParsedTextBack) {
    struct Case {
        const char* name;
        const char* text;
        const char* written;
    };

    const Case cases[] = {
        {"attributes and content", "<a x=\"1\" y><b/>t&amp;<![CDATA[<raw>]]></a>",
         "<a x=\"1\" y><b/>t&amp;<![CDATA[<raw>]]></a>"},
        {"single quotes become double", "<a x='v'/>", "<a x=\"v\"/>"},
        {"element without content", "<a></a>", "<a/>"},
        {"declaration", "<?xml version=\"1.0\"?><doc/>", "<?xml version=\"1.0\"?><doc/>"},
        {"declaration without attributes", "<?pi?>", "<?pi?>"},
        {"escaping", "<a v=\"&apos;&quot;\">&lt;&gt;'\"</a>",
         "<a v=\"&apos;&quot;\">&lt;&gt;&apos;&quot;</a>"},
        {"nameless node writes its content", "<!--c--><r/>", "<!--c--><r/>"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.written, WriteFlat(XmlElement::ParseString(row.text)));
    }
}

TEST(XmlWriter, FormatsOneElementOrTextPerIndentedLine) {
    XmlElement root = XmlElement::CreateTopElement("xml", true);
    root.AddAttribute("version", "1.0");
    root.AddAttribute("encoding", "iso-8859-1");
    XmlElement firmware = root.AddChild("document").AddChild("firmware");
    firmware.AddChild("name").AddText("Name");
    firmware.AddChild("version").AddText("1.05");
    firmware.AddChild("empty");
    firmware.AddClear("x<y");
    const char* expected =
        "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
        "<document>\n"
        "\t<firmware>\n"
        "\t\t<name>\n"
        "\t\t\tName\n"
        "\t\t</name>\n"
        "\t\t<version>\n"
        "\t\t\t1.05\n"
        "\t\t</version>\n"
        "\t\t<empty/>\n"
        "\t\t<![CDATA[x<y]]>\n"
        "\t</firmware>\n"
        "</document>\n";
    int length = 0;
    const XmlString text = root.CreateString(true, &length);
    EXPECT_STREQ(expected, text.CStr());
    EXPECT_EQ(static_cast<int>(std::string(expected).size()), length);
}

TEST(XmlWriter, IgnoresFormattingWithoutTrimming) {
    ScopedXmlOptions options(XmlCharEncoding::Utf8, true, false);
    const XmlElement root = XmlElement::ParseString("<a><b>t</b></a>");
    EXPECT_STREQ("<a><b>t</b></a>", root.CreateString(true).CStr());
}

TEST(XmlWriter, RoundTripsDocumentsInEveryEncoding) {
    struct Case {
        const char* name;
        XmlCharEncoding encoding;
        const char* text;
    };

    const Case cases[] = {
        {"declaration and attributes", XmlCharEncoding::Utf8,
         "<?xml version=\"1.0\" encoding=\"utf-8\"?><root a=\"1\" b='two' c><e/><f>text</f></root>"},
        {"entities and references", XmlCharEncoding::Utf8,
         "<r v=\"&lt;&amp;&gt;&quot;&apos;\">&#65;&amp;&lt;x&gt;</r>"},
        {"clear sections and instructions", XmlCharEncoding::Utf8,
         "<!DOCTYPE r><r><![CDATA[a<b]]><!-- note --><?pi data?></r>"},
        {"mixed content", XmlCharEncoding::Utf8, "<p>one<b>two</b>three<i/>four</p>"},
        {"empty elements", XmlCharEncoding::Utf8, "<a><b/><c></c><d x='1'/></a>"},
        {"UTF-8", XmlCharEncoding::Utf8, "<t n=\"\xC3\xA9\">\xE2\x82\xAC&amp;\xF0\x9F\x98\x80</t>"},
        {"single-byte", XmlCharEncoding::SingleByte, "<t n=\"\xE9\">\xE9\xFF&lt;</t>"},
        {"Shift-JIS", XmlCharEncoding::ShiftJis, "<t n=\"\x83\x5D\">\x83\x5C\x82\xA0<![CDATA[\x83]]]></t>"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        ScopedXmlOptions options(row.encoding, true, true);
        const XmlElement parsed = XmlElement::ParseString(row.text);
        ASSERT_FALSE(parsed.IsEmpty());
        const std::string tree = DescribeTree(parsed);
        for (bool format : {false, true}) {
            const XmlString written = parsed.CreateString(format);
            EXPECT_EQ(tree, DescribeTree(XmlElement::ParseString(written.CStr()))) << written.CStr();
        }
    }
}

TEST(XmlWriter, WritesNothingForTheEmptyElement) {
    int length = 5;
    EXPECT_TRUE(XmlElement().CreateString(true, &length).IsNull());
    EXPECT_EQ(0, length);
}
