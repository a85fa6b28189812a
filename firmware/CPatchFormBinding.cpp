#include "firmware/CPatchFormBinding.h"

#include "expr/Exception.h"
#include "firmware/CFirmwarePatch.h"
#include "firmware/CXferTable.h"
#include "firmware/PatchElementValues.h"
#include "forms/FormElementValues.h"
#include "link/CLogger.h"

namespace {

bool IsRecordId(int32_t id) {
    return id >= 0 && id <= 0xFF;
}

// Runs one conversion of an element; an evaluator error is logged and gives false.
template <typename Conversion>
bool Converted(const char* direction, int32_t id, Conversion conversion) {
    try {
        conversion();
        return true;
    } catch (const ExprEval::Exception& error) {
        CLogger::Instance().Log(2000, "CPatchFormBinding: element %02X does not convert to %s (error %d).",
                                id, direction, error.GetType());
        return false;
    }
}

}  // namespace

bool CPatchFormBinding::StoreElement(const FormElement& element, int flag) {
    if (!IsRecordId(element.id)) {
        CLogger::Instance().Log(2000, "CPatchFormBinding: element %d cannot be a patch record.", element.id);
        return false;
    }
    CArray<double, double> values;
    CollectElementValues(element, values);
    CByteArray bytes;
    if (!Converted("bytes", element.id,
                   [&] { m_table.ValuesToBytes(static_cast<DWORD>(element.id), values, bytes); })) {
        return false;
    }
    if (!m_patch.SetRecord(static_cast<BYTE>(element.id), static_cast<BYTE>(flag), bytes)) {
        CLogger::Instance().Log(2000,
                                "CPatchFormBinding: element %02X gives %d bytes, more than a record holds.",
                                element.id, static_cast<int>(bytes.GetSize()));
        return false;
    }
    return true;
}

std::vector<int32_t> CPatchFormBinding::PatchToForm(const std::vector<FormElement*>& elements,
                                                    const std::function<void(FormElement&)>& reportReset) {
    std::vector<int32_t> failed;
    for (FormElement* element : elements) {
        BYTE flag = 0;
        CByteArray bytes;
        if (!IsRecordId(element->id) || !m_patch.GetRecord(static_cast<BYTE>(element->id), flag, bytes)) {
            ResetElement(*element);
            element->marked = 0;
            reportReset(*element);
            continue;
        }
        element->marked = flag;
        if (!FillElement(*element, bytes)) {
            ResetElement(*element);
            failed.push_back(element->id);
        }
    }
    return failed;
}

bool CPatchFormBinding::FillElement(FormElement& element, const CByteArray& bytes) {
    CArray<double, double> values;
    if (!Converted("values", element.id,
                   [&] { m_table.BytesToValues(static_cast<DWORD>(element.id), bytes, values); })) {
        return false;
    }
    FillElementValues(element, values);
    return true;
}
