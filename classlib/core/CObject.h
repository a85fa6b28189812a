// Root of the classes that carry run-time class information. The macros give a
// class its CRuntimeClass (DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC) and, with
// DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE, creation by class.
#pragma once

#include "classlib/core/CRuntimeClass.h"
#include "classlib/core/WinTypes.h"

class CObject {
public:
    static CRuntimeClass classCObject;

    virtual ~CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)         \
public:                                     \
    static CRuntimeClass class##class_name; \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, create)                          \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                   create, RUNTIME_CLASS(base_class_name), nullptr};  \
    static const CRuntimeClassRegistrar g_register##class_name(&class_name::class##class_name);       \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                              \
        return RUNTIME_CLASS(class_name);                                                             \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

// The created object belongs to the caller of CRuntimeClass::CreateObject.
#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() {                \
        return new class_name;                           \
    }                                                    \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)
