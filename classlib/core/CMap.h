// Hash map of the class library, and its named forms (CMapStringToString,
// CMapStringToPtr, CMapStringToOb, CMapWordToPtr, CMapPtrToPtr).
// Iteration order is part of the contract, as files are written in it: the
// buckets in ascending order, and inside a bucket the newest key first. The
// bucket of a key is HashKey(key) modulo the table size (17 unless set).
#pragma once

#include "classlib/core/CString.h"
#include "classlib/core/CollectionFault.h"
#include "classlib/core/Position.h"
#include "classlib/core/WinTypes.h"

#include <cstdint>
#include <deque>
#include <type_traits>
#include <vector>

class CObject;

// Strings: h = h * 33 + byte, the bytes taken as signed chars, so that keys
// with accented letters land where the files written so far expect them.
inline UINT HashKey(LPCSTR key) {
    UINT hash = 0;
    for (; *key != '\0'; ++key) {
        hash = (hash << 5) + hash + static_cast<UINT>(static_cast<int>(static_cast<signed char>(*key)));
    }
    return hash;
}

// Integers and pointers: the low 32 bits shifted right by four.
template <class ARG_KEY>
UINT HashKey(ARG_KEY key) {
    if constexpr (std::is_pointer_v<ARG_KEY>) {
        return static_cast<UINT>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(key)) >> 4);
    } else {
        return static_cast<UINT>(static_cast<std::uint32_t>(key) >> 4);
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
public:
    // blockSize is accepted for compatibility; entries come from a pool of the map.
    explicit CMap(INT_PTR blockSize = 10) { (void)blockSize; }

    ~CMap() = default;
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;

    INT_PTR GetCount() const { return m_count; }

    INT_PTR GetSize() const { return m_count; }

    BOOL IsEmpty() const { return m_count == 0; }

    UINT GetHashTableSize() const { return m_hashTableSize; }

    // Sets the number of buckets; only allowed while the map is empty.
    void InitHashTable(UINT hashSize, BOOL allocNow = TRUE) {
        (void)allocNow;
        if (m_count != 0 || hashSize == 0) {
            CollectionFault("CMap", "InitHashTable on a filled map or with no buckets");
        }
        m_hashTableSize = hashSize;
        m_buckets.clear();
    }

    BOOL Lookup(ARG_KEY key, VALUE& value) const {
        const Assoc* assoc = Find(key);
        if (assoc == nullptr) {
            return FALSE;
        }
        value = assoc->value;
        return TRUE;
    }

    // The value of key, added with a default value when absent.
    VALUE& operator[](ARG_KEY key) {
        Assoc* assoc = Find(key);
        if (assoc == nullptr) {
            assoc = NewAssoc(key);
        }
        return assoc->value;
    }

    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

    BOOL RemoveKey(ARG_KEY key) {
        if (m_buckets.empty()) {
            return FALSE;
        }
        Assoc** link = &m_buckets[Bucket(key)];
        for (; *link != nullptr; link = &(*link)->next) {
            if ((*link)->key == key) {
                Assoc* assoc = *link;
                *link = assoc->next;
                FreeAssoc(assoc);
                return TRUE;
            }
        }
        return FALSE;
    }

    void RemoveAll() {
        m_buckets.clear();
        m_pool.clear();
        m_free = nullptr;
        m_count = 0;
    }

    // Null for an empty map; the walk goes on with GetNextAssoc until the position is null.
    POSITION GetStartPosition() const { return m_count == 0 ? nullptr : BEFORE_START_POSITION; }

    void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const {
        if (position == nullptr || m_buckets.empty()) {
            CollectionFault("CMap", "walk past the end");
        }
        const Assoc* assoc =
            position == BEFORE_START_POSITION ? FirstFrom(0) : reinterpret_cast<const Assoc*>(position);
        if (assoc == nullptr) {
            CollectionFault("CMap", "walk past the end");
        }
        const Assoc* next = assoc->next != nullptr ? assoc->next : FirstFrom(assoc->bucket + 1);
        position = reinterpret_cast<POSITION>(const_cast<Assoc*>(next));
        key = assoc->key;
        value = assoc->value;
    }

private:
    struct Assoc {
        Assoc* next = nullptr;
        UINT bucket = 0;
        KEY key{};
        VALUE value{};
    };

    UINT Bucket(ARG_KEY key) const { return HashKey(key) % m_hashTableSize; }

    Assoc* Find(ARG_KEY key) const {
        if (m_buckets.empty()) {
            return nullptr;
        }
        for (Assoc* assoc = m_buckets[Bucket(key)]; assoc != nullptr; assoc = assoc->next) {
            if (assoc->key == key) {
                return assoc;
            }
        }
        return nullptr;
    }

    const Assoc* FirstFrom(UINT bucket) const {
        for (; bucket < m_hashTableSize; ++bucket) {
            if (m_buckets[bucket] != nullptr) {
                return m_buckets[bucket];
            }
        }
        return nullptr;
    }

    Assoc* NewAssoc(ARG_KEY key) {
        if (m_buckets.empty()) {
            m_buckets.assign(m_hashTableSize, nullptr);
        }
        Assoc* assoc = m_free;
        if (assoc != nullptr) {
            m_free = assoc->next;
        } else {
            m_pool.emplace_back();
            assoc = &m_pool.back();
        }
        assoc->key = key;
        assoc->value = VALUE{};
        assoc->bucket = Bucket(key);
        // The newest key heads its bucket.
        assoc->next = m_buckets[assoc->bucket];
        m_buckets[assoc->bucket] = assoc;
        ++m_count;
        return assoc;
    }

    void FreeAssoc(Assoc* assoc) {
        assoc->key = KEY{};  // releases what key and value held
        assoc->value = VALUE{};
        assoc->next = m_free;
        m_free = assoc;
        --m_count;
    }

    UINT m_hashTableSize = 17;
    std::vector<Assoc*> m_buckets;
    std::deque<Assoc> m_pool;  // owns every entry; deque keeps their addresses
    Assoc* m_free = nullptr;
    INT_PTR m_count = 0;
};

typedef CMap<CString, LPCSTR, CString, LPCSTR> CMapStringToString;
typedef CMap<CString, LPCSTR, void*, void*> CMapStringToPtr;
typedef CMap<CString, LPCSTR, CObject*, CObject*> CMapStringToOb;
typedef CMap<WORD, WORD, void*, void*> CMapWordToPtr;
typedef CMap<void*, void*, void*, void*> CMapPtrToPtr;
