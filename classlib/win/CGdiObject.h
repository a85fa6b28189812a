// Owner of one GDI object (pen, brush, font, bitmap, region, palette): the object is
// deleted with its owner unless it was detached. Owners cannot be copied.
#pragma once

#include <windows.h>

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();

    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // FALSE when this owner holds an object already or object is null.
    BOOL Attach(HGDIOBJ object);
    // Lets go of the object without deleting it; the caller owns it then.
    HGDIOBJ Detach();
    // Deletes the held object. FALSE when there is none or GDI refused (still selected).
    BOOL DeleteObject();
    // Holds a stock object, which deleting leaves alone.
    BOOL CreateStockObject(int index);

    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // The object's description (LOGFONT, LOGPEN, BITMAP, ...); bytes written, 0 on failure.
    int GetObject(int sizeBytes, LPVOID buffer) const;
    // OBJ_PEN, OBJ_BRUSH, ...; 0 when empty.
    UINT GetObjectType() const;

    HGDIOBJ m_hObject = nullptr;

protected:
    // Takes a newly created object; logs and answers FALSE when creation failed.
    BOOL TakeCreated(HGDIOBJ object, const char* call);
};
