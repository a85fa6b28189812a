// Ids of the configurator's resources that code looks up by number. Shared by the .rc files
// (windres) and C++, so it holds only #define lines.
#pragma once

// Program icon, language list icon and the flag on the Language button; every language
// module carries the last two.
#define IDI_ZARVO         128
#define IDI_LANGUAGE      2000
#define IDI_LANGUAGE_FLAG 2001

#define IDR_ACCELERATORS 165

// OBD text tables of the custom resource type "Map".
#define IDR_MAP_TROUBLE_CODES  2002
#define IDR_MAP_OBD_STANDARDS  2003
#define IDR_MAP_OBD_PARAMETERS 2004

// The main window's two pictures, PNG in the custom resource type "Image".
#define IDR_IMAGE_EMBLEM 183
#define IDR_IMAGE_BANNER 185

// Conversions between patch record bytes and patch editor values, resource type "Xfer".
#define IDR_XFER 2025

// Accelerator commands.
#define ID_ACCEL_UNDO           32771
#define ID_ACCEL_REDO           32772
#define ID_ACCEL_GAS            32785
#define ID_ACCEL_PETROL         32786
#define ID_ACCEL_ADAPT_SETTINGS 32787
#define ID_ACCEL_F3             32789
#define ID_ACCEL_F4             32790

// The string table spans these ids; a language module translates the same range.
#define IDS_FIRST 15000
#define IDS_LAST  15524

// What a language module says about itself.
#define IDS_LANGUAGE_ID          15002
#define IDS_LANGUAGE_NAME        15003
#define IDS_LANGUAGE_SECOND_NAME 15243

// Calibration dialogs.
#define IDD_CALIBRATOR_PTS  170
#define IDD_CALIB_SETTINGS  177
#define IDD_CALIBRATOR_ADAP 2006
#define IDD_CALIBRATOR_CONT 2007
#define IDD_ADAPT_SETTINGS  2008

// Diagnosis pages that the main dialog does not open, and the OBD adaptation panel.
#define IDD_DATA_SAVER     2040
#define IDD_PHASE_TEST     2041
#define IDD_EVENT_ACTIONS  2042
#define IDD_OBD_ADAPTATION 2043

// Pages of the Diagnosis mode.
#define IDD_EVENT_LOG_PAGE 113
#define IDD_DTC_PAGE       2029
