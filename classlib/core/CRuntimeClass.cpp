#include "classlib/core/CRuntimeClass.h"

#include <cstring>

namespace {

// Only written during static initialisation, before any thread starts.
CRuntimeClass*& FirstClass() {
    static CRuntimeClass* first = nullptr;
    return first;
}

}  // namespace

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject == nullptr ? nullptr : m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* baseClass) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
        if (c == baseClass) {
            return TRUE;
        }
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR className) {
    if (className == nullptr) {
        return nullptr;
    }
    for (CRuntimeClass* c = FirstClass(); c != nullptr; c = c->m_pNextClass) {
        if (std::strcmp(c->m_lpszClassName, className) == 0) {
            return c;
        }
    }
    return nullptr;
}

CRuntimeClassRegistrar::CRuntimeClassRegistrar(CRuntimeClass* runtimeClass) {
    runtimeClass->m_pNextClass = FirstClass();
    FirstClass() = runtimeClass;
}
