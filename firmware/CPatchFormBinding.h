// What the patch editor page does between its form, its patch and the conversion table: an
// element's values become its patch record, and a loaded patch's records fill the form.
// Portable, so that the page's rules are tested without windows.
#pragma once

#include "classlib/core/CArray.h"
#include "forms/FormElement.h"

#include <cstdint>
#include <functional>
#include <vector>

class CFirmwarePatch;
class CXferTable;

class CPatchFormBinding {
public:
    // Neither is owned; both outlive the binding.
    CPatchFormBinding(CFirmwarePatch& patch, CXferTable& table) : m_patch(patch), m_table(table) {}

    // Converts the element's current values and stores them as its record with that flag.
    // False, with the record as it was, when the id cannot be a record id, the conversion
    // raises an evaluator error, or it gives more bytes than a record holds.
    bool StoreElement(const FormElement& element, int flag);

    // Fills the elements (ascending by id) from the patch's records: an element with a record
    // takes the record's flag as its mark and the record's values; one without is reset, unmarked
    // and then handed to `reportReset`. Records without an element are left alone. An element whose
    // record does not convert is reset, keeps its record and mark, and its id is returned.
    std::vector<int32_t> PatchToForm(const std::vector<FormElement*>& elements,
                                     const std::function<void(FormElement&)>& reportReset);

private:
    // False when the record's bytes raise an evaluator error; the element is then as it was.
    bool FillElement(FormElement& element, const CByteArray& bytes);

    CFirmwarePatch& m_patch;
    CXferTable& m_table;
};
