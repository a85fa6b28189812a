#include "grid/RegisterGridWindowClass.h"

#include "classlib/core/CResourceException.h"
#include "classlib/win/AfxRegisterWndClass.h"

void RegisterGridWindowClass(LPCSTR name, UINT classStyle, int backgroundColour) {
    const HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSA existing = {};
    if (GetClassInfoA(instance, name, &existing)) {
        return;
    }
    WNDCLASSA windowClass = {};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
    windowClass.lpszClassName = name;
    if (!RegisterClassA(&windowClass)) {
        AfxThrowResourceException();
    }
}
