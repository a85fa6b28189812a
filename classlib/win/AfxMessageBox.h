// The class library's message box: captioned with the program's name and owned by
// the calling thread's active window. Tests replace the box with a prompter so that
// a headless run never blocks on a modal window.
#pragma once

#include <windows.h>

#include <functional>

// Answers a message box in place of the user: gets the text, the MB_ type flags and
// the caption, returns the button id (IDOK, IDYES, ...).
using AfxPrompter = std::function<int(const char* text, UINT type, const char* caption)>;

// Shows text with the MB_ type flags and returns the button chosen, or 0 when no box
// could be shown.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// Routes every later message box of the process to prompter (an empty one restores
// the real box) and returns the prompter it replaces.
AfxPrompter AfxSetPrompter(AfxPrompter prompter);
