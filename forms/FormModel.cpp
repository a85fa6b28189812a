#include "forms/FormModel.h"

#include "forms/FormNumberText.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr int kMaskBits = 32;

// The first text of the first child of that name; null when either is absent or the text
// is empty (an empty text counts as absent).
const char* ChildText(const XmlElement& parent, const char* name) {
    const XmlElement child = parent.GetChild(name);
    if (child.IsEmpty()) {
        return nullptr;
    }
    const char* text = child.GetText(0);
    return text != nullptr && *text != '\0' ? text : nullptr;
}

double ChildDouble(const XmlElement& parent, const char* name, double absent) {
    const char* text = ChildText(parent, name);
    return text != nullptr ? ReadFormDouble(text) : absent;
}

int32_t ChildSigned(const XmlElement& parent, const char* name, int32_t absent) {
    const char* text = ChildText(parent, name);
    return text != nullptr ? ReadFormSigned(text, 10) : absent;
}

uint32_t ChildUnsigned(const XmlElement& parent, const char* name) {
    const char* text = ChildText(parent, name);
    return text != nullptr ? ReadFormUnsigned(text) : 0;
}

std::string ChildString(const XmlElement& parent, const char* name) {
    const char* text = ChildText(parent, name);
    return text != nullptr ? text : "";
}

// The pieces of a comma-separated list, empty ones included.
std::vector<std::string> SplitAtCommas(const char* text) {
    std::vector<std::string> pieces;
    const std::string list = text;
    size_t start = 0;
    for (;;) {
        const size_t end = list.find(',', start);
        pieces.push_back(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            return pieces;
        }
        start = end + 1;
    }
}

FormEditValue ReadEdit(const XmlElement& value) {
    FormEditValue edit;
    edit.expression = ChildString(value, "expr");
    if (edit.IsText()) {
        edit.referenceText = ChildString(value, "default");
        edit.currentText = edit.referenceText;
        return edit;
    }
    const bool hasMinimum = ChildText(value, "min") != nullptr;
    const bool hasMaximum = ChildText(value, "max") != nullptr;
    edit.minimum = ChildDouble(value, "min", -std::numeric_limits<double>::infinity());
    edit.maximum = ChildDouble(value, "max", std::numeric_limits<double>::infinity());
    edit.precision = ChildSigned(value, "precision", 0);
    double derived = 0.0;
    if (hasMinimum && hasMaximum) {
        derived = (edit.minimum + edit.maximum) * 0.5;
    } else if (hasMinimum) {
        derived = edit.minimum + 1;
    } else if (hasMaximum) {
        derived = edit.maximum - 1;
    }
    edit.referenceNumber = ChildDouble(value, "default", derived);
    edit.currentNumber = edit.referenceNumber;
    return edit;
}

FormCheckValue ReadCheck(const XmlElement& value) {
    FormCheckValue check;
    check.on = ChildSigned(value, "on", 1);
    check.off = ChildSigned(value, "off", 0);
    const char* text = ChildText(value, "default");
    const int32_t wanted = text != nullptr ? ReadFormSigned(text, 10) : check.off;
    check.reference = wanted == check.on || wanted == check.off ? wanted : check.off;
    check.current = check.reference;
    return check;
}

// False when no item is kept.
bool ReadSelect(const XmlElement& value, FormSelectValue* select) {
    int index = 0;
    for (XmlElement item = value.GetChild("item", &index); !item.IsEmpty();
         item = value.GetChild("item", &index)) {
        const char* itemValue = item.GetAttribute("value");
        if (itemValue == nullptr) {
            continue;
        }
        const uint32_t textId = ReadFormUnsigned(item.GetText(0));
        if (textId == 0) {
            continue;
        }
        select->itemValues.push_back(ReadFormUnsigned(itemValue));
        select->itemTextIds.push_back(textId);
    }
    if (select->itemValues.empty()) {
        return false;
    }
    const char* text = ChildText(value, "default");
    const uint32_t wanted = text != nullptr ? ReadFormUnsigned(text) : 0;
    const auto& items = select->itemValues;
    const bool known = text != nullptr && std::find(items.begin(), items.end(), wanted) != items.end();
    select->reference = known ? wanted : items.front();
    select->current = select->reference;
    return true;
}

// False when the line has no data text.
bool ReadGridLine(const XmlElement& line, FormGridLine* gridLine) {
    const char* data = ChildText(line, "data");
    if (data == nullptr) {
        return false;
    }
    gridLine->labelTextId = ChildUnsigned(line, "text");
    gridLine->unit = ChildString(line, "unit");
    gridLine->minimum = ChildDouble(line, "min", -std::numeric_limits<double>::infinity());
    gridLine->maximum = ChildDouble(line, "max", std::numeric_limits<double>::infinity());
    gridLine->precision = ChildSigned(line, "precision", 0);
    for (const std::string& piece : SplitAtCommas(data)) {
        if (!piece.empty()) {
            gridLine->referenceValues.push_back(ReadFormDouble(piece.c_str()));
        }
    }
    gridLine->currentValues = gridLine->referenceValues;
    const char* mask = ChildText(line, "mask");
    if (mask != nullptr) {
        const std::vector<std::string> pieces = SplitAtCommas(mask);
        // A column past the mask's 32 bits cannot be marked; such pieces are ignored.
        const size_t count = std::min(pieces.size(), static_cast<size_t>(kMaskBits));
        for (size_t i = 0; i < count; ++i) {
            if (!pieces[i].empty() && ReadFormSigned(pieces[i].c_str(), 10) != 0) {
                gridLine->readOnlyMask |= 1u << i;
            }
        }
    }
    return true;
}

// False when the grid has no lines.
bool ReadGrid(const XmlElement& value, FormGridValue* grid) {
    int index = 0;
    for (XmlElement line = value.GetChild("line", &index); !line.IsEmpty();
         line = value.GetChild("line", &index)) {
        FormGridLine gridLine;
        if (ReadGridLine(line, &gridLine)) {
            grid->lines.push_back(std::move(gridLine));
        }
    }
    return !grid->lines.empty();
}

}  // namespace

void FormModel::Read(const XmlElement& parsed, const IdSource& nextId) {
    const XmlElement form = parsed.GetChild("form");
    if (form.IsEmpty()) {
        return;
    }
    int index = 0;
    for (XmlElement element = form.GetChild("element", &index); !element.IsEmpty();
         element = form.GetChild("element", &index)) {
        std::unique_ptr<FormElement> read = ReadElement(element, nextId);
        if (read == nullptr) {
            continue;
        }
        if (!read->fields.empty()) {
            AddSorted(read.get());
        }
        m_elements.push_back(std::move(read));
    }
}

std::unique_ptr<FormElement> FormModel::ReadElement(const XmlElement& element, const IdSource& nextId) const {
    const char* idText = element.GetAttribute("id");
    if (idText == nullptr || *idText == '\0') {
        return nullptr;
    }
    auto read = std::make_unique<FormElement>();
    read->id = ReadFormSigned(idText, 16);
    if (read->id < 0) {
        return nullptr;
    }
    const char* label = ChildText(element, "text");
    if (label != nullptr) {
        read->labelTextId = ReadFormUnsigned(label);
        if (read->labelTextId == 0) {
            return nullptr;
        }
    }
    const char* type = element.GetAttribute("type");
    read->separator = type != nullptr && std::strcmp(type, "separator") == 0 ? 1 : 0;
    if (read->id == 0 && read->separator == 0) {
        return nullptr;
    }
    int index = 0;
    for (XmlElement field = element.GetChild("field", &index); !field.IsEmpty();
         field = element.GetChild("field", &index)) {
        std::unique_ptr<FormField> readField = ReadField(field, nextId);
        if (readField != nullptr) {
            read->fields.push_back(std::move(readField));
        }
    }
    return read;
}

std::unique_ptr<FormField> FormModel::ReadField(const XmlElement& field, const IdSource& nextId) const {
    const XmlElement value = field.GetChild("value");
    const char* type = value.IsEmpty() ? nullptr : value.GetAttribute("type");
    if (type == nullptr) {
        return nullptr;
    }
    auto read = std::make_unique<FormField>();
    if (std::strcmp(type, "edit") == 0) {
        read->type = FormFieldEdit;
        read->value = ReadEdit(value);
    } else if (std::strcmp(type, "check") == 0) {
        read->type = FormFieldCheck;
        read->value = ReadCheck(value);
    } else if (std::strcmp(type, "select") == 0) {
        FormSelectValue select;
        if (!ReadSelect(value, &select)) {
            return nullptr;
        }
        read->type = FormFieldSelect;
        read->value = std::move(select);
    } else if (std::strcmp(type, "grid") == 0) {
        FormGridValue grid;
        if (!ReadGrid(value, &grid)) {
            return nullptr;
        }
        read->type = FormFieldGrid;
        read->value = std::move(grid);
    } else {
        return nullptr;
    }
    read->labelTextId = ChildUnsigned(field, "text");
    read->unit = ChildString(field, "unit");
    read->controlId = nextId();
    return read;
}

void FormModel::AddSorted(FormElement* element) {
    const auto at = std::lower_bound(m_sorted.begin(), m_sorted.end(), element->id,
                                     [](const FormElement* item, int32_t id) { return item->id < id; });
    m_sorted.insert(at, element);
}

FormElement* FormModel::FindElement(int32_t id) const {
    const auto at =
        std::lower_bound(m_sorted.begin(), m_sorted.end(), id,
                         [](const FormElement* item, int32_t wanted) { return item->id < wanted; });
    return at != m_sorted.end() && (*at)->id == id ? *at : nullptr;
}
