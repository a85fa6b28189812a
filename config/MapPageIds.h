// String-table ids of the map page, its measurement grid and the measurement edit dialog.
// Shared by res/mappage.rc (windres) and C++, so it holds only #define lines.
#pragma once

// The grid's measurement menu.
#define IDS_MAP_ADD_MEASUREMENT     15365
#define IDS_MAP_EDIT_MEASUREMENT    15366
#define IDS_MAP_DELETE_MEASUREMENT  15367
#define IDS_MAP_DELETE_ALL          15368
#define IDS_MAP_TOTALIZE_MENU       15369
#define IDS_MAP_SHOW_MEASUREMENTS   15370
#define IDS_MAP_SHOW_SUMMARY        15371
// The measurement edit dialog.
#define IDS_MAP_EDIT_CAPTION        15372
#define IDS_MAP_REV                 15373
#define IDS_MAP_INJECTION           15374
#define IDS_MAP_MEASUREMENT         15375
// The page.
#define IDS_MAP_OFFSET              15376
#define IDS_MAP_POINT_CALIBRATION   15377
#define IDS_MAP_GAS_CORRECTION      15378
#define IDS_MAP_BY_INJECTION        15379
#define IDS_MAP_BY_TRIM             15380
#define IDS_MAP_AUTOMATIC           15381
#define IDS_MAP_DELETE_ALL_QUESTION 15382
#define IDS_MAP_SUMMARY             15383
