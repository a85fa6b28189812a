// Ids of ZFx Manager's resources, shared by manager.rc (windres) and C++: #define lines only.
#pragma once

#define IDI_MANAGER       128
#define IDD_MANAGER_ABOUT 100
#define IDD_MANAGER       102
#define IDD_CREATE_ZIPPED 140
#define IDR_TREE_MENU     141
#define IDR_MANAGER_ACCEL 142

// Cursors of a drag: copy allowed, copy refused, move refused.
#define IDC_DRAG_COPY    130
#define IDC_DRAG_COPY_NO 131
#define IDC_DRAG_MOVE_NO 133

#define IDS_SPLASH_START 115

// Main dialog.
#define IDC_FILE_TREE          1000
#define IDC_FILE_NAME_LABEL    1001
#define IDC_FILE_NAME          1002
#define IDC_FILE_TYPE_LABEL    1003
#define IDC_FILE_TYPE          1004
#define IDC_FIRMWARE_LABEL     1005
#define IDC_FIRMWARE_VERSION   1006
#define IDC_PROTOCOL_LABEL     1007
#define IDC_PROTOCOL_VERSION   1008
#define IDC_BOOTLOADER_LABEL   1009
#define IDC_BOOTLOADER_VERSION 1010
#define IDC_KEY_LIST           1011
#define IDC_KEY_SUMMARY        1012
#define IDC_DESCRIPTION        1013
#define IDC_SAVE               1014
#define IDC_OPEN               1015
#define IDC_ADD_KEY            1016
#define IDC_DELETE_KEY         1017

// About dialog.
#define IDC_ABOUT_VERSION 1030
#define IDC_ABOUT_LINK    1031

// Create-zipped dialog.
#define IDC_ZFU_PATH    1040
#define IDC_BROWSE      1041
#define IDC_ZFZ_NAME    1042
#define IDC_ZFU_VERSION 1043

// Commands of the tree's context menu and accelerator.
#define ID_TREE_NEW_FOLDER 32772
#define ID_TREE_NEW_ZIPPED 32773
#define ID_TREE_DELETE     32774
#define ID_TREE_RENAME     32775
#define ID_TREE_REFRESH    32776

// The system menu's about entry.
#define IDM_ABOUTBOX 0x0010
