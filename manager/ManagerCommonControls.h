// The common-control classes of ZFx Manager, registered once at start-up before its first
// window (the splash): the file tree of the main template and the tooltip (bar classes).
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace ManagerCommonControls {

constexpr DWORD kClasses = ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES;

}  // namespace ManagerCommonControls
