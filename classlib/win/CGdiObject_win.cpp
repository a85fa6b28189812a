// GDI object ownership shared by pens, brushes, fonts, bitmaps, regions and palettes.
#include "classlib/win/CGdiObject.h"

#include "classlib/win/AttachHandle.h"

#include <cstdio>
#include <utility>

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    return AttachHandle(m_hObject, object);
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
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
