// Lets the arrays inside nodes take their memory where the nodes take theirs (see
// NodeArena): from the arena of the expression being parsed, or else from the heap.
#pragma once

#include "expr/NodeArena.h"

#include <cstddef>
#include <limits>
#include <new>

namespace ExprEval {

template <typename T>
class NodeAllocator {
public:
    using value_type = T;

    NodeAllocator() = default;

    template <typename U>
    NodeAllocator(const NodeAllocator<U>& /*other*/) noexcept {}

    T* allocate(std::size_t count) {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(NodeArena::AllocateNode(count * sizeof(T)));
    }

    void deallocate(T* block, std::size_t /*count*/) noexcept { NodeArena::FreeNode(block); }
};

// Every block records where it came from, so any allocator frees any other's blocks.
template <typename T, typename U>
bool operator==(const NodeAllocator<T>& /*left*/, const NodeAllocator<U>& /*right*/) {
    return true;
}

template <typename T, typename U>
bool operator!=(const NodeAllocator<T>& /*left*/, const NodeAllocator<U>& /*right*/) {
    return false;
}

}  // namespace ExprEval
