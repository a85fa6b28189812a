// The program's name as the class library shows it: the executable's base name.
#pragma once

// "Zarvo" for ...\Zarvo.exe. Computed once; valid for the life of the process.
const char* AfxGetAppName();
