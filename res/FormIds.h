// Ids of the configurator's FORM resources, resource type "Form". Shared by the .rc files
// (windres) and C++, so it holds only #define lines.
#pragma once

// The patch parameters of the patch editor page.
#define IDR_FORM_PATCH 2022

// The label texts of the FORM resources lie in this range of the string table.
#define IDS_FORM_FIRST 15396
#define IDS_FORM_LAST  15516
