// Lets the compiler check printf-style arguments of our own formatting functions.
// A CString cannot travel through "..."; pass .GetString() or (LPCSTR) instead,
// and this check reports the mistake at compile time.
#pragma once

#if defined(__MINGW32__) && !defined(__clang__)
#define CLASSLIB_PRINTF(formatIndex, firstArg) __attribute__((format(gnu_printf, formatIndex, firstArg)))
#elif defined(__GNUC__) || defined(__clang__)
#define CLASSLIB_PRINTF(formatIndex, firstArg) __attribute__((format(printf, formatIndex, firstArg)))
#else
#define CLASSLIB_PRINTF(formatIndex, firstArg)
#endif
