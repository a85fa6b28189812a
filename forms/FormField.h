// One field of an element of an XML form: its control id, kind, label, unit and value.
#pragma once

#include "forms/FormCheckValue.h"
#include "forms/FormEditValue.h"
#include "forms/FormFieldType.h"
#include "forms/FormGridValue.h"
#include "forms/FormSelectValue.h"

#include <cstdint>
#include <string>
#include <variant>

struct FormField {
    FormEditValue* Edit() { return std::get_if<FormEditValue>(&value); }

    FormCheckValue* Check() { return std::get_if<FormCheckValue>(&value); }

    FormSelectValue* Select() { return std::get_if<FormSelectValue>(&value); }

    FormGridValue* Grid() { return std::get_if<FormGridValue>(&value); }

    uint32_t controlId = 0;
    FormFieldType type = FormFieldEdit;
    uint32_t labelTextId = 0;  // 0: none
    std::string unit;
    std::variant<FormEditValue, FormCheckValue, FormSelectValue, FormGridValue> value;
};
