// The width that text parted by line feeds needs: its widest line's.
#pragma once

#include "classlib/core/CString.h"

class CDC;

// The widest line's width in the font selected into dc.
int GridWidestLine(CDC& dc, const CString& text);
