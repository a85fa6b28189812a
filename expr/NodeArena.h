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

    // The arena of the innermost NodeArenaScope on this thread, or null.
    static NodeArena* Current();
    static void SetCurrent(NodeArena* arena);

    // The memory behind Node's operator new and delete.
    static void* AllocateNode(std::size_t size);
    static void FreeNode(void* node);

private:
    struct ChunkDeleter {
        void operator()(std::byte* chunk) const;
    };

    void* Allocate(std::size_t size);
    void AddChunk(std::size_t minimumSize);

    std::vector<std::unique_ptr<std::byte, ChunkDeleter>> m_chunks;
    std::byte* m_next = nullptr;
    std::size_t m_left = 0;
};

}  // namespace ExprEval
