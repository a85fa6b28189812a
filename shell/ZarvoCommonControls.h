// The common-control classes of the configurator, registered once at start-up before its
// first window: Windows registers none of them before a dialog that uses one is made.
// Templates: tab control, ComboBoxEx, progress bar, trackbar. Made at run time: tooltips
// (bar classes), and the list view that the enlarged file dialogs look for.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace ZarvoCommonControls {

constexpr DWORD kClasses =
    ICC_TAB_CLASSES | ICC_USEREX_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES;

}  // namespace ZarvoCommonControls
