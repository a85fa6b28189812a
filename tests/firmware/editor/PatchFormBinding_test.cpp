// The patch editor's logic without windows: an element's editor values in field order, its
// record from the conversion table, a loaded patch filling the form, and the key list.
#include "firmware/CFirmwarePatch.h"
#include "firmware/CPatchFormBinding.h"
#include "firmware/CXferTable.h"
#include "firmware/PatchElementValues.h"
#include "forms/FormElementValues.h"
#include "forms/FormModel.h"
#include "link/CDescriptionKeyList.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// 06 a word, 07 a check, 0A a select, 0B a grid, 0C a number whose conversion can fail, 30 two
// texts, 31 every kind of field at once, 120 an id no record can have.
const char kForm[] = R"(<?xml version="1.0" encoding="iso-8859-1"?>
<form>
  <element id="06"><text>15400</text><field><value type="edit"><min>0</min><max>65535</max><default>100</default></value></field></element>
  <element id="07"><field><value type="check"/></field></element>
  <element id="0A"><field><value type="select"><item value="1">15401</item><item value="2">15402</item><item value="3">15403</item></value></field></element>
  <element id="0B"><field><value type="grid">
    <line><data>1,2,3</data></line><line><data>4,5,6</data></line></value></field></element>
  <element id="0C"><field><value type="edit"><default>0</default></value></field></element>
  <element id="30">
    <field><value type="edit"><expr>[P|B|C|U][0-3]\d{3}</expr><default>P0000</default></value></field>
    <field><value type="edit"><expr>[P|B|C|U][0-3]\d{3}</expr><default>C0101</default></value></field>
  </element>
  <element id="31">
    <field><value type="edit"><expr>.*</expr><default>Ab</default></value></field>
    <field><value type="edit"><default>2.5</default></value></field>
    <field><value type="check"><on>5</on><off>2</off><default>5</default></value></field>
    <field><value type="select"><item value="7">15404</item><item value="9">15405</item><default>9</default></value></field>
    <field><value type="grid"><line><data>10,11</data></line><line><data>12,13</data></line></value></field>
  </element>
  <element id="120"><field><value type="check"/></field></element>
</form>
)";

const char kXfer[] = R"(<?xml version="1.0" encoding="iso-8859-1"?>
<xfers>
  <element id="06"><degr>b0 = ipart(v0/256); b1 = mod(v0, 256)</degr><aggr>v0 = b0*256 + b1</aggr></element>
  <element id="0C"><degr>b0 = 1/v0</degr><aggr>v0 = 1/b0</aggr></element>
</xfers>
)";

CByteArray Bytes(const std::vector<BYTE>& bytes) {
    CByteArray array;
    for (const BYTE b : bytes) {
        array.Add(b);
    }
    return array;
}

std::vector<BYTE> Plain(const CByteArray& bytes) {
    return std::vector<BYTE>(bytes.GetData(), bytes.GetData() + bytes.GetSize());
}

CArray<double, double> Values(const std::vector<double>& values) {
    CArray<double, double> array;
    for (const double v : values) {
        array.Add(v);
    }
    return array;
}

std::vector<double> Plain(const CArray<double, double>& values) {
    std::vector<double> plain;
    for (INT_PTR i = 0; i < values.GetSize(); ++i) {
        plain.push_back(values[i]);
    }
    return plain;
}

class PatchFormBindingTest : public testing::Test {
protected:
    void SetUp() override {
        m_model.Read(XmlElement::ParseString(kForm), [this] { return m_nextId++; });
        m_table.Parse(kXfer, sizeof(kXfer) - 1);
    }

    FormElement& Element(int32_t id) {
        FormElement* element = m_model.FindElement(id);
        EXPECT_NE(element, nullptr) << id;
        return *element;
    }

    std::vector<double> Collected(int32_t id) {
        CArray<double, double> values;
        CollectElementValues(Element(id), values);
        return Plain(values);
    }

    // The record of an id as {flag, bytes...}; empty when there is none.
    std::vector<int> Record(BYTE id) const {
        BYTE flag = 0;
        CByteArray bytes;
        if (!m_patch.GetRecord(id, flag, bytes)) {
            return {};
        }
        std::vector<int> record{flag};
        for (const BYTE b : Plain(bytes)) {
            record.push_back(b);
        }
        return record;
    }

    FormModel m_model;
    uint32_t m_nextId = 1323;
    CXferTable m_table;
    CFirmwarePatch m_patch;
    CPatchFormBinding m_binding{m_patch, m_table};
};

TEST_F(PatchFormBindingTest, CollectsEveryFieldInOrder) {
    EXPECT_EQ(Collected(0x31), (std::vector<double>{'A', 'b', 0, 2.5, 5, 9, 10, 11, 12, 13}));
    EXPECT_EQ(Collected(0x30), (std::vector<double>{'P', '0', '0', '0', '0', 0, 'C', '0', '1', '0', '1', 0}));
    // Codes above 127 stay positive.
    Element(0x30).fields[0]->Edit()->currentText = "\xB4";
    EXPECT_EQ(Collected(0x30)[0], 0xB4);
}

TEST_F(PatchFormBindingTest, FillsTheFieldsInTheSameOrder) {
    struct Case {
        const char* name;
        std::vector<double> values;
        std::vector<double> collected;  // what the element gives back afterwards
    };

    const Case cases[] = {
        {"all", {'x', 0, -1.25, 2, 7, 20, 21, 22, 23}, {'x', 0, -1.25, 2, 7, 20, 21, 22, 23}},
        {"missing values count as 0", {'x', 'y', 0, 4}, {'x', 'y', 0, 4, 0, 0, 0, 0, 0, 0}},
        {"a text ends with the values", {'x', 'y'}, {'x', 'y', 0, 0, 0, 0, 0, 0, 0, 0}},
        {"nothing", {}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"integers are truncated and bounded",
         {0, 1, 3.9, 1e12, 21, 22, 23, 24},
         {0, 1, 3, 4294967295.0, 21, 22, 23, 24}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FillElementValues(Element(0x31), Values(c.values));
        EXPECT_EQ(Collected(0x31), c.collected);
    }
}

TEST_F(PatchFormBindingTest, StoresAnElementAsTheBytesOfItsConversion) {
    Element(0x06).fields[0]->Edit()->currentNumber = 4660;
    ASSERT_TRUE(m_binding.StoreElement(Element(0x06), 1));
    EXPECT_EQ(Record(0x06), (std::vector<int>{1, 0x12, 0x34}));
    // Without a conversion each value is a byte.
    ASSERT_TRUE(m_binding.StoreElement(Element(0x0B), 0));
    EXPECT_EQ(Record(0x0B), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(m_binding.StoreElement(Element(0x30), 1));
    EXPECT_EQ(Record(0x30), (std::vector<int>{1, 'P', '0', '0', '0', '0', 0, 'C', '0', '1', '0', '1', 0}));
    // Storing again replaces the flag and bytes.
    Element(0x06).fields[0]->Edit()->currentNumber = 1;
    ASSERT_TRUE(m_binding.StoreElement(Element(0x06), 0));
    EXPECT_EQ(Record(0x06), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(m_patch.GetRecordCount(), 3);
}

TEST_F(PatchFormBindingTest, AnElementThatCannotBeARecordKeepsTheOldRecord) {
    m_patch.SetRecord(0x0C, 1, Bytes({4}));
    // 1/0 raises in the conversion.
    EXPECT_FALSE(m_binding.StoreElement(Element(0x0C), 0));
    EXPECT_EQ(Record(0x0C), (std::vector<int>{1, 4}));
    // 300 bytes do not fit a record.
    m_patch.SetRecord(0x30, 1, Bytes({9}));
    Element(0x30).fields[0]->Edit()->currentText = std::string(300, 'A');
    EXPECT_FALSE(m_binding.StoreElement(Element(0x30), 1));
    EXPECT_EQ(Record(0x30), (std::vector<int>{1, 9}));
    EXPECT_FALSE(m_binding.StoreElement(Element(0x120), 1));
    EXPECT_EQ(m_patch.GetRecordCount(), 2);
}

TEST_F(PatchFormBindingTest, ALoadedPatchFillsItsElementsAndResetsTheOthers) {
    m_patch.SetRecord(0x06, 1, Bytes({0x12, 0x34}));
    m_patch.SetRecord(0x30, 0, Bytes({'U', '3', '9', '9', '9', 0, 'B'}));
    m_patch.SetRecord(0x0C, 1, Bytes({0}));  // 1/0: cannot be shown
    m_patch.SetRecord(0x50, 1, Bytes({7}));  // no element
    Element(0x07).fields[0]->Check()->current = 1;
    Element(0x07).marked = 1;
    Element(0x0C).fields[0]->Edit()->currentNumber = 8;
    std::vector<int32_t> reset;
    const std::vector<int32_t> failed =
        m_binding.PatchToForm(m_model.SortedElements(), [&](FormElement& element) {
            reset.push_back(element.id);
            EXPECT_TRUE(IsElementUnchanged(element)) << element.id;
            EXPECT_EQ(element.marked, 0) << element.id;
            // What the page does with the report: the element is stored unflagged.
            EXPECT_EQ(m_binding.StoreElement(element, 0), element.id != 0x120);
        });
    EXPECT_EQ(reset, (std::vector<int32_t>{0x07, 0x0A, 0x0B, 0x31, 0x120}));
    EXPECT_EQ(failed, (std::vector<int32_t>{0x0C}));
    EXPECT_EQ(Element(0x06).fields[0]->Edit()->currentNumber, 4660);
    EXPECT_EQ(Element(0x06).marked, 1);
    EXPECT_EQ(Element(0x30).fields[0]->Edit()->currentText, "U3999");
    EXPECT_EQ(Element(0x30).fields[1]->Edit()->currentText, "B");
    EXPECT_EQ(Element(0x30).marked, 0);
    EXPECT_TRUE(IsElementUnchanged(Element(0x0C)));
    EXPECT_EQ(Element(0x0C).marked, 1);
    EXPECT_EQ(Record(0x0C), (std::vector<int>{1, 0}));
    EXPECT_EQ(Record(0x50), (std::vector<int>{1, 7}));
    EXPECT_EQ(Record(0x07), (std::vector<int>{0, 0}));
    EXPECT_EQ(Record(0x0B), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

void Describe(CFirmwarePatch& patch, const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        patch.SetDescription(key.c_str(), ("text of " + key).c_str());
    }
}

void Refresh(CDescriptionKeyList& list,
             const std::vector<std::string>& keys,
             CDescriptionKeyList::Mode mode,
             int selected) {
    CFirmwarePatch patch;
    Describe(patch, keys);
    CMapStringToString descriptions;
    patch.GetDescriptions(descriptions);
    list.Refresh(descriptions, mode, selected);
}

std::vector<std::string> Keys(const CDescriptionKeyList& list) {
    std::vector<std::string> keys;
    for (int i = 0; i < list.GetCount(); ++i) {
        keys.push_back(list.GetKey(i).GetString());
    }
    return keys;
}

TEST(PatchKeyListTest, SelectsAgainByItsMode) {
    struct Case {
        const char* name;
        std::vector<std::string> before;
        int selected;
        CDescriptionKeyList::Mode mode;
        std::vector<std::string> after;
        int expected;
    };

    const Case cases[] = {
        {"load selects the first", {"de", "en"}, 1, CDescriptionKeyList::kSelectFirst, {"fr", "de"}, 0},
        {"a new key keeps the selection",
         {"de", "fr"},
         1,
         CDescriptionKeyList::kKeepSelected,
         {"de", "en", "fr"},
         2},
        {"deleting the first selects the second",
         {"de", "en"},
         0,
         CDescriptionKeyList::kSelectNeighbour,
         {"en"},
         0},
        {"deleting selects the one before",
         {"de", "en", "fr"},
         2,
         CDescriptionKeyList::kSelectNeighbour,
         {"de", "en"},
         1},
        {"deleting the only key", {"de"}, 0, CDescriptionKeyList::kSelectNeighbour, {}, -1},
        {"a remembered key that is gone",
         {"de", "en"},
         1,
         CDescriptionKeyList::kKeepSelected,
         {"de", "fr"},
         0},
        {"nothing selected before", {"de", "en"}, -1, CDescriptionKeyList::kKeepSelected, {"de", "en"}, 0},
        {"an empty key is no remembered key",
         {"", "en"},
         1,
         CDescriptionKeyList::kSelectFirst,
         {"", "en"},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDescriptionKeyList list(CDescriptionKeyList::kAscending);
        Refresh(list, c.before, CDescriptionKeyList::kSelectFirst, -1);
        Refresh(list, c.after, c.mode, c.selected);
        EXPECT_EQ(list.GetSelection(), c.expected);
        ASSERT_EQ(Keys(list).size(), c.after.size());
    }
}

TEST(PatchKeyListTest, ListsTheKeysInOrderWithTheirTexts) {
    CDescriptionKeyList list(CDescriptionKeyList::kAscending);
    Refresh(list, {"en", "de", "it"}, CDescriptionKeyList::kSelectFirst, -1);
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"de", "en", "it"}));
    EXPECT_STREQ(list.GetText(1), "text of en");
    EXPECT_STREQ(list.GetSummary("*** Empty ***"), "{de;en;it}");
    list.SetText(1, "typed");
    list.SetText(7, "ignored");
    EXPECT_STREQ(list.GetText(1), "typed");
    Refresh(list, {}, CDescriptionKeyList::kSelectFirst, 0);
    EXPECT_STREQ(list.GetSummary("*** Empty ***"), "*** Empty ***");
    EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
