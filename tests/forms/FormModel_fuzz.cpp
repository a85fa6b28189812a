// Any FORM text read into the form model keeps the model's promises: the sorted elements
// ascend, every reference is one of its field's values, every kept grid has lines, and the
// control ids rise by one in document order.
#include "forms/FormModel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckField(FormField& field) {
    if (FormCheckValue* check = field.Check()) {
        Require(check->reference == check->on || check->reference == check->off);
        Require(check->current == check->reference);
    } else if (FormSelectValue* select = field.Select()) {
        const auto& values = select->itemValues;
        Require(!values.empty() && values.size() == select->itemTextIds.size());
        Require(std::find(values.begin(), values.end(), select->reference) != values.end());
    } else if (FormGridValue* grid = field.Grid()) {
        Require(!grid->lines.empty());
        for (const FormGridLine& line : grid->lines) {
            Require(line.referenceValues == line.currentValues);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    FormModel model;
    uint32_t nextId = 1323;
    model.Read(XmlElement::ParseString(text.c_str(), text.size(), nullptr, nullptr),
               [&nextId] { return nextId++; });
    uint32_t expectedId = 1323;
    for (const auto& element : model.Elements()) {
        Require(element->id >= 0 && (element->id != 0 || element->separator != 0));
        for (const auto& field : element->fields) {
            Require(field->controlId == expectedId++);
            CheckField(*field);
        }
    }
    Require(expectedId == nextId);
    const auto& sorted = model.SortedElements();
    for (size_t i = 1; i < sorted.size(); ++i) {
        Require(sorted[i - 1]->id <= sorted[i]->id);
    }
    return 0;
}
