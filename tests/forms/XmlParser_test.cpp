// Parsing: results, warnings and errors with their positions, attributes, declarations, the
// first-tag search, clear sections, and input that must not be read beyond its end.

#include "XmlTestSupport.h"
#include "forms/XmlElement.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* name;
    const char* text;
    XmlErrorCode error;
    int line;
    int column;
    const char* tree;  // DescribeTree of the result
};

void CheckParse(const ParseCase& row, const char* firstTag = nullptr) {
    SCOPED_TRACE(row.name);
    XmlParseResults results;
    const XmlElement root = XmlElement::ParseString(row.text, firstTag, &results);
    EXPECT_EQ(row.error, results.error) << XmlElement::XmlErrorText(results.error);
    EXPECT_EQ(row.line, results.line);
    EXPECT_EQ(row.column, results.column);
    EXPECT_EQ(row.tree, DescribeTree(root));
}

}  // namespace

TEST(XmlParser, ReportsWarningsWithTheTreeBuiltSoFar) {
    const ParseCase cases[] = {
        {"end tag of the parent closes an open child", "<a><b></a>", XmlErrorCode::UnmatchedEndTagWarning, 1,
         11, "<'a' <'b'>>"},
        {"position is just past the end tag", "<a>\n <b>\n</a>  ", XmlErrorCode::UnmatchedEndTagWarning, 3, 5,
         "<'a' <'b'>>"},
        {"elements never closed warn at the end", "<a><b>", XmlErrorCode::UnmatchedEndTagWarning, 1, 7,
         "<'a' <'b'>>"},
        {"end tag names are compared ignoring case", "<Doc></DOC>", XmlErrorCode::None, 0, 0, "<'Doc'>"},
        {"an empty text has no tag", "", XmlErrorCode::NoTagWarning, 1, 1, "<(null)>"},
        {"text alone has no tag", "just text", XmlErrorCode::NoTagWarning, 1, 10, "<(null) T'just text'>"},
        {"an open declaration at the end does not warn", "<?xml version=\"1.0\"?><doc/>", XmlErrorCode::None,
         0, 0, "<?'xml' @'version'='1.0' <'doc'>>"},
    };
    for (const ParseCase& row : cases) {
        CheckParse(row);
    }
}

TEST(XmlParser, ReportsAnyFailureWithoutElementsAsNoTag) {
    CheckParse({"lone end tag", "</a>", XmlErrorCode::NoTagWarning, 1, 5, "<(null)>"});
    CheckParse({"text with a bad entity", "x &y; z", XmlErrorCode::NoTagWarning, 1, 8, "<(null)>"});
}

TEST(XmlParser, ReportsErrorsWithTheEmptyElement) {
    const ParseCase cases[] = {
        {"end tag at top level", "<a/></b>", XmlErrorCode::UnmatchedEndTag, 1, 9, "(empty)"},
        {"end tag that names no open element", "<a><b></c>", XmlErrorCode::UnmatchedEndTag, 1, 11, "(empty)"},
        {"start tag without name", "<a><>", XmlErrorCode::MissingStartTagName, 1, 6, "(empty)"},
        {"quoted start tag name", "<a><\"b\">", XmlErrorCode::MissingStartTagName, 1, 8, "(empty)"},
        {"end tag without name", "<a></>", XmlErrorCode::MissingEndTagName, 1, 7, "(empty)"},
        {"end tag without >", "<a></a", XmlErrorCode::MissingEndTagName, 1, 7, "(empty)"},
        {"unclosed comment", "<a><!-- x</a>", XmlErrorCode::UnmatchedClearEnd, 1, 8, "(empty)"},
        {"unclosed CDATA", "<a><![CDATA[x]]</a>", XmlErrorCode::UnmatchedClearEnd, 1, 13, "(empty)"},
        {"equals sign without name", "<a =1>", XmlErrorCode::UnexpectedToken, 1, 5, "(empty)"},
        {"quoted text without name", "<a \"x\">", XmlErrorCode::UnexpectedToken, 1, 7, "(empty)"},
        {"equals sign without value", "<a x=>", XmlErrorCode::UnexpectedToken, 1, 7, "(empty)"},
        {"unknown entity in a text", "<a>&bogus;</a>", XmlErrorCode::UnknownEntity, 1, 11, "(empty)"},
        {"unknown entity in a value", "<a x='&zz;'/>", XmlErrorCode::UnknownEntity, 1, 12, "(empty)"},
        {"reference to the zero byte", "<a>&#0;</a>", XmlErrorCode::UnknownEntity, 1, 8, "(empty)"},
    };
    for (const ParseCase& row : cases) {
        CheckParse(row);
    }
}

TEST(XmlParser, NullTextHasNoElements) {
    XmlParseResults results;
    results.line = 7;
    EXPECT_TRUE(XmlElement::ParseString(nullptr, nullptr, &results).IsEmpty());
    EXPECT_EQ(XmlErrorCode::NoElements, results.error);
    EXPECT_EQ(0, results.line);
    EXPECT_EQ(0, results.column);
}

TEST(XmlParser, ReadsAttributesInEveryForm) {
    const ParseCase cases[] = {
        {"bare, unquoted and quoted", "<a x y=1 z='v w' q=\"it's\"/>", XmlErrorCode::None, 0, 0,
         "<'a' @'x'=(null) @'y'='1' @'z'='v w' @'q'='it's'>"},
        {"entities in values", "<a v=\"&lt;&#65;&quot;\"/>", XmlErrorCode::None, 0, 0, "<'a' @'v'='<A\"'>"},
        {"white space around equals", "<a x = \"1\" >t</a>", XmlErrorCode::None, 0, 0, "<'a' @'x'='1' T't'>"},
        {"quote without its mate is text", "<a x='1>t</a>", XmlErrorCode::None, 0, 0, "<'a' @'x'=''1' T't'>"},
        {"declaration question mark leaves names and values", "<?pi x?><?xml version=1.0?><?m v=\"a\"?>",
         XmlErrorCode::None, 0, 0, "<?'pi' @'x'=(null) <?'xml' @'version'='1.0' <?'m' @'v'='a'>>>"},
        {"declaration without attributes", "<?pi?><a/>", XmlErrorCode::None, 0, 0, "<?'pi' <'a'>>"},
    };
    for (const ParseCase& row : cases) {
        CheckParse(row);
    }
}

TEST(XmlParser, KeepsClearSectionsVerbatim) {
    const ParseCase cases[] = {
        {"CDATA", "<a><![CDATA[<b>&amp;]]></a>", XmlErrorCode::None, 0, 0,
         "<'a' C'<![CDATA[''<b>&amp;'']]>'>"},
        {"comment", "<a><!-- <b> --></a>", XmlErrorCode::None, 0, 0, "<'a' C'<!--'' <b> ''-->'>"},
        {"DOCTYPE", "<!DOCTYPE a SYSTEM \"a.dtd\"><a/>", XmlErrorCode::None, 0, 0,
         "<(null) C'<!DOCTYPE'' a SYSTEM \"a.dtd\"''>' <'a'>>"},
        {"DOCTYPE with an internal subset", "<!DOCTYPE a [<!ELEMENT a ANY>]><a/>", XmlErrorCode::None, 0, 0,
         "<(null) C'<!DOCTYPE'' a [<!ELEMENT a ANY>'']>' <'a'>>"},
        {"PRE and Script", "<a><PRE>x<y</PRE><Script>if (a<b)</Script></a>", XmlErrorCode::None, 0, 0,
         "<'a' C'<PRE>''x<y''</PRE>' C'<Script>''if (a<b)''</Script>'>"},
    };
    for (const ParseCase& row : cases) {
        CheckParse(row);
    }
}

TEST(XmlParser, KeepsMixedContentInDocumentOrder) {
    CheckParse({"mixed", "<p>one<b>two</b>three<!--c-->four</p>", XmlErrorCode::None, 0, 0,
                "<'p' T'one' <'b' T'two'> T'three' C'<!--''c''-->' T'four'>"});
}

TEST(XmlParser, FindsTheFirstTagThroughDeclarations) {
    const char* declared = "<?xml version=\"1.0\"?><?other?><doc><x/></doc>";
    CheckParse({"result itself", "<doc/>", XmlErrorCode::None, 0, 0, "<'doc'>"}, "DOC");
    CheckParse({"declarations are descended into", declared, XmlErrorCode::None, 0, 0, "<'doc' <'x'>>"},
               "doc");
    CheckParse({"children of other elements are not searched", declared, XmlErrorCode::FirstTagNotFound, 0, 0,
                "(empty)"},
               "x");
    CheckParse(
        {"several top items give the nameless node", "<!--c--><root/>", XmlErrorCode::None, 0, 0, "<'root'>"},
        "root");
    CheckParse({"warnings keep the search", "<doc><a>", XmlErrorCode::UnmatchedEndTagWarning, 1, 9, "<'a'>"},
               "a");
}

TEST(XmlParser, DecodesCharacterReferencesToBytes) {
    const XmlElement root = XmlElement::ParseString("<a>&#65;&#x41;&#X41;&#321;&#4294967361;&AMP;</a>");
    EXPECT_STREQ("AAAAA&", root.GetText(0));
}

TEST(XmlParser, TrimsTextsOnlyWhenAsked) {
    {
        ScopedXmlOptions options(XmlCharEncoding::Utf8, true, true);
        EXPECT_STREQ("hi", XmlElement::ParseString("<a>  hi  </a>").GetText(0));
        EXPECT_EQ(0, XmlElement::ParseString("<a> \t\r\n </a>").TextCount());
    }
    ScopedXmlOptions options(XmlCharEncoding::Utf8, true, false);
    EXPECT_STREQ("  hi  ", XmlElement::ParseString("<a>  hi  </a>").GetText(0));
    EXPECT_EQ("<'a' T'\n ' <'b'> T'\n'>", DescribeTree(XmlElement::ParseString("<a>\n <b/>\n</a>")));
}

TEST(XmlParser, StepsOverMultiByteCharactersOfTheEncoding) {
    // The trail byte of this Shift-JIS character is ']', which must not start the section's end.
    const char* text = "<a><![CDATA[\x83]]>x]]></a>";
    {
        ScopedXmlOptions options(XmlCharEncoding::ShiftJis, true, true);
        EXPECT_EQ("<'a' C'<![CDATA[''\x83]]>x'']]>'>", DescribeTree(XmlElement::ParseString(text)));
    }
    ScopedXmlOptions options(XmlCharEncoding::SingleByte, true, true);
    EXPECT_EQ("<'a' C'<![CDATA[''\x83'']]>' T'x]]>'>", DescribeTree(XmlElement::ParseString(text)));
}

TEST(XmlParser, NeverReadsPastTheEndOfABuffer) {
    // Each text ends inside a multi-byte character or a construct; the buffers have no terminator,
    // so the address sanitizer sees any read past them.
    const std::string texts[] = {
        "<a>\xE3",        "<a x='\xF0", "<a \xE3", "<a><!-- \xC3",    "<a>&#",   "<a>&amp",
        "<!DOCTYPE \xE3", "<a></\xE3",  "<\xF4",   "<a x=\"\xF0\x90", "<a>\x83", "<a b=",
    };
    const XmlCharEncoding encodings[] = {XmlCharEncoding::Utf8, XmlCharEncoding::SingleByte,
                                         XmlCharEncoding::ShiftJis};
    for (XmlCharEncoding encoding : encodings) {
        ScopedXmlOptions options(encoding, true, true);
        for (const std::string& text : texts) {
            SCOPED_TRACE(text);
            const std::vector<char> exact(text.begin(), text.end());
            XmlParseResults results;
            XmlElement::ParseString(exact.data(), exact.size(), nullptr, &results);
            EXPECT_GE(results.line, 0);
        }
    }
}

TEST(XmlParser, StopsAtAZeroByteWithinTheLength) {
    const char text[] = "<a/>\0<b/>";
    XmlParseResults results;
    const XmlElement root = XmlElement::ParseString(text, sizeof(text), nullptr, &results);
    EXPECT_EQ("<'a'>", DescribeTree(root));
}

TEST(XmlParser, HandlesDeepNestingWithoutRecursion) {
    const int depth = 200000;
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += "<e>";
    }
    XmlParseResults results;
    XmlElement root = XmlElement::ParseString(text.c_str(), nullptr, &results);
    EXPECT_EQ(XmlErrorCode::UnmatchedEndTagWarning, results.error);
    for (int i = 0; i < depth; ++i) {
        text += "</e>";
    }
    root = XmlElement::ParseString(text.c_str(), nullptr, &results);
    EXPECT_EQ(XmlErrorCode::None, results.error);
    const std::string innermost = "<e/>";
    EXPECT_EQ(text.replace(static_cast<size_t>(depth - 1) * 3, 7, innermost), WriteFlat(root));
    XmlElement deepest = root;
    while (deepest.ChildCount() > 0) {
        deepest = deepest.GetChildAt(0);
    }
    root = XmlElement();  // releasing the root frees the chain down to the handle still held
    EXPECT_TRUE(deepest.GetParent().IsEmpty());
}
