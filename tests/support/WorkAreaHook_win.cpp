// Gives a program under test another work area, as if its screen were that size: a test
// sets a window hook with this library on the program's main thread before the program
// starts, so that the library is loaded there with the program's first window, and it takes
// the size from ZARVO_TEST_WORK_AREA ("width,height"), which the program inherits.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

void SetWorkAreaFromEnvironment() {
    char value[32] = {};
    if (GetEnvironmentVariableA("ZARVO_TEST_WORK_AREA", value, sizeof value) == 0) {
        return;
    }
    const char* comma = std::strchr(value, ',');
    if (comma == nullptr) {
        return;
    }
    RECT area = {0, 0, std::atoi(value), std::atoi(comma + 1)};
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetWorkAreaFromEnvironment();
    }
    return TRUE;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK WorkAreaHookProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
