// A pointer list (CPtrList or CObList) that hands out its elements as TYPE.
#pragma once

#include "classlib/core/CList.h"

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR blockSize = 10) : BASE_CLASS(blockSize) {}

    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }

    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }

    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }

    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }

    POSITION AddHead(TYPE element) { return BASE_CLASS::AddHead(element); }

    POSITION AddTail(TYPE element) { return BASE_CLASS::AddTail(element); }

    void AddHead(const CTypedPtrList* other) { BASE_CLASS::AddHead(other); }

    void AddTail(const CTypedPtrList* other) { BASE_CLASS::AddTail(other); }

    TYPE GetNext(POSITION& position) const { return static_cast<TYPE>(BASE_CLASS::GetNext(position)); }

    TYPE GetPrev(POSITION& position) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(position)); }

    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }

    void SetAt(POSITION position, TYPE element) { BASE_CLASS::SetAt(position, element); }

    POSITION InsertBefore(POSITION position, TYPE element) {
        return BASE_CLASS::InsertBefore(position, element);
    }

    POSITION InsertAfter(POSITION position, TYPE element) {
        return BASE_CLASS::InsertAfter(position, element);
    }
};
