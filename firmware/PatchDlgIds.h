// Resource ids of the firmware patch progress dialog and the patch editor page, shared by
// their code and res/patch.rc.
#pragma once

// Patch progress dialog.
#define IDD_FIRMWARE_PATCH 2025
#define IDC_PATCH_PHASE 1220
#define IDC_PATCH_PROGRESS 1221
#define IDC_PATCH_STATUS 1222
#define IDC_PATCH_CLOSE 1223

// Strings of the patch progress dialog.
#define IDS_PATCH_CAPTION 15388
