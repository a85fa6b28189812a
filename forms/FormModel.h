// The model of an XML form read from its FORM text: the elements in document order, and
// those with fields sorted by id. Whatever does not meet the FORM rules is left out
// quietly, element by element and field by field.
#pragma once

#include "forms/FormElement.h"
#include "forms/XmlElement.h"

#include <functional>
#include <memory>
#include <vector>

class FormModel {
public:
    // Gives each field kept the next id of the process-wide control-id counter.
    using IdSource = std::function<uint32_t()>;

    // Reads the first child named "form" of the parsed FORM text; none leaves no elements.
    void Read(const XmlElement& parsed, const IdSource& nextId);

    // Every element read, separators included, in document order.
    const std::vector<std::unique_ptr<FormElement>>& Elements() const { return m_elements; }

    // The elements with at least one field, ascending by id (equal ids in reverse order).
    const std::vector<FormElement*>& SortedElements() const { return m_sorted; }

    // An element of that id with fields, or null.
    FormElement* FindElement(int32_t id) const;

private:
    std::unique_ptr<FormElement> ReadElement(const XmlElement& element, const IdSource& nextId) const;
    std::unique_ptr<FormField> ReadField(const XmlElement& field, const IdSource& nextId) const;
    void AddSorted(FormElement* element);

    std::vector<std::unique_ptr<FormElement>> m_elements;
    std::vector<FormElement*> m_sorted;
};
