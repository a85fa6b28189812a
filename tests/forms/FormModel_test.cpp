// Reading a FORM text into the form model: what is kept, what is left out, the defaults
// and the control ids.
#include "forms/FormModel.h"

#include "forms/FormNumberText.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

const char kForm[] = R"(<?xml version="1.0" encoding="iso-8859-1"?>
<form>
  <element id="0A"><text>15400</text>
    <field><text>15401</text><unit>ms</unit>
      <value type="edit"><min>0</min><max>100</max><precision>1</precision></value></field>
    <field><value type="edit"><max>100</max></value></field>
    <field><value type="edit"><min>-5.5</min></value></field>
    <field><value type="edit"><default>7.25</default><min>10</min></value></field>
    <field><value type="edit"></value></field>
  </element>
  <element id="00"><text>15402</text><field><value type="check"/></field></element>
  <element id="00" type="separator"><field><value type="check"><default>1</default></value></field></element>
  <element id="-3"><field><value type="check"/></field></element>
  <element><field><value type="check"/></field></element>
  <element id="0B"><text>0</text><field><value type="check"/></field></element>
  <element id="0c">
    <field><value type="check"><on>1</on><off>0</off><default>5</default></value></field>
    <field><value type="check"><on>3</on><off>2</off><default>3</default></value></field>
    <field><value type="select">
      <item value="4">15410</item><item value="5">0</item><item>15411</item><item value="6">15412</item>
      <default>9</default></value></field>
    <field><value type="select"><item value="4">0</item></value></field>
    <field><value type="select"><item value="4">15410</item><item value="6">15412</item>
      <default>6</default></value></field>
    <field><value type="radio"/></field>
    <field><text>15413</text></field>
  </element>
  <element id="0D">
    <field><value type="grid">
      <line><text>15420</text><unit>mbar</unit><min>0</min><max>5</max><precision>2</precision>
        <data>0,,5</data><mask>1,,2</mask></line>
      <line><data>1,2,3,4</data><mask>0</mask></line>
      <line><data>,,</data></line>
      <line><text>15421</text></line>
    </value></field>
    <field><value type="grid"><line><data></data></line></value></field>
    <field><value type="edit"><expr>[P|B|C|U][0-3]\d{3}</expr><default>P0000</default><min>3</min></value></field>
  </element>
  <element id="0a"><field><value type="edit"><expr>x</expr></value></field></element>
  <element id="0E"><text>15430</text></element>
  <something id="0F"><field><value type="check"/></field></something>
</form>
)";

class FormModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_parsed = XmlElement::ParseString(kForm);
        m_model.Read(m_parsed, [this] { return m_nextId++; });
    }

    FormField& Field(int32_t id, size_t index) {
        FormElement* element = m_model.FindElement(id);
        EXPECT_NE(nullptr, element) << id;
        return *element->fields.at(index);
    }

    XmlElement m_parsed;
    FormModel m_model;
    uint32_t m_nextId = 1323;
};

}  // namespace

TEST_F(FormModelTest, KeepsTheElementsThatMeetTheRules) {
    // 0A, the separator 00, 0C, 0D, the second 0A and 0E, in document order.
    const int32_t listed[] = {0x0A, 0x00, 0x0C, 0x0D, 0x0A, 0x0E};
    ASSERT_EQ(std::size(listed), m_model.Elements().size());
    for (size_t i = 0; i < std::size(listed); ++i) {
        EXPECT_EQ(listed[i], m_model.Elements()[i]->id) << i;
    }
    const FormElement& separator = *m_model.Elements()[1];
    EXPECT_EQ(1, separator.separator);
    EXPECT_EQ(1u, separator.fields.size());
    EXPECT_EQ(15400u, m_model.Elements()[0]->labelTextId);
    EXPECT_EQ(0u, m_model.Elements()[2]->labelTextId);
    EXPECT_TRUE(m_model.Elements()[5]->fields.empty());
}

TEST_F(FormModelTest, SortsTheElementsWithFieldsByIdAndFindsThem) {
    // The element without fields stays out; the second 0A goes before the first.
    const auto& sorted = m_model.SortedElements();
    ASSERT_EQ(5u, sorted.size());
    const int32_t ids[] = {0x00, 0x0A, 0x0A, 0x0C, 0x0D};
    for (size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(ids[i], sorted[i]->id) << i;
    }
    EXPECT_EQ(m_model.Elements()[4].get(), sorted[1]);
    EXPECT_EQ(0x0A, m_model.FindElement(0x0A)->id);
    EXPECT_EQ(nullptr, m_model.FindElement(0x0E));
    EXPECT_EQ(nullptr, m_model.FindElement(0x0B));
}

TEST_F(FormModelTest, DerivesNumberDefaultsFromTheLimits) {
    const double inf = std::numeric_limits<double>::infinity();

    struct EditCase {
        size_t field;
        double minimum;
        double maximum;
        double reference;
    };

    const EditCase cases[] = {
        {0, 0.0, 100.0, 50.0}, {1, -inf, 100.0, 99.0},
        {2, -5.5, inf, -4.5},  {3, 10.0, inf, 7.25},  // the default is neither clamped nor rounded
        {4, -inf, inf, 0.0},
    };
    for (const EditCase& c : cases) {
        // The first of the two 0A elements; a lookup by id may find either.
        FormField& field = *m_model.Elements()[0]->fields.at(c.field);
        ASSERT_EQ(FormFieldEdit, field.type);
        const FormEditValue& edit = *field.Edit();
        EXPECT_FALSE(edit.IsText());
        EXPECT_EQ(c.minimum, edit.minimum) << c.field;
        EXPECT_EQ(c.maximum, edit.maximum) << c.field;
        EXPECT_EQ(c.reference, edit.referenceNumber) << c.field;
        EXPECT_EQ(c.reference, edit.currentNumber) << c.field;
    }
    FormField& first = *m_model.Elements()[0]->fields[0];
    EXPECT_EQ(1, first.Edit()->precision);
    EXPECT_EQ(15401u, first.labelTextId);
    EXPECT_EQ("ms", first.unit);
}

TEST_F(FormModelTest, ReadsCheckAndSelectReferencesAmongTheirValues) {
    EXPECT_EQ(0, Field(0x0C, 0).Check()->reference);
    EXPECT_EQ(3, Field(0x0C, 1).Check()->reference);
    EXPECT_EQ(2, Field(0x0C, 1).Check()->off);
    // Items without a value or with text id 0 are dropped; an unknown default takes the first.
    const FormSelectValue& select = *Field(0x0C, 2).Select();
    EXPECT_EQ((std::vector<uint32_t>{4, 6}), select.itemValues);
    EXPECT_EQ((std::vector<uint32_t>{15410, 15412}), select.itemTextIds);
    EXPECT_EQ(4u, select.reference);
    // The select without kept items, the unknown type and the field without value are gone.
    ASSERT_EQ(4u, m_model.FindElement(0x0C)->fields.size());
    EXPECT_EQ(6u, Field(0x0C, 3).Select()->current);
    EXPECT_EQ(1, m_model.Elements()[1]->fields[0]->Check()->reference);
}

TEST_F(FormModelTest, ReadsGridLinesWithTheirDataAndReadOnlyColumns) {
    FormField& gridField = Field(0x0D, 0);
    ASSERT_EQ(FormFieldGrid, gridField.type);
    const auto& lines = gridField.Grid()->lines;
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(15420u, lines[0].labelTextId);
    EXPECT_EQ("mbar", lines[0].unit);
    EXPECT_EQ(2, lines[0].precision);
    EXPECT_EQ((std::vector<double>{0.0, 5.0}), lines[0].referenceValues);
    EXPECT_EQ(lines[0].referenceValues, lines[0].currentValues);
    // Mask pieces count by position, empty ones included; 2 counts as set.
    EXPECT_EQ(0x5u, lines[0].readOnlyMask);
    EXPECT_EQ(4u, lines[1].referenceValues.size());
    EXPECT_EQ(0u, lines[1].readOnlyMask);
    EXPECT_FALSE(lines[1].IsReadOnly(3));
    EXPECT_TRUE(lines[2].referenceValues.empty());
    // The grid without lines is gone; the text field keeps only its texts.
    ASSERT_EQ(2u, m_model.FindElement(0x0D)->fields.size());
    const FormEditValue& text = *Field(0x0D, 1).Edit();
    EXPECT_TRUE(text.IsText());
    EXPECT_EQ("[P|B|C|U][0-3]\\d{3}", text.expression);
    EXPECT_EQ("P0000", text.referenceText);
    EXPECT_EQ("P0000", text.currentText);
    EXPECT_EQ(0.0, text.minimum);
}

TEST_F(FormModelTest, GivesEachKeptFieldTheNextControlIdInDocumentOrder) {
    uint32_t expected = 1323;
    for (const auto& element : m_model.Elements()) {
        for (const auto& field : element->fields) {
            EXPECT_EQ(expected++, field->controlId);
        }
    }
    EXPECT_EQ(m_nextId, expected);
    // A second form read from the same counter numbers its fields after the first's.
    FormModel second;
    second.Read(m_parsed, [this] { return m_nextId++; });
    EXPECT_EQ(expected, second.Elements()[0]->fields[0]->controlId);
}

TEST(FormModel, TextWithoutAFormGivesNoElements) {
    for (const char* text : {"<?xml version=\"1.0\"?><other/>", "<form><element id=\"1\"/></form>", ""}) {
        FormModel model;
        model.Read(XmlElement::ParseString(text), [] { return 1u; });
        EXPECT_TRUE(model.Elements().empty()) << text;
    }
}

TEST(FormNumberText, ReadsTheSameInEveryBuildAndLocale) {
    EXPECT_EQ(0.5, ReadFormDouble("0.5"));
    EXPECT_EQ(-2.25, ReadFormDouble("  -2.25ms"));
    EXPECT_EQ(3.0, ReadFormDouble("+3"));
    EXPECT_EQ(0.0, ReadFormDouble("abc"));
    EXPECT_EQ(0.0, ReadFormDouble("1e-400"));
    EXPECT_TRUE(std::isinf(ReadFormDouble("1e400")));
    EXPECT_EQ(1, ReadFormDouble("1,5"));
    EXPECT_EQ(255, ReadFormSigned("FF", 16));
    EXPECT_EQ(-1, ReadFormSigned("-1", 16));
    EXPECT_EQ(2147483647, ReadFormSigned("7FFFFFFFFF", 16));
    EXPECT_EQ(-2147483647 - 1, ReadFormSigned("-99999999999", 10));
    EXPECT_EQ(4294967295u, ReadFormUnsigned("4294967296"));
    EXPECT_EQ(4294967295u, ReadFormUnsigned("-1"));
    EXPECT_EQ(15396u, ReadFormUnsigned(" 15396"));
    EXPECT_EQ(0u, ReadFormUnsigned("x"));
}

TEST(FormModel, MaskPiecesPastThe32ndColumnAreIgnored) {
    std::string data;
    std::string mask;
    for (int i = 0; i < 40; ++i) {
        data += i == 0 ? "1" : ",1";
        mask += i == 0 ? "1" : ",1";
    }
    const std::string text =
        "<?xml version=\"1.0\"?><form><element id=\"1\"><field><value type=\"grid\"><line><data>" + data +
        "</data><mask>" + mask + "</mask></line></value></field></element></form>";
    FormModel model;
    model.Read(XmlElement::ParseString(text.c_str()), [] { return 1u; });
    ASSERT_EQ(1u, model.SortedElements().size());
    const FormGridLine& line = model.SortedElements()[0]->fields[0]->Grid()->lines[0];
    EXPECT_EQ(40u, line.referenceValues.size());
    EXPECT_EQ(0xFFFFFFFFu, line.readOnlyMask);
    EXPECT_FALSE(line.IsReadOnly(35));
}
