// Entity decoding and escaping.

#include "XmlTestSupport.h"
#include "forms/XmlElement.h"

#include <string>

#include <gtest/gtest.h>

TEST(XmlEntities, DecodesNamedEntitiesAndReferences) {
    struct Case {
        const char* text;
        const char* decoded;  // null: error
    };

    const Case cases[] = {
        {"plain", "plain"},     {"&amp;&lt;&gt;&quot;&apos;", "&<>\"'"},
        {"&AMP;&Lt;", "&<"},    {"&#65;&#x41;&#X4a;", "AAJ"},
        {"&#321;", "A"},        {"&#100000000000000000000065;", "A"},
        {"&#4294967361;", "A"}, {"a&b", nullptr},
        {"&amp", nullptr},      {"&#;", nullptr},
        {"&#x;", nullptr},      {"&#12a;", nullptr},
        {"&#xG1;", nullptr},    {"&#0;", nullptr},
        {"&#256;", nullptr},    {"&nbsp;", nullptr},
        {"x&", nullptr},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.text);
        XmlErrorCode error = XmlErrorCode::None;
        const XmlString decoded = XmlElement::FromXmlString(row.text, &error);
        if (row.decoded == nullptr) {
            EXPECT_EQ(XmlErrorCode::UnknownEntity, error);
            EXPECT_TRUE(decoded.IsNull());
        } else {
            EXPECT_EQ(XmlErrorCode::None, error);
            EXPECT_STREQ(row.decoded, decoded.CStr());
        }
    }
}

TEST(XmlEntities, EscapesTheFiveCharacters) {
    EXPECT_STREQ("a&amp;b&lt;c&gt;d&quot;e&apos;f", XmlElement::ToXmlString("a&b<c>d\"e'f").CStr());
    EXPECT_TRUE(XmlElement::ToXmlString(nullptr).IsNull());
}

TEST(XmlEntities, ReusesTheBufferAcrossLongerTexts) {
    std::string buffer;
    EXPECT_STREQ("a", XmlElement::ToXmlString("a", buffer));
    EXPECT_STREQ("&amp;&amp;&amp;&amp;", XmlElement::ToXmlString("&&&&", buffer));
    EXPECT_STREQ("", XmlElement::ToXmlString("", buffer));
}

TEST(XmlEntities, EscapingThenDecodingGivesTheTextBack) {
    const std::string texts[] = {"", "&amp;", "<<>>\"'&", "\xC3\xA9 & \xE2\x82\xAC", "&#65;"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const XmlString escaped = XmlElement::ToXmlString(text.c_str());
        EXPECT_STREQ(text.c_str(), XmlElement::FromXmlString(escaped.CStr()).CStr());
    }
}

TEST(XmlEntities, DecodesOnlyTheGivenLength) {
    XmlErrorCode error = XmlErrorCode::None;
    EXPECT_STREQ("a&", XmlElement::FromXmlString("a&amp;&bogus;", 6, &error).CStr());
    XmlElement::FromXmlString("&amp;", 4, &error);  // the semicolon lies outside
    EXPECT_EQ(XmlErrorCode::UnknownEntity, error);
}
