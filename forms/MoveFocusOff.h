// Before a page disables controls: a disabled control that keeps the focus leaves the
// keyboard with nowhere to go, so the focus moves on to the dialog's next control first.
#pragma once

#include "classlib/win/CWnd.h"

#include <initializer_list>

// Moves the focus to the next control of dialog when one of controls has it.
void MoveFocusOff(CWnd& dialog, std::initializer_list<const CWnd*> controls);
