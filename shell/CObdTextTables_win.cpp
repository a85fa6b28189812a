// Loading the OBD text tables from the "Map" resources of a language module.
#include "shell/CObdTextTables.h"

#include <windows.h>

namespace {

const char* const kMapResourceType = "Map";

// Fills target from one "Map" resource; a missing module or resource leaves it empty.
void LoadMapResource(HMODULE module, UINT id, const char* keyPattern, CMapStringToString& target) {
    const char* data = nullptr;
    size_t size = 0;
    // A null module would make the search fall back to the program file: keep the table empty.
    HRSRC resource =
        module != nullptr ? FindResourceA(module, MAKEINTRESOURCEA(id), kMapResourceType) : nullptr;
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    if (loaded != nullptr) {
        data = static_cast<const char*>(LockResource(loaded));
        size = data != nullptr ? SizeofResource(module, resource) : 0;
    }
    CObdTextTables::LoadMapText(data, size, keyPattern, target);
}

}  // namespace

void CObdTextTables::LoadFromModule(void* module) {
    HMODULE handle = static_cast<HMODULE>(module);
    LoadMapResource(handle, kDtcMapId, kDtcKeyPattern, m_dtcTexts);
    LoadMapResource(handle, kObdPidMapId, kObdKeyPattern, m_obdPidTexts);
    LoadMapResource(handle, kObdStandardMapId, kObdKeyPattern, m_obdStandardTexts);
}
