#include "classlib/core/CString.h"

#include "classlib/core/CPrintfFormatter.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<CString::StringLoader> g_stringLoader{nullptr};

const char kWhitespace[] = " \t\n\v\f\r";

[[noreturn]] void IndexFault(int index, int length) {
    std::fprintf(stderr, "CString: index %d outside a string of length %d\n", index, length);
    std::abort();
}

// Case mapping of code page 1252: ASCII letters, the accented letters
// 0xC0-0xDE / 0xE0-0xFE (but for the multiplication and division signs) and
// the pairs S/Z/OE with caron or ligature and Y with diaeresis.
unsigned char ToLower1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<unsigned char>(c + 0x20);
    }
    switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<unsigned char>(c + 0x10);
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

unsigned char ToUpper1252(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return static_cast<unsigned char>(c - 0x20);
    }
    switch (c) {
    case 0x9A:
    case 0x9C:
    case 0x9E:
        return static_cast<unsigned char>(c - 0x10);
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

bool InSet(char c, LPCSTR charSet) {
    return c != '\0' && charSet != nullptr && std::strchr(charSet, c) != nullptr;
}

LPCSTR Safe(LPCSTR text) {
    return text == nullptr ? "" : text;
}

template <class First, class Second>
CString Joined(const First& first, const Second& second) {
    CString result(first);
    result += second;
    return result;
}

}  // namespace

CString::CString(LPCSTR text) : m_text(Safe(text)) {}

CString::CString(LPCSTR text, int length) {
    if (text != nullptr && length > 0) {
        m_text.assign(text, static_cast<size_t>(length));
    }
}

CString::CString(char c, int repeat) : m_text(static_cast<size_t>(std::max(repeat, 0)), c) {}

CString& CString::operator=(LPCSTR text) {
    m_text = Safe(text);
    return *this;
}

CString& CString::operator=(char c) {
    m_text.assign(1, c);
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(LPCSTR text) {
    m_text += Safe(text);
    return *this;
}

CString& CString::operator+=(char c) {
    m_text += c;
    return *this;
}

char CString::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) {
        IndexFault(index, GetLength());
    }
    return m_text[static_cast<size_t>(index)];
}

void CString::SetAt(int index, char c) {
    if (index < 0 || index >= GetLength()) {
        IndexFault(index, GetLength());
    }
    m_text[static_cast<size_t>(index)] = c;
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_text.data() + first, count);
}

CString CString::Right(int count) const {
    count = Clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(LPCSTR charSet) const {
    int length = 0;
    while (length < GetLength() && InSet(m_text[static_cast<size_t>(length)], charSet)) {
        ++length;
    }
    return Left(length);
}

CString CString::SpanExcluding(LPCSTR charSet) const {
    int length = 0;
    while (length < GetLength() && !InSet(m_text[static_cast<size_t>(length)], charSet)) {
        ++length;
    }
    return Left(length);
}

int CString::Find(char c, int start) const {
    if (start < 0 || start >= GetLength()) {
        return -1;
    }
    const size_t at = m_text.find(c, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCSTR text, int start) const {
    if (start < 0 || start > GetLength()) {
        return -1;
    }
    const size_t at = m_text.find(Safe(text), static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char c) const {
    const size_t at = m_text.rfind(c);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(LPCSTR charSet) const {
    const size_t at = m_text.find_first_of(Safe(charSet));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(char oldChar, char newChar) {
    int count = 0;
    for (char& c : m_text) {
        if (c == oldChar) {
            c = newChar;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText) {
    const std::string from = Safe(oldText);
    const std::string to = Safe(newText);
    if (from.empty()) {
        return 0;
    }
    int count = 0;
    for (size_t at = m_text.find(from); at != std::string::npos; at = m_text.find(from, at + to.size())) {
        m_text.replace(at, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Remove(char c) {
    const size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), c), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, char c) {
    m_text.insert(static_cast<size_t>(Clamp(index, 0, GetLength())), 1, c);
    return GetLength();
}

int CString::Insert(int index, LPCSTR text) {
    m_text.insert(static_cast<size_t>(Clamp(index, 0, GetLength())), Safe(text));
    return GetLength();
}

int CString::Delete(int index, int count) {
    index = Clamp(index, 0, GetLength());
    count = Clamp(count, 0, GetLength() - index);
    m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CString& CString::TrimLeft() {
    return TrimLeft(kWhitespace);
}

CString& CString::TrimLeft(char c) {
    const char set[2] = {c, '\0'};
    return TrimLeft(set);
}

CString& CString::TrimLeft(LPCSTR charSet) {
    size_t first = 0;
    while (first < m_text.size() && InSet(m_text[first], charSet)) {
        ++first;
    }
    m_text.erase(0, first);
    return *this;
}

CString& CString::TrimRight() {
    return TrimRight(kWhitespace);
}

CString& CString::TrimRight(char c) {
    const char set[2] = {c, '\0'};
    return TrimRight(set);
}

CString& CString::TrimRight(LPCSTR charSet) {
    size_t end = m_text.size();
    while (end > 0 && InSet(m_text[end - 1], charSet)) {
        --end;
    }
    m_text.erase(end);
    return *this;
}

CString& CString::Trim() {
    TrimRight();
    return TrimLeft();
}

CString& CString::MakeUpper() {
    for (char& c : m_text) {
        c = static_cast<char>(ToUpper1252(static_cast<unsigned char>(c)));
    }
    return *this;
}

CString& CString::MakeLower() {
    for (char& c : m_text) {
        c = static_cast<char>(ToLower1252(static_cast<unsigned char>(c)));
    }
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_text.begin(), m_text.end());
    return *this;
}

int CString::Compare(LPCSTR text) const {
    return std::strcmp(m_text.c_str(), Safe(text));
}

int CString::CompareNoCase(LPCSTR text) const {
    const auto* a = reinterpret_cast<const unsigned char*>(m_text.c_str());
    const auto* b = reinterpret_cast<const unsigned char*>(Safe(text));
    for (;; ++a, ++b) {
        const int difference = ToLower1252(*a) - ToLower1252(*b);
        if (difference != 0 || *a == '\0') {
            return difference;
        }
    }
}

LPSTR CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) {
        m_text.resize(static_cast<size_t>(minLength));
    }
    return &m_text[0];
}

LPSTR CString::GetBufferSetLength(int length) {
    m_text.resize(static_cast<size_t>(std::max(length, 0)));
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        newLength = static_cast<int>(strnlen(m_text.c_str(), m_text.size()));
    }
    m_text.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

void CString::Format(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args) {
    // Formats into a new string first: an argument may point into this one.
    std::string text;
    CPrintfFormatter::AppendV(text, format, args);
    m_text.swap(text);
}

void CString::AppendFormat(LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    std::string text;
    CPrintfFormatter::AppendV(text, format, args);
    va_end(args);
    m_text += text;
}

BOOL CString::LoadString(UINT id) {
    const StringLoader loader = g_stringLoader.load();
    if (loader == nullptr) {
        return FALSE;
    }
    CString text;
    if (!loader(id, text)) {
        return FALSE;
    }
    *this = text;
    return TRUE;
}

void CString::SetStringLoader(StringLoader loader) {
    g_stringLoader.store(loader);
}

CString operator+(const CString& a, const CString& b) {
    return Joined(a, b);
}

CString operator+(const CString& a, LPCSTR b) {
    return Joined(a, b);
}

CString operator+(LPCSTR a, const CString& b) {
    return Joined(a, b);
}

CString operator+(const CString& a, char b) {
    return Joined(a, b);
}

CString operator+(char a, const CString& b) {
    return Joined(a, b);
}

bool operator==(const CString& a, const CString& b) {
    return a.Compare(b) == 0;
}

bool operator==(const CString& a, LPCSTR b) {
    return a.Compare(b) == 0;
}

bool operator==(LPCSTR a, const CString& b) {
    return b.Compare(a) == 0;
}

bool operator!=(const CString& a, const CString& b) {
    return a.Compare(b) != 0;
}

bool operator!=(const CString& a, LPCSTR b) {
    return a.Compare(b) != 0;
}

bool operator!=(LPCSTR a, const CString& b) {
    return b.Compare(a) != 0;
}

bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}

bool operator<(const CString& a, LPCSTR b) {
    return a.Compare(b) < 0;
}

bool operator<(LPCSTR a, const CString& b) {
    return b.Compare(a) > 0;
}

bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}

bool operator>(const CString& a, LPCSTR b) {
    return a.Compare(b) > 0;
}

bool operator>(LPCSTR a, const CString& b) {
    return b.Compare(a) < 0;
}

bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}

bool operator<=(const CString& a, LPCSTR b) {
    return a.Compare(b) <= 0;
}

bool operator<=(LPCSTR a, const CString& b) {
    return b.Compare(a) >= 0;
}

bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}

bool operator>=(const CString& a, LPCSTR b) {
    return a.Compare(b) >= 0;
}

bool operator>=(LPCSTR a, const CString& b) {
    return b.Compare(a) <= 0;
}
