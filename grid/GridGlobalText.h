// Text in a global memory block, the form in which the clipboard and drag and drop carry
// CF_TEXT.
#pragma once

#include "classlib/core/CString.h"

#include <windows.h>

// The block's text up to its first zero byte, never past the block's end: foreign data need
// not end in one. False when the block cannot be locked.
bool ReadGlobalText(HGLOBAL block, CString& text);

// A new movable block holding text and its closing zero byte, the caller's to hand on or
// free; null when memory runs out.
HGLOBAL MakeGlobalText(const CString& text);
