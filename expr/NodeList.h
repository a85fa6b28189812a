// A growable array of a node's children whose memory comes from where nodes take
// theirs (see NodeArena): from the arena of the expression being parsed, or else from
// the heap. Leaner than a library vector: reserving is inline, down to the arena's bump
// of a pointer, and the array takes 16 bytes of its node instead of 24. Parsing makes
// one for every function call and statement list.
#pragma once

#include "expr/NodeArena.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

namespace ExprEval {

template <typename T>
class NodeList {
public:
    static_assert(std::is_nothrow_move_constructible_v<T>, "growing moves the items");

    NodeList() = default;

    ~NodeList() { Free(); }

    NodeList(const NodeList&) = delete;
    NodeList& operator=(const NodeList&) = delete;

    // Room for count items in one allocation, so that adding up to count grows nothing.
    void Reserve(std::size_t count) {
        if (count > m_capacity) {
            Reallocate(count);
        }
    }

    void Add(T item) {
        if (m_size == m_capacity) {
            Reallocate(m_capacity == 0 ? kFirstCapacity : 2 * static_cast<std::size_t>(m_capacity));
        }
        ::new (static_cast<void*>(m_items + m_size)) T(std::move(item));
        ++m_size;
    }

    std::size_t Size() const { return m_size; }

    T& operator[](std::size_t index) { return m_items[index]; }

    T* begin() { return m_items; }

    T* end() { return m_items + m_size; }

private:
    static constexpr std::size_t kFirstCapacity = 4;

    // The items move to a new block; on a failed allocation nothing changes.
    void Reallocate(std::size_t capacity) {
        if (capacity > std::numeric_limits<std::uint32_t>::max() ||
            capacity > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        T* items = static_cast<T*>(NodeArena::AllocateNode(capacity * sizeof(T)));
        for (std::uint32_t i = 0; i < m_size; ++i) {
            ::new (static_cast<void*>(items + i)) T(std::move(m_items[i]));
        }
        const std::uint32_t size = m_size;
        Free();
        m_items = items;
        m_size = size;
        m_capacity = static_cast<std::uint32_t>(capacity);
    }

    void Free() {
        for (std::uint32_t i = 0; i < m_size; ++i) {
            m_items[i].~T();
        }
        NodeArena::FreeNode(m_items);
        m_items = nullptr;
        m_size = 0;
        m_capacity = 0;
    }

    T* m_items = nullptr;
    std::uint32_t m_size = 0;
    std::uint32_t m_capacity = 0;
};

}  // namespace ExprEval
