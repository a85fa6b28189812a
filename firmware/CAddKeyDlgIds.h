// Resource ids of the "Add a key" dialog; the .rc files of both programs include its
// template (CAddKeyDlg.rc), so this header holds only #define lines.
#pragma once

#define IDD_ADD_KEY         2100
#define IDC_ADD_KEY_LABEL   2101
#define IDC_ADD_KEY_EDIT    2102
#define IDS_ADD_KEY_CAPTION 15530
#define IDS_ADD_KEY_LABEL   15531
#define IDS_ADD_KEY_INVALID 15532
