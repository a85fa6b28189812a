// Growable array of the class library, and its named forms (CByteArray,
// CWordArray, CUIntArray, CDWordArray, CPtrArray, CObArray, CStringArray).
// Elements are stored contiguously; GetData stays valid until the size changes.
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/CollectionFault.h"
#include "classlib/core/WinTypes.h"

#include <vector>

class CObject;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }

    INT_PTR GetCount() const { return GetSize(); }

    BOOL IsEmpty() const { return m_items.empty(); }

    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    // New elements are value-initialised (zero for numbers and pointers).
    // growBy is accepted for compatibility; the storage grows geometrically.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
        (void)growBy;
        if (newSize < 0) {
            CollectionFault("CArray", "negative size");
        }
        m_items.resize(static_cast<size_t>(newSize));
    }

    void FreeExtra() { m_items.shrink_to_fit(); }

    void RemoveAll() { m_items.clear(); }

    const TYPE& GetAt(INT_PTR index) const { return m_items[Checked(index)]; }

    TYPE& GetAt(INT_PTR index) { return m_items[Checked(index)]; }

    void SetAt(INT_PTR index, ARG_TYPE element) { m_items[Checked(index)] = element; }

    TYPE& ElementAt(INT_PTR index) { return m_items[Checked(index)]; }

    const TYPE& ElementAt(INT_PTR index) const { return m_items[Checked(index)]; }

    const TYPE& operator[](INT_PTR index) const { return GetAt(index); }

    TYPE& operator[](INT_PTR index) { return ElementAt(index); }

    const TYPE* GetData() const { return m_items.data(); }

    TYPE* GetData() { return m_items.data(); }

    // Sets the element, growing the array first when index is past the end.
    void SetAtGrow(INT_PTR index, ARG_TYPE element) {
        if (index < 0) {
            CollectionFault("CArray", "negative index");
        }
        if (index >= GetSize()) {
            TYPE copy = element;  // element may refer into this array
            SetSize(index + 1);
            m_items[static_cast<size_t>(index)] = copy;
            return;
        }
        m_items[static_cast<size_t>(index)] = element;
    }

    INT_PTR Add(ARG_TYPE element) {
        TYPE copy = element;  // element may refer into this array
        m_items.push_back(copy);
        return GetUpperBound();
    }

    // Returns the index of the first appended element.
    INT_PTR Append(const CArray& source) {
        const INT_PTR first = GetSize();
        const std::vector<TYPE> copy = source.m_items;  // source may be this array
        m_items.insert(m_items.end(), copy.begin(), copy.end());
        return first;
    }

    void Copy(const CArray& source) {
        if (&source != this) {
            m_items = source.m_items;
        }
    }

    // Inserts count copies at index; an index past the end grows the array first.
    void InsertAt(INT_PTR index, ARG_TYPE element, INT_PTR count = 1) {
        if (index < 0 || count < 0) {
            CollectionFault("CArray", "negative index or count");
        }
        TYPE copy = element;  // element may refer into this array
        if (index > GetSize()) {
            SetSize(index);
        }
        m_items.insert(m_items.begin() + index, static_cast<size_t>(count), copy);
    }

    void InsertAt(INT_PTR startIndex, const CArray* newArray) {
        if (startIndex < 0 || newArray == nullptr) {
            CollectionFault("CArray", "bad insertion");
        }
        const std::vector<TYPE> copy = newArray->m_items;  // newArray may be this array
        if (startIndex > GetSize()) {
            SetSize(startIndex);
        }
        m_items.insert(m_items.begin() + startIndex, copy.begin(), copy.end());
    }

    void RemoveAt(INT_PTR index, INT_PTR count = 1) {
        if (index < 0 || count < 0 || index + count > GetSize()) {
            CollectionFault("CArray", "removal outside the array");
        }
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }

private:
    size_t Checked(INT_PTR index) const {
        if (index < 0 || index >= GetSize()) {
            CollectionFault("CArray", "index outside the array");
        }
        return static_cast<size_t>(index);
    }

    std::vector<TYPE> m_items;
};

typedef CArray<BYTE, BYTE> CByteArray;
typedef CArray<WORD, WORD> CWordArray;
typedef CArray<UINT, UINT> CUIntArray;
typedef CArray<DWORD, DWORD> CDWordArray;
typedef CArray<void*, void*> CPtrArray;
typedef CArray<CObject*, CObject*> CObArray;
typedef CArray<CString, LPCSTR> CStringArray;
