// Chunked memory for parse-tree nodes.
#include "expr/NodeArena.h"

#include <algorithm>
#include <new>

namespace ExprEval {

namespace {

// Every block starts with this many bytes telling where it came from; a multiple of
// the alignment that operator new guarantees, so the node behind it keeps it.
constexpr std::size_t kHeaderSize = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

constexpr unsigned char kFromHeap = 0;
constexpr unsigned char kFromArena = 1;

// A short program fits in the first chunk; each further chunk doubles up to the largest.
constexpr std::size_t kFirstChunkSize = 2048;
constexpr std::size_t kLargestChunkSize = 65536;

thread_local NodeArena* t_current = nullptr;

std::size_t RoundUp(std::size_t size) {
    return (size + kHeaderSize - 1) / kHeaderSize * kHeaderSize;
}

}  // namespace

NodeArena::NodeArena() = default;

NodeArena::~NodeArena() = default;

void NodeArena::Release() {
    m_chunks.clear();
    m_next = nullptr;
    m_left = 0;
}

NodeArena* NodeArena::Current() {
    return t_current;
}

void NodeArena::SetCurrent(NodeArena* arena) {
    t_current = arena;
}

void* NodeArena::AllocateNode(std::size_t size) {
    if (size > static_cast<std::size_t>(-1) - 2 * kHeaderSize) {
        throw std::bad_alloc();
    }
    const std::size_t blockSize = kHeaderSize + RoundUp(size);
    NodeArena* arena = t_current;
    auto* block = static_cast<unsigned char*>(arena != nullptr ? arena->Allocate(blockSize)
                                                               : ::operator new(blockSize));
    *block = arena != nullptr ? kFromArena : kFromHeap;
    return block + kHeaderSize;
}

void NodeArena::FreeNode(void* node) {
    if (node == nullptr) {
        return;
    }
    unsigned char* block = static_cast<unsigned char*>(node) - kHeaderSize;
    if (*block == kFromHeap) {
        ::operator delete(block);
    }
}

void NodeArena::ChunkDeleter::operator()(std::byte* chunk) const {
    ::operator delete(chunk);
}

// size is a multiple of kHeaderSize, so every block stays aligned.
void* NodeArena::Allocate(std::size_t size) {
    if (size > m_left) {
        AddChunk(size);
    }
    void* block = m_next;
    m_next += size;
    m_left -= size;
    return block;
}

void NodeArena::AddChunk(std::size_t minimumSize) {
    constexpr std::size_t kMaxDoublings = 5;
    const std::size_t grown =
        std::min(kFirstChunkSize << std::min(m_chunks.size(), kMaxDoublings), kLargestChunkSize);
    const std::size_t size = std::max(grown, minimumSize);
    m_chunks.reserve(m_chunks.size() + 1);
    m_chunks.emplace_back(static_cast<std::byte*>(::operator new(size)));
    m_next = m_chunks.back().get();
    m_left = size;
}

}  // namespace ExprEval
