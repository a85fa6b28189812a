// ZFx Manager: its one application object, which the library's WinMain runs.
#include "manager/CManagerApp.h"

namespace {

CManagerApp g_managerApp;

}  // namespace
