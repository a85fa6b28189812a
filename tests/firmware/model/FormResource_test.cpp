// The shipped form of the patch editor page: what it holds, that its labels have texts, and
// that every element's editor values fit the conversion of the patch record of its id.
#include "FormResourceSupport.h"
#include "XferTestSupport.h"
#include "forms/FormModel.h"
#include "res/FormIds.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class FormResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_text = ShippedFormText();
        ASSERT_FALSE(m_text.empty());
        m_parsed = XmlElement::ParseString(m_text.c_str());
        m_model.Read(m_parsed, [this] { return m_nextId++; });
    }

    std::vector<const FormElement*> Parameters() const {
        std::vector<const FormElement*> parameters;
        for (const auto& element : m_model.Elements()) {
            if (element->separator == 0) {
                parameters.push_back(element.get());
            }
        }
        return parameters;
    }

    std::string m_text;
    XmlElement m_parsed;
    FormModel m_model;
    uint32_t m_nextId = 1323;
};

// Which of a field's possible values to take: the defaults, or the lowest or highest the
// field lets the user choose.
enum class Pick {
    kDefaults,
    kLowest,
    kHighest
};

double PickNumber(Pick pick, double reference, double lowest, double highest) {
    return pick == Pick::kDefaults ? reference : pick == Pick::kLowest ? lowest : highest;
}

void AppendEdit(const FormEditValue& edit, Pick pick, std::vector<double>& values) {
    if (!edit.IsText()) {
        values.push_back(PickNumber(pick, edit.referenceNumber, edit.minimum, edit.maximum));
        return;
    }
    for (const unsigned char c : edit.referenceText) {
        values.push_back(c);
    }
    values.push_back(0);
}

void AppendSelect(const FormSelectValue& select, Pick pick, std::vector<double>& values) {
    const auto [lowest, highest] = std::minmax_element(select.itemValues.begin(), select.itemValues.end());
    values.push_back(PickNumber(pick, select.reference, *lowest, *highest));
}

// The editor values of an element in field order, as the patch editor hands them to the
// conversion: a text edit its characters and 0, a grid every cell line by line.
std::vector<double> EditorValues(const FormElement& element, Pick pick) {
    std::vector<double> values;
    for (const auto& field : element.fields) {
        if (const FormEditValue* edit = field->Edit()) {
            AppendEdit(*edit, pick, values);
        } else if (const FormCheckValue* check = field->Check()) {
            values.push_back(PickNumber(pick, check->reference, check->off, check->on));
        } else if (const FormSelectValue* select = field->Select()) {
            AppendSelect(*select, pick, values);
        } else {
            for (const FormGridLine& line : field->Grid()->lines) {
                for (const double reference : line.referenceValues) {
                    values.push_back(PickNumber(pick, reference, line.minimum, line.maximum));
                }
            }
        }
    }
    return values;
}

std::vector<uint32_t> LabelIds(const FormElement& element) {
    std::vector<uint32_t> ids = {element.labelTextId};
    for (const auto& field : element.fields) {
        ids.push_back(field->labelTextId);
        if (const FormSelectValue* select = field->Select()) {
            ids.insert(ids.end(), select->itemTextIds.begin(), select->itemTextIds.end());
        }
        if (const FormGridValue* grid = field->Grid()) {
            for (const FormGridLine& line : grid->lines) {
                ids.push_back(line.labelTextId);
            }
        }
    }
    ids.erase(std::remove(ids.begin(), ids.end(), 0u), ids.end());
    return ids;
}

}  // namespace

TEST_F(FormResourceTest, HoldsTheParametersOfEveryPatchRecordBetweenSeparators) {
    ASSERT_EQ(85u, m_model.Elements().size());
    int separators = 0;
    for (const auto& element : m_model.Elements()) {
        if (element->separator != 0) {
            ++separators;
            EXPECT_EQ(0, element->id);
            EXPECT_TRUE(element->fields.empty());
        }
    }
    EXPECT_EQ(9, separators);
    EXPECT_EQ(0, m_model.Elements().front()->separator);
    EXPECT_EQ(0, m_model.Elements().back()->separator);

    std::set<int32_t> ids;
    for (const FormElement* element : Parameters()) {
        EXPECT_FALSE(element->fields.empty()) << element->id;
        ids.insert(element->id);
    }
    EXPECT_EQ(76u, ids.size());
    EXPECT_EQ(76u, m_model.SortedElements().size());

    // The ids are written as two hexadecimal digits.
    const XmlElement form = m_parsed.GetChild("form");
    for (int i = 0; i < form.ChildCount(); ++i) {
        const char* id = form.GetChildAt(i).GetAttribute("id", nullptr);
        ASSERT_NE(nullptr, id);
        EXPECT_EQ(2u, std::strlen(id)) << id;
        EXPECT_EQ(2u, std::strspn(id, "0123456789ABCDEF")) << id;
    }
}

TEST_F(FormResourceTest, HasTheFieldsOfEachKind) {
    int counts[5] = {};
    size_t gridLines = 0;
    for (const FormElement* element : Parameters()) {
        for (const auto& field : element->fields) {
            ++counts[field->type];
            if (const FormGridValue* grid = field->Grid()) {
                gridLines += grid->lines.size();
            }
        }
    }
    EXPECT_EQ(52, counts[FormFieldEdit]);
    EXPECT_EQ(7, counts[FormFieldCheck]);
    EXPECT_EQ(26, counts[FormFieldSelect]);
    EXPECT_EQ(6, counts[FormFieldGrid]);
    EXPECT_EQ(14u, gridLines);

    // The trouble codes: ten text fields, each a code of the given pattern starting as "P0000".
    const FormElement* codes = m_model.FindElement(0x4F);
    ASSERT_NE(nullptr, codes);
    ASSERT_EQ(10u, codes->fields.size());
    for (const auto& field : codes->fields) {
        const FormEditValue* edit = field->Edit();
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(R"([P|B|C|U][0-3]\d{3})", edit->expression);
        EXPECT_EQ("P0000", edit->referenceText);
    }
}

TEST_F(FormResourceTest, LabelsTakeTheFormsStringIdsAndHaveEnglishTexts) {
    const std::map<uint32_t, std::string> strings = ShippedFormStrings();
    std::set<uint32_t> elementLabels;
    for (const FormElement* element : Parameters()) {
        EXPECT_NE(0u, element->labelTextId) << element->id;
        EXPECT_TRUE(elementLabels.insert(element->labelTextId).second) << "label shared by " << element->id;
        for (const uint32_t id : LabelIds(*element)) {
            EXPECT_GE(id, static_cast<uint32_t>(IDS_FORM_FIRST)) << element->id;
            EXPECT_LE(id, static_cast<uint32_t>(IDS_FORM_LAST)) << element->id;
            const auto text = strings.find(id);
            ASSERT_NE(strings.end(), text) << id;
            EXPECT_FALSE(text->second.empty()) << id;
        }
        // Each field of an element with several gets a row with a label of its own.
        for (const auto& field : element->fields) {
            EXPECT_TRUE(element->fields.size() == 1 || field->labelTextId != 0) << element->id;
        }
    }
}

TEST_F(FormResourceTest, GivesAsManyValuesAsTheConversionOfItsRecord) {
    CXferTable& table = ShippedTable();
    // More bytes than any record has: a listed id reads its own count, an id the table does
    // not list would give one value per byte.
    const std::vector<BYTE> bytes(64, 0);
    for (const FormElement* element : Parameters()) {
        const size_t expected = ToValues(table, static_cast<DWORD>(element->id), bytes).size();
        EXPECT_EQ(expected, EditorValues(*element, Pick::kDefaults).size()) << std::hex << element->id;
    }
}

// A default or a limit that the record cannot hold would come back from a patch as another
// value, and the element would count as changed although nobody touched it.
TEST_F(FormResourceTest, DefaultsAndLimitsSurviveTheRecordsBytes) {
    CXferTable& table = ShippedTable();
    for (const Pick pick : {Pick::kDefaults, Pick::kLowest, Pick::kHighest}) {
        for (const FormElement* element : Parameters()) {
            const DWORD id = static_cast<DWORD>(element->id);
            const std::vector<double> values = EditorValues(*element, pick);
            const std::vector<double> back = ToValues(table, id, ToBytes(table, id, values));
            if (back.size() != values.size()) {
                ADD_FAILURE() << "element " << std::hex << id << " gives " << back.size() << " values back";
                continue;
            }
            for (size_t i = 0; i < values.size(); ++i) {
                EXPECT_DOUBLE_EQ(values[i], back[i]) << "element " << std::hex << id << std::dec << " value "
                                                     << i << " pick " << static_cast<int>(pick);
            }
        }
    }
}
