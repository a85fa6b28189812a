// Chunked memory for parse-tree nodes.
#include "expr/NodeArena.h"

#include <algorithm>
#include <new>

namespace ExprEval {

namespace {

// A short program fits in the first chunk; each further chunk doubles up to the largest.
constexpr std::size_t kFirstChunkSize = 2048;
constexpr std::size_t kLargestChunkSize = 65536;

}  // namespace

NodeArena::NodeArena() = default;

NodeArena::~NodeArena() = default;

void NodeArena::Release() {
    m_chunks.clear();
    m_next = nullptr;
    m_left = 0;
}

void NodeArena::ChunkDeleter::operator()(std::byte* chunk) const {
    ::operator delete(chunk);
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
