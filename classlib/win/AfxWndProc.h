// The library's window procedure and the boundary it keeps: no exception thrown by a
// handler leaves it. A caught exception is logged and reported through a replaceable
// handler, and the sender gets 0.
#pragma once

#include <windows.h>

#include <functional>

// Every window the library creates or subclasses runs this procedure.
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The message the calling thread's innermost AfxWndProc is handling (zeroes outside).
const MSG& AfxGetCurrentMessage();

// Gets the text of an exception caught at the window procedure. The default writes it
// to stderr and shows it in a message box.
using AfxErrorHandler = std::function<void(const char* text)>;

// Replaces the handler (an empty one restores the default) and returns the old one.
AfxErrorHandler AfxSetErrorHandler(AfxErrorHandler handler);

// Hands text to the current handler.
void AfxReportError(const char* text);
