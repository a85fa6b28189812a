#include "calib/CalibText.h"

#include "classlib/win/AfxRegisterWndClass.h"
#include "link/ITextResources.h"

#include <windows.h>

CString LoadCalibText(ITextResources* resources, UINT id) {
    if (resources != nullptr) {
        return LoadText(resources, id);
    }
    char buffer[1024] = {};
    LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof(buffer));
    return CString(buffer);
}
