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

// Patch editor page: its fixed controls above the form's rows. The form numbers its own
// controls from 1323 up, so these stay below.
#define IDD_PATCH_EDITOR 2023
#define IDC_PATCH_LOAD 1230
#define IDC_PATCH_SAVE 1231
#define IDC_PATCH_VERSION_LABEL 1232
#define IDC_PATCH_MAJOR 1233
#define IDC_PATCH_MINOR 1234
#define IDC_PATCH_BUILD 1235
#define IDC_PATCH_BRANCH 1236
#define IDC_PATCH_DATE_LABEL 1237
#define IDC_PATCH_YEAR 1238
#define IDC_PATCH_MONTH 1239
#define IDC_PATCH_DAY 1240
#define IDC_PATCH_NEW_KEY 1241
#define IDC_PATCH_KEYS 1242
#define IDC_PATCH_DELETE_KEY 1243
#define IDC_PATCH_KEY_LIST 1244
#define IDC_PATCH_DESCRIPTION_LABEL 1245
#define IDC_PATCH_DESCRIPTION 1246

// Strings of the patch editor page.
#define IDS_PATCH_EDITOR_TAB 15354
#define IDS_PATCH_VERSION_LABEL 15355
#define IDS_PATCH_DATE_LABEL 15356
#define IDS_PATCH_DELETE_KEY 15357
#define IDS_PATCH_NO_KEYS 15358
#define IDS_PATCH_INVALID_VERSION 15360
#define IDS_PATCH_KEY_EXISTS 15361
#define IDS_PATCH_DELETE_QUESTION 15362
