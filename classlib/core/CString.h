// 8-bit string of the class library (code page 1252 texts). Holds bytes and a
// length; comparisons are byte-wise on unsigned bytes. A CString cannot be passed
// through "...": use GetString() or (LPCSTR) in variadic calls.
#pragma once

#include "classlib/core/PrintfCheck.h"
#include "classlib/core/WinTypes.h"

#include <cstdarg>
#include <string>

// <windows.h> maps LoadString to LoadStringA. Undone here for files that include
// it first; LoadStringA below serves files that include it afterwards.
#ifdef LoadString
#undef LoadString
#endif

class CString {
public:
    // Looks up string-table text id; returns FALSE when there is none.
    typedef BOOL (*StringLoader)(UINT id, CString& text);

    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    CString(LPCSTR text);  // NOLINT: implicit, as texts are passed around as LPCSTR
    CString(LPCSTR text, int length);
    explicit CString(char c, int repeat = 1);
    ~CString() = default;

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCSTR text);
    CString& operator=(char c);

    CString& operator+=(const CString& other);
    CString& operator+=(LPCSTR text);
    CString& operator+=(char c);

    operator LPCSTR() const { return m_text.c_str(); }

    LPCSTR GetString() const { return m_text.c_str(); }

    int GetLength() const { return static_cast<int>(m_text.size()); }

    BOOL IsEmpty() const { return m_text.empty(); }

    void Empty() { m_text.clear(); }

    // Index checks abort: a bad index is a mistake in the calling code.
    char GetAt(int index) const;
    void SetAt(int index, char c);

    char operator[](int index) const { return GetAt(index); }

    // Out-of-range counts and indices are clamped to the string.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCSTR charSet) const;
    CString SpanExcluding(LPCSTR charSet) const;

    // Each returns the index found or -1.
    int Find(char c, int start = 0) const;
    int Find(LPCSTR text, int start = 0) const;
    int ReverseFind(char c) const;
    int FindOneOf(LPCSTR charSet) const;

    // Each returns the number of replacements or removals.
    int Replace(char oldChar, char newChar);
    int Replace(LPCSTR oldText, LPCSTR newText);
    int Remove(char c);
    // Each returns the new length.
    int Insert(int index, char c);
    int Insert(int index, LPCSTR text);
    int Delete(int index, int count = 1);

    // Without an argument: space, tab, line feed, vertical tab, form feed, carriage return.
    CString& TrimLeft();
    CString& TrimLeft(char c);
    CString& TrimLeft(LPCSTR charSet);
    CString& TrimRight();
    CString& TrimRight(char c);
    CString& TrimRight(LPCSTR charSet);
    CString& Trim();

    // Letters of code page 1252, accented ones included.
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // <0, 0, >0 as strcmp; CompareNoCase folds the 1252 letters to lower case first.
    int Compare(LPCSTR text) const;
    int CompareNoCase(LPCSTR text) const;

    // The buffer holds at least minLength characters and a terminating zero; after
    // writing to it, ReleaseBuffer sets the length (-1: up to the first zero).
    LPSTR GetBuffer(int minLength);
    LPSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    void Format(LPCSTR format, ...) CLASSLIB_PRINTF(2, 3);
    void FormatV(LPCSTR format, va_list args);
    void AppendFormat(LPCSTR format, ...) CLASSLIB_PRINTF(2, 3);

    // Loads string-table text id through the installed loader; FALSE (and the
    // string unchanged) when no loader is installed or the text does not exist.
    BOOL LoadString(UINT id);

    BOOL LoadStringA(UINT id) { return LoadString(id); }

    static void SetStringLoader(StringLoader loader);

private:
    std::string m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator<(LPCSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCSTR b);
bool operator>(LPCSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCSTR b);
bool operator<=(LPCSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCSTR b);
bool operator>=(LPCSTR a, const CString& b);
