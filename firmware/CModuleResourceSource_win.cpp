// Reading a custom resource of the current resource module.
#include "firmware/CModuleResourceSource.h"

#include "classlib/win/AfxRegisterWndClass.h"

#include <windows.h>

bool CModuleResourceSource::GetResource(const char* type, UINT id, std::string& bytes) const {
    const HMODULE module = AfxGetResourceHandle();
    const HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (resource == nullptr) {
        return false;
    }
    // Resources stay mapped as long as the module: nothing to free.
    const HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return false;
    }
    const char* const first = static_cast<const char*>(data);
    bytes.assign(first, first + SizeofResource(module, resource));
    return true;
}
