#include "calib/CalibText.h"

#include "classlib/win/AfxRegisterWndClass.h"
#include "shell/CResourceManager.h"

#include <windows.h>

CString LoadCalibText(CResourceManager* resources, UINT id) {
    CString text;
    if (resources != nullptr) {
        resources->GetString(id, text);
        return text;
    }
    char buffer[1024] = {};
    LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof(buffer));
    text = buffer;
    return text;
}
