// Memory for the nodes of one parsed expression. Parsing makes hundreds of small nodes
// and deleting the tree frees them all at once, so taking them from a few large chunks
// instead of one heap block each makes parsing several times faster.
//
// Node's operator new takes its memory from the arena a NodeArenaScope made current on
// this thread, or from the heap when there is none; each block records where it came
// from, so deleting a node works either way. Deleting a node from an arena does not
// free its memory; Release does, after every node in the arena has been deleted.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace ExprEval {

class NodeArena {
public:
    NodeArena();
    ~NodeArena();
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    // Frees every chunk. No node allocated from the arena may remain.
    void Release();

    // Room for about this many bytes of nodes in one chunk, taken before parsing a
    // text whose length predicts the size of its tree: one allocation instead of a
    // chunk after chunk.
    void Reserve(std::size_t size) {
        if (size > m_left) {
            AddChunk(size);
        }
    }

    // The arena of the innermost NodeArenaScope on this thread, or null.
    static NodeArena* Current() { return s_current; }

    static void SetCurrent(NodeArena* arena) { s_current = arena; }

    // The memory behind Node's operator new and delete. Defined here: parsing allocates
    // several hundred nodes, and the call would cost as much as the allocation.
    static void* AllocateNode(std::size_t size) {
        if (size > kLargestNodeSize) {
            throw std::bad_alloc();
        }
        const std::size_t blockSize = kHeaderSize + RoundUp(size);
        NodeArena* arena = s_current;
        auto* block = static_cast<unsigned char*>(arena != nullptr ? arena->Allocate(blockSize)
                                                                   : ::operator new(blockSize));
        *block = arena != nullptr ? kFromArena : kFromHeap;
        return block + kHeaderSize;
    }

    static void FreeNode(void* node) {
        if (node == nullptr) {
            return;
        }
        unsigned char* block = static_cast<unsigned char*>(node) - kHeaderSize;
        if (*block == kFromHeap) {
            ::operator delete(block);
        }
    }

private:
    // Every block starts with this many bytes telling where it came from; a multiple of
    // the alignment that operator new guarantees, so the node behind it keeps it.
    static constexpr std::size_t kHeaderSize = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
    static constexpr std::size_t kLargestNodeSize = static_cast<std::size_t>(-1) - 2 * kHeaderSize;
    static constexpr unsigned char kFromHeap = 0;
    static constexpr unsigned char kFromArena = 1;

    struct ChunkDeleter {
        void operator()(std::byte* chunk) const;
    };

    static std::size_t RoundUp(std::size_t size) {
        return (size + kHeaderSize - 1) / kHeaderSize * kHeaderSize;
    }

    // size is a multiple of kHeaderSize, so every block stays aligned.
    void* Allocate(std::size_t size) {
        if (size > m_left) {
            AddChunk(size);
        }
        void* block = m_next;
        m_next += size;
        m_left -= size;
        return block;
    }

    void AddChunk(std::size_t minimumSize);

    // Initialised here, where every reader sees that the value is constant: declared
    // only, each read would first call a wrapper that runs any dynamic initialiser.
    static inline thread_local NodeArena* s_current = nullptr;

    std::vector<std::unique_ptr<std::byte, ChunkDeleter>> m_chunks;
    std::byte* m_next = nullptr;
    std::size_t m_left = 0;
};

}  // namespace ExprEval
