// Resource ids of the OBD-II page: its template, its controls and its texts. Shared by
// res/obd.rc (windres) and C++, so it holds only #define lines.
#pragma once

#define IDD_OBD_PAGE 2044

// "status" group: MIL, trouble-code count, readiness monitors, VIN and OBD standard.
#define IDC_OBD_STATUS_GROUP     2801
#define IDC_OBD_MIL_LABEL        2802
#define IDC_OBD_MIL              2803
#define IDC_OBD_COUNT_LABEL      2804
#define IDC_OBD_COUNT            2805
#define IDC_OBD_SUPPORTED_LABEL  2806
#define IDC_OBD_COMPLETED_LABEL  2807
#define IDC_OBD_MONITOR_LABEL    2810  // 2810-2820, one per monitor
#define IDC_OBD_MONITOR_SUPPORT  2821  // 2821-2831
#define IDC_OBD_MONITOR_COMPLETE 2832  // 2832-2842
#define IDC_OBD_VIN_LABEL        2843
#define IDC_OBD_VIN              2844
#define IDC_OBD_TYPE_LABEL       2845
#define IDC_OBD_TYPE             2846

// "control" group.
#define IDC_OBD_CONTROL_GROUP 2847
#define IDC_OBD_UPDATE        2848
#define IDC_OBD_CLEAR         2849

// Code lists and freeze frame; the grids are made at run time.
#define IDC_OBD_STORED_GROUP        2850
#define IDC_OBD_STORED_GRID         2851
#define IDC_OBD_STORED_DESCRIPTION  2852
#define IDC_OBD_PENDING_GROUP       2853
#define IDC_OBD_PENDING_GRID        2854
#define IDC_OBD_PENDING_DESCRIPTION 2855
#define IDC_OBD_FREEZE_GROUP        2856
#define IDC_OBD_FREEZE_CODE         2857
#define IDC_OBD_FREEZE_GRID         2858

// Texts; "stored DTCs", "pending DTCs", "YES", "NO" and the invalid-code text are the
// trouble-code page's.
#define IDS_OBD_CONTROL       15172
#define IDS_OBD_UPDATE        15173
#define IDS_OBD_CLEAR         15174
#define IDS_OBD_STATUS        15175
#define IDS_OBD_VIN           15176
#define IDS_OBD_TYPE          15177
#define IDS_OBD_MIL           15178
#define IDS_OBD_COUNT         15179
#define IDS_OBD_SUPPORTED     15180
#define IDS_OBD_COMPLETED     15181
#define IDS_OBD_FREEZE_FRAME  15182
#define IDS_OBD_PID           15183
#define IDS_OBD_DESCRIPTION   15184
#define IDS_OBD_VALUE         15185
#define IDS_OBD_ON            15186
#define IDS_OBD_OFF           15187
#define IDS_OBD_MONITOR_FIRST 15141  // 15141-15151, the monitors in the order of the page
