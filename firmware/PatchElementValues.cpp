#include "firmware/PatchElementValues.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

// Reads the values in order; past the end every value is 0.
class ValueReader {
public:
    explicit ValueReader(const CArray<double, double>& values) : m_values(values) {}

    bool AtEnd() const { return m_next >= m_values.GetSize(); }

    double Next() { return AtEnd() ? 0.0 : m_values[m_next++]; }

private:
    const CArray<double, double>& m_values;
    INT_PTR m_next = 0;
};

// The integer of a value, truncated toward 0 and held within [low, high]; NaN gives 0.
template <typename Integer>
Integer Saturated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double low = static_cast<double>(std::numeric_limits<Integer>::min());
    const double high = static_cast<double>(std::numeric_limits<Integer>::max());
    return static_cast<Integer>(std::trunc(std::fmin(std::fmax(value, low), high)));
}

void CollectField(const FormField& field, CArray<double, double>& values) {
    switch (field.type) {
    case FormFieldEdit: {
        const FormEditValue& edit = std::get<FormEditValue>(field.value);
        if (!edit.IsText()) {
            values.Add(edit.currentNumber);
            return;
        }
        for (const char c : edit.currentText) {
            values.Add(static_cast<double>(static_cast<unsigned char>(c)));
        }
        values.Add(0.0);
        return;
    }
    case FormFieldCheck:
        values.Add(static_cast<double>(std::get<FormCheckValue>(field.value).current));
        return;
    case FormFieldSelect:
        values.Add(static_cast<double>(std::get<FormSelectValue>(field.value).current));
        return;
    case FormFieldGrid:
        for (const FormGridLine& line : std::get<FormGridValue>(field.value).lines) {
            for (const double cell : line.currentValues) {
                values.Add(cell);
            }
        }
        return;
    }
}

std::string ReadText(ValueReader& reader) {
    std::string text;
    while (!reader.AtEnd()) {
        const unsigned char code = Saturated<unsigned char>(reader.Next());
        if (code == 0) {
            break;
        }
        text.push_back(static_cast<char>(code));
    }
    return text;
}

void FillField(FormField& field, ValueReader& reader) {
    if (FormEditValue* edit = field.Edit()) {
        if (edit->IsText()) {
            edit->currentText = ReadText(reader);
        } else {
            edit->currentNumber = reader.Next();
        }
    } else if (FormCheckValue* check = field.Check()) {
        check->current = Saturated<int>(reader.Next());
    } else if (FormSelectValue* select = field.Select()) {
        select->current = Saturated<uint32_t>(reader.Next());
    } else if (FormGridValue* grid = field.Grid()) {
        for (FormGridLine& line : grid->lines) {
            for (double& cell : line.currentValues) {
                cell = reader.Next();
            }
        }
    }
}

}  // namespace

void CollectElementValues(const FormElement& element, CArray<double, double>& values) {
    values.RemoveAll();
    for (const std::unique_ptr<FormField>& field : element.fields) {
        CollectField(*field, values);
    }
}

void FillElementValues(FormElement& element, const CArray<double, double>& values) {
    ValueReader reader(values);
    for (const std::unique_ptr<FormField>& field : element.fields) {
        FillField(*field, reader);
    }
}
