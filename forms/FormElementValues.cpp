#include "forms/FormElementValues.h"

namespace {

bool IsFieldUnchanged(const FormField& field) {
    switch (field.type) {
    case FormFieldEdit: {
        const FormEditValue& edit = std::get<FormEditValue>(field.value);
        return edit.IsText() ? edit.currentText == edit.referenceText
                             : edit.currentNumber == edit.referenceNumber;
    }
    case FormFieldCheck: {
        const FormCheckValue& check = std::get<FormCheckValue>(field.value);
        return check.current == check.reference;
    }
    case FormFieldSelect: {
        const FormSelectValue& select = std::get<FormSelectValue>(field.value);
        return select.current == select.reference;
    }
    case FormFieldGrid: {
        for (const FormGridLine& line : std::get<FormGridValue>(field.value).lines) {
            if (line.currentValues != line.referenceValues) {
                return false;
            }
        }
        return true;
    }
    }
    return false;
}

void ResetField(FormField& field) {
    if (FormEditValue* edit = field.Edit()) {
        edit->currentText = edit->referenceText;
        edit->currentNumber = edit->referenceNumber;
    } else if (FormCheckValue* check = field.Check()) {
        check->current = check->reference;
    } else if (FormSelectValue* select = field.Select()) {
        select->current = select->reference;
    } else if (FormGridValue* grid = field.Grid()) {
        for (FormGridLine& line : grid->lines) {
            line.currentValues = line.referenceValues;
        }
    }
}

}  // namespace

bool IsElementUnchanged(const FormElement& element) {
    for (const std::unique_ptr<FormField>& field : element.fields) {
        if (!IsFieldUnchanged(*field)) {
            return false;
        }
    }
    return true;
}

int ResetElement(FormElement& element) {
    for (const std::unique_ptr<FormField>& field : element.fields) {
        ResetField(*field);
    }
    return static_cast<int>(element.fields.size());
}

int MarkAfterChange(FormElement& element) {
    element.marked = IsElementUnchanged(element) ? 0 : 1;
    return element.marked;
}

int ToggleMark(FormElement& element) {
    element.marked = IsElementUnchanged(element) ? (element.marked != 0 ? 0 : 1) : 1;
    return element.marked;
}

void ToggleCheck(FormCheckValue& check) {
    check.current = check.current == check.on ? check.off : check.on;
}

bool ChooseSelectValue(FormSelectValue& select, uint32_t value) {
    if (value == select.current) {
        return false;
    }
    select.current = value;
    return true;
}
