// Ids of the patch editor test's own resources.
#pragma once

#define IDR_PATCH_EDITOR_TEST_FORM 9300
#define IDR_PATCH_EDITOR_TEST_XFER 9301
