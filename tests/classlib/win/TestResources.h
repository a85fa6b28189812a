// Ids of the test dialogs, shared by the resource script and the tests.
#pragma once

#define IDD_TEST_MAIN         100
#define IDD_TEST_PAGE_CONTROL 101
#define IDD_TEST_PAGE_PLAIN   102
#define IDD_TEST_CENTERED     103
#define IDR_TEST_ACCELERATORS 110
#define IDC_TEST_EDIT         1001
#define IDC_TEST_PAGE_HOST    1002
#define ID_TEST_ACCELERATOR   32780
#define IDS_TEST_TEXT         200
