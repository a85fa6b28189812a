// The change marks of an element and its values against the FORM's defaults.
#include "forms/FormElementValues.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<FormField> Field(FormFieldType type, decltype(FormField::value) value) {
    auto field = std::make_unique<FormField>();
    field->type = type;
    field->value = std::move(value);
    return field;
}

FormElement FourFields() {
    FormElement element;
    FormEditValue edit;
    edit.referenceNumber = edit.currentNumber = 5;
    element.fields.push_back(Field(FormFieldEdit, edit));
    FormEditValue text;
    text.expression = ".*";
    text.referenceText = text.currentText = "P0000";
    element.fields.push_back(Field(FormFieldEdit, text));
    FormCheckValue check;
    element.fields.push_back(Field(FormFieldCheck, check));
    FormSelectValue select;
    select.itemTextIds = {1, 2};
    select.itemValues = {4, 6};
    select.reference = select.current = 4;
    element.fields.push_back(Field(FormFieldSelect, select));
    FormGridValue grid;
    FormGridLine line;
    line.referenceValues = line.currentValues = {1, 2, 3};
    grid.lines = {line, line};
    element.fields.push_back(Field(FormFieldGrid, grid));
    return element;
}

}  // namespace

TEST(FormElementValues, EveryKindOfChangeShowsAndResets) {
    const std::vector<std::function<void(FormElement&)>> changes = {
        [](FormElement& e) { e.fields[0]->Edit()->currentNumber = 5.5; },
        [](FormElement& e) { e.fields[1]->Edit()->currentText = "P0001"; },
        [](FormElement& e) { ToggleCheck(*e.fields[2]->Check()); },
        [](FormElement& e) { ChooseSelectValue(*e.fields[3]->Select(), 6); },
        [](FormElement& e) { e.fields[4]->Grid()->lines[1].currentValues[2] = 0; },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        FormElement element = FourFields();
        EXPECT_TRUE(IsElementUnchanged(element));
        changes[i](element);
        EXPECT_FALSE(IsElementUnchanged(element)) << i;
        EXPECT_EQ(5, ResetElement(element));
        EXPECT_TRUE(IsElementUnchanged(element)) << i;
    }
}

TEST(FormElementValues, MarksFollowChangesAndClicks) {
    FormElement element = FourFields();
    FormCheckValue& check = *element.fields[2]->Check();
    // A click on an unchanged element's mark button marks it, a second unmarks it.
    EXPECT_EQ(1, ToggleMark(element));
    EXPECT_EQ(0, ToggleMark(element));
    ToggleCheck(check);
    EXPECT_EQ(1, check.current);
    EXPECT_EQ(1, MarkAfterChange(element));
    // A changed element stays marked, however often its button is clicked.
    EXPECT_EQ(1, ToggleMark(element));
    EXPECT_EQ(1, ToggleMark(element));
    // Toggled back to its default, the element is no longer marked.
    ToggleCheck(check);
    EXPECT_EQ(0, check.current);
    EXPECT_EQ(0, MarkAfterChange(element));
}

TEST(FormElementValues, ChecksToggleBetweenOnAndOff) {
    FormCheckValue check;
    check.on = 3;
    check.off = 2;
    check.current = 7;  // neither: the click turns it on
    ToggleCheck(check);
    EXPECT_EQ(3, check.current);
    ToggleCheck(check);
    EXPECT_EQ(2, check.current);
    FormSelectValue select;
    select.current = 4;
    EXPECT_FALSE(ChooseSelectValue(select, 4));
    EXPECT_TRUE(ChooseSelectValue(select, 6));
    EXPECT_EQ(6u, select.current);
}
