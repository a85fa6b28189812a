// The element interface: lookups, adding at positions, updating, deleting, moving children,
// lifetimes of shared elements, and the empty element.

#include "forms/XmlElement.h"

#include "XmlTestSupport.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// Kinds of the element's items in document order: C child, T text, X clear section.
std::string OrderOf(const XmlElement& element) {
    std::string order;
    for (int i = element.AttributeCount(); i < element.ContentCount(); ++i) {
        const XmlContents item = element.EnumContents(i);
        switch (item.type) {
        case XmlContentType::Child:
            order += std::string("C:") + item.child.GetName() + " ";
            break;
        case XmlContentType::Text:
            order += std::string("T:") + item.text + " ";
            break;
        case XmlContentType::Clear:
            order += std::string("X:") + item.clear->Text() + " ";
            break;
        default:
            order += "? ";
            break;
        }
    }
    return order;
}

}  // namespace

TEST(XmlElement, LooksUpChildrenAndAttributesIgnoringCase) {
    const XmlElement root = XmlElement::ParseString(
        "<r a='1' B='2' a='3' flag><item id='x'/><Item id='Y'>t</Item><other/><ITEM id='z' k/></r>");
    EXPECT_EQ(3, root.CountChildren("item"));
    EXPECT_STREQ("Item", root.GetChild("ITEM", 1).GetName());
    EXPECT_TRUE(root.GetChild("item", 3).IsEmpty());

    int index = 0;
    std::string walked;
    for (XmlElement child = root.GetChild("item", &index); !child.IsEmpty();
         child = root.GetChild("item", &index)) {
        walked += child.GetAttribute("id");
    }
    EXPECT_EQ("xYz", walked);
    EXPECT_EQ(4, index);

    index = 0;
    EXPECT_STREQ("ITEM", root.GetChildWithAttribute("item", "k", nullptr, &index).GetName());
    index = 0;
    EXPECT_STREQ("Item", root.GetChildWithAttribute("item", "ID", "y", &index).GetName());
    EXPECT_EQ(2, index);
    EXPECT_TRUE(root.GetChildWithAttribute("item", "id", "y", &index).IsEmpty());

    EXPECT_STREQ("2", root.GetAttribute("b"));
    EXPECT_STREQ("3", root.GetAttribute("A", 1));
    index = 1;
    EXPECT_STREQ("3", root.GetAttribute("a", &index));
    EXPECT_EQ(3, index);
    EXPECT_EQ(nullptr, root.GetAttribute("flag"));
    EXPECT_TRUE(root.IsAttributeSet("FLAG"));
    EXPECT_FALSE(root.IsAttributeSet("none"));
    EXPECT_EQ(4, root.AttributeCount());
    EXPECT_EQ(8, root.ContentCount());
}

TEST(XmlElement, EnumeratesAttributesFirstThenDocumentOrder) {
    const XmlElement root = XmlElement::ParseString("<r x='1'>a<c/><!--k-->b</r>");
    EXPECT_EQ(XmlContentType::Attribute, root.EnumContents(0).type);
    EXPECT_STREQ("x", root.EnumContents(0).attribute->Name());
    EXPECT_EQ("T:a C:c X:k T:b ", OrderOf(root));
    EXPECT_EQ(XmlContentType::None, root.EnumContents(5).type);
    EXPECT_EQ(XmlContentType::None, root.EnumContents(-1).type);
}

TEST(XmlElement, InsertsItemsAtPositionsOfTheDocumentOrder) {
    XmlElement root = XmlElement::ParseString("<r><c0/>t0<c1/></r>");
    root.AddChild("n", false, 1);
    EXPECT_EQ("C:c0 C:n T:t0 C:c1 ", OrderOf(root));
    EXPECT_STREQ("n", root.GetChildAt(1).GetName());
    EXPECT_STREQ("c1", root.GetChildAt(2).GetName());

    root.AddText("first", 0);
    EXPECT_EQ("T:first C:c0 C:n T:t0 C:c1 ", OrderOf(root));
    EXPECT_STREQ("first", root.GetText(0));

    root.AddText("last", 4);  // no text follows position 4: appended to the texts
    EXPECT_EQ("T:first C:c0 C:n T:t0 T:last C:c1 ", OrderOf(root));
    root.AddClear("k", nullptr, nullptr, 99);
    root.AddChild("end", false, -1);
    EXPECT_EQ("T:first C:c0 C:n T:t0 T:last C:c1 X:k C:end ", OrderOf(root));
    EXPECT_EQ("<r>first<c0/><n/>t0last<c1/><![CDATA[k]]><end/></r>", WriteFlat(root));
}

TEST(XmlElement, ReportsPositionsOfItems) {
    const XmlElement root = XmlElement::ParseString("<r>a<c/>b<d/><!--x--><c/></r>");
    EXPECT_EQ(2, root.PositionOfText(1));
    EXPECT_EQ(2, root.PositionOfText(9));  // past the end: the last text
    EXPECT_EQ(2, root.PositionOfText("b"));
    EXPECT_EQ(-1, root.PositionOfText("zz"));
    EXPECT_EQ(4, root.PositionOfClear(0));
    EXPECT_EQ(4, root.PositionOfClear(&root.GetClear(0)));
    EXPECT_EQ(5, root.PositionOfChild("c", 1));
    EXPECT_EQ(3, root.PositionOfChild(root.GetChild("d")));
    EXPECT_EQ(-1, root.PositionOfChild(XmlElement::CreateTopElement("d")));
    EXPECT_EQ(5, root.PositionOfChild(7));
}

TEST(XmlElement, UpdatesOrAddsAttributesAndTexts) {
    XmlElement root = XmlElement::ParseString("<r a='1' b>one<!--c-->two</r>");
    root.UpdateAttribute("2", nullptr, "A");
    root.UpdateAttribute("v", "renamed", 1);
    root.UpdateAttribute("new", nullptr, "missing");
    root.UpdateAttribute("9", "added", 10);
    EXPECT_EQ(nullptr, root.UpdateAttribute("x", nullptr, 11));  // past the end without a name
    root.UpdateAttribute(root.GetAttributeValue(0), nullptr, &root.GetAttributeAt(2));
    const std::string startTag = "<r a=\"2\" renamed=\"v\" missing=\"2\" added=\"9\">";
    EXPECT_EQ(startTag, WriteFlat(root).substr(0, startTag.size()));

    root.UpdateText("ONE", 0);
    root.UpdateText("TWO", "two");
    root.UpdateText("three", "absent");
    root.UpdateText(root.GetText(0), 5);
    root.UpdateClear("C", &root.GetClear(0));
    EXPECT_EQ("T:ONE X:C T:TWO T:three T:ONE ", OrderOf(root));
}

TEST(XmlElement, DeletesItemsAndRenumbersTheOrder) {
    XmlElement root = XmlElement::ParseString("<r a='1' b='2'>t0<!--c0-->t1<e/>t2<!--c1--></r>");
    EXPECT_TRUE(root.DeleteText(1));
    EXPECT_EQ("T:t0 X:c0 C:e T:t2 X:c1 ", OrderOf(root));
    EXPECT_TRUE(root.DeleteText("t0"));
    EXPECT_TRUE(root.DeleteClear("c0"));
    EXPECT_EQ("C:e T:t2 X:c1 ", OrderOf(root));
    EXPECT_TRUE(root.DeleteClear(&root.GetClear(0)));
    EXPECT_FALSE(root.DeleteClear(0));
    EXPECT_TRUE(root.DeleteAttribute("A"));
    EXPECT_TRUE(root.DeleteAttribute(&root.GetAttributeAt(0)));
    EXPECT_FALSE(root.DeleteAttribute(0));
    root.AddText("t3", 1);
    EXPECT_EQ("<r><e/>t3t2</r>", WriteFlat(root));
}

TEST(XmlElement, MovesAChildFromItsFormerParent) {
    XmlElement root = XmlElement::ParseString("<r><a><x/>text<y/></a><b/></r>");
    XmlElement a = root.GetChild("a");
    XmlElement b = root.GetChild("b");
    const XmlElement x = a.GetChild("x");
    EXPECT_TRUE(b.AddChild(x).IsSameAs(x));
    EXPECT_TRUE(x.GetParent().IsSameAs(b));
    EXPECT_EQ("T:text C:y ", OrderOf(a));
    EXPECT_EQ("<r><a>text<y/></a><b><x/></b></r>", WriteFlat(root));

    XmlElement top = XmlElement::CreateTopElement("top");
    a.AddChild(top, 0);
    EXPECT_TRUE(top.GetParent().IsSameAs(a));
    EXPECT_EQ("<a><top/>text<y/></a>", WriteFlat(a));
}

TEST(XmlElement, RefusesToMakeAnElementItsOwnAncestor) {
    XmlElement root = XmlElement::ParseString("<r><a><b/></a></r>");
    XmlElement a = root.GetChild("a");
    XmlElement b = a.GetChild("b");
    const std::string before = WriteFlat(root);
    EXPECT_TRUE(a.AddChild(a).IsEmpty());
    EXPECT_TRUE(b.AddChild(root).IsEmpty());
    EXPECT_TRUE(b.AddChild(a).IsEmpty());
    EXPECT_EQ(before, WriteFlat(root));
    EXPECT_TRUE(b.GetParent().IsSameAs(a));
}

TEST(XmlElement, DeletingContentEmptiesEveryHandleAndDetaches) {
    XmlElement root = XmlElement::ParseString("<r><a k='v'><b>t</b></a><c/></r>");
    XmlElement a = root.GetChild("a");
    const XmlElement b = a.GetChild("b");
    a.DeleteNodeContent();
    EXPECT_EQ("<r><c/></r>", WriteFlat(root));
    EXPECT_FALSE(a.IsEmpty());
    EXPECT_EQ(nullptr, a.GetName());
    EXPECT_EQ(0, a.ContentCount());
    EXPECT_TRUE(a.GetParent().IsEmpty());
    EXPECT_EQ(nullptr, b.GetName());
    EXPECT_EQ(0, b.ContentCount());
    EXPECT_TRUE(b.GetParent().IsEmpty());
}

TEST(XmlElement, KeepsChildrenAliveAfterTheirParentIsReleased) {
    XmlElement child;
    {
        const XmlElement root = XmlElement::ParseString("<r><a><b>t</b></a></r>");
        child = root.GetChild("a");
        EXPECT_TRUE(child.GetParent().IsSameAs(root));
    }
    EXPECT_TRUE(child.GetParent().IsEmpty());
    EXPECT_EQ("<a><b>t</b></a>", WriteFlat(child));
    EXPECT_STREQ("t", child.GetChild("b").GetText(0));
}

TEST(XmlElement, EmptyElementDoesNothing) {
    XmlElement empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(nullptr, empty.GetName());
    EXPECT_EQ(0, empty.ContentCount());
    EXPECT_TRUE(empty.GetChild("a").IsEmpty());
    EXPECT_TRUE(empty.AddChild("a").IsEmpty());
    EXPECT_EQ(nullptr, empty.AddText("t"));
    EXPECT_EQ(nullptr, empty.AddAttribute("n", "v"));
    EXPECT_EQ(nullptr, empty.GetAttribute("n"));
    EXPECT_EQ(-1, empty.PositionOfChild(0));
    EXPECT_EQ(nullptr, empty.GetClear(0).Text());
    EXPECT_EQ(nullptr, empty.GetAttributeAt(0).Name());
    EXPECT_FALSE(empty.DeleteText(0));
    empty.DeleteNodeContent();
    EXPECT_EQ(XmlErrorCode::None, empty.WriteToFile("unused.xml", nullptr, false));
}

TEST(XmlElement, ReportsErrorTextsAndVersion) {
    EXPECT_STREQ("No error", XmlElement::XmlErrorText(XmlErrorCode::None));
    EXPECT_STREQ("Error: Base64 decode output buffer is too small",
                 XmlElement::XmlErrorText(XmlErrorCode::Base64BufferTooSmall));
    EXPECT_STREQ("Unknown", XmlElement::XmlErrorText(static_cast<XmlErrorCode>(20)));
    EXPECT_STREQ("Unknown", XmlElement::XmlErrorText(static_cast<XmlErrorCode>(-1)));
    EXPECT_STREQ("v2.30", XmlElement::Version());
}

TEST(XmlElement, KeepsTheEncodingWhenItsNumberIsInvalid) {
    ScopedXmlOptions options(XmlCharEncoding::ShiftJis, true, true);
    EXPECT_TRUE(XmlElement::SetGlobalOptions(static_cast<XmlCharEncoding>(7), true, false));
    // Still Shift-JIS: the ']' after the lead byte belongs to the character.
    EXPECT_STREQ("\x83]]>x", XmlElement::ParseString("<a><![CDATA[\x83]]>x]]></a>").GetClear(0).Text());
    // Trimming was switched off in any case.
    EXPECT_STREQ(" t ", XmlElement::ParseString("<a> t </a>").GetText(0));
}
