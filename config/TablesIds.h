// Resource ids of the sensor characteristic dialog and the adaptive and injection tables
// pages. Shared by res/tables.rc (windres) and C++, so it holds only #define lines.
#pragma once

// Dialog templates.
#define IDD_SENSOR_SETTING 115
#define IDD_INJ_TABLES     2026
#define IDD_ADAPT_TABLES   2030

// Sensor characteristic dialog.
#define IDC_SENSOR_GRID             3801
#define IDC_SENSOR_MEASURED_LABEL   3802
#define IDC_SENSOR_MEASURED_VALUE   3803
#define IDC_SENSOR_MEASURED_UNIT    3804
#define IDC_SENSOR_CALCULATED_LABEL 3805
#define IDC_SENSOR_CALCULATED_VALUE 3806
#define IDC_SENSOR_CALCULATED_UNIT  3807
#define IDC_SENSOR_REVERSE          3808
#define IDC_SENSOR_FOOTNOTE         3809

// Adaptive tables page.
#define IDC_ADAPT_GRID         3821
#define IDC_ADAPT_RPM_UNIT     3822
#define IDC_ADAPT_TIME_UNIT    3823
#define IDC_ADAPT_VIEW         3824
#define IDC_ADAPT_CLEAR        3825
#define IDC_ADAPT_CORR_LABEL   3826
#define IDC_ADAPT_CORR_VALUE   3827
#define IDC_ADAPT_LAMBDA       3828
#define IDC_ADAPT_LAMBDA_LABEL 3829
#define IDC_ADAPT_LAMBDA_VALUE 3830

// Injection tables page.
#define IDC_INJ_GRID  3841
#define IDC_INJ_TABLE 3842
#define IDC_INJ_READ  3843
#define IDC_INJ_WRITE 3844

// Texts.
#define IDS_SENSOR_TITLE            15900
#define IDS_SENSOR_MEASURED         15901
#define IDS_SENSOR_CALCULATED       15902
#define IDS_SENSOR_REVERSE          15903
#define IDS_SENSOR_FOOTNOTE         15904
#define IDS_SENSOR_BROKEN_WIRE      15905
#define IDS_SENSOR_SHORT_CIRCUIT    15906
#define IDS_SENSOR_VOLTAGE          15907
#define IDS_SENSOR_LEVEL            15908
#define IDS_SENSOR_PRESS            15909
#define IDS_SENSOR_TEMPERATURE      15910
#define IDS_ADAPT_LONG              15911
#define IDS_ADAPT_LONG_SUMMARIZED   15912
#define IDS_ADAPT_WARM_UP           15913
#define IDS_ADAPT_CLEAR             15914
#define IDS_ADAPT_GAS_CORRECTION    15915
#define IDS_ADAPT_CLEAR_QUESTION    15916
