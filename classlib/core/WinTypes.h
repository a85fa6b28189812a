// Win32-style type names for code that builds on Windows and natively on Linux.
// On Windows they are declared exactly as the system headers declare them, so a
// file may include both; elsewhere they get the same sizes.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
typedef unsigned long DWORD;
typedef long LONG;
typedef unsigned long ULONG;
#else
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
#endif

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int UINT;
typedef std::uint64_t ULONGLONG;
typedef std::int64_t LONGLONG;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LONG_PTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
