#include "forms/CXmlForm.h"

#include "forms/XmlElement.h"
#include "link/CalibrationHelpers.h"

CXmlForm::CXmlForm(UINT formResourceId, UINT templateId, CWnd* parent) : CScrollPage(templateId, parent) {
    ReadFormResource(formResourceId);
}

void CXmlForm::ReadFormResource(UINT formResourceId) {
    const HMODULE module = ::GetModuleHandleA(nullptr);
    const HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(formResourceId), "Form");
    if (resource == nullptr) {
        return;
    }
    const HGLOBAL loaded = ::LoadResource(module, resource);
    const DWORD size = ::SizeofResource(module, resource);
    const char* bytes = loaded != nullptr ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (bytes == nullptr || size == 0) {
        return;
    }
    // The resource's bytes have no terminator; the parser stops at their end.
    const XmlElement parsed = XmlElement::ParseString(bytes, size, nullptr, nullptr);
    m_model.Read(parsed, [] { return static_cast<uint32_t>(NextUniqueId()); });
}
