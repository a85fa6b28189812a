// A pointer array (CPtrArray or CObArray) that hands out its elements as TYPE.
#pragma once

#include "classlib/core/CArray.h"

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR index) const { return static_cast<TYPE>(BASE_CLASS::GetAt(index)); }

    TYPE& ElementAt(INT_PTR index) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(index)); }

    void SetAt(INT_PTR index, TYPE element) { BASE_CLASS::SetAt(index, element); }

    void SetAtGrow(INT_PTR index, TYPE element) { BASE_CLASS::SetAtGrow(index, element); }

    INT_PTR Add(TYPE element) { return BASE_CLASS::Add(element); }

    void InsertAt(INT_PTR index, TYPE element, INT_PTR count = 1) {
        BASE_CLASS::InsertAt(index, element, count);
    }

    TYPE operator[](INT_PTR index) const { return GetAt(index); }

    TYPE& operator[](INT_PTR index) { return ElementAt(index); }
};
