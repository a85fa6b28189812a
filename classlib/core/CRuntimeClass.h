// Run-time class information: the name of a class, its base, and (for classes
// declared dynamically creatable) a way to create an object of it by class.
#pragma once

#include "classlib/core/WinTypes.h"

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();  // null unless the class is dynamically creatable
    CRuntimeClass* m_pBaseClass;      // null for CObject
    CRuntimeClass* m_pNextClass;      // list of all registered classes

    // Creates an object of the class; the caller owns it. Null when the class is
    // not dynamically creatable.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* baseClass) const;

    // The registered class of that name, or null.
    static CRuntimeClass* FromName(LPCSTR className);
};

// Links a class into the list FromName searches; one static instance per class.
struct CRuntimeClassRegistrar {
    explicit CRuntimeClassRegistrar(CRuntimeClass* runtimeClass);
};
