// The folder and the version block of the running program's own file, which every
// program of the system reads at start-up.
#pragma once

// What reading the version block came to.
enum class ProgramVersionRead { Read, NoBlock, Unreadable };

// Makes the folder of the program's file the current directory; nothing happens when
// its path cannot be had.
void EnterProgramFolder();

// The four parts of the file version; they are left alone unless the answer is Read.
ProgramVersionRead ReadProgramVersion(int& major, int& minor, int& build, int& revision);
