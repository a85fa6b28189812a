// Facts about this process and computer that the link puts into its lines and paths.
#pragma once

#include "classlib/core/WinTypes.h"

#include <string>

// This computer's name, at most 15 characters.
std::string ReadComputerName();

// The calling thread's id as the system numbers threads.
DWORD CurrentThreadId();

// The folder of the program's executable, without a trailing separator.
std::string ProgramFolder();

// Joins a folder and a file name with the platform's separator.
std::string ProgramFilePath(const char* fileName);

// The text of a string-table entry of the program's own module; empty when there is
// none (and always on systems without string tables).
std::string LoadProgramString(UINT id);
