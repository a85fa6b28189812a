// The notice every in-place editor sends when its edit ends: GRIDN_ENDEDIT with the cell,
// the editor's final text and the key that ended the edit, to the editor's owner (the grid)
// or, when it has none, to its parent.
#pragma once

#include "classlib/core/CString.h"

class CWnd;

void SendEndEditNotice(CWnd& editor, int row, int col, const CString& text, UINT lastKey);
