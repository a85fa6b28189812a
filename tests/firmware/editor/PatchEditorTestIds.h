// Ids of the patch editor test's own resources.
#pragma once

#define IDR_PATCH_EDITOR_TEST_FORM 9300
