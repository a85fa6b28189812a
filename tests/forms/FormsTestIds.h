// Ids of the dialog templates that the control tests build their windows from.
#pragma once

#define IDD_FORMS_TEST_HOST      9001
#define IDD_FORMS_TEST_PAGE      9002
#define IDC_FORMS_TEST_TABS      9100
#define IDC_FORMS_TEST_EDIT      9101
#define IDD_FORMS_TEST_BUTTONS   9003
#define IDC_FORMS_TEST_FOCUSLESS 9102
#define IDC_FORMS_TEST_PUSH      9103
#define IDC_FORMS_TEST_CHECK     9104
#define IDR_FORMS_TEST_FORM      9200
#define IDR_FORMS_TEST_EDIT_FORM 9210
#define IDD_FORMS_TEST_FORM_HOST 9004
#define IDD_FORMS_TEST_FORM_PAGE 9005
