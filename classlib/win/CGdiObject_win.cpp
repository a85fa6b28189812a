// GDI object ownership shared by pens, brushes, fonts, bitmaps, regions and palettes.
#include "classlib/win/CGdiObject.h"

#include <cstdio>

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (m_hObject != nullptr || object == nullptr) {
        return FALSE;
    }
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    const HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) {
        return FALSE;
    }
    if (!::DeleteObject(m_hObject)) {
        // Forgotten all the same: the handle may no longer name this object.
        std::fprintf(stderr, "DeleteObject: failed for %p\n", m_hObject);
        m_hObject = nullptr;
        return FALSE;
    }
    m_hObject = nullptr;
    return TRUE;
}

BOOL CGdiObject::CreateStockObject(int index) {
    return TakeCreated(::GetStockObject(index), "GetStockObject");
}

int CGdiObject::GetObject(int sizeBytes, LPVOID buffer) const {
    if (m_hObject == nullptr) {
        return 0;
    }
    return ::GetObjectA(m_hObject, sizeBytes, buffer);
}

UINT CGdiObject::GetObjectType() const {
    if (m_hObject == nullptr) {
        return 0;
    }
    return static_cast<UINT>(::GetObjectType(m_hObject));
}

BOOL CGdiObject::TakeCreated(HGDIOBJ object, const char* call) {
    if (object == nullptr) {
        std::fprintf(stderr, "%s: %lu\n", call, GetLastError());
        return FALSE;
    }
    if (m_hObject != nullptr) {
        // One owner holds one object: a second creation must not leak the first.
        ::DeleteObject(object);
        std::fprintf(stderr, "%s: the owner holds an object already\n", call);
        return FALSE;
    }
    m_hObject = object;
    return TRUE;
}
