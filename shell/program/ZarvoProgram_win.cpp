// The configurator program: its one application object, which the library's WinMain runs.
#include "shell/CZarvoApp.h"

namespace {

CZarvoApp g_zarvoApp;

}  // namespace
