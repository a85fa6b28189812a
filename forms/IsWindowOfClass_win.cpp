#include "forms/IsWindowOfClass.h"

bool IsWindowOfClass(HWND window, const char* className) {
    char name[64] = {};
    if (window == nullptr || ::GetClassNameA(window, name, sizeof(name)) == 0) {
        return false;
    }
    return ::lstrcmpiA(name, className) == 0;
}
